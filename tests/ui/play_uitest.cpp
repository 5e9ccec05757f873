// Whole games in the real window, with real timers, the real clock and the
// real engine at the weakest levels: self-play keeps moving, clicks during
// the engine's search never become moves, the clocks never run backwards,
// and quitting in the middle of a search ends at once.

#include <QAction>
#include <QLabel>
#include <QtTest>

#include <algorithm>
#include <thread>

#include "engine/search.h"
#include "game/clocks.h"
#include "play_driver.h"

class PlayTest : public QObject {
    Q_OBJECT

private slots:
    void selfPlayKeepsPlayingAtTheWeakestLevels() {
        for (const char* level : {"Dbutant1", "Niveau01"}) {
            testsupport::PlayDriver d;
            QVERIFY(d.open(level));
            const int plies = testsupport::selfPlay(d, 60, 40);
            QVERIFY2(plies >= 40 || d.form->endOfGame->isVisible(),
                     qPrintable(QString("%1: %2 plies").arg(level).arg(plies)));
            // The clocks ran for both sides, whoever thought.
            QVERIFY(d.core().game.clockRunning || d.form->endOfGame->isVisible());
            // Turned off, the side to move is the person's at once.
            d.item("Ordinateurcontreordinateur1")->trigger();
            QVERIFY(testsupport::waitUntilIdle(*d.form));
            QVERIFY(!d.core().game.engineToMove);
            QVERIFY(d.core().game.computerColour != d.core().game.sideToMove);
        }
    }

    void clicksDuringTheSearchAreNeverMoves() {
        for (const char* level : {"Dbutant1", "Niveau01"}) {
            for (bool stopByClick : {true, false}) {
                testsupport::PlayDriver d;
                QVERIFY(d.open(level, false, false));
                if (d.item("Arretrflexionparclicsouris1")->isChecked() != stopByClick)
                    d.item("Arretrflexionparclicsouris1")->trigger();
                testsupport::playAgainstImpatiently(d, 12, stopByClick ? 7 : 8);
                if (QTest::currentTestFailed()) return;
            }
        }
    }

    // A long search is stopped by a click (the engine plays at once) or, when
    // clicks may not stop it, only by "Arrêter le calcul". The person's moves
    // leave the engine a choice: a single legal reply is played unsearched.
    void aClickStopsALongSearchWithoutBecomingAMove() {
        testsupport::PlayDriver d;
        QVERIFY(d.open("N7longlong1", false, false));  // no time limit to speak of, no book
        std::mt19937 random(3);
        const auto moveLeavingAChoice = [&d, &random] {
            for (int tries = 0; tries < 100; ++tries) {
                const rules::Move m = d.someLegalMove(random);
                rules::RulesState r;
                r.board = d.core().rules.gamePosition;
                rules::applyMove(r.board, m);
                if (rules::generateRootMoves(r, rules::opposite(d.core().game.sideToMove)) > 1) return m;
            }
            return d.someLegalMove(random);
        };
        QVERIFY(d.playByClicks(moveLeavingAChoice()));
        QTRY_VERIFY_WITH_TIMEOUT(d.form->searching(), testsupport::engineWaitMs);
        QTest::qWait(200);
        d.click(22);  // c3: a man of the person's
        QVERIFY(testsupport::waitUntilIdle(*d.form));
        QCOMPARE(int(d.core().game.record.plyCounter), 2);
        QCOMPARE(int(d.core().rules.entry.selectedCode), 0);

        d.item("Arretrflexionparclicsouris1")->trigger();
        QVERIFY(d.playByClicks(moveLeavingAChoice()));
        QTRY_VERIFY_WITH_TIMEOUT(d.form->searching(), testsupport::engineWaitMs);
        QTest::qWait(200);
        d.click(21);
        d.click(17);
        QTest::qWait(200);
        QVERIFY(d.form->searching());
        QCOMPARE(int(d.core().game.record.plyCounter), 3);
        QTest::mouseClick(d.form->thinkingPage->stopThinking, Qt::LeftButton);
        QVERIFY(testsupport::waitUntilIdle(*d.form));
        QCOMPARE(int(d.core().game.record.plyCounter), 4);
    }

