#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "files/game_file.h"
#include "files/save_file.h"
#include "game/navigation.h"
#include "support/game_builder.h"

namespace fs = std::filesystem;

namespace {

class GameFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tavolex_gf_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        game::installPosition(core, rules::startingPosition(), rules::White);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    fs::path dir;
    game::Core core;
};

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                     static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST_F(GameFiles, LayoutOfTheImage) {
    core.game.whiteName = game::makeName("Nineteen characters");  // exactly 19
    core.game.blackName = game::makeName("Bia");
    ASSERT_EQ(testsupport::playRandomMoves(core, 7, 3), 7);
    game::takeBack(core);
    const files::GameSettings settings{45, 1, 14, 300, -2};
    const auto bytes = files::encodeGameFile(core.game.record, core.game.sideToMove, settings);
    ASSERT_EQ(bytes.size(), 22442u);
    EXPECT_EQ(bytes[0], 7);                 // ply count
    EXPECT_EQ(le32(bytes, 22300), 45);      // minutes
    EXPECT_EQ(bytes[22386], 1);             // language
    EXPECT_EQ(bytes[22387], 14);            // level
    EXPECT_EQ(le32(bytes, 22388), 300);
    EXPECT_EQ(le32(bytes, 22392), -2);
    EXPECT_EQ(bytes[22440], 6);             // the ply shown
    EXPECT_EQ(bytes[22441], rules::sideIndex(core.game.sideToMove));
    // Record 3: its position, move and names at their offsets.
    const std::size_t r3 = 3 * 88;
    for (int s = 1; s <= 32; ++s) EXPECT_EQ(bytes[r3 + s], core.game.record.plies[3].squares[s - 1]);
    EXPECT_EQ(bytes[r3 + 34], core.game.record.plies[3].from);
    EXPECT_EQ(bytes[r3 + 35], core.game.record.plies[3].to);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[r3 + 44])), "Nineteen characters");
    EXPECT_EQ(bytes[r3 + 63], 0);           // the twentieth byte ends the name
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[r3 + 64])), "Bia");

    // Load then save gives the same bytes.
    files::GameFile loaded;
    ASSERT_EQ(files::decodeGameFile(bytes, loaded), files::FileError::None);
    EXPECT_EQ(loaded.settings, settings);
    EXPECT_EQ(files::encodeGameFile(loaded.record, loaded.sideToMove, loaded.settings), bytes);
}

