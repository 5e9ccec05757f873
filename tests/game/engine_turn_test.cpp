// The engine's turn in the game: the move played and recorded, the weakest
// level's second choice, draw offers both ways, the end of the game, self-
// play, thinking on the person's time and the click that stops the engine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/search.h"
#include "engine/thinking.h"
#include "engine/worker.h"
#include "game/controller.h"
#include "game/engine_turn.h"
#include "game/navigation.h"
#include "game/person_move.h"
#include "game/play.h"
#include "rules/fen.h"
#include "rules/perft.h"
#include "support/fake_host.h"

namespace {

// The searching core's host: what the search shows, and a hook at each
// thinking line.
class SearchHost : public testsupport::FakeHost {
public:
    void showThinking(const engine::SearchStats& st) override {
        thinking.push_back(st);
        if (onThinking) onThinking(st);
    }
    std::function<void(const engine::SearchStats&)> onThinking;
    std::vector<engine::SearchStats> thinking;
};

struct Game {
    explicit Game(const char* fen = "W:W21-32:B1-12")
        : core(std::make_unique<game::Core>()), searcher(std::make_unique<game::Core>()) {
        core->host = &host;
        searcher->host = &searchHost;
        engine::loadEngineKnowledge(*core);
        host.errors.clear();
        const rules::FenResult r = rules::parseFen(fen);
        EXPECT_TRUE(r.position) << fen;
        game::installPosition(*core, r.position->board, r.position->side);
    }
    // The engine's turn as the window runs it, its search cut to `depth`
    // plies (0: the level's own limits).
    game::EngineTurn turn(int depth = 4) {
        game::EngineTurnStart start = game::beginEngineTurn(*core);
        if (!start.search) {
            game::EngineTurn t;
            t.end = start.end;
            return t;
        }
        if (depth > 0) {
            start.search->limits = engine::SearchLimits{};
            start.search->limits.depth = depth;
        }
        answer = engine::runSearch(*searcher, *start.search);
        return game::finishEngineTurn(*core, answer);
    }
    testsupport::FakeHost host;
    SearchHost searchHost;
    std::unique_ptr<game::Core> core;
    std::unique_ptr<game::Core> searcher;  // searches as the engine's worker does
    engine::SearchOutput answer;
};

TEST(EngineTurn, PlaysRecordsAndHandsTheTurnOver) {
    Game g;
    g.core->game.options.beepEachMove = true;
    const game::EngineTurn t = g.turn();
    ASSERT_TRUE(t.played);
    const auto& rec = g.core->game.record;
    EXPECT_EQ(rec.plyCounter, 1);
    EXPECT_EQ(rec.recordLength, 1);
    EXPECT_EQ(rec.plies[1].from, t.move.from);
    EXPECT_EQ(g.core->game.sideToMove, rules::Black);
    EXPECT_EQ(g.core->game.computerColour, rules::White);
    EXPECT_FALSE(g.core->game.engineToMove);
    EXPECT_EQ(g.core->game.lastMoveTo, t.move.to);
    EXPECT_EQ(g.core->game.moveList.size(), 1u);
    EXPECT_EQ(g.core->game.legalMoveCount, 7);
    EXPECT_EQ(g.host.sounds, std::vector<game::Sound>{game::Sound::Move});
    EXPECT_FALSE(g.searchHost.thinking.empty()) << "the thinking lines are shown while it searches";
    EXPECT_TRUE(g.core->game.clockRunning) << "the engine's turn starts the clocks";
    // The board view ends with the new frames.
    ASSERT_GE(t.ops.size(), 2u);
    EXPECT_EQ(t.ops.back().kind, rules::ViewOp::Kind::FrameSquare);
    EXPECT_EQ(t.ops.back().colour, rules::FrameColour::Silver);
    rules::Board expected = rules::startingPosition();
    rules::applyMove(expected, t.move);
    EXPECT_EQ(g.core->rules.gamePosition, expected);
    // Nothing of the game was touched by the search itself: the searching
    // core has its own copy.
    EXPECT_EQ(g.searcher->game.record.plyCounter, 0);
}

TEST(EngineTurn, TheLevelsLimitsGoToTheSearch) {
    Game g;
    engine::selectLevel(g.core->engine.level, 5);  // "5 : Excellence"
    g.core->game.whiteClock.total = 40;
    const game::EngineTurnStart start = game::beginEngineTurn(*g.core);
    ASSERT_TRUE(start.search);
    EXPECT_EQ(start.search->limits, engine::levelLimits(g.core->engine.level, 0, 40, false));
    EXPECT_GT(start.search->limits.hardMs, 0) << "a self-play or set-up turn is limited too, clocks or not";
    EXPECT_EQ(start.search->side, rules::White);
    EXPECT_FALSE(start.search->infinite);
    engine::selectLevel(g.core->engine.level, 1);   // "1 : Débutant": depth 3
    EXPECT_EQ(game::beginEngineTurn(*g.core).search->limits.depth, 3);
}

TEST(EngineTurn, ASingleMoveIsPlayedWithoutSearchAndWithoutZut) {
    Game g("W:W22,30,31:B18,1,2,3");
    engine::selectLevel(g.core->engine.level, 0);   // "0 : Néophyte", and ahead
    const game::EngineTurn t = g.turn();
    EXPECT_TRUE(t.forced);
    EXPECT_TRUE(t.played);
    EXPECT_FALSE(t.zutShown);
    EXPECT_TRUE(g.searchHost.thinking.empty());
}

TEST(EngineTurn, TheWeakestLevelAheadPlaysItsSecondChoice) {
    // Ahead by a man with several moves: the move at index 1 of the root list.
    Game g("W:W21,22,23,30:B1,2,3");
    engine::selectLevel(g.core->engine.level, 0);
    const game::EngineTurn t = g.turn();
    ASSERT_TRUE(t.played);
    EXPECT_TRUE(t.zutShown);
    EXPECT_TRUE(g.core->game.zutShown);
    ASSERT_GT(g.answer.rootMoves.size(), 1u);
    EXPECT_TRUE(t.move.sameAs(g.answer.rootMoves[1])) << "the second move of the root list";
    EXPECT_NE(g.answer.moveIndex, 1) << "its own choice was not the second move";
    // Not ahead: its own choice, and no panel.
    Game even("W:W21,22,23:B1,2,3");
    engine::selectLevel(even.core->engine.level, 0);
    const game::EngineTurn u = even.turn();
    EXPECT_FALSE(u.zutShown);
    EXPECT_TRUE(u.played);
}

TEST(EngineTurn, NoMoveEndsTheGame) {
    // White to move cannot: the engine loses at once.
    Game g("W:W29:B25,22");
    g.core->game.computerColour = rules::White;
    const game::EngineTurn t = g.turn();
    EXPECT_FALSE(t.played);
    ASSERT_TRUE(t.end);
    EXPECT_EQ(t.end->result, game::GameResult::BlackWon);
    EXPECT_EQ(game::endMessageText(*t.end), "Bravo, vous avez gagné");
    EXPECT_EQ(t.end->sound, game::Sound::Won);
    EXPECT_EQ(g.core->game.lastResult, game::GameResult::BlackWon);
}

TEST(EngineTurn, TheEngineWinsWhenThePersonIsLeftWithoutMove) {
    // White captures the last black piece.
    Game g("W:W22:B18");
    const game::EngineTurn t = g.turn();
    ASSERT_TRUE(t.played);
    ASSERT_TRUE(t.end);
    EXPECT_EQ(game::endMessageText(*t.end), "Désolé, TAVOLEX a gagné");
    EXPECT_EQ(t.end->sound, game::Sound::Lost);
    EXPECT_EQ(t.end->result, game::GameResult::WhiteWon);
}

TEST(EngineTurn, AnAbandonedSearchPlaysNothing) {
    Game g;
    g.searchHost.onThinking = [&](const engine::SearchStats&) {
        // The person steps back in the record while the engine thinks.
        g.searcher->engine.stopRequested = g.searcher->engine.abandonSearch = true;
    };
    const game::EngineTurn t = g.turn(0);
    EXPECT_EQ(g.answer.kind, engine::SearchAnswer::Abandoned);
    EXPECT_FALSE(t.played);
    EXPECT_FALSE(t.end);
    EXPECT_EQ(g.core->game.record.plyCounter, 0);
    EXPECT_EQ(g.core->rules.gamePosition, rules::startingPosition());
}

TEST(EngineTurn, AFullRecordEndsTheGameDrawn) {
    Game g;
    g.core->game.record.plyCounter = game::MaxRecordedPly;
    g.core->game.record.recordLength = game::MaxRecordedPly;
    const game::EngineTurn t = g.turn();
    EXPECT_FALSE(t.played);
    ASSERT_TRUE(t.end);
    EXPECT_EQ(game::endMessageText(*t.end), "Match nul !");
    EXPECT_EQ(t.end->result, game::GameResult::Draw);
}

TEST(EngineTurn, LossOnTimeInARatedGame) {
    Game g;
    g.core->game.ratedGame = game::RatedState::InProgress;
    g.core->game.whiteClock.total = 200;   // the engine's side, over 180
    const game::EngineTurn t = g.turn();
    ASSERT_TRUE(t.end);
    EXPECT_EQ(game::endMessageText(*t.end), "Temps dépassé, vous gagnez");
    EXPECT_EQ(g.core->game.ratedGame, game::RatedState::Done);
    // The result is processed once.
    EXPECT_FALSE(game::endOfGame(*g.core, game::EndReason::Draw).processed);
}

// ----------------------------------------------------------- draws

void recordQuietPlies(game::Core& core, int plies) {
    auto& rec = core.game.record;
    for (int k = 1; k <= plies; ++k) {
        rec.plies[static_cast<std::size_t>(k)].captureCount = 0;
        rec.plies[static_cast<std::size_t>(k)].from = 1;
    }
    rec.plyCounter = static_cast<std::uint8_t>(plies);
    rec.recordLength = plies;
}

TEST(DrawOffers, TheEngineOffersInAQuietKingEnding) {
    Game g("W:WK29,K30:BK4,K3");
    recordQuietPlies(*g.core, 30);
    g.core->engine.lastScore = 120;
    EXPECT_TRUE(game::engineOffersDraw(*g.core));
    g.core->engine.lastScore = 30000;
    EXPECT_FALSE(game::engineOffersDraw(*g.core)) << "not with a forced result";
    g.core->engine.lastScore = 0;
    g.core->game.record.plies[15].captureCount = 1;
    EXPECT_FALSE(game::engineOffersDraw(*g.core)) << "a capture in the last 20 plies";
    g.core->game.record.plies[15].captureCount = 0;
    g.core->game.record.plyCounter = 20;
    EXPECT_FALSE(game::engineOffersDraw(*g.core)) << "20 plies are not enough";

    Game men("W:W29,30:B4,3");
    recordQuietPlies(*men.core, 30);
    EXPECT_FALSE(game::engineOffersDraw(*men.core)) << "needs a king";
    Game five("W:WK29,30,31:B4,3");
    recordQuietPlies(*five.core, 30);
    EXPECT_FALSE(game::engineOffersDraw(*five.core)) << "at most four pieces";
}

TEST(DrawOffers, ThePersonsOfferIsAnsweredFromTheLastScore) {
    Game full;   // 24 pieces: always refused
    full.core->engine.lastScore = -500;
    EXPECT_FALSE(game::offerDraw(*full.core));
    EXPECT_TRUE(full.core->game.drawRefusedShown);

    Game g("W:W21,22,23:B1,2,3");
    g.core->engine.lastScore = 10;
    EXPECT_FALSE(game::acceptsDrawOffer(*g.core)) << "the engine is ahead";
    g.core->engine.lastScore = 0;
    EXPECT_TRUE(game::acceptsDrawOffer(*g.core));
    // While thinking on the person's time the value is the person's.
    g.core->engine.infiniteThinking = true;
    g.core->engine.lastScore = 10;
    EXPECT_TRUE(game::acceptsDrawOffer(*g.core));
    g.core->engine.lastScore = -10;
    EXPECT_FALSE(game::acceptsDrawOffer(*g.core));
    g.core->engine.infiniteThinking = false;
    g.core->engine.lastScore = -10;
    const auto end = game::offerDraw(*g.core);
    ASSERT_TRUE(end);
    EXPECT_EQ(game::endMessageText(*end), "Match nul !");
    EXPECT_EQ(g.core->game.lastResult, game::GameResult::Draw);
}

TEST(EndOfGame, BothSidesBlockedTheSideToMoveLoses) {
    // Neither side can move, Black to move: Black has lost.
    Game g("B:W27,28,29,30,31,32:B18,19,20,21,22,23,24,25,26");
    g.core->game.options.humanVsHuman = true;
    const game::EndOfGame end = game::endOfGame(*g.core, game::EndReason::NoMoveAfterPerson);
    EXPECT_EQ(end.result, game::GameResult::WhiteWon);
    EXPECT_EQ(game::endMessageText(end), "Gain des blancs");
    EXPECT_FALSE(end.sound);
}

TEST(EndOfGame, ResignationAndSoundsFollowTheTick) {
    Game g;
    g.core->game.computerColour = rules::Black;
    g.core->game.options.otherSounds = false;
    const game::EndOfGame end = game::endOfGame(*g.core, game::EndReason::PersonResigned);
    EXPECT_EQ(game::endMessageText(end), "Vous abandonnez, gain TAVOLEX");
    EXPECT_EQ(end.result, game::GameResult::BlackWon);
    EXPECT_TRUE(g.host.sounds.empty());
}

TEST(SelfPlay, EndsDrawnAfterPly250WithoutChange) {
    Game g("W:WK29,K30,K31:BK4,K3,K2");
    g.core->game.options.selfPlay = true;
    recordQuietPlies(*g.core, 251);
    g.core->game.pieceTotals.fill(6);
    const game::EngineTurn t = g.turn();
    ASSERT_TRUE(t.played);
    ASSERT_TRUE(t.end);
    EXPECT_EQ(game::endMessageText(*t.end), "Match nul !");
    EXPECT_FALSE(g.core->game.options.selfPlay) << "self-play stops";

    Game early("W:WK29,K30,K31:BK4,K3,K2");
    early.core->game.options.selfPlay = true;
    recordQuietPlies(*early.core, 200);
    early.core->game.pieceTotals.fill(6);
    EXPECT_FALSE(early.turn().end);
}

// ----------------------------------------------------------- the person's time

TEST(PersonTime, ThinksOncePerTurnWithinItsOwnTime) {
    Game g;
    g.core->game.sideToMove = rules::White;   // the person's turn
    g.core->game.computerColour = rules::Black;
    ASSERT_TRUE(game::mayThinkOnPersonTime(*g.core));
    const engine::SearchInput in = game::beginThinkingOnPersonTime(*g.core);
    EXPECT_TRUE(in.infinite);
    EXPECT_TRUE(g.core->engine.infiniteThinking) << "a draw offer reads the person's standing meanwhile";
    EXPECT_EQ(in.side, rules::White);
    EXPECT_EQ(in.limits.hardMs, 10000) << "level 5: the engine's own 5 s, raised to 10";
    EXPECT_FALSE(game::mayThinkOnPersonTime(*g.core)) << "once per turn";
    // The person moves: the search is stopped and its answer let go.
    int reports = 0;
    g.searchHost.onThinking = [&](const engine::SearchStats& st) {
        game::noteThinkingOnPersonTime(*g.core, st);
        if (++reports == 4) g.searcher->engine.stopRequested = true;
    };
    const engine::SearchOutput out = engine::runSearch(*g.searcher, in);
    EXPECT_TRUE(out.hasMove());
    EXPECT_FALSE(g.searchHost.thinking.back().timed) << "no clock lines while thinking on the person's time";
    EXPECT_EQ(g.core->engine.lastScore, g.searchHost.thinking.back().score);
    game::endThinkingOnPersonTime(*g.core);
    EXPECT_FALSE(g.core->engine.infiniteThinking);
    EXPECT_EQ(g.core->rules.gamePosition, rules::startingPosition()) << "the game is not touched";

    // After the engine's move the person's next turn may be thought on again.
    g.core->game.sideToMove = rules::Black;
    g.searchHost.onThinking = nullptr;
    g.turn();
    EXPECT_TRUE(game::mayThinkOnPersonTime(*g.core));
    g.core->game.navigated = true;
    EXPECT_FALSE(game::mayThinkOnPersonTime(*g.core));
    g.core->game.navigated = false;
    g.core->game.options.selfPlay = true;
    EXPECT_FALSE(game::mayThinkOnPersonTime(*g.core)) << "no person to think for in self-play";
}

TEST(PersonTime, ItsTimeFollowsTheEnginesOwnBetween10And60Seconds) {
    const struct {
        int item;
        std::int64_t ms;
    } cases[] = {{0, 10000}, {5, 10000}, {8, 60000}, {15, 60000}};  // "7 : long, long" has no time limit
    for (const auto& c : cases) {
        engine::LevelState level;
        engine::selectLevel(level, c.item);
        EXPECT_EQ(engine::personTimeLimitMs(level, 10, 0), c.ms) << "item " << c.item;
    }
}

TEST(PersonTime, ClicksWhileTheEngineThinksAreNoMoves) {
    Game g;
    g.core->game.engineToMove = true;
    EXPECT_TRUE(game::clickStopsEngine(*g.core));
    // A click on a man that could move is no move while the engine is to move.
    const game::PersonClick c = game::handleBoardClick(*g.core, 22);
    EXPECT_FALSE(c.handled);
    EXPECT_EQ(g.core->game.record.plyCounter, 0);
    g.core->game.options.stopByClick = false;
    EXPECT_FALSE(game::clickStopsEngine(*g.core));
    g.core->game.options.stopByClick = true;
    g.core->game.ratedGame = game::RatedState::InProgress;
    EXPECT_FALSE(game::clickStopsEngine(*g.core)) << "never in a rated game";
}

// ----------------------------------------------------------- a whole game

TEST(WholeGame, PersonAgainstTheLowestLevel) {
    // The person plays the first legal move each turn; the engine answers at
    // "0 : Néophyte" until the game ends or 80 plies are played.
    Game g;
    engine::selectLevel(g.core->engine.level, 0);
    g.core->game.computerColour = rules::Black;
    for (int ply = 0; ply < 80; ++ply) {
        if (g.core->game.sideToMove == rules::White) {
            g.core->rules.board = g.core->rules.gamePosition;
            if (rules::generateRootMoves(g.core->rules, rules::White) == 0) break;
            const rules::Move m = g.core->rules.rootList()[0];
            ASSERT_TRUE(game::playMove(*g.core, m).recorded);
        } else {
            const game::EngineTurn t = g.turn(0);
            if (t.end) break;
            ASSERT_TRUE(t.played);
        }
    }
    EXPECT_GT(g.core->game.record.plyCounter, 10);
    EXPECT_FALSE(g.searchHost.thinking.empty());
}

// ----------------------------------------------------------- Editer coups

TEST(BestMoveFile, WritesTheThinkingListLineByLine) {
    const auto dir = std::filesystem::temp_directory_path() / "tavolex_bestmove_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "Bestmove.txt";
    {
        std::ofstream old(file);
        old << "an older report that is longer than the new one\n";
    }
    ASSERT_TRUE(engine::writeBestMoveFile(file, {"Profondeur :     3", "Noeuds :       57"}));
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "Profondeur :     3\r\nNoeuds :       57\r\n");
    EXPECT_FALSE(engine::writeBestMoveFile(dir / "no such folder" / "Bestmove.txt", {"x"}));
    std::filesystem::remove_all(dir);
}

}  // namespace
