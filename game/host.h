#pragma once
// Everything the core needs from the world outside it. The window implements
// it with Qt; the command-line front end and the tests with plain fakes.

#include <cstdint>
#include <string_view>

namespace engine {
struct SearchStats;
struct RootMoveLine;
}  // namespace engine

namespace game {

enum class Sound : std::uint8_t {
    Move,  // "son.wav"
    Won,   // "gagne.wav"
    Lost,  // "Perdu.wav"
};

class Host {
public:
    virtual ~Host() = default;
    // Local time in whole seconds: day of month x 86400 + h x 3600 + m x 60 + s.
    virtual std::int64_t readClock() = 0;
    // A finer clock for front ends that limit a search in milliseconds.
    virtual std::int64_t readMilliseconds() { return readClock() * 1000; }
    virtual void playSound(Sound) {}
    // The error box, captioned "Erreur".
    virtual void showError(std::string_view) {}
    // The "Calcul" page: the thinking list (ListBox2), redrawn whole, and the
    // root-move list (ListBox5), cleared at the start of a search and then
    // written line by line. Called from inside the search, on the thread
    // that searches: show, never act.
    virtual void showThinking(const engine::SearchStats&) {}
    virtual void clearRootMoves() {}
    virtual void showRootMove(const engine::RootMoveLine&) {}
    // The clock values in GameState changed.
    virtual void clocksChanged() {}
};

}  // namespace game
