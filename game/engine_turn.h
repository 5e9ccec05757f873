#pragma once
// The engine's side of the game: its turn, thinking on the person's time,
// draw offers both ways. The searches themselves run elsewhere (the
// engine's worker, or runSearch on the caller's thread): a turn is begun,
// which says what to search, and finished with the search's answer.

#include <filesystem>
#include <optional>
#include <vector>

#include "engine/thinking.h"
#include "engine/worker.h"
#include "game/core.h"
#include "game/end_of_game.h"
#include "rules/move_input.h"

namespace game {

struct EngineTurnStart {
    // The frames of the engine's last move go.
    std::vector<rules::ViewOp> ops;
    // The game ended before the engine could think (a loss on time in a
    // rated game, a full record): nothing to search.
    std::optional<EndOfGame> end;
    // Otherwise, the search of the engine's move.
    std::optional<engine::SearchInput> search;
};

// Begins the engine's turn for the side to move: the clocks run, the engine
// takes that side, and its search is planned within the level's time.
EngineTurnStart beginEngineTurn(Core& core);

struct EngineTurn {
    bool forced = false;        // one legal move, played without a search
    bool played = false;
    rules::Move move;
    // What the board view does, in order: the move's animation, the new frames.
    std::vector<rules::ViewOp> ops;
    bool zutShown = false;      // "Zut ! ce n'est pas cela que je voulais jouer."
    bool drawOffered = false;   // the Match_nul panel
    std::optional<EndOfGame> end;
};

// Ends the engine's turn with the answer of its search: the weakest level's
// second choice, its own draw offer, the move played and shown, the end of
// the game.
EngineTurn finishEngineTurn(Core& core, const engine::SearchOutput& answer);

// The whole turn on the caller's thread, the search run by `searcher` (a
// core kept for searching): for front ends without a worker, and tests.
EngineTurn playEngineTurn(Core& core, Core& searcher);

// Thinking on the person's time: once per turn, while the tick is on and
// nothing (set-up, navigation, analysis, two people) forbids it. Its search
// has no time limit but one: it stops by itself after as long as the engine
// would think on its own next move (10 to 60 seconds), so an idle game
// goes quiet.
bool mayThinkOnPersonTime(const Core& core);
engine::SearchInput beginThinkingOnPersonTime(Core& core);
// A finished iteration while it thinks: the person's standing, which the
// answer to a draw offer reads.
void noteThinkingOnPersonTime(Core& core, const engine::SearchStats& stats);
// The search ended (stopped by the person's move or by its time).
void endThinkingOnPersonTime(Core& core);

// The person offers a draw: accepted when the board has fewer than 20 pieces
// and the engine's last value shows it is not better.
bool acceptsDrawOffer(const Core& core);
EndOfGame acceptEngineDrawOffer(Core& core);  // the engine's offer accepted
void refuseEngineDrawOffer(Core& core);        // ... or refused

// "Editer coups": the thinking list as it stands, even in the middle of a
// search, saved as "Bestmove.txt" in `folder` with the words the window
// shows it with.
bool saveThinkingList(const Core& core, const std::filesystem::path& folder, const engine::ThinkingWords& words = {});

// The draw offer the engine makes after its move.
bool engineOffersDraw(const Core& core);

}  // namespace game
