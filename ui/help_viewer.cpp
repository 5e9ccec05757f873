#include "ui/help_viewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpViewer");
    resize(720, 600);
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
    show();
    raise();
    activateWindow();
    return true;
}

QString HelpViewer::currentPage() const { return QFileInfo(m_browser->source().toLocalFile()).fileName(); }

}  // namespace ui
