#pragma once
// What the search reports while it thinks: the lines of the thinking list
// and of the root-move list, as data. thinking.h turns them into text.

#include <array>
#include <cstdint>

#include "rules/movegen.h"

namespace engine {

struct SearchStats {
    int depth = 0;                 // the iteration shown ("Profondeur")
    std::int64_t nodes = 0;        // "Noeuds"
    bool timed = false;            // false under infinite thinking: no time lines
    int seconds = 0;               // spent on this move ("Temps")
    int score = 0;                 // internal, 1/200 of a man; shown halved
    int moveNumber = 0;            // "Coups": (plies played + 2) / 2
    // The best line, plies 1..; pvLength moves.
    std::array<rules::Move, rules::MaxPly + 1> pv{};
    int pvLength = 0;
};

// One line of the root-move list: move `index` of the root list.
struct RootMoveLine {
    int index = 0;
    rules::Square from = 0;
    rules::Square to = 0;
    bool capture = false;
    int shownScore = 0;            // already halved
    bool searching = false;        // the "?<---" mark: this move is being searched
};

}  // namespace engine
