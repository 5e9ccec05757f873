#pragma once
// Driving the main window as a person does, for the window tests: clicks on
// widgets, list lines and board squares, with the events they cause let run,
// and error boxes answered as they come.

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>

#include "rules/board.h"
#include "ui/flat_board.h"
#include "window_parts.h"

namespace testsupport {

// How long a test waits for the engine to reach a state (a search begun, a
// move played). Generous: the suite runs beside other builds and under the
// sanitisers, where a book opening alone can take seconds.
constexpr int engineWaitMs = 30000;

inline void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Lets the window work until nothing goes on: no search, no move being
// shown, no pass waiting. False when that takes longer than `ms`.
inline bool waitUntilIdle(ui::TForm1& form, int ms = 60000) {
    settle();
    return QTest::qWaitFor([&] { return form.idle(); }, ms);
}

inline void clickWidget(QWidget* w) {
    // Radio buttons take clicks on their mark and caption only.
    const QPoint at = qobject_cast<QRadioButton*>(w) ? QPoint(8, w->height() / 2) : w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    settle();
}

// False when the list has no such line.
inline bool clickListLine(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    settle();
    return true;
}

// A person's move clicked on the flat board, square by square (the names
// of squares, "c3"); true when it was recorded. The engine may already have
// answered it.
inline bool playByClicks(ui::TForm1& form, const char* from, const char* to) {
    const int before = form.core().game.record.plyCounter;
    for (const char* s : {from, to}) {
        if (form.core().game.record.plyCounter != before) break;
        const QPoint p = form.flatBoard->squareArea(*rules::parseSquareName(s)).center();
        QTest::mouseClick(form.flatBoard, Qt::LeftButton, {}, p);
        settle();
    }
    return form.core().game.record.plyCounter >= before + 1;
}

// Shows the window, opens the flat board from the start panel and sets the
// engine to its weakest level, not thinking on the person's time (which
// would last until the next click). False when the window never showed.
inline bool openFlatBoard(ui::TForm1& form) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return false;
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return false;
    if (QAction* ponder = form.findChild<QAction*>("Rflexionsurtempsadverse1"); ponder->isChecked()) ponder->trigger();
    QTest::mouseClick(form.findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
    settle();
    form.findChild<QAction*>("Dbutant1")->trigger();
    settle();
    return true;
}

// Answers every error box as it comes and keeps its text.
class BoxCatcher {
public:
    void start() {
        texts.clear();
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        m_timer.start(10);
    }
    void stop() {
        m_timer.stop();
        m_timer.disconnect();
    }

    QStringList texts;

private:
    QTimer m_timer;
};

}  // namespace testsupport
