#pragma once
// The core's window on the world, for the Qt window: the clock, sounds from
// the program folder and the error box, in the interface language. The clocks' changes go to the window
// through the function it installs. (The engine reports its thinking through
// its worker, not through this host.)

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include <QElapsedTimer>

#include "game/host.h"

class QWidget;
class QSoundEffect;

namespace ui {

class QtHost : public game::Host {
public:
    QtHost(QWidget* window, std::filesystem::path programDir);
    ~QtHost() override;

    // The window shows the clocks again when they change.
    void setClocksChanged(std::function<void()> changed) { m_clocksChanged = std::move(changed); }
    // Tests drive time and listen to the sounds instead of the speakers.
    void setClockFunction(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }
    void setSoundFunction(std::function<void(game::Sound)> sound) { m_sound = std::move(sound); }
    // The interface language of the error box (French until told).
    void setLanguage(int language) { m_language = language; }

    // Whole seconds of a steady clock: only differences of readings count,
    // and they never go back (not at a change of date or of summer time).
    std::int64_t readClock() override;
    std::int64_t readMilliseconds() override;
    // Plays the sound's file from the program folder; a missing file or no
    // audio device is silence, not an error.
    void playSound(game::Sound sound) override;
    // The modal box captioned "Erreur" with an error icon and OK; the core's
    // French messages are said in the interface language.
    void showError(std::string_view text) override;
    void clocksChanged() override;

private:
    QWidget* m_window;
    std::filesystem::path m_programDir;
    std::map<game::Sound, std::unique_ptr<QSoundEffect>> m_sounds;
    std::function<void()> m_clocksChanged;
    QElapsedTimer m_origin;
    std::function<std::int64_t()> m_clock;
    std::function<void(game::Sound)> m_sound;
    int m_language = 0;
};

}  // namespace ui
