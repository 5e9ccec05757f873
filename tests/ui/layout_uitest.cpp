// The window at the sizes people's screens give it: the board, flat or in
// perspective, fills what room there is with its proportions kept, stays
// whole inside the window and takes moves by clicks wherever it is drawn.
// The panels that ask something answer Return and Escape as dialogs do.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <memory>

#include "program_copy.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

using rules::Square;

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramCopy> folder;
    std::unique_ptr<ui::TForm1> form;

    static void settle() { testsupport::settle(); }
    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }

    // The window after a start-panel button; no thinking on the person's
    // time, which would last until the next click.
    void start(const char* button) {
        form.reset();
        if (!folder) folder = testsupport::copyWholeProgramFolder();
        QFile::remove(folder->file("recovery.dam"));
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        if (item("Rflexionsurtempsadverse1")->isChecked()) item("Rflexionsurtempsadverse1")->trigger();
        QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
        settle();
        item("Dbutant1")->trigger();
        settle();
    }
    ui::BoardView& shownView() const {
        if (form->flatBoard->isVisible()) return *form->flatBoard;
        return *form->perspective->board;
    }
    void clickSquare(Square s) {
        ui::BoardView& v = shownView();
        QTest::mouseClick(v.widget(), Qt::LeftButton, {}, v.squareArea(s).center());
        settle();
    }
    // Where the board's picture is drawn, in the window's pixels.
    QRect drawnBoard() const {
        if (form->flatBoard->isVisible())
            return QRect(form->flatBoard->mapTo(form.get(), form->flatBoard->boardRect().topLeft()),
                         form->flatBoard->boardRect().size());
        ui::PerspectiveBoard* b = form->perspective->board;
        return QRect(b->mapTo(form.get(), b->imageRect().topLeft()), b->imageRect().size());
    }

