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
    // Let pending window events run (the search's polling points, animations).
    virtual void pumpEvents() {}
    // Local time in whole seconds: day of month x 86400 + h x 3600 + m x 60 + s.
    virtual std::int64_t readClock() = 0;
    // A finer clock for front ends that limit a search in milliseconds.
    virtual std::int64_t readMilliseconds() { return readClock() * 1000; }
    virtual void playSound(Sound) {}
    // The error box, captioned "Erreur".
    virtual void showError(std::string_view) {}
    // The "Calcul" page: the thinking list (ListBox2), redrawn whole, and the
    // root-move list (ListBox5), cleared at the start of a search and then
    // written line by line. Called from inside the search: show, never act.
    virtual void showThinking(const engine::SearchStats&) {}
    virtual void clearRootMoves() {}
    virtual void showRootMove(const engine::RootMoveLine&) {}
    // The clock values in GameState changed (ticks, the engine's clock).
    virtual void clocksChanged() {}
    // The engine starts (true) or ends (false) thinking for its own move: the
    // window disables the menus that would start another search or change the
    // game, and shows the busy cursor.
    virtual void engineBusy(bool) {}
};

}  // namespace game
