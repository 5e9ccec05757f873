// TForm1's side of the engine: its turn and its thinking on the person's
// time inside the game loop's passes, the "Calcul" page, the levels with
// "Autre" (Panel9), the table sizes, the clocks with Timer1, stopping the
// search, the switches, the sounds and self-play. The work is done by the
// core (game/engine_turn.h, game/clocks.h, engine/levels.h); this side
// shows what it reports and keeps the window's menus in step.

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "engine/levels.h"
#include "engine/search.h"
#include "engine/tables.h"
#include "engine/thinking.h"
#include "eval/parameter_file.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "game/engine_turn.h"
#include "ui/flat_board.h"
#include "ui/widgets.h"
#include "ui/form1.h"
#include "ui/board3d.h"

namespace ui {

namespace {

}  // namespace

void TForm1::buildEngine() {
    QWidget* area = centralWidget();

    // The weakest level's excuse, over the bottom of the board.
    Zut = overlay(area, "Zut", QRect(40, 470, 440, 44));
    QLabel* zutText = named(new QLabel(QString::fromUtf8("Zut ! ce n'est pas cela que je voulais jouer."), Zut), "ZutTexte");
    zutText->setGeometry(8, 6, 424, 32);
    zutText->setAlignment(Qt::AlignCenter);

    // "Autre": the custom time control.
    Panel9 = overlay(area, "Panel9", QRect(110, 200, 300, 110));
    QLabel* n50 = named(new QLabel(QStringLiteral("30 coups en : "), Panel9), "N50coupsen");
    n50->setGeometry(14, 20, 110, 26);
    Nbminutes = named(new QLineEdit(QString::fromLatin1(m_core.engine.level.nbMinutes), Panel9), "Nbminutes");
    Nbminutes->setGeometry(126, 20, 60, 26);
    QLabel* minutesLabel = named(new QLabel(QStringLiteral("minutes"), Panel9), "Label_minutes");
    minutesLabel->setGeometry(194, 20, 90, 26);
    BitBtn24 = named(new QPushButton(QStringLiteral("OK"), Panel9), "BitBtn24");
    BitBtn24->setGeometry(50, 66, 90, 30);
    BitBtn25 = named(new QPushButton(QStringLiteral("Annuler"), Panel9), "BitBtn25");
    BitBtn25->setGeometry(160, 66, 90, 30);
    connect(BitBtn24, &QPushButton::clicked, this, &TForm1::BitBtn24Click);
    connect(BitBtn25, &QPushButton::clicked, this, &TForm1::BitBtn25Click);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::ajouter_temps);

    // The "Calcul" page's buttons and the resignation buttons.
    Joue->setEnabled(true);
    Button9->setEnabled(true);
    connect(Joue, &QPushButton::clicked, this, &TForm1::pause);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Best1Click);

    // The menus: levels, sizes, switches, sounds, clocks, self-play.
    auto item = [this](const char* name) {
        QAction* a = findChild<QAction*>(QString::fromLatin1(name));
        Q_ASSERT(a);
        a->setEnabled(true);
        return a;
    };
    for (int i = 0; i < static_cast<int>(engine::LevelTable.size()); ++i) {
        QAction* a = item(engine::LevelTable[static_cast<std::size_t>(i)].item);
        connect(a, &QAction::triggered, this, [this, i] { selectLevelItem(i); });
    }
    connect(item("N8Autre1"), &QAction::triggered, this, &TForm1::N8Autre1Click);
    for (int i = 0; i < static_cast<int>(engine::TableSizes.size()); ++i) {
        QAction* a = item(engine::TableSizes[static_cast<std::size_t>(i)].item);
        connect(a, &QAction::triggered, this, [this, i] { selectTableSize(i); });
    }
    connect(item("Arrtducalcul1"), &QAction::triggered, this, &TForm1::pause);
    connect(item("Horlogeszro1"), &QAction::triggered, this, &TForm1::Horlogeszro1Click);
    Pause2 = item("Pause2");
    connect(Pause2, &QAction::triggered, this, &TForm1::Pause2Click);
    Rflexionsurtempsadverse1 = item("Rflexionsurtempsadverse1");
    connect(Rflexionsurtempsadverse1, &QAction::triggered, this, &TForm1::Rflexionsurtempsadverse1Click);
    Arretrflexionparclicsouris1 = item("Arretrflexionparclicsouris1");
    connect(Arretrflexionparclicsouris1, &QAction::triggered, this, &TForm1::Arretrflexionparclicsouris1Click);
    Bipchaquecoup2 = item("Bipchaquecoup2");
    connect(Bipchaquecoup2, &QAction::triggered, this, &TForm1::Bipchaquecoup2Click);
    Commentaires1 = item("Commentaires1");
    connect(Commentaires1, &QAction::triggered, this, &TForm1::Commentaires1Click);
    Ordinateurcontreordinateur1 = item("Ordinateurcontreordinateur1");
    connect(Ordinateurcontreordinateur1, &QAction::triggered, this, &TForm1::Ordinateurcontreordinateur1Click);

    // The engine thinks on its own thread; its reports come back here, to
    // the window's thread, as queued calls.
    m_worker = std::make_unique<engine::EngineWorker>();
    m_host.setClocksChanged([this] { refreshClocks(); });
}

