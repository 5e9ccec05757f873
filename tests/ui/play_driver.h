#pragma once
// Whole games in the real window, with real timers, the real clock and the
// real engine at its real levels: the play tests' common driver.

#include <QAction>
#include <QElapsedTimer>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <random>

#include "program_copy.h"
#include "rules/board.h"
#include "rules/movegen.h"
#include "ui/flat_board.h"
#include "window_driver.h"
#include "window_parts.h"

namespace testsupport {

class PlayDriver {
public:
    // The flat board after the start panel, White the person's, no thinking
    // on the person's time unless asked; the level by its menu item. Without
    // the opening books the engine searches from the first move.
    bool open(const char* levelItem, bool ponder = false, bool books = true) {
        folder = copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) return false;
        QAction* ponderItem = item("Rflexionsurtempsadverse1");
        if (ponderItem->isChecked() != ponder) ponderItem->trigger();
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        item(levelItem)->trigger();
        if (!books) item("Bibliothquesactives1")->trigger();
        settle();
        return item("Bibliothquesactives1")->isChecked() == books;
    }
    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    game::Core& core() { return form->core(); }

    void click(rules::Square s) {
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, form->flatBoard->squareArea(s).center());
        QCoreApplication::processEvents();
    }
    // A legal move of the side to move, chosen by `random`.
    rules::Move someLegalMove(std::mt19937& random) {
        rules::RulesState r;
        r.board = core().rules.gamePosition;
        const int n = rules::generateRootMoves(r, core().game.sideToMove);
        if (n == 0) return {};
        return r.rootList()[static_cast<int>(random() % static_cast<unsigned>(n))];
    }
    // The move played by clicks as a person does: the piece, then the final
    // square, then (where routes part) each landing square in turn.
    bool playByClicks(const rules::Move& m) {
        const int before = core().game.record.plyCounter;
        click(m.from);
        if (core().game.record.plyCounter != before) return true;
        click(m.to);
        if (core().game.record.plyCounter != before) return true;
        // A capture whose routes part before the end: its landing squares.
        rules::RulesState r;
        r.board = core().rules.gamePosition;
        rules::generateRootMoves(r, core().game.sideToMove);
        const rules::LandingRoute route = rules::decomposeCapture(r, m.from, m.capturedSquares());
        for (int k = 0; k < route.length && core().game.record.plyCounter == before; ++k) click(route.squares[k]);
        return core().game.record.plyCounter != before;
    }

    // While the engine searches its own move, a click lands somewhere on the
    // board whenever the window has a moment, as an impatient person's would.
    void startImpatientClicks(std::mt19937& random) {
        impatient = std::make_unique<QTimer>();
        QObject::connect(impatient.get(), &QTimer::timeout, [this, &random] {
            if (!form->searching() || form->thinkingOnPersonTime()) return;
            click(static_cast<rules::Square>(1 + random() % 32));
            ++clicksDuringSearch;
        });
        impatient->start(0);
    }
    void stopImpatientClicks() { impatient.reset(); }

    std::unique_ptr<ProgramCopy> folder;
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<QTimer> impatient;
    int clicksDuringSearch = 0;
};

// Self-play from the start ("Ordinateur contre ordinateur"): the plies
// recorded once `seconds` have passed or `enough` plies were played.
inline int selfPlay(PlayDriver& d, int seconds, int enough) {
    d.item("Ordinateurcontreordinateur1")->trigger();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000 && d.core().game.record.plyCounter < enough &&
           !d.form->endOfGame->isVisible())
        QTest::qWait(50);
    return d.core().game.record.plyCounter;
}

// The person, White, plays `moves` moves by clicks; the engine answers
// each while impatient clicks land on the board. Those clicks may stop its
// search but never make a move or select a piece: every ply of White's is
// the person's chosen move, every ply of Black's one engine reply.
inline void playAgainstImpatiently(PlayDriver& d, int moves, unsigned seed) {
    d.clicksDuringSearch = 0;
    std::mt19937 random(seed);
    std::vector<rules::Move> chosen;
    d.startImpatientClicks(random);
    for (int i = 0; i < moves; ++i) {
        QVERIFY(waitUntilIdle(*d.form, 120000));
        if (d.form->endOfGame->isVisible()) break;
        QVERIFY(d.core().game.sideToMove == rules::White);
        const rules::Move m = d.someLegalMove(random);
        if (m.from == 0) break;
        const int before = d.core().game.record.plyCounter;
        QVERIFY(d.playByClicks(m));
        chosen.push_back(m);
        // The engine's reply, and no more.
        QVERIFY(waitUntilIdle(*d.form, 120000));
        QVERIFY2(int(d.core().game.record.plyCounter) <= before + 2, "a click during the search made a move");
        QCOMPARE(int(d.core().rules.entry.selectedCode), 0);
    }
    d.stopImpatientClicks();
    QVERIFY2(d.clicksDuringSearch > 0, "no click arrived during a search");
    const game::GameRecord& rec = d.core().game.record;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const game::PlyRecord& e = rec.plies[2 * i + 1];
        QCOMPARE(int(e.from), int(chosen[i].from));
        QCOMPARE(int(e.to), int(chosen[i].to));
    }
}

}  // namespace testsupport
