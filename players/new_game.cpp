#include "players/new_game.h"

#include "files/setup.h"
#include "game/navigation.h"

namespace players {

namespace {

// A new game from the starting position, clocks at zero, nobody thinking.
void freshGame(game::Core& core) {
    files::resetToStartingPosition(core);
    game::GameState& g = core.game;
    g.engineToMove = false;
    g.setupMode = false;
    g.endPanelShown = false;
    g.drawOfferShown = false;
    g.drawRefusedShown = false;
    g.pondered = false;
    core.engine.analysisScores.fill(0);
}

// Names and colours go into the game and into entry 0 of the record, which
// the game file stores with every ply.
void seatPlayers(game::Core& core, const std::string& white, const std::string& black, rules::Side computerColour) {
    game::GameState& g = core.game;
    g.whiteName = game::makeName(white);
    g.blackName = game::makeName(black);
    g.computerColour = computerColour;
    // White moves first: when the computer has White it opens, and the
    // board is turned so that the person's men are at the bottom.
    g.inverted = computerColour == rules::White;
    g.engineToMove = g.computerPlays && computerColour == g.sideToMove;
    core.rules.board = core.rules.gamePosition;
    game::recordPly(core, g.record.plyCounter, nullptr);
}

bool bothComputer(const game::GameState& g) {
    return game::nameText(g.whiteName) == ComputerName && game::nameText(g.blackName) == ComputerName;
}

RatingRead ratingAt(const Roll& roll, int line) {
    if (line < 0 || line >= static_cast<int>(roll.ratings.size())) return {0, RatingProblem::Missing};
    return readRating(roll.ratings[static_cast<std::size_t>(line)]);
}

}  // namespace

void resetForNewGame(game::Core& core) {
    core.game.lastResult = game::GameResult::None;
    core.game.setupMode = false;
    core.players = loadRoll(core.programDir);
}

NewGame startTrainingGame(game::Core& core, const std::string& name, bool computerBlack) {
    game::GameState& g = core.game;
    freshGame(core);
    g.computerPlays = true;
    g.ratedGame = game::RatedState::None;
    g.options.stopByClick = true;
    g.options.humanVsHuman = false;
    g.options.selfPlay = false;
    if (computerBlack)
        seatPlayers(core, name, ComputerName, rules::Black);
    else
        seatPlayers(core, ComputerName, name, rules::White);
    if (bothComputer(g)) {
        g.options.selfPlay = true;
        g.engineToMove = true;
    }
    return {};
}

int humanLine(const Roll& roll, const std::string& name, int selectedLine, int previousSame, int previousOther) {
    if (name == UnknownPlayer) return -1;
    const int size = static_cast<int>(roll.names.size());
    auto names = [&](int line) {
        return line >= 1 && line < size && roll.names[static_cast<std::size_t>(line)] == name;
    };
    for (int line : {selectedLine, previousSame, previousOther})
        if (names(line)) return line;
    for (int line = 1; line < size; ++line)
        if (names(line)) return line;
    return -1;
}

NewGame startMatch(game::Core& core, const std::string& name, int selectedLine, bool computerBlack) {
    NewGame out;
    if (name.empty()) {
        out.refusal = Refusal::Incomplete;
        return out;
    }
    game::GameState& g = core.game;
    const bool selfPlay = game::nameText(game::makeName(name)) == ComputerName;

    // The lines and ratings first: a game that cannot be rated does not start.
    const int previousSame = computerBlack ? g.whiteLine : g.blackLine;
    const int previousOther = computerBlack ? g.blackLine : g.whiteLine;
    const int line = selfPlay ? -1 : humanLine(core.players, name, selectedLine, previousSame, previousOther);
    const RatingRead human = line < 0 ? RatingRead{UnknownRating, RatingProblem::None} : ratingAt(core.players, line);
    const RatingRead computer = ratingAt(core.players, 0);
    if (!selfPlay) {
        // The formula divides by both ratings and multiplies their ratios.
        if (human.problem != RatingProblem::None) {
            out.badName = name;
            out.ratingProblem = human.problem;
        } else if (computer.problem != RatingProblem::None) {
            out.badName = ComputerName;
            out.ratingProblem = computer.problem;
        }
        if (!out.badName.empty()) {
            out.refusal = Refusal::RatingBelowOne;
            return out;
        }
    }
    const int humanRating = human.value;
    const int computerRating = computer.value;

    freshGame(core);
    g.computerPlays = true;
    g.options.humanVsHuman = false;
    g.options.selfPlay = false;
    g.options.stopByClick = false;
    g.ratedGame = game::RatedState::InProgress;
    if (computerBlack) {
        g.whiteLine = line;
        g.blackLine = 0;
        g.whiteRating = humanRating;
        g.blackRating = computerRating;
        seatPlayers(core, name, ComputerName, rules::Black);
    } else {
        g.whiteLine = 0;
        g.blackLine = line;
        g.whiteRating = computerRating;
        g.blackRating = humanRating;
        seatPlayers(core, ComputerName, name, rules::White);
    }
    if (bothComputer(g)) {
        g.options.selfPlay = true;
        g.ratedGame = game::RatedState::None;
        g.options.stopByClick = true;
        g.engineToMove = true;
    }
    return out;
}

NewGame startTwoPersonGame(game::Core& core, const std::string& white, const std::string& black, int whiteSelected,
                           int blackSelected) {
    NewGame out;
    if (white.empty() || black.empty() || white == black || whiteSelected == 0 || blackSelected == 0) {
        out.refusal = Refusal::Incomplete;
        return out;
    }
    game::GameState& g = core.game;
    freshGame(core);
    g.options.humanVsHuman = true;
    g.options.selfPlay = false;
    g.computerPlays = false;
    g.ratedGame = game::RatedState::None;
    g.options.stopByClick = true;
    seatPlayers(core, white, black, g.computerColour);
    g.inverted = false;
    g.engineToMove = false;
    return out;
}

void restoreComputerRating(game::Core& core) {
    if (core.players.ratings.empty()) core.players.ratings.emplace_back();
    core.players.ratings[0] = std::to_string(ComputerRating);
}

void switchComputerSide(game::Core& core) {
    game::GameState& g = core.game;
    g.computerColour = rules::opposite(g.computerColour);
    core.rules.board = core.rules.gamePosition;
    core.rules.board[0] = rules::Sentinel;
    g.engineToMove = g.computerPlays && !g.options.humanVsHuman && g.computerColour == g.sideToMove;
}

void swapPlayers(game::Core& core) {
    core.game.ratedGame = game::RatedState::None;
    switchComputerSide(core);
}

void renamePlayers(game::Core& core, const std::string& white, const std::string& black) {
    game::GameState& g = core.game;
    g.whiteName = game::makeName(white);
    g.blackName = game::makeName(black);
    game::PlyRecord& e = g.record.plies[g.record.plyCounter];
    e.whiteName = g.whiteName;
    e.blackName = g.blackName;
}

}  // namespace players
