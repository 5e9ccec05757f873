#pragma once
// The core's window on the world, for the Qt window: message processing,
// the local clock, sounds from the program folder and the error box. What
// the search reports (thinking, root moves, clocks, busy) goes to the
// window through the functions it installs.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "game/host.h"

class QWidget;
class QSoundEffect;

namespace ui {

class QtHost : public game::Host {
public:
    QtHost(QWidget* window, std::filesystem::path programDir);
    ~QtHost() override;

    // The window's side of the reports. Each may run inside the search:
    // it shows, it never acts on the game.
    struct Display {
        std::function<void(const engine::SearchStats&)> thinking;
        std::function<void()> rootMovesCleared;
        std::function<void(const engine::RootMoveLine&)> rootMove;
        std::function<void()> clocks;
        std::function<void(bool)> busy;
    };
    void setDisplay(Display display) { m_display = std::move(display); }
    // Tests drive time and listen to the sounds instead of the speakers.
    void setClockFunction(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }
    void setSoundFunction(std::function<void(game::Sound)> sound) { m_sound = std::move(sound); }

    void pumpEvents() override;
    std::int64_t readClock() override;
    std::int64_t readMilliseconds() override;
    // Plays the sound's file from the program folder; a missing file or no
    // audio device is silence, not an error.
    void playSound(game::Sound sound) override;
    // The modal box captioned "Erreur" with an error icon and OK.
    void showError(std::string_view text) override;
    void showThinking(const engine::SearchStats& stats) override;
    void clearRootMoves() override;
    void showRootMove(const engine::RootMoveLine& line) override;
    void clocksChanged() override;
    void engineBusy(bool busy) override;

private:
    QWidget* m_window;
    std::filesystem::path m_programDir;
    std::map<game::Sound, std::unique_ptr<QSoundEffect>> m_sounds;
    Display m_display;
    std::function<std::int64_t()> m_clock;
    std::function<void(game::Sound)> m_sound;
};

}  // namespace ui
