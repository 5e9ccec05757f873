// Real archives written by other programs (tests/data/archives): every game
// is listed, and each is replayed to its end or stopped at the first move our
// rules refuse. The counts are those of the files as they are; a change in
// them is a change in what the reader understands.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "files/text_import.h"

namespace {

struct ArchiveCase {
    const char* file;
    std::size_t games;
    int whole;   // replayed to their last move
    int plies;   // half-moves played over all games
    std::map<files::ReplayStop, int> stops;
};

class Archive : public testing::TestWithParam<ArchiveCase> {};

TEST_P(Archive, EveryGameIsListedAndPlayedAsFarAsOurRulesAllow) {
    const ArchiveCase& c = GetParam();
    std::ifstream in(std::string(TAVOLEX_SOURCE_DIR) + "/tests/data/archives/" + c.file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    const auto games = files::readTextGames({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    ASSERT_EQ(games.size(), c.games);
    int whole = 0, plies = 0;
    std::map<files::ReplayStop, int> stops;
    for (const files::ParsedGame& g : games) {
        EXPECT_FALSE(files::chooserLine(g, 1).empty());
        game::Core core;
        const files::ReplayOutcome out = files::replayGame(core, g);
        plies += out.played;
        if (out.stop == files::ReplayStop::None)
            ++whole;
        else
            ++stops[out.stop];
        EXPECT_EQ(core.game.record.recordLength, out.played);
    }
    EXPECT_EQ(whole, c.whole);
    EXPECT_EQ(plies, c.plies);
    EXPECT_EQ(stops, c.stops);
}

using files::ReplayStop;
const ArchiveCase Archives[] = {
    {"ussr1947.pdn", 153, 121, 7392, {{ReplayStop::NotLegal, 32}}},
    {"mrcd2007.pdn", 102, 18, 2064, {{ReplayStop::NotLegal, 84}}},
    {"mrdrcd08.pdn", 40, 4, 854, {{ReplayStop::NotLegal, 36}}},
    {"kurnik.pdn", 4, 0, 0, {{ReplayStop::OtherGameType, 4}}},
};
INSTANTIATE_TEST_SUITE_P(OtherPrograms, Archive, testing::ValuesIn(Archives),
                         [](const testing::TestParamInfo<ArchiveCase>& i) {
                             std::string name = i.param.file;
                             return name.substr(0, name.find('.'));
                         });

// The last game of the Russian archive, past the 64,000th byte, is whole.
TEST(Archive, TheLastGameOfALongFileIsThere) {
    std::ifstream in(std::string(TAVOLEX_SOURCE_DIR) + "/tests/data/archives/ussr1947.pdn", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto games = files::readTextGames({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    ASSERT_EQ(games.size(), 153u);
    EXPECT_EQ(files::chooserLine(games.back(), 153).substr(0, 5), "153: ");
    EXPECT_NE(games.back().halfMoves.size(), 0u);
}

}  // namespace