// The default evaluation parameters, the keys and learned positions, and
// the endgame tables from the program folder; missing files are said once
// each and leave defined contents. The transposition table belongs to the
// worker.
bool TForm1::startEngine() {
    eval::loadDefaultParameters(m_core);
    engine::loadEngineKnowledge(m_core);
    return true;
}

// ---------------------------------------------------------------------------
// Asking the engine

void TForm1::askEngine(engine::SearchInput input, Thinking what) {
    if (!m_worker) return;  // the window is closing
    // The worker's reports come to this thread as queued calls, each with
    // the number of its request; those of a request no longer awaited are
    // let go when they arrive.
    const std::uint64_t ticket = ++m_lastTicket;
    const QPointer<TForm1> self(this);
    const auto post = [self](std::function<void()> call) {
        QMetaObject::invokeMethod(self, std::move(call), Qt::QueuedConnection);
    };
    engine::SearchCallbacks callbacks;
    callbacks.thinking = [this, post, ticket](const engine::SearchStats& stats) {
        post([this, ticket, stats] {
            if (ticket == m_ticket) engineThinking(stats);
        });
    };
    callbacks.rootMovesCleared = [this, post, ticket] {
        post([this, ticket] {
            if (ticket == m_ticket) ListBox5->clear();
        });
    };
    callbacks.rootMove = [this, post, ticket](const engine::RootMoveLine& line) {
        post([this, ticket, line] {
            if (ticket == m_ticket) showRootMove(line);
        });
    };
    callbacks.done = [this, post, ticket](const engine::SearchOutput& out) {
        post([this, ticket, out] {
            if (ticket == m_ticket) engineAnswered(out);
        });
    };
    m_thinking = what;
    m_ticket = ticket;
    m_worker->think(std::move(input), std::move(callbacks));
}

void TForm1::engineThinking(const engine::SearchStats& stats) {
    if (m_thinking == Thinking::PersonTime) {
        game::noteThinkingOnPersonTime(m_core, stats);
    } else {
        m_core.engine.lastStats = stats;
        m_core.engine.statsShown = true;
    }
    showThinking(stats);
}

void TForm1::engineAnswered(const engine::SearchOutput& out) {
    const Thinking what = m_thinking;
    m_thinking = Thinking::None;
    m_ticket = 0;
    switch (what) {
        case Thinking::OwnMove: finishEngineTurn(out); break;
        case Thinking::PersonTime:
            // Stopped by its own time: the window goes quiet until the person moves.
            game::endThinkingOnPersonTime(m_core);
            break;
        case Thinking::Analysis: analysisAnswered(out); break;
        case Thinking::None: break;
    }
}

void TForm1::abandonThinking() {
    if (m_thinking == Thinking::None) return;
    if (m_worker) m_worker->stop(true);
    if (m_thinking == Thinking::OwnMove) {
        engineBusy(false);
        m_core.game.engineToMove = false;
    }
    if (m_thinking == Thinking::PersonTime) game::endThinkingOnPersonTime(m_core);
    m_thinking = Thinking::None;
    m_ticket = 0;
}

// ---------------------------------------------------------------------------
// The engine's turn and its thinking on the person's time

void TForm1::startEngineTurn() {
    Zut->hide();
    game::EngineTurnStart start = game::beginEngineTurn(m_core);
    performOps(start.ops, false, {});
    if (start.end) {
        showEndOfGame(*start.end);
        refreshPlayers();
        return;
    }
    refreshSetupCaptions();  // the computer's colour
    engineBusy(true);
    if (m_fixedLimits) start.search->limits = *m_fixedLimits;
    askEngine(std::move(*start.search), Thinking::OwnMove);
}

