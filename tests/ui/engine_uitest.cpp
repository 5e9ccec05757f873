// The engine in the window, driven as a person drives it: moves clicked on
// the board and answered by the engine, the "Calcul" page filling, the
// levels with "Autre", the clocks, thinking on the person's time stopped by
// a click, the engine's draw offer and the weakest level's excuse. The
// clock is the test's own, so no test waits on real time; the levels used
// stop on their depth.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <thread>

#include "engine/search.h"
#include "game/clocks.h"
#include "program_copy.h"
#include "rules/fen.h"
#include "rules/move_input.h"
#include "rules/movegen.h"
#include "ui/flat_board.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

using rules::Square;

QStringList lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;
    std::int64_t now = 5 * 86400;  // the test's clock, in seconds
    std::vector<game::Sound> sounds;

    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    // The item of "Fils de calcul" for `n` threads, "N21" for two.
    QAction* threadsItem(int n) const { return item(qPrintable(QString("N%1").arg(n) + "1")); }
    static unsigned hardwareThreads() { return std::thread::hardware_concurrency(); }
    // The threads of this process, the engine's helpers among them.
    static int runningThreads() {
        return int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }

    // The window after "Damier 2D jaune": the person has White against the
    // engine at "0 : Néophyte", without thinking on the person's time.
    void start() {
        form.reset();
        folder = testsupport::copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->setClockFunction([this] { return now; });
        form->setSoundFunction([this](game::Sound s) { sounds.push_back(s); });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        item("Rflexionsurtempsadverse1")->trigger();
        QVERIFY(!item("Rflexionsurtempsadverse1")->isChecked());
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        item("Dbutant1")->trigger();
        // The engine searches every move here, also in the opening.
        item("Bibliothquesactives1")->trigger();
        QVERIFY(!item("Bibliothquesactives1")->isChecked());
        settle();
        sounds.clear();
    }
    void setUp(const char* fen) {
        const rules::Position p = *rules::parseFen(fen).position;
        form->installPosition(p.board, p.side);
        settle();
    }
    static void settle() { testsupport::settle(); }
    // Until the engine has answered and shown its move.
    void waitForEngine() { QVERIFY(testsupport::waitUntilIdle(*form)); }
    void click(Square s) {
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, form->flatBoard->squareArea(s).center());
        settle();
    }
    // A legal move of the side to move. With `safe`, the first after which
    // the other side has nothing to take.
    rules::Move firstLegalMove(bool safe) {
        game::Core& c = form->core();
        const rules::Side side = c.game.sideToMove;
        rules::RulesState r;
        r.board = c.rules.gamePosition;
        const int n = rules::generateRootMoves(r, side);
        if (n == 0) return {};
        for (int k = 0; safe && k < n; ++k) {
            rules::RulesState after;
            after.board = c.rules.gamePosition;
            rules::executeEngineMove(after, r.rootList()[k], false);
            rules::generateRootMoves(after, rules::opposite(side));
            if (after.captureCount == 0) return r.rootList()[k];
        }
        return r.rootList()[0];
    }
    // ... played by clicks: its start, then its end.
    void playFirstLegalMove(bool safe = false) {
        game::Core& c = form->core();
        const rules::Move m = firstLegalMove(safe);
        QVERIFY(m.from != 0);
        const int before = c.game.record.plyCounter;
        click(m.from);
        if (c.game.record.plyCounter == before) click(m.to);
        QVERIFY(c.game.record.plyCounter > before);
        waitForEngine();
    }

