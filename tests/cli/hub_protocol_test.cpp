// The words of the hub protocol: lines, positions, moves, scores, and the
// time a move may take on the interface's clock.

#include <gtest/gtest.h>

#include "cli/hub_protocol.h"
#include "engine/search.h"

namespace {

using cli::hub::parseLine;

TEST(HubLine, ReadsCommandsPairsAndFlags) {
    const auto l = parseLine("  pos pos=Wbbb moves=\"22-18 11-15\" infinite  depth = 8\r");
    EXPECT_TRUE(l.error.empty()) << l.error;
    EXPECT_EQ(l.command, "pos");
    ASSERT_EQ(l.args.size(), 4u);
    EXPECT_EQ(l.args[1].value, "22-18 11-15");
    EXPECT_FALSE(l.args[2].hasValue);
    EXPECT_EQ(l.find("depth")->value, "8");
    EXPECT_EQ(l.find("speed"), nullptr);

    const struct {
        const char* text;
        const char* error;  // a word of the fault
    } faults[] = {
        {"level depth=\"4", "closing quote"},
        {"level depth=", "missing"},
        {"go =think", "name"},
        {"error message=\"a\"b", ""},  // a quoted value glued to a name reads as two pairs
    };
    for (const auto& f : faults) {
        const auto r = parseLine(f.text);
        if (*f.error == '\0') {
            EXPECT_TRUE(r.error.empty()) << f.text;
            continue;
        }
        EXPECT_NE(r.error.find(f.error), std::string::npos) << f.text << ": " << r.error;
    }
    EXPECT_EQ(cli::hub::value("22-18"), "22-18");
    EXPECT_EQ(cli::hub::value("22-18 11-15"), "\"22-18 11-15\"");
    EXPECT_EQ(cli::hub::value(""), "\"\"");
    EXPECT_EQ(cli::hub::value("say \"x\""), "\"say 'x'\"");
}

TEST(HubPosition, ReadsAndWritesTheThirtyThreeCharacters) {
    const char* start = "Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww";
    const auto p = cli::hub::parsePosition(start);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->board, rules::startingPosition());
    EXPECT_EQ(cli::hub::positionText(p->board, p->side), start);
    for (const char* bad : {"Wbbbb", "Xbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww", "Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwwx", ""})
        EXPECT_FALSE(cli::hub::parsePosition(bad)) << bad;
}

TEST(HubMove, NamesALegalMoveByItsSquares) {
    const rules::Position pos = *rules::parseFen("W:WK2,10:B4,6,11,14,15,22,24,25").position;
    rules::RulesState r;
    const struct {
        const char* text;
        bool legal;
    } cases[] = {
        {"2x2x6x22x24x11", true},  // taken squares in any order
        {"2x2x11x24x22x6", true}, {"2x2", false},            // two captures with other pieces start and end there
        {"2x2x6x22", false},      {"10-6", false},           // a capture is compulsory
        {"10x19x15", false},       // fewer than the most pieces
        {"2-2", false},           {"33-1", false}, {"2x2x6x22x24x11x", false}, {"", false},
    };
    for (const auto& c : cases) {
        r.board = pos.board;
        const auto m = cli::hub::findMove(r, rules::White, c.text);
        EXPECT_EQ(m.has_value(), c.legal) << c.text;
        if (m) {
            EXPECT_EQ(cli::hub::moveText(*m).substr(0, 4), "2x2x");
        }
    }
    r.board = rules::startingPosition();
    const auto quiet = cli::hub::findMove(r, rules::White, "22-18");
    ASSERT_TRUE(quiet);
    EXPECT_EQ(cli::hub::moveText(*quiet), "22-18");
}

TEST(HubClock, EachMoveGetsItsShareOfTheClock) {
    const struct {
        cli::hub::Clock clock;
        std::int64_t low, high;  // milliseconds
    } cases[] = {
        {{10, 0, 0.5}, 650, 720},      // sudden death with increment: a thirtieth and most of the increment
        {{291.587, 9, 0}, 32000, 32500},  // nine moves to the time control
        {{60, 1, 0}, 47000, 48000},    // the last move before the control may use most
        {{0.2, 0, 10}, 70, 80},        // a big increment never outruns what is left
        {{0, 0, 0}, 1, 1},             // nothing left: move at once
    };
    for (const auto& c : cases) {
        const std::int64_t ms = cli::hub::moveBudgetMs(c.clock);
        EXPECT_GE(ms, c.low) << c.clock.time << " " << c.clock.moves << " " << c.clock.inc;
        EXPECT_LE(ms, c.high) << c.clock.time << " " << c.clock.moves << " " << c.clock.inc;
    }
    EXPECT_EQ(cli::hub::parseSeconds("291.587"), 291.587);
    EXPECT_EQ(cli::hub::parseSeconds("10"), 10.0);
    for (const char* bad : {"", "-1", "1s", "nan", "inf", "1e9"}) EXPECT_FALSE(cli::hub::parseSeconds(bad)) << bad;
}

TEST(HubScore, MenWithDecimalsAndForcedResultsMarked) {
    EXPECT_EQ(cli::hub::scoreText(0), "score=0.00");
    EXPECT_EQ(cli::hub::scoreText(50), "score=0.25");
    EXPECT_EQ(cli::hub::scoreText(-200), "score=-1.00");
    // Won at ply 10 of the search: after nine plies.
    EXPECT_EQ(cli::hub::scoreText(engine::Infinity - 10), "score=159.95 win=9");
    EXPECT_EQ(cli::hub::scoreText(-engine::Infinity + 9), "score=-159.96 loss=8");
    EXPECT_EQ(cli::hub::scoreText(31002), "score=155.01 win");  // kings against men: won, length unknown
}

}  // namespace
