// Random games through both text layouts and back: every position must come
// back, in particular after captures that start and end on the same squares
// as another legal capture but take other pieces.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "files/setup.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "game/navigation.h"
#include "game/play.h"

#include "support/game_builder.h"

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

bool samePositions(const game::GameRecord& a, const game::GameRecord& b, int plies) {
    if (a.recordLength != plies) return false;
    for (int k = 0; k <= plies; ++k)
        if (a.plies[static_cast<std::size_t>(k)].squares != b.plies[static_cast<std::size_t>(k)].squares) return false;
    return true;
}

// The moves of `side` in the working board that share start and end with
// another legal move leaving a different position.
std::vector<rules::Move> ambiguousMoves(rules::RulesState& r, rules::Side side) {
    const int n = rules::generateRootMoves(r, side);
    std::vector<rules::Move> out;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const rules::Move& a = r.rootList()[i];
            const rules::Move& b = r.rootList()[j];
            if (i == j || a.from != b.from || a.to != b.to) continue;
            rules::Board x = r.board, y = r.board;
            rules::applyMove(x, a);
            rules::applyMove(y, b);
            if (x != y) {
                out.push_back(a);
                break;
            }
        }
    return out;
}

// Plies of the record whose move shares start and end with another legal
// move that leaves a different position.
int ambiguousPlies(const game::GameRecord& rec) {
    rules::RulesState r;
    int count = 0;
    for (int k = 1; k <= rec.recordLength; ++k) {
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
        if (e.captureCount == 0) continue;
        r.board[0] = rules::Sentinel;
        for (int s = 1; s <= rules::NumSquares; ++s)
            r.board[s] = rec.plies[static_cast<std::size_t>(k - 1)].squares[s - 1];
        const int n = rules::generateRootMoves(r, rules::sideOf(r.board[e.from]));
        std::vector<rules::Board> results;
        for (int i = 0; i < n; ++i) {
            const rules::Move& m = r.rootList()[i];
            if (m.from != e.from || m.to != e.to) continue;
            rules::Board b = r.board;
            rules::applyMove(b, m);
            if (std::find(results.begin(), results.end(), b) == results.end()) results.push_back(b);
        }
        if (results.size() > 1) ++count;
    }
    return count;
}

// A position with flying kings among men, where captures that start and end
// alike are common: `kings` kings and `men` men a side on random squares,
// no man on its own far row.
rules::Board randomPosition(std::mt19937& rng, int kings, int men) {
    rules::Board b{};
    b[0] = rules::Sentinel;
    std::uniform_int_distribution<int> square(1, rules::NumSquares);
    const auto put = [&](rules::PieceCode code, int count) {
        while (count > 0) {
            const int s = square(rng);
            if (b[s] != rules::Empty || rules::promotionRow(code, static_cast<rules::Square>(s))) continue;
            b[s] = code;
            --count;
        }
    };
    put(rules::WhiteKing, kings);
    put(rules::BlackKing, kings);
    put(rules::WhiteMan, men);
    put(rules::BlackMan, men);
    return b;
}

struct SweepCount {
    int games = 0, withAmbiguous = 0, ambiguous = 0, plies = 0, pdnChanged = 0, oursChanged = 0;
};

// One game through PDN and, when it starts from the usual position, through
// our layout (which holds no starting position).
void roundTrip(game::Core& core, bool ours, SweepCount& count) {
    const int played = core.game.record.recordLength;
    core.game.record.plyCounter = static_cast<std::uint8_t>(played);
    ++count.games;
    count.plies += played;
    const int a = ambiguousPlies(core.game.record);
    count.ambiguous += a;
    count.withAmbiguous += a > 0;

    game::Core fromPdn;
    const auto pdn = files::readTextGames(bytesOf(files::exportPdn(core, files::ResultCode::None).text));
    if (pdn.size() != 1 || files::replayGame(fromPdn, pdn[0]).stop != files::ReplayStop::None ||
        !samePositions(fromPdn.game.record, core.game.record, played))
        ++count.pdnChanged;
    if (!ours) return;
    game::Core fromOurs;
    const auto text = files::readTextGames(bytesOf(files::exportText(core, files::ResultCode::None).text));
    if (text.size() != 1 || files::replayGame(fromOurs, text[0]).stop != files::ReplayStop::None ||
        !samePositions(fromOurs.game.record, core.game.record, played / 2 * 2))
        ++count.oursChanged;
}

TEST(TextRoundTripSweep, RandomGamesComeBackUnchanged) {
    SweepCount fromStart, withKings;
    std::mt19937 rng(2024);
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        game::Core core;
        files::resetToStartingPosition(core);
        core.game.whiteName = game::makeName("Ana");
        core.game.blackName = game::makeName("Bia");
        testsupport::playRandomMoves(core, game::MaxRecordedPly, seed * 7919u);
        roundTrip(core, true, fromStart);

        // A random position where White has such a capture, which is played
        // first; the game goes on at random.
        game::Core set;
        files::resetToStartingPosition(set);
        std::vector<rules::Move> choices;
        while (choices.empty()) {
            game::installPosition(set,
                                  randomPosition(rng, 1 + static_cast<int>(rng() % 4), 4 + static_cast<int>(rng() % 7)),
                                  rules::White);
            choices = ambiguousMoves(set.rules, rules::White);
        }
        const rules::Move first = choices[rng() % choices.size()];
        game::playMove(set, first);
        testsupport::playRandomMoves(set, 60, seed);
        roundTrip(set, false, withKings);
    }
    for (const auto& [name, c] : {std::pair{"from the start", fromStart}, std::pair{"with kings", withKings}})
        std::printf(
            "%d random games %s, %d plies: %d games with %d ambiguous captures; changed on a round trip: "
            "PDN %d, our layout %d\n",
            c.games, name, c.plies, c.withAmbiguous, c.ambiguous, c.pdnChanged, c.oursChanged);
    EXPECT_EQ(withKings.withAmbiguous, 2000);  // every one of them meets the case the sweep is for
    for (const SweepCount& c : {fromStart, withKings}) {
        EXPECT_EQ(c.pdnChanged, 0);
        EXPECT_EQ(c.oursChanged, 0);
    }
}

}  // namespace