private slots:
    // A short game at the lowest level: every person's move is answered,
    // the thinking and the root moves are on the "Calcul" page, the move
    // beeps and the engine's colour is named.
    void aShortGameAgainstTheEngine() {
        start();
        QVERIFY(item("Dbutant1")->isChecked());
        QVERIFY(!item("Niveau05")->isChecked());
        QCOMPARE(form->core().engine.level.levelBudget, 5);
        form->pages->setCurrentWidget(form->thinkingPage);
        for (int move = 1; move <= 4; ++move) {
            playFirstLegalMove();
            settle();
            const game::GameState& g = form->core().game;
            QCOMPARE(int(g.record.plyCounter), 2 * move);
            QVERIFY(g.sideToMove == rules::White);
            QVERIFY(!g.engineToMove);
        }
        QCOMPARE(form->moveListPage->moves->count(), 4);
        const QStringList thinking = lines(form->thinkingPage->thinkingLines);
        QVERIFY2(thinking.size() >= 6, qPrintable(thinking.join('|')));
        // The level's depth cap, one more while the last root move is shown.
        QVERIFY2(thinking[0] == "Profondeur :     6" || thinking[0] == "Profondeur :     7", qPrintable(thinking[0]));
        QVERIFY(thinking[1].startsWith("Noeuds : "));
        QCOMPARE(thinking[2], QString("Temps :      0 s"));
        QCOMPARE(thinking[3], QString("Noeuds/s : //"));
        QVERIFY(thinking[4].startsWith("Score : "));
        // The list is the last search's: a reply that was the only legal
        // move is played without one.
        const game::GameRecord& record = form->core().game.record;
        const auto choices = [&record](int ply) {
            rules::RulesState r;
            r.board[0] = rules::Sentinel;
            for (int q = 1; q <= rules::NumSquares; ++q) r.board[q] = record.plies[ply - 1].squares[q - 1];
            return rules::generateRootMoves(r, rules::Black);
        };
        int searched = 4;
        while (searched > 1 && choices(2 * searched) == 1) --searched;
        QCOMPARE(thinking[5], QString("Coups :   %1").arg(searched));
        // The best line, two plies a line, starting with the move played.
        const game::PlyRecord& searchedMove = record.plies[static_cast<std::size_t>(2 * searched)];
        QVERIFY2(thinking[6].startsWith(QString::fromLatin1(rules::squareName(searchedMove.from).data(),
                                                            qsizetype(rules::squareName(searchedMove.from).size()))),
                 qPrintable(thinking[6]));
        // Every root move has its line; none is still being searched.
        const QStringList roots = lines(form->thinkingPage->rootMoves);
        QVERIFY(!roots.isEmpty());
        for (const QString& l : roots) QVERIFY2(!l.contains("?<---") && l.contains(" : "), qPrintable(l));
        QCOMPARE(form->setupPage->computerColour->text(), QString("Ordinateur noir"));
        QCOMPARE(int(std::count(sounds.begin(), sounds.end(), game::Sound::Move)), 4);
        // The engine's last move is framed: aqua where it ended.
        const game::PlyRecord& last = record.plies[8];
        const QColor aqua = ui::frameColour(rules::FrameColour::Aqua);
        const QImage image = form->flatBoard->designImage();
        QCOMPARE(image.pixelColor(form->flatBoard->squareCorner(last.to)), aqua);
        // The clocks run once the person has moved.
        QVERIFY(form->clockTick->isActive());

        // "Editer coups" writes the thinking list as shown.
        QTest::mouseClick(form->thinkingPage->saveLines, Qt::LeftButton);
        QFile file(folder->file("Bestmove.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(file.readAll()), thinking.join("\r\n") + "\r\n");

        // Without the beep the engine's moves are silent.
        item("Bipchaquecoup2")->trigger();
        sounds.clear();
        playFirstLegalMove();
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 10);
        QVERIFY(sounds.empty());
    }

    // Ahead in material at "0 : Néophyte", the engine plays its second
    // choice and says so; at another level it plays its own.
    void theWeakestLevelsSecondChoice() {
        start();
        // Black (the engine) has three men against two.
        setUp("W:W21,22:B1,2,3");
        playFirstLegalMove();
        settle();
        QVERIFY(form->excuse->isVisible());
        QCOMPARE(form->excuse->findChild<QLabel*>()->text(),
                 QString::fromUtf8("Zut ! ce n'est pas cela que je voulais jouer."));
        item("Niveau01")->trigger();
        setUp("W:W21,22:B1,2,3");
        playFirstLegalMove();
        settle();
        QVERIFY(!form->excuse->isVisible());
    }

    // "Autre": Panel9 takes a number of minutes for 30 moves; the other
    // levels set their own budgets and minutes.
    void levelsAndTheCustomTimeControl() {
        start();
        item("Niveau07")->trigger();
        QCOMPARE(form->core().engine.level.levelBudget, 540);
        QCOMPARE(form->engineCommands().minutesBox->text(), QString("10"));
        QVERIFY(item("Niveau07")->isChecked() && !item("Dbutant1")->isChecked());
        item("N8Autre1")->trigger();
        QVERIFY(form->engineCommands().customTime->isVisible());
        QVERIFY(!item("N8Autre1")->isChecked());
        QVERIFY(item("Niveau07")->isChecked());
        // An empty or non-positive number is refused; the panel stays.
        for (const char* refused : {"", "0", "-3", "abc"}) {
            form->engineCommands().minutesBox->setText(refused);
            QTest::mouseClick(form->findChild<QPushButton*>("BitBtn24"), Qt::LeftButton);
            QVERIFY2(form->engineCommands().customTime->isVisible(), refused);
            QCOMPARE(form->core().engine.level.levelBudget, 540);
        }
        form->engineCommands().minutesBox->clear();
        QTest::keyClicks(form->engineCommands().minutesBox, "4");
        QTest::mouseClick(form->findChild<QPushButton*>("BitBtn24"), Qt::LeftButton);
        QVERIFY(!form->engineCommands().customTime->isVisible());
        const engine::LevelState& l = form->core().engine.level;
        QCOMPARE(l.levelBudget, 220);
        QCOMPARE(l.levelHardBudget, 238);
        QCOMPARE(l.levelNumber, 18);
        QVERIFY(item("N8Autre1")->isChecked() && !item("Niveau07")->isChecked());
        // The level and the minutes go with a saved game.
        const files::GameSettings s = form->engineCommands().gameSettings();
        QCOMPARE(int(s.level), 18);
        QCOMPARE(s.searchControl1, 220);
        QCOMPARE(s.searchControl2, 238);
        QCOMPARE(s.minutes, 4);
        // Cancel leaves the level alone.
        item("N8Autre1")->trigger();
        form->engineCommands().minutesBox->setText("9");
        QTest::mouseClick(form->findChild<QPushButton*>("BitBtn25"), Qt::LeftButton);
        QVERIFY(!form->engineCommands().customTime->isVisible());
        QCOMPARE(form->core().engine.level.levelBudget, 220);
        QVERIFY(item("N8Autre1")->isChecked());
        // A special item.
        item("N650coupsen2h1")->trigger();
        QCOMPARE(form->core().engine.level.levelBudget, 6700);
        QCOMPARE(form->core().engine.level.levelNumber, 16);
        QVERIFY(item("N650coupsen2h1")->isChecked() && !item("N8Autre1")->isChecked());

        // Table sizes: one mark, the table of that size.
        item("N5Mo1")->trigger();
        QVERIFY(item("N5Mo1")->isChecked() && !item("N15Mo1")->isChecked());
        QCOMPARE(form->core().engine.tables.sizeItem, 4);
    }

    // The clocks: the tick advances the clock of the side to move, the
    // person's or the engine's; zeroing and pause.
    void clocksTickPauseAndZero() {
        start();
        playFirstLegalMove();  // the clocks start with the person's first click
        now += 75;
        game::tickClocks(form->core());
        QCOMPARE(form->whitePanel->minutes->text(), QString("1"));
        QCOMPARE(form->whitePanel->seconds->text(), QString("15"));
        QCOMPARE(form->blackPanel->minutes->text(), QString("0"));
        QCOMPARE(form->blackPanel->seconds->text(), QString("00"));
        // Pause: the tick stands still, the turn so far kept; resumed, the
        // clock goes on from where it stood.
        item("Pause2")->trigger();
        QVERIFY(item("Pause2")->isChecked());
        QVERIFY(!form->clockTick->isActive());
        now += 30;
        game::tickClocks(form->core());
        QCOMPARE(form->whitePanel->seconds->text(), QString("15"));
        item("Pause2")->trigger();
        QVERIFY(!item("Pause2")->isChecked());
        QVERIFY(form->clockTick->isActive());
        now += 5;
        game::tickClocks(form->core());
        QCOMPARE(form->whitePanel->minutes->text(), QString("1"));
        QCOMPARE(form->whitePanel->seconds->text(), QString("20"));
        // "Horloges à zéro" writes "0" everywhere and ends a rated game's clock rule.
        form->core().game.ratedGame = game::RatedState::InProgress;
        item("Horlogeszro1")->trigger();
        for (QLabel* l : {form->whitePanel->minutes, form->whitePanel->seconds, form->blackPanel->minutes,
                          form->blackPanel->seconds})
            QCOMPARE(l->text(), QString("0"));
        QVERIFY(form->core().game.ratedGame == game::RatedState::None);
    }

    // While the engine thinks for its own move the commands that would
    // change the game are closed and the cursor is busy; "Arrêter le
    // calcul" makes it play its best move so far, and all comes back. With
    // two threads chosen in the menu the search has its helper running
    // beside it, and it too ends with the stop.
    void theEngineIsStoppedFromTheCalculPage() {
        for (int threads = 1; threads <= std::min(2, engine::searchThreadsAllowed(hardwareThreads())); ++threads) {
            start();
            threadsItem(threads)->trigger();
            item("N7longlong1")->trigger();  // no depth cap and, on the test's clock, no time limit
            const int idleThreads = runningThreads();
            int searchingThreads = 0;
            bool closed = false;
            bool busyCursor = false;
            std::function<void()> probe = [&] {
                // The helpers start before the first thinking line comes.
                if (!form->searching() || !form->core().engine.statsShown) {
                    QTimer::singleShot(1, form.get(), probe);
                    return;
                }
                searchingThreads = runningThreads();
                closed = !item("Sauver1")->isEnabled() && !form->menus().edit->menuAction()->isEnabled() &&
                         !form->offerDraw->isVisible() &&
                         !form->pages->isTabVisible(form->pages->indexOf(form->setupPage));
                busyCursor = form->cursor().shape() == Qt::WaitCursor;
                QTest::mouseClick(form->thinkingPage->stopThinking, Qt::LeftButton);
            };
            QTimer::singleShot(1, form.get(), probe);
            playFirstLegalMove();
            settle();
            QCOMPARE(searchingThreads - idleThreads, threads - 1);
            QCOMPARE(runningThreads(), idleThreads);
            QVERIFY(closed);
            QVERIFY(busyCursor);
            QCOMPARE(int(form->core().game.record.plyCounter), 2);
            QVERIFY(item("Sauver1")->isEnabled());
            QVERIFY(form->menus().edit->menuAction()->isEnabled());
            QVERIFY(form->offerDraw->isVisible());
            QVERIFY(form->pages->isTabVisible(form->pages->indexOf(form->setupPage)));
            QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        }
    }

    // "Fils de calcul": as many items as the machine has processors (up to
    // the engine's most), one checked, and the number kept in the program
    // folder's tavolex.ini for the next start; a kept number the machine
    // cannot give is brought within what it has.
    void searchThreadsAreChosenAndKept() {
        const unsigned cores = hardwareThreads();
        const int allowed = engine::searchThreadsAllowed(cores);
        struct Kept {
            const char* text;  // nothing: no tavolex.ini
            int threads;
        };
        const Kept cases[] = {
            {nullptr, engine::defaultSearchThreads(cores)},
            {"1", 1},
            {"2", std::min(2, allowed)},
            {"99", allowed},
            {"0", 1},
            {"-4", 1},
            {"two", engine::defaultSearchThreads(cores)},
        };
        for (const Kept& k : cases) {
            const QString label = k.text ? QString(k.text) : QString("none");
            form.reset();
            folder = testsupport::copyProgramFolder();
            if (k.text)
                QVERIFY(testsupport::writeAll(folder->file("tavolex.ini"),
                                              QByteArray("[engine]\nthreads=") + k.text + "\n"));
            form = std::make_unique<ui::TForm1>(folder->path());
            const std::vector<QAction*>& items = form->menus().searchThreads;
            QCOMPARE(int(items.size()), allowed);
            QCOMPARE(form->menus().searchThreadsMenu->actions().size(), qsizetype(allowed));
            QVERIFY2(form->core().engine.threads == k.threads, qPrintable(label));
            for (int n = 1; n <= allowed; ++n) {
                QAction* a = threadsItem(n);
                QVERIFY(a == items[std::size_t(n - 1)]);
                QCOMPARE(a->text(), QString::number(n));
                QVERIFY2(a->isChecked() == (n == k.threads), qPrintable(label));
            }
        }

        // Chosen in one run, in force in the next, beside the window's place;
        // the number chosen is not the machine's default.
        const int chosen = engine::defaultSearchThreads(cores) == 1 ? std::min(2, allowed) : 1;
        form.reset();
        folder = testsupport::copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        threadsItem(chosen)->trigger();
        QCOMPARE(form->core().engine.threads, chosen);
        QCOMPARE(int(std::count_if(form->menus().searchThreads.begin(), form->menus().searchThreads.end(),
                                   [](QAction* a) { return a->isChecked(); })),
                 1);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->quit();
        form = std::make_unique<ui::TForm1>(folder->path());
        QCOMPARE(form->core().engine.threads, chosen);
        QVERIFY(threadsItem(chosen)->isChecked());
        QVERIFY(QSettings(folder->file("tavolex.ini"), QSettings::IniFormat).contains("window/geometry"));
    }

    // A rated game lost on time by the person: the engine's turn ends it.
    void aRatedGameIsLostOnTime() {
        start();
        playFirstLegalMove();
        settle();
        game::GameState& g = form->core().game;
        g.ratedGame = game::RatedState::InProgress;
        g.whiteClock.total = 2 * (58 + 3);  // above twice the limit of "0 : Néophyte" (58 + 2)
        g.whiteRating = 1500;
        playFirstLegalMove();
        settle();
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString::fromUtf8("Temps dépassé, gain TAVOLEX"));
        QCOMPARE(int(std::count(sounds.begin(), sounds.end(), game::Sound::Lost)), 1);
    }

    // Thinking on the person's time starts with the person's turn and shows
    // its thinking without times; the person's click ends it and is the
    // person's move input, as usual.
    void thinkingOnThePersonsTimeEndsWithTheirClick() {
        start();
        playFirstLegalMove();  // a game read from a file is not thought on until the engine has moved
        item("Rflexionsurtempsadverse1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->thinkingOnPersonTime(), testsupport::engineWaitMs);
        // Its lines replace those of the engine's own move: no times.
        QTRY_VERIFY_WITH_TIMEOUT(form->thinkingPage->thinkingLines->count() > 2 &&
                                     !form->thinkingPage->thinkingLines->item(2)->text().startsWith("Temps"),
                                 testsupport::engineWaitMs);
        const QStringList seen = lines(form->thinkingPage->thinkingLines);
        QVERIFY2(seen[0].startsWith("Profondeur"), qPrintable(seen.join('|')));
        for (const QString& l : seen) QVERIFY2(!l.startsWith("Temps") && !l.startsWith("Noeuds/s"), qPrintable(l));
        // A move that leaves the engine nothing to take, whose answer is
        // then searched and not played at once.
        const rules::Move next = firstLegalMove(true);
        click(next.from);
        QVERIFY(!form->thinkingOnPersonTime());
        if (form->core().game.record.plyCounter == 2) click(next.to);
        // The person's move is played; on a loaded machine the engine's
        // quick answer may already have followed it.
        QVERIFY(form->core().game.record.plyCounter >= 3);
        item("Rflexionsurtempsadverse1")->trigger();  // the engine's answer, then quiet
        waitForEngine();
        QCOMPARE(int(form->core().game.record.plyCounter), 4);
    }

    // A take-back while the engine thinks on the person's time happens at
    // once: the search is given up, and it does not start again before the
    // engine's next move.
    void commandsDuringThinkingOnThePersonsTimeActAtOnce() {
        start();
        playFirstLegalMove();
        QCOMPARE(int(form->core().game.record.plyCounter), 2);
        item("Rflexionsurtempsadverse1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->thinkingOnPersonTime(), testsupport::engineWaitMs);
        form->takeBack();
        QCOMPARE(int(form->core().game.record.plyCounter), 1);
        QVERIFY(!form->searching());
        settle();
        QVERIFY(!form->searching());
        item("Rflexionsurtempsadverse1")->trigger();
    }

    // With four pieces, a king among them and twenty quiet plies, the
    // engine offers a draw; OK accepts it.
    void theEnginesDrawOffer() {
        start();
        // A king each, moved so that nothing can be taken.
        setUp("W:WK30:BK2");
        for (int i = 0; i < 11 && !form->drawOffer->isVisible(); ++i) playFirstLegalMove(true);
        QVERIFY(form->drawOffer->isVisible());
        QVERIFY(form->core().game.record.plyCounter > 20);
        QTest::mouseClick(form->findChild<QPushButton*>("BitBtn14"), Qt::LeftButton);
        settle();
        QVERIFY(!form->drawOffer->isVisible());
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString("Match nul !"));
        QVERIFY(form->core().game.lastResult == game::GameResult::Draw);
    }

    // Three kings against one: the engine, playing both sides, wins the
    // ending the tables call won, and self-play stops with the result.
    void aWonKingEndingIsConverted() {
        start();
        item("Niveau01")->trigger();  // no second choices
        setUp("W:WK29,K25,K22:BK3");
        item("Ordinateurcontreordinateur1")->trigger();
        QVERIFY(!item("Humaincontrehumain1")->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(form->endOfGame->isVisible(), 60000);
        QCOMPARE(form->endMessage->text(), QString::fromUtf8("Désolé, TAVOLEX a gagné"));
        QVERIFY(form->core().game.lastResult == game::GameResult::WhiteWon);
        QVERIFY(form->core().game.record.plyCounter <= 23);
        QVERIFY(!item("Ordinateurcontreordinateur1")->isChecked());
        QCOMPARE(rules::countPieces(form->core().rules.gamePosition).black(), 0);
    }

    // Screenshots of a game against the engine with the "Calcul" page.
    void screenshots() {
        const QByteArray dir = qgetenv("TAVOLEX_SCREENSHOTS");
        if (dir.isEmpty()) QSKIP("TAVOLEX_SCREENSHOTS not set");
        start();
        form->pages->setCurrentWidget(form->thinkingPage);
        for (int move = 0; move < 6; ++move) {
            playFirstLegalMove();
            settle();
        }
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/engine_game.png"));
        item("N8Autre1")->trigger();
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/engine_autre.png"));
    }
};

QTEST_MAIN(EngineTest)
#include "engine_uitest.moc"
