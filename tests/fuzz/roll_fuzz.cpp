// The roll of players ("joueurs.dat", then a NUL, then "points.dat"): every
// rating line is read or refused with a reason, the formula keeps ratings in
// range, and a match can be asked for every name without fault.

#include <cstdint>
#include <span>

#include "files/text_lines.h"
#include "fuzz_support.h"
#include "game/core.h"
#include "players/new_game.h"
#include "players/roll.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [names, ratings] = fuzzsupport::splitAtNul(std::span<const std::uint8_t>(data, size));
    players::Roll roll{files::splitTextLines(names), files::splitTextLines(ratings)};

    std::vector<int> valid;
    for (const std::string& line : roll.ratings) {
        const players::RatingRead r = players::readRating(line);
        if (r.problem == players::RatingProblem::None) {
            check(r.value >= players::LowestRating && r.value <= players::HighestRating,
                  "accepted ratings are in range");
            valid.push_back(r.value);
        } else {
            check(r.value == 0, "a refused line reads as 0");
        }
    }
    // Every pair of neighbouring ratings, each result.
    for (std::size_t i = 0; i + 1 < valid.size() && i < 64; ++i) {
        for (players::Result result : {players::Result::WhiteWins, players::Result::BlackWins, players::Result::Draw}) {
            const players::NewRatings n = players::updatedRatings(valid[i], valid[i + 1], result);
            check(n.white >= players::LowestRating && n.white <= players::HighestRating &&
                      n.black >= players::LowestRating && n.black <= players::HighestRating,
                  "new ratings stay in range");
        }
    }

    // A match for each name, as the match page asks for it.
    static game::Core* core = new game::Core;
    core->players = roll;
    const int count = static_cast<int>(std::min<std::size_t>(roll.names.size(), 16));
    for (int line = 0; line < count; ++line) {
        const std::string& name = roll.names[static_cast<std::size_t>(line)];
        const players::NewGame out = players::startMatch(*core, name, line, line % 2 == 0);
        if (out.accepted() && core->game.ratedGame == game::RatedState::InProgress)
            check(core->game.whiteRating >= players::LowestRating && core->game.blackRating >= players::LowestRating,
                  "a rated game starts from readable ratings");
        players::Roll copy = roll;
        players::deletePlayer(copy, line);
        players::addPlayer(copy, name, 1700);
    }
    return 0;
}