TEST_F(GameFiles, SaveAndReopen) {
    ASSERT_EQ(testsupport::playRandomMoves(core, 7, 11), 7);
    const auto lines = core.game.moveList;
    const rules::Board shown = core.rules.gamePosition;
    ASSERT_TRUE(files::saveGame(core, path("seven.dam"), files::GameSettings{}));
    EXPECT_EQ(fs::file_size(path("seven.dam")), 22442u);

    game::Core other;
    other.game.ratedGame = game::RatedState::InProgress;
    other.game.lastResult = game::GameResult::BlackWon;
    files::GameFile f;
    ASSERT_EQ(files::readGameFile(path("seven.dam"), f), files::FileError::None);
    files::installGameFile(other, f, false);
    EXPECT_EQ(other.game.ratedGame, game::RatedState::None);  // a loaded game does not count for the ratings
    EXPECT_EQ(other.game.lastResult, game::GameResult::None);  // nor does it keep the last game's result
    EXPECT_EQ(other.rules.gamePosition, shown);
    EXPECT_EQ(other.game.sideToMove, rules::Black);
    ASSERT_EQ(other.game.moveList.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(other.game.moveList[i], lines[i]);
    EXPECT_EQ(other.game.moveList[3] + " ", lines[3]);  // the rebuilt half line has no trailing blank
    EXPECT_EQ(other.game.selectedLine, 3);
    EXPECT_TRUE(other.game.navigated);
    game::goToStart(other);
    EXPECT_EQ(other.rules.gamePosition, rules::startingPosition());
    game::goToEnd(other);
    EXPECT_EQ(other.game.sideToMove, rules::Black);

    // A game saved before any move reopens on its start with no lines.
    game::Core fresh;
    game::installPosition(fresh, rules::startingPosition(), rules::White);
    ASSERT_TRUE(files::saveGame(fresh, path("empty.dam"), files::GameSettings{}));
    ASSERT_EQ(files::readGameFile(path("empty.dam"), f), files::FileError::None);
    files::installGameFile(other, f, false);
    EXPECT_TRUE(other.game.moveList.empty());
    EXPECT_EQ(other.rules.gamePosition, rules::startingPosition());
}

TEST_F(GameFiles, ZeroSearchControlMeansDefaults) {
    auto bytes = files::encodeGameFile(core.game.record, rules::White, files::GameSettings{10, 0, 2, 0, 99});
    files::GameFile f;
    ASSERT_EQ(files::decodeGameFile(bytes, f), files::FileError::None);
    EXPECT_EQ(f.settings, (files::GameSettings{3, 0, 5, 160, 178}));
}

// The language byte: a known language is kept, anything else opens in
// French, the language the program starts in.
TEST_F(GameFiles, LanguageByteOutOfRangeOpensInFrench) {
    const struct {
        std::uint8_t stored;
        std::uint8_t read;
    } cases[] = {{0, 0}, {1, 1}, {3, 3}, {5, 5}, {6, 0}, {9, 0}, {255, 0}};
    for (const auto& c : cases) {
        files::GameSettings written{30, c.stored, 4, 160, 178};
        files::GameFile f;
        ASSERT_EQ(files::decodeGameFile(files::encodeGameFile(core.game.record, rules::White, written), f),
                  files::FileError::None);
        EXPECT_EQ(int(f.settings.language), int(c.read)) << "stored " << int(c.stored);
        EXPECT_EQ(f.settings.level, 4) << "the other settings stay";
    }
    EXPECT_EQ(files::GameSettings{}.language, 0);
}

TEST_F(GameFiles, DamagedFilesAreRefusedWhole) {
    testsupport::playRandomMoves(core, 10, 5);
    const auto good = files::encodeGameFile(core.game.record, core.game.sideToMove, files::GameSettings{});
    const struct {
        const char* name;
        std::size_t at;
        std::uint8_t value;
        files::FileError error;
    } damages[] = {
        {"piece code", 5 * 88 + 7, 9, files::FileError::BadContent},
        {"square", 2 * 88 + 34, 40, files::FileError::BadContent},
        {"side", 22441, 2, files::FileError::BadContent},
        {"ply shown beyond the last record", 22440, 255, files::FileError::BadContent},
        {"ply count beyond what a file holds", 0, 254, files::FileError::BadContent},
    };
    for (const auto& d : damages) {
        auto bytes = good;
        bytes[d.at] = d.value;
        files::GameFile f;
        EXPECT_EQ(files::decodeGameFile(bytes, f), d.error) << d.name;
    }
    files::GameFile f;
    std::vector<std::uint8_t> shortFile(good.begin(), good.begin() + 1000);
    EXPECT_EQ(files::decodeGameFile(shortFile, f), files::FileError::WrongSize);
    std::ofstream(path("short.dam"), std::ios::binary).write(reinterpret_cast<const char*>(shortFile.data()), 1000);
    EXPECT_EQ(files::readGameFile(path("short.dam"), f), files::FileError::WrongSize);
    EXPECT_EQ(files::readGameFile(path("missing.dam"), f), files::FileError::CannotOpen);
    EXPECT_EQ(files::readGameFile(dir.string(), f), files::FileError::CannotOpen);
}

TEST_F(GameFiles, AFailedSaveKeepsThePreviousFile) {
    testsupport::playRandomMoves(core, 4, 9);
    ASSERT_TRUE(files::saveGame(core, path("keep.dam"), files::GameSettings{}));
    const auto before = fs::file_size(path("keep.dam"));
    EXPECT_FALSE(files::saveGame(core, (dir / "no-such-folder" / "x.dam").string(), files::GameSettings{}));
    // A game marked read-only is refused, not replaced.
    fs::permissions(path("keep.dam"), fs::perms(0444));
    testsupport::playRandomMoves(core, 2, 3);
    EXPECT_FALSE(files::saveGame(core, path("keep.dam"), files::GameSettings{}));
    EXPECT_EQ(fs::file_size(path("keep.dam")), before);
    EXPECT_EQ(files::saveTargetStatus(path("keep.dam")), files::SaveStatus::ReadOnly);
    fs::permissions(path("keep.dam"), fs::perms(0644));
}

TEST_F(GameFiles, TextImportReadsOnlyTheStartOfAFile) {
    std::ofstream(path("long.txt"), std::ios::binary) << std::string(70000, 'x');
    std::ofstream(path("short.txt"), std::ios::binary) << "a-b";
    files::FileError error = files::FileError::None;
    EXPECT_EQ(files::readFileStart(path("long.txt"), error, 64010).size(), 64010u);
    EXPECT_EQ(error, files::FileError::None);
    EXPECT_EQ(files::readFileStart(path("short.txt"), error, 64010).size(), 3u);
    EXPECT_TRUE(files::readFileStart(path("missing.txt"), error, 64010).empty());
    EXPECT_EQ(error, files::FileError::CannotOpen);
    files::readFileStart(dir.string(), error, 10);
    EXPECT_EQ(error, files::FileError::CannotOpen);
}

TEST_F(GameFiles, ProblemFilesKeepAtMost250Plies) {
    core.game.record.recordLength = 252;
    core.game.record.plyCounter = 10;
    files::GameFile f;
    ASSERT_EQ(files::decodeGameFile(files::encodeGameFile(core.game.record, rules::White, {}), f),
              files::FileError::None);
    game::Core problem;
    files::installGameFile(problem, f, true);
    EXPECT_EQ(problem.game.record.recordLength, 250);
}

}  // namespace

