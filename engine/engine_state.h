#pragma once
// The engine's state that the rest of the program touches. The search and
// its tables join it when the engine is built.

namespace engine {

struct EngineState {
    // Raised by clicks, take-backs and other commands to end a running
    // search at its next polling point.
    bool stopRequested = false;
    // Raised by record navigation: the search's result must not be played.
    bool abandonSearch = false;
    // Set while the engine searches the person's side on the person's time.
    bool infiniteThinking = false;
    // The value of the last finished search iteration, in 1/200 of a man,
    // for the side searched; beyond +-30000 a forced win or loss.
    int lastScore = 0;
};

}  // namespace engine
