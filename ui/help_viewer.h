#pragma once
// The help window: our own HTML pages from the program folder's "Aide"
// folder, with their links and pictures, in a browser of their own.

#include <QWidget>

class QTextBrowser;

namespace ui {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the page and brings the window forward; false when the file
    // cannot be read (the window then stays as it was).
    bool showPage(const QString& path);
    QString currentPage() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};

}  // namespace ui
