#pragma once
// The help window: our own HTML pages from the program folder's "Aide"
// folder, with their links and pictures, in a browser of their own. It
// opens beside the main window, on the same screen, at the size the person
// last gave it.

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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeBesideMainWindow();

    QTextBrowser* m_browser = nullptr;
};

// Where a window of `size` (its frame included) goes beside `main` within
// `screen`, both in screen coordinates: to the right of it when it fits
// there, else to the left, else on the side with more room, narrowed to
// that room but never below a readable width, and always inside the screen.
QRect placeBeside(const QRect& main, QSize size, const QRect& screen);

}  // namespace ui
