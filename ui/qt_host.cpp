#include "ui/qt_host.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

#include "files/program_folder.h"
#include "ui/captions.h"

namespace ui {

QtHost::QtHost(QWidget* window, std::filesystem::path programDir)
    : m_window(window), m_programDir(std::move(programDir)) {
    m_origin.start();
}

QtHost::~QtHost() = default;

std::int64_t QtHost::readClock() {
    if (m_clock) return m_clock();
    return readMilliseconds() / 1000;
}

std::int64_t QtHost::readMilliseconds() {
    if (m_clock) return m_clock() * 1000;
    return m_origin.elapsed();
}

void QtHost::playSound(game::Sound sound) {
    if (m_sound) {
        m_sound(sound);
        return;
    }
    const char* name = sound == game::Sound::Move ? "son.wav" : sound == game::Sound::Won ? "gagne.wav" : "Perdu.wav";
    const std::filesystem::path file = files::resolveInFolder(m_programDir, name);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return;
    std::unique_ptr<QSoundEffect>& effect = m_sounds[sound];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    }
    effect->play();
}

void QtHost::showError(std::string_view text) {
    const QString french = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QMessageBox box(QMessageBox::Critical, captions::text(captions::Text::ErrorCaption, m_language),
                    captions::translateMessage(french, m_language), QMessageBox::Ok, m_window);
    box.exec();
}

void QtHost::clocksChanged() {
    if (m_clocksChanged) m_clocksChanged();
}

}  // namespace ui
