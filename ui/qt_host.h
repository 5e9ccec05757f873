#pragma once
// The core's window on the world, for the Qt window: message processing,
// the local clock, sounds from the program folder and the error box.

#include <filesystem>
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

    void pumpEvents() override;
    std::int64_t readClock() override;
    // Plays the sound's file from the program folder; a missing file is
    // silence, not an error.
    void playSound(game::Sound sound) override;
    // The modal box captioned "Erreur" with an error icon and OK.
    void showError(std::string_view text) override;

private:
    QWidget* m_window;
    std::filesystem::path m_programDir;
    std::map<game::Sound, std::unique_ptr<QSoundEffect>> m_sounds;
};

}  // namespace ui
