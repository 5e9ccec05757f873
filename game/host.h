#pragma once
// Everything the core needs from the world outside it. The window implements
// it with Qt; the command-line front end and the tests with plain fakes.

#include <cstdint>
#include <string_view>

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
    virtual void playSound(Sound) {}
    // The error box, captioned "Erreur".
    virtual void showError(std::string_view) {}
};

}  // namespace game
