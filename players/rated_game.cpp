#include "players/rated_game.h"

#include <string>

namespace players {

std::optional<RatingChange> recordRatedResult(game::Core& core, game::GameResult result) {
    game::GameState& g = core.game;
    Result r = Result::Draw;
    switch (result) {
        case game::GameResult::WhiteWon: r = Result::WhiteWins; break;
        case game::GameResult::BlackWon: r = Result::BlackWins; break;
        case game::GameResult::Draw: r = Result::Draw; break;
        case game::GameResult::None: return std::nullopt;
    }
    const NewRatings next = updatedRatings(g.whiteRating, g.blackRating, r);
    RatingChange change{g.whiteRating, next.white, g.blackRating, next.black, true};

    // The ratings list stays the working copy: a line the roll lacks is not
    // invented, so the two files keep the same length.
    bool stored = false;
    auto store = [&](int line, int rating) {
        if (line < 0 || line >= static_cast<int>(core.players.ratings.size())) return;
        core.players.ratings[static_cast<std::size_t>(line)] = std::to_string(rating);
        stored = true;
    };
    store(g.whiteLine, next.white);
    store(g.blackLine, next.black);
    if (stored && !saveRatings(core.programDir, core.players)) {
        change.saved = false;
        if (core.host) core.host->showError("Impossible d'ouvrir ce fichier");
    }
    g.whiteRating = next.white;
    g.blackRating = next.black;
    return change;
}

}  // namespace players