    // The clocks over a game with take-backs: a side's clock only grows
    // while the game goes on, and a take-back shows the totals recorded.
    void theClocksNeverRunBackwards() {
        testsupport::PlayDriver d;
        std::int64_t now = 1000;
        QVERIFY(d.open("Dbutant1"));
        d.form->setClockFunction([&now] { return now; });
        std::int32_t lastWhite = 0, lastBlack = 0;
        bool backwards = false;
        // Time passes while the person and the engine think; the shown
        // clocks are read at every tick.
        QTimer passing;
        QObject::connect(&passing, &QTimer::timeout, [&] {
            ++now;
            game::tickClocks(d.form->core());
            const game::GameState& g = d.core().game;
            const std::int32_t white = g.whiteClock.minutes * 60 + g.whiteClock.seconds;
            const std::int32_t black = g.blackClock.minutes * 60 + g.blackClock.seconds;
            if (white < lastWhite || black < lastBlack) backwards = true;
            lastWhite = white;
            lastBlack = black;
        });
        passing.start(5);
        std::mt19937 random(11);
        for (int move = 0; move < 8; ++move) {
            QVERIFY(testsupport::waitUntilIdle(*d.form));
            QTest::qWait(30);
            QVERIFY(d.playByClicks(d.someLegalMove(random)));
        }
        QVERIFY(testsupport::waitUntilIdle(*d.form));
        QVERIFY(!backwards);
        QVERIFY(lastWhite > 0 && lastBlack > 0);
        // Taken back: the totals of that ply, and from there they grow again.
        passing.stop();
        d.form->takeBack();
        d.form->takeBack();
        const game::GameState& g = d.core().game;
        const game::PlyRecord& e = g.record.plies[g.record.plyCounter];
        QCOMPARE(g.whiteClock.total, e.whiteClock);
        QCOMPARE(g.blackClock.total, e.blackClock);
        QCOMPARE(d.form->whitePanel->minutes->text().toInt() * 60 + d.form->whitePanel->seconds->text().toInt(),
                 int(e.whiteClock));
        lastWhite = e.whiteClock;
        lastBlack = e.blackClock;
        passing.start(5);
        QVERIFY(d.playByClicks(d.someLegalMove(random)));
        QVERIFY(testsupport::waitUntilIdle(*d.form));
        QTest::qWait(50);
        passing.stop();
        QVERIFY(!backwards);
        QVERIFY(g.whiteClock.total >= e.whiteClock && g.blackClock.total >= e.blackClock);
    }

    // "Quitter" while the engine thinks, alone or with a helper: the game is
    // kept, the window goes and the engine's threads with it, at once.
    void quittingDuringASearchEndsAtOnce() {
        for (int threads = 1; threads <= std::min(2, engine::searchThreadsAllowed(std::thread::hardware_concurrency()));
             ++threads) {
            testsupport::PlayDriver d;
            QVERIFY(d.open("N7longlong1"));
            d.item(qPrintable(QString("N%1").arg(threads) + "1"))->trigger();
            QCOMPARE(d.core().engine.threads, threads);
            d.item("Ordinateurcontreordinateur1")->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(d.form->searching(), testsupport::engineWaitMs);
            QTest::qWait(300);
            QElapsedTimer took;
            took.start();
            d.form->quit();
            QVERIFY2(took.elapsed() < 1000, qPrintable(QString("%1 threads: %2 ms").arg(threads).arg(took.elapsed())));
            QVERIFY(!d.form->isVisible());
            QVERIFY(!d.form->searching());
            QVERIFY(QFile::exists(d.folder->file("last32.dam")));
        }
    }
};

QTEST_MAIN(PlayTest)
#include "play_uitest.moc"