private slots:
    void theBoardFillsTheWindowAtEverySize_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QSize>("size");
        for (const char* style : {"Intro2D", "IntroLuxe", "IntroSalvador"})
            for (QSize size : {QSize(800, 600), QSize(1280, 1024), QSize(1920, 1080)})
                QTest::addRow("%s %dx%d", style, size.width(), size.height()) << QString(style) << size;
    }
    // At each size the board keeps its proportions, lies wholly inside the
    // window, takes most of its height, and a move is played by clicks on
    // the squares where they are drawn.
    void theBoardFillsTheWindowAtEverySize() {
        QFETCH(QString, style);
        QFETCH(QSize, size);
        start(style.toLatin1().constData());
        form->menus().twoPeople->trigger();
        settle();
        form->resize(size);
        QTRY_COMPARE(form->size(), size);
        settle();

        const QRect board = drawnBoard();
        const double aspect = form->flatBoard->isVisible() ? 1.0 : 700.0 / 522.0;
        QVERIFY2(std::abs(double(board.width()) / board.height() - aspect) < 0.02,
                 qPrintable(QString("%1x%2").arg(board.width()).arg(board.height())));
        QVERIFY2(
            form->rect().contains(board),
            qPrintable(
                QString("board %1,%2 %3x%4").arg(board.x()).arg(board.y()).arg(board.width()).arg(board.height())));
        // The side column (and the perspective styles' clocks) take part of
        // the width; the board most of the rest of it, or most of the height.
        QVERIFY2(board.height() >= size.height() * 6 / 10 || board.width() >= size.width() * 45 / 100,
                 qPrintable(QString("%1x%2").arg(board.width()).arg(board.height())));
        const QRect column(form->side->mapTo(form.get(), QPoint(0, 0)), form->side->size());
        QVERIFY(!column.intersects(board));
        QVERIFY(form->rect().contains(column));

        const int before = form->core().game.record.plyCounter;
        clickSquare(*rules::parseSquareName("c3"));
        clickSquare(*rules::parseSquareName("d4"));
        QCOMPARE(form->core().game.record.plyCounter, before + 1);
        QCOMPARE(form->core().rules.gamePosition[*rules::parseSquareName("d4")], rules::WhiteMan);
    }

    // The new-game panel: Escape closes it and starts nothing; Return
    // starts the game of the page shown, from its first field.
    void theNewGamePanelAnswersTheKeyboard() {
        start("Intro2D");
        ui::NewGamePanel* panel = form->playerCommands().newGame;
        form->menus().newGame->trigger();
        settle();
        QVERIFY(panel->isVisible());
        QVERIFY(QApplication::focusWidget() == panel->trainingName || panel->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        settle();
        QVERIFY(!panel->isVisible());

        form->menus().newGame->trigger();
        settle();
        QVERIFY(panel->isVisible());
        panel->pages->setCurrentWidget(panel->training);
        panel->trainingName->setFocus();
        panel->trainingName->setText("Ana");
        QTest::keyClick(panel->trainingName, Qt::Key_Return);
        settle();
        QVERIFY(!panel->isVisible());
        QCOMPARE(QString::fromLatin1(form->core().game.whiteName.data()), QString("Ana"));
    }

    // The engine's draw offer: Escape declines it, Return accepts it; the
    // result panel that follows closes with Return. The offer keeps clear
    // of the move just played.
    void theDrawOfferAndTheResultAnswerTheKeyboard() {
        start("Intro2D");
        const rules::Position p = *rules::parseFen("W:WK30:BK2").position;
        form->installPosition(p.board, p.side);
        settle();
        // A king each, moved so that nothing can be taken, until the engine offers.
        auto playOne = [&] {
            rules::RulesState r;
            r.board = form->core().rules.gamePosition;
            QVERIFY(rules::generateRootMoves(r, form->core().game.sideToMove) > 0);
            r.board = form->core().rules.gamePosition;
            const int n = rules::generateRootMoves(r, form->core().game.sideToMove);
            for (int k = 0; k < n; ++k) {
                rules::RulesState after;
                after.board = r.board;
                rules::executeEngineMove(after, r.rootList()[k], false);
                rules::generateRootMoves(after, rules::opposite(form->core().game.sideToMove));
                if (after.captureCount != 0) continue;
                clickSquare(r.rootList()[k].from);
                if (!form->drawOffer->isVisible()) clickSquare(r.rootList()[k].to);
                break;
            }
            QVERIFY(testsupport::waitUntilIdle(*form));
        };
        for (int i = 0; i < 12 && !form->drawOffer->isVisible(); ++i) playOne();
        QVERIFY(form->drawOffer->isVisible());
        const QRect offer(form->drawOffer->mapTo(form.get(), QPoint(0, 0)), form->drawOffer->size());
        const game::GameState& g = form->core().game;
        for (Square s : {g.lastMoveFrom, g.lastMoveTo})
            if (s != 0) {
                const QRect square =
                    form->flatBoard->squareArea(s).translated(form->flatBoard->mapTo(form.get(), QPoint(0, 0)));
                QVERIFY(!offer.intersects(square));
            }

        QTest::keyClick(form->drawOffer, Qt::Key_Escape);
        settle();
        QVERIFY(!form->drawOffer->isVisible());
        QVERIFY(!form->endOfGame->isVisible());
        QVERIFY(form->core().game.lastResult == game::GameResult::None);

        for (int i = 0; i < 12 && !form->drawOffer->isVisible(); ++i) playOne();
        QVERIFY(form->drawOffer->isVisible());
        QTest::keyClick(form->drawOffer, Qt::Key_Return);
        settle();
        QVERIFY(form->endOfGame->isVisible());
        QVERIFY(form->core().game.lastResult == game::GameResult::Draw);
        QTest::keyClick(form->endOfGame, Qt::Key_Return);
        settle();
        QVERIFY(!form->endOfGame->isVisible());
    }

    // "Apprendre ?": Return says yes (the focused button), Escape no.
    void theLearnPromptAnswersTheKeyboard() {
        start("Intro2D");
        ui::DialogPanel* prompt = form->bookCommands().learnPrompt;
        auto* yes = prompt->findChild<QPushButton*>("Learn_yes");
        auto* no = prompt->findChild<QPushButton*>("Learn_no");
        QSignalSpy yesSpy(yes, &QPushButton::clicked);
        QSignalSpy noSpy(no, &QPushButton::clicked);
        form->bookCommands().offerLearning();
        settle();
        QVERIFY(prompt->isVisible());
        QTest::keyClick(prompt, Qt::Key_Escape);
        settle();
        QCOMPARE(noSpy.count(), 1);
        QCOMPARE(yesSpy.count(), 0);
        QVERIFY(!prompt->isVisible());

        form->bookCommands().offerLearning();
        settle();
        no->setFocus();  // Return presses the button that has the focus
        QTest::keyClick(no, Qt::Key_Return);
        settle();
        QCOMPARE(noSpy.count(), 2);
        QCOMPARE(yesSpy.count(), 0);
    }
};

}  // namespace

QTEST_MAIN(LayoutTest)
#include "layout_uitest.moc"
