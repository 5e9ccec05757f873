#include "game/end_of_game.h"

#include "players/rated_game.h"
#include "rules/move_input.h"
#include "rules/movegen.h"

namespace game {

namespace {

bool hasLegalMove(Core& core, rules::Side side) { return rules::generateRootMoves(core.rules, side) > 0; }

}  // namespace

EndOfGame endOfGame(Core& core, EndReason reason) {
    EndOfGame end;
    GameState& g = core.game;
    if (g.ratedGame == game::RatedState::Done) return end;
    end.processed = true;

    // Step 2. The side to move that has no legal move loses. Only that side
    // is asked: when both sides are blocked it is still the one to move that
    // cannot play, so it is the one that has lost.
    core.rules.board = core.rules.gamePosition;
    core.rules.board[0] = rules::Sentinel;
    const rules::Side toMove = g.sideToMove;
    if (!hasLegalMove(core, toMove)) end.result = toMove == rules::White ? GameResult::BlackWon : GameResult::WhiteWon;
    rules::clearMoveEntry(core.rules);

    // Step 3. The winner's message: by colour between two people, from the
    // person's point of view against the engine, by name in a rated game.
    const bool againstEngine = !g.options.humanVsHuman;
    std::optional<Sound> sound;
    auto winner = [&](rules::Side side) {
        if (g.ratedGame == game::RatedState::InProgress) {
            end.message = EndMessage::RatedWinner;
            end.winnerName = nameText(side == rules::White ? g.whiteName : g.blackName);
        } else if (!againstEngine) {
            end.message = side == rules::White ? EndMessage::WhiteWins : EndMessage::BlackWins;
        }
        if (againstEngine) {
            const bool engineWon = g.computerColour == side;
            if (g.ratedGame != game::RatedState::InProgress)
                end.message = engineWon ? EndMessage::EngineWon : EndMessage::PersonWon;
            sound = engineWon ? Sound::Lost : Sound::Won;
        }
    };
    if (end.result == GameResult::WhiteWon) winner(rules::White);
    if (end.result == GameResult::BlackWon) winner(rules::Black);

    // Step 4. Reasons that decide the result by themselves.
    const GameResult engineSideWins = g.computerColour == rules::White ? GameResult::WhiteWon : GameResult::BlackWon;
    const GameResult personSideWins = g.computerColour == rules::White ? GameResult::BlackWon : GameResult::WhiteWon;
    switch (reason) {
        case EndReason::Draw:
            end.message = EndMessage::Draw;
            end.result = GameResult::Draw;
            sound.reset();
            break;
        case EndReason::PersonLostOnTime:
            end.message = EndMessage::EngineWonOnTime;
            end.result = engineSideWins;
            sound = Sound::Lost;
            break;
        case EndReason::EngineLostOnTime:
            end.message = EndMessage::PersonWonOnTime;
            end.result = personSideWins;
            sound = Sound::Won;
            break;
        case EndReason::PersonResigned:
            end.message = EndMessage::PersonResigned;
            end.result = engineSideWins;
            sound = Sound::Lost;
            break;
        case EndReason::NoMoveAfterPerson:
        case EndReason::NoMoveAfterEngine: break;
    }
    if (sound && g.options.otherSounds) {
        end.sound = sound;
        if (core.host) core.host->playSound(*sound);
    }

    // Step 8. Self-play stops with the game. A learning session goes on to
    // analyse it instead of showing the panel, then starts the next game.
    g.options.selfPlay = false;
    if (core.engine.learning.session) end.showPanel = false;
    // Step 9. A rated game's result is processed once: the ratings move and
    // are saved, and a second signal for the same game finds the flag at 5.
    if (g.ratedGame == game::RatedState::InProgress) {
        end.ratings = players::recordRatedResult(core, end.result);
        g.ratedGame = game::RatedState::Done;
    }
    g.lastResult = end.result;
    g.endPanelShown = end.showPanel;
    return end;
}

std::string endMessageText(const EndOfGame& end) {
    switch (end.message) {
        case EndMessage::None: return {};
        case EndMessage::WhiteWins: return "Gain des blancs";
        case EndMessage::BlackWins: return "Gain des noirs";
        case EndMessage::EngineWon: return "Désolé, TAVOLEX a gagné";
        case EndMessage::PersonWon: return "Bravo, vous avez gagné";
        case EndMessage::RatedWinner: return end.winnerName + " gagne";
        case EndMessage::Draw: return "Match nul !";
        case EndMessage::EngineWonOnTime: return "Temps dépassé, gain TAVOLEX";
        case EndMessage::PersonWonOnTime: return "Temps dépassé, vous gagnez";
        case EndMessage::PersonResigned: return "Vous abandonnez, gain TAVOLEX";
    }
    return {};
}

}  // namespace game