namespace {

// A game file written byte by byte from the layout alone: two plies from
// the start (c3-d4, f6-g5), shown at ply 1, with settings in their slots.
std::vector<std::uint8_t> handMadeGameFile() {
    std::vector<std::uint8_t> f(22442, 0);
    auto put32 = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    };
    auto putName = [&](std::size_t at, const char* name) {
        for (std::size_t i = 0; name[i]; ++i) f[at + i] = static_cast<std::uint8_t>(name[i]);
    };
    std::uint8_t squares[33] = {};
    for (int s = 1; s <= 12; ++s) squares[s] = 3;
    for (int s = 21; s <= 32; ++s) squares[s] = 1;
    for (int k = 0; k <= 2; ++k) {
        const std::size_t r = static_cast<std::size_t>(k) * 88;
        if (k == 1) {  // c3-d4: square 22 to 18
            squares[22] = 0;
            squares[18] = 1;
            f[r + 34] = 22;
            f[r + 35] = 18;
        }
        if (k == 2) {  // f6-g5: square 11 to 16
            squares[11] = 0;
            squares[16] = 3;
            f[r + 34] = 11;
            f[r + 35] = 16;
        }
        for (int s = 1; s <= 32; ++s) f[r + s] = squares[s];
        put32(r + 36, 7 * k);    // White's clock
        put32(r + 40, 11 * k);   // Black's clock
        putName(r + 44, "Ana");
        putName(r + 64, "Bia");
        f[r + 84] = 1;           // the computer has Black
    }
    f[0] = 2;                    // ply count
    put32(22300, 5);             // minutes
    f[22386] = 2;                // Dutch
    f[22387] = 13;               // level N350coupsen10mn1
    put32(22388, 600);
    put32(22392, 40);
    f[22440] = 1;                // ply shown
    f[22441] = 1;                // Black to move there
    return f;
}

TEST(GameFileGolden, AFileMadeByHandReadsAndWritesBackIdentically) {
    const std::vector<std::uint8_t> bytes = handMadeGameFile();
    files::GameFile f;
    ASSERT_EQ(files::decodeGameFile(bytes, f), files::FileError::None);
    EXPECT_EQ(f.record.recordLength, 2);
    EXPECT_EQ(f.record.plyCounter, 1);
    EXPECT_EQ(f.sideToMove, rules::Black);
    EXPECT_EQ(f.settings, (files::GameSettings{5, 2, 13, 600, 40}));
    EXPECT_EQ(f.record.plies[2].from, 11);
    EXPECT_EQ(f.record.plies[2].blackClock, 22);
    EXPECT_EQ(game::nameText(f.record.plies[1].blackName), "Bia");

    game::Core core;
    files::installGameFile(core, f, false);
    rules::Board expected = rules::startingPosition();
    expected[22] = rules::Empty;
    expected[18] = rules::WhiteMan;
    EXPECT_EQ(core.rules.gamePosition, expected);
    EXPECT_EQ(core.game.moveList, (std::vector<std::string>{" 1.c3-d4 f6-g5"}));
    EXPECT_EQ(core.game.whiteClock.total, 7);

    EXPECT_EQ(files::encodeGameFile(f.record, f.sideToMove, f.settings), bytes);
}

}  // namespace