void TForm1::finishEngineTurn(const engine::SearchOutput& out) {
    engineBusy(false);
    const game::EngineTurn t = game::finishEngineTurn(m_core, out);
    Zut->setVisible(t.zutShown);
    if (t.zutShown) Zut->raise();
    Match_nul->setVisible(t.drawOffered);
    if (t.drawOffered) Match_nul->raise();
    refreshMoveList();
    refreshPlayers();
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
    const std::optional<game::EndOfGame> end = t.end;
    performOps(t.ops, t.played, [this, end] {
        refreshCounts();
        if (end) showEndOfGame(*end);
        // Self-play goes on, or the person's turn begins (and with it,
        // perhaps, thinking on the person's time).
        requestPass();
    });
}

void TForm1::startThinkingOnPersonTime() {
    askEngine(game::beginThinkingOnPersonTime(m_core), Thinking::PersonTime);
}

// Steps 3 and 6 of the engine's turn: while it thinks for its own move,
// the commands that would start another search or change the game are
// disabled, and the cursor says it is busy ("Quitter" stays: quitting
// stops the engine at once). Clicks still reach the board,
// which decides whether they stop the search.
void TForm1::engineBusy(bool busy) {
    if (busy) {
        m_busyDisabled.clear();
        const bool selfPlay = m_core.game.options.selfPlay;
        std::vector<QAction*> items;
        for (const char* name : {"Nouveau2", "Humaincontrehumain1", "Sauver1", "Ouvrir1", "Imprimer1"})
            if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) items.push_back(a);
        if (!selfPlay) items.push_back(Fichier1->menuAction());
        for (QMenu* m : {Edition1, Joueurs1, Ouvertures1, Analyse2}) items.push_back(m->menuAction());
        for (QAction* a : items)
            if (a->isEnabled()) {
                a->setEnabled(false);
                m_busyDisabled.emplace_back(a);
            }
        Onglet->setTabVisible(Onglet->indexOf(Probleme0), false);
        Proposernul->hide();
        Damier->setCursor(Qt::WaitCursor);
        if (Image5) Image5->setCursor(Qt::WaitCursor);
        setCursor(Qt::WaitCursor);
    } else {
        for (const QPointer<QAction>& a : m_busyDisabled)
            if (a) a->setEnabled(true);
        m_busyDisabled.clear();
        // In a rated game the file menu, the players and the analysis stay closed.
        if (m_core.game.ratedGame == game::RatedState::InProgress)
            for (QMenu* m : {Fichier1, Joueurs1, Analyse2}) m->menuAction()->setEnabled(false);
        if (m_core.game.options.selfPlay) Fichier1->menuAction()->setEnabled(true);
        if (m_core.game.ratedGame != game::RatedState::InProgress) Onglet->setTabVisible(Onglet->indexOf(Probleme0), true);
        Proposernul->show();
        Damier->unsetCursor();
        if (Image5) Image5->unsetCursor();
        unsetCursor();
    }
}

// ---------------------------------------------------------------------------
// The "Calcul" page

// Another game: the thinking about the one before goes.
void TForm1::clearThinking() {
    ListBox2->clear();
    ListBox5->clear();
    m_core.engine.statsShown = false;
}

void TForm1::showThinking(const engine::SearchStats& stats) {
    const std::vector<std::string> lines = engine::thinkingLines(stats);
    ListBox2->clear();
    for (const std::string& l : lines) ListBox2->addItem(QString::fromStdString(l));
}

void TForm1::showRootMove(const engine::RootMoveLine& line) {
    if (line.index < 0) return;
    while (ListBox5->count() <= line.index) ListBox5->addItem(QString());
    ListBox5->item(line.index)->setText(QString::fromStdString(engine::rootMoveText(line)));
}

// "Editer coups": the thinking list as it stands, in the program folder.
void TForm1::Best1Click() {
    if (!game::Best1Click(m_core, m_core.programDir)) showFileError();
}

// "Arrêt du calcul", "Arrêter le calcul": the engine plays its best move so
// far (or, analysing, reports it); thinking on the person's time just ends.
void TForm1::pause() {
    if (m_thinking != Thinking::None && m_worker) m_worker->stop();
}

// ---------------------------------------------------------------------------
// Levels and table sizes

void TForm1::selectLevelItem(int item) {
    engine::selectLevel(m_core.engine.level, item);
    Nbminutes->setText(QString::fromLatin1(m_core.engine.level.nbMinutes));
    refreshLevelMarks();
}

void TForm1::N8Autre1Click() {
    engine::N8Autre1Click(m_core.engine.level);
    refreshLevelMarks();  // "Autre" is checked only once OK accepts a number
    Panel9->show();
    Panel9->raise();
    Nbminutes->setFocus();
}

