#pragma once
// The engine's side of the game: its turn, thinking on the person's time,
// draw offers both ways, and the end of the game. Everything runs on the
// caller's thread; the search inside lets the window breathe through
// Host::pumpEvents, where handlers only raise flags (clic below).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/core.h"
#include "game/end_of_game.h"
#include "rules/move_input.h"

namespace game {

struct EngineTurn {
    int searchResult = 0;       // searchRoot's answer (254 already turned into 0)
    bool forced = false;        // one legal move, played without a search
    bool abandoned = false;     // the game changed under the search: nothing played
    bool played = false;
    rules::Move move;
    // What the board view does, in order: the last move's frames removed, the
    // move's animation, the new frames.
    std::vector<rules::ViewOp> ops;
    std::string computerCaption;   // "Ordinateur blanc" ... in the language
    bool zutShown = false;         // "Zut ! ce n'est pas cela que je voulais jouer."
    bool drawOffered = false;      // the Match_nul panel
    std::optional<EndOfGame> end;
};

// The engine's turn on the game position (the caller has copied it into the
// working board): search, the weakest level's second choice, its own draw
// offer, the move recorded and shown, the end of the game.
EngineTurn engineTurn(Core& core);

// The caption naming the engine's colour, in the interface language.
const char* computerColourCaption(int language, rules::Side side);

// Thinking on the person's time: once per turn, while the tick is on and
// nothing (set-up, navigation, analysis, two people) forbids it. Runs until
// a click stops it; returns the move index it arrived at.
bool mayThinkOnPersonTime(const Core& core);
int thinkOnPersonTime(Core& core);

// The person offers a draw: accepted when the board has fewer than 20 pieces
// and the engine's last value shows it is not better. Call from the game
// loop, never from inside the search.
bool acceptsDrawOffer(const Core& core);
EndOfGame BitBtn14Click(Core& core);                      // the engine's offer accepted
void Annul_nulClick(Core& core);                          // ... or refused

// "Editer coups" (Best1Click): the thinking list as it stands, even in the
// middle of a search, saved as "Bestmove.txt" in `folder`.
bool Best1Click(const Core& core, const std::filesystem::path& folder);

// The draw offer the engine makes after its move.
bool engineOffersDraw(const Core& core);

}  // namespace game
