#include "ui/window_place.h"

#include <QMainWindow>
#include <QScreen>
#include <QSettings>

#include <algorithm>

#include "ui/play_area.h"
#include "ui/settings_file.h"

namespace ui {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");

}  // namespace

void placeWindowAtStart(QMainWindow& window, const std::filesystem::path& programDir) {
    if (window.restoreGeometry(settingsFile(programDir)->value(GeometryKey).toByteArray())) return;
    // Inside the screen with room for the window's frame, which is not
    // known before the window shows. A small screen is given almost whole:
    // the board needs every row.
    const QScreen* screen = window.screen();
    const QRect room = (screen ? screen->availableGeometry() : QRect(0, 0, 800, 600)).adjusted(0, 0, -16, -48);
    const QSize least = window.minimumSizeHint();
    const int share = room.height() < 800 ? room.height() : room.height() * 4 / 5;
    const int height = std::min(room.height(), std::max(least.height(), share));
    const int width = std::min(room.width(), std::max(least.width(), height * 3 / 2));
    window.resize(width, height);
    window.move(room.center() - QPoint(width / 2, height / 2));
}

void keepWindowPlace(const QMainWindow& window, const std::filesystem::path& programDir) {
    settingsFile(programDir)->setValue(GeometryKey, window.saveGeometry());
}

void widenForBoard(QMainWindow& window, const PlayArea& area) {
    if (!window.isVisible() || window.isMaximized() || window.isFullScreen()) return;
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const int frame = window.frameGeometry().width() - window.width();
    const QSize best = area.sizeFor(area.height());
    const int wanted = std::min(room.width() - frame, window.width() + best.width() - area.width());
    if (wanted <= window.width()) return;
    QRect g = window.geometry();
    g.setWidth(wanted);
    // Kept on the screen: moved left as far as the growth needs.
    if (g.right() + frame > room.right()) g.moveRight(std::max(room.left() + frame, room.right() - frame));
    window.setGeometry(g);
}

}  // namespace ui
