#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "files/game_file.h"
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
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST_F(GameFiles, LayoutOfTheImage) {
    core.game.whiteName = game::makeName("Nineteen characters");  // exactly 19
    core.game.blackName = game::makeName("Bia");
    ASSERT_EQ(testsupport::playRandomMoves(core, 7, 3), 7);
    game::reprise(core);
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
    EXPECT_EQ(bytes[22441], core.game.sideToMove);
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
    files::GameFile f;
    ASSERT_EQ(files::ReadGameFile(path("seven.dam"), f), files::FileError::None);
    files::installGameFile(other, f, false);
    EXPECT_EQ(other.rules.gamePosition, shown);
    EXPECT_EQ(other.game.sideToMove, rules::Black);
    ASSERT_EQ(other.game.moveList.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(other.game.moveList[i], lines[i]);
    EXPECT_EQ(other.game.moveList[3] + " ", lines[3]);  // the rebuilt half line has no trailing blank
    EXPECT_EQ(other.game.selectedLine, 3);
    EXPECT_TRUE(other.game.navigated);
    game::revenir_debut(other);
    EXPECT_EQ(other.rules.gamePosition, rules::startingPosition());
    game::Aller_fin(other);
    EXPECT_EQ(other.game.sideToMove, rules::Black);

    // A game saved before any move reopens on its start with no lines.
    game::Core fresh;
    game::installPosition(fresh, rules::startingPosition(), rules::White);
    ASSERT_TRUE(files::saveGame(fresh, path("empty.dam"), files::GameSettings{}));
    ASSERT_EQ(files::ReadGameFile(path("empty.dam"), f), files::FileError::None);
    files::installGameFile(other, f, false);
    EXPECT_TRUE(other.game.moveList.empty());
    EXPECT_EQ(other.rules.gamePosition, rules::startingPosition());
}

TEST_F(GameFiles, ZeroSearchControlMeansDefaults) {
    auto bytes = files::encodeGameFile(core.game.record, 0, files::GameSettings{10, 0, 2, 0, 99});
    files::GameFile f;
    ASSERT_EQ(files::decodeGameFile(bytes, f), files::FileError::None);
    EXPECT_EQ(f.settings, (files::GameSettings{3, 3, 5, 160, 178}));
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
    EXPECT_EQ(files::ReadGameFile(path("short.dam"), f), files::FileError::WrongSize);
    EXPECT_EQ(files::ReadGameFile(path("missing.dam"), f), files::FileError::CannotOpen);
    EXPECT_EQ(files::ReadGameFile(dir.string(), f), files::FileError::CannotOpen);
}

TEST_F(GameFiles, AFailedSaveKeepsThePreviousFile) {
    testsupport::playRandomMoves(core, 4, 9);
    ASSERT_TRUE(files::saveGame(core, path("keep.dam"), files::GameSettings{}));
    const auto before = fs::file_size(path("keep.dam"));
    EXPECT_FALSE(files::saveGame(core, (dir / "no-such-folder" / "x.dam").string(), files::GameSettings{}));
    // A folder in the way of the temporary file makes the write fail.
    fs::create_directories(path("keep.dam.tmp"));
    EXPECT_FALSE(files::saveGame(core, path("keep.dam"), files::GameSettings{}));
    EXPECT_EQ(fs::file_size(path("keep.dam")), before);
}

TEST_F(GameFiles, ProblemFilesKeepAtMost250Plies) {
    core.game.record.recordLength = 252;
    core.game.record.plyCounter = 10;
    files::GameFile f;
    ASSERT_EQ(files::decodeGameFile(files::encodeGameFile(core.game.record, 0, {}), f), files::FileError::None);
    game::Core problem;
    files::installGameFile(problem, f, true);
    EXPECT_EQ(problem.game.record.recordLength, 250);
}

}  // namespace
