#pragma once
// One object owns all the state of a game and its engine; functions are
// handed what they need. Two cores can live side by side (engine matches,
// tests).

#include <filesystem>

#include "engine/engine_state.h"
#include "eval/eval_state.h"
#include "game/game_state.h"
#include "game/host.h"
#include "players/roll.h"
#include "rules/movegen.h"

namespace game {

struct Core {
    rules::RulesState rules;
    GameState game;
    // Parameters in force, the evaluation's accumulators and search-line facts.
    eval::EvalState eval;
    engine::EngineState engine;
    // The roll as the new-game panel read it: the working copy of the
    // ratings until a rated game's result is saved.
    players::Roll players;
    Host* host = nullptr;
    // Where the program's data lives (see files/program_folder.h).
    std::filesystem::path programDir;

    std::int64_t now() const { return host ? host->readClock() : 0; }
};

}  // namespace game
