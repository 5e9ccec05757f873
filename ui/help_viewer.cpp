#include "ui/help_viewer.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

namespace {

constexpr QSize DefaultSize(720, 600);
constexpr int ReadableWidth = 420;   // narrower than this, the pages' diagrams no longer fit
const char* const SizeKey = "help/size";

// The person's settings of the window, kept apart from the game's files: the
// same for every program folder.
QSettings userSettings() { return QSettings(QStringLiteral("Tavolex"), QStringLiteral("Tavolex")); }

}  // namespace

QRect placeBeside(const QRect& main, QSize size, const QRect& screen) {
    const int rightRoom = screen.right() - main.right();
    const int leftRoom = main.left() - screen.left();
    int width = std::min(size.width(), screen.width());
    const int height = std::min(size.height(), screen.height());
    int x = 0;
    if (width <= rightRoom) {
        x = main.right() + 1;
    } else if (width <= leftRoom) {
        x = main.left() - width;
    } else if (std::max(rightRoom, leftRoom) >= ReadableWidth) {
        // Narrowed to the larger side's room.
        width = std::max(rightRoom, leftRoom);
        x = rightRoom >= leftRoom ? main.right() + 1 : screen.left();
    } else {
        // No side has room: against the screen's edge on the larger side,
        // over as little of the main window as can be.
        x = rightRoom >= leftRoom ? screen.right() + 1 - width : screen.left();
    }
    // Level with the main window's top, kept inside the screen.
    const int y = std::clamp(main.top(), screen.top(), screen.bottom() + 1 - height);
    x = std::clamp(x, screen.left(), screen.right() + 1 - width);
    return QRect(x, y, width, height);
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpViewer");
    resize(userSettings().value(SizeKey, DefaultSize).toSize().expandedTo(QSize(ReadableWidth, 300)));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName("HelpBrowser");
    m_browser->setOpenLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

bool HelpViewer::showPage(const QString& path) {
    const QFileInfo file(path);
    if (!file.isReadable()) return false;
    m_browser->setSearchPaths({file.absolutePath()});
    m_browser->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    setWindowTitle(m_browser->documentTitle());
    // A window already open stays where the person put it.
    if (!isVisible()) placeBesideMainWindow();
    show();
    raise();
    activateWindow();
    return true;
}

QString HelpViewer::currentPage() const { return QFileInfo(m_browser->source().toLocalFile()).fileName(); }

void HelpViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The size it has while it shows is kept; the size given to it before
    // it first shows is not one the person chose.
    if (isVisible()) userSettings().setValue(SizeKey, event->size());
}

void HelpViewer::placeBesideMainWindow() {
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main) return;
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame's borders are not known before the window first shows;
    // those of the main window stand in for them.
    const QSize frame = main->frameGeometry().size() - main->geometry().size();
    const QSize wanted = userSettings().value(SizeKey, DefaultSize).toSize().expandedTo(QSize(ReadableWidth, 300));
    const QRect place = placeBeside(main->frameGeometry(), wanted + frame, screen->availableGeometry());
    resize(place.size() - frame);
    move(place.topLeft());
}

}  // namespace ui