void TForm1::BitBtn24Click() {
    const QByteArray text = Nbminutes->text().toLatin1();
    if (!engine::BitBtn24Click(m_core.engine.level, std::string_view(text.constData(), static_cast<std::size_t>(text.size()))))
        return;  // refused: the panel stays
    Panel9->hide();
    refreshLevelMarks();
}

void TForm1::BitBtn25Click() {
    engine::BitBtn25Click(m_core.engine.level);
    Panel9->hide();
    refreshLevelMarks();
    repaintBoard();
}

// The check marks follow the level number: one item, or none for numbers
// without an item.
void TForm1::refreshLevelMarks() { showLevel(m_core.engine.level.levelNumber); }

void TForm1::applyLevelSettings(const files::GameSettings& s) {
    m_settings.minutes = s.minutes;
    m_settings.level = s.level;
    m_settings.searchControl1 = s.searchControl1;
    m_settings.searchControl2 = s.searchControl2;
    engine::LevelState& l = m_core.engine.level;
    l.levelBudget = s.searchControl1;
    l.levelHardBudget = s.searchControl2;
    l.levelNumber = s.level;
    l.checkedItem = -1;
    for (std::size_t i = 0; i < engine::LevelTable.size(); ++i)
        if (engine::LevelTable[i].number == s.level) l.checkedItem = static_cast<int>(i);
    std::snprintf(l.nbMinutes, sizeof l.nbMinutes, "%d", static_cast<int>(s.minutes));
    Nbminutes->setText(QString::fromLatin1(l.nbMinutes));
    refreshLevelMarks();
}

void TForm1::selectTableSize(int item) {
    // The worker takes the new size before its next search.
    engine::setTableSize(m_core.engine.tables, item);
    const int checked = m_core.engine.tables.sizeItem;  // a refused size keeps the previous one
    for (int i = 0; i < static_cast<int>(engine::TableSizes.size()); ++i)
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(engine::TableSizes[static_cast<std::size_t>(i)].item)))
            a->setChecked(i == checked);
}

// ---------------------------------------------------------------------------
// Clocks

void TForm1::ajouter_temps() { game::ajouter_temps(m_core); }

// Both clocks' labels, on the flat board's panels and the perspective board.
void TForm1::refreshClocks() {
    const game::GameState& g = m_core.game;
    minblanc->setText(QString::fromStdString(game::clockMinutesText(g.whiteClock)));
    secblanc->setText(QString::fromStdString(game::clockSecondsText(g.whiteClock)));
    minnoir->setText(QString::fromStdString(game::clockMinutesText(g.blackClock)));
    secnoir->setText(QString::fromStdString(game::clockSecondsText(g.blackClock)));
    syncPanel10();
}

void TForm1::Horlogeszro1Click() {
    game::Horlogeszro1Click(m_core);
    for (QLabel* l : {minblanc, secblanc, minnoir, secnoir}) l->setText(QStringLiteral("0"));
    syncPanel10();
}

// The mark is on while the clocks stand still.
void TForm1::Pause2Click() {
    game::Pause2Click(m_core);
    Pause2->setChecked(m_core.game.paused);
    if (m_core.game.paused)
        Timer1->stop();
    else
        Timer1->start();
}

// ---------------------------------------------------------------------------
// Switches

void TForm1::Rflexionsurtempsadverse1Click() {
    readOptions();
    if (!Rflexionsurtempsadverse1->isChecked() && m_thinking == Thinking::PersonTime) abandonThinking();
    // Ticked during the person's turn, the engine may think on it now.
    requestPass();
}

void TForm1::Arretrflexionparclicsouris1Click() { readOptions(); }
void TForm1::Bipchaquecoup2Click() { readOptions(); }
void TForm1::Commentaires1Click() { readOptions(); }

// The engine plays both sides; two people no longer do. Turned off, the
// side to move is the person's, at once.
void TForm1::Ordinateurcontreordinateur1Click() {
    const bool on = Ordinateurcontreordinateur1->isChecked();
    if (on) {
        Humaincontrehumain1->setChecked(false);
        // A search on the person's time gives way to the engine's own.
        if (m_thinking == Thinking::PersonTime) abandonThinking();
    } else if (m_thinking == Thinking::OwnMove) {
        abandonThinking();
    }
    game::setSelfPlay(m_core, on);
    readOptions();
    refreshPlayers();
    refreshSetupCaptions();
    requestPass();
}

}  // namespace ui
