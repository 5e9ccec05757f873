#include "ui/qt_host.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

#include "files/program_folder.h"

namespace ui {

QtHost::QtHost(QWidget* window, std::filesystem::path programDir)
    : m_window(window), m_programDir(std::move(programDir)) {}

QtHost::~QtHost() = default;

void QtHost::pumpEvents() { QCoreApplication::processEvents(); }

std::int64_t QtHost::readClock() {
    if (m_clock) return m_clock();
    // Whole seconds counted from the start of the month, as the clocks and
    // the engine's time budget expect.
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return std::int64_t{now.date().day()} * 86400 + t.hour() * 3600 + t.minute() * 60 + t.second();
}

std::int64_t QtHost::readMilliseconds() {
    if (m_clock) return m_clock() * 1000;
    return QDateTime::currentMSecsSinceEpoch();
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
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, m_window);
    box.exec();
}

void QtHost::showThinking(const engine::SearchStats& stats) {
    if (m_display.thinking) m_display.thinking(stats);
}

void QtHost::clearRootMoves() {
    if (m_display.rootMovesCleared) m_display.rootMovesCleared();
}

void QtHost::showRootMove(const engine::RootMoveLine& line) {
    if (m_display.rootMove) m_display.rootMove(line);
}

void QtHost::clocksChanged() {
    if (m_display.clocks) m_display.clocks();
}

void QtHost::engineBusy(bool busy) {
    if (m_display.busy) m_display.busy(busy);
}

}  // namespace ui
