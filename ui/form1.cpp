#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/search.h"
#include "eval/parameter_file.h"
#include "files/program_folder.h"
#include "files/save_file.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "game/engine_turn.h"
#include "game/navigation.h"
#include "rules/move_input.h"
#include "ui/analysis_commands.h"
#include "ui/board3d.h"
#include "ui/board_animation.h"
#include "ui/book_commands.h"
#include "ui/dialog_panel.h"
#include "ui/engine_commands.h"
#include "ui/engine_link.h"
#include "ui/file_commands.h"
#include "ui/flat_board.h"
#include "ui/game_panels.h"
#include "ui/look_commands.h"
#include "ui/main_menus.h"
#include "ui/menu_wiring.h"
#include "ui/new_game_panel.h"
#include "ui/perspective_panel.h"
#include "ui/play_area.h"
#include "ui/player_commands.h"
#include "ui/setup_page.h"
#include "ui/side_parts.h"
#include "ui/start_panel.h"
#include "ui/widgets.h"
#include "ui/window_place.h"

namespace ui {

TForm1::TForm1(std::filesystem::path programDir, QWidget* parent) : QMainWindow(parent), m_host(this, programDir) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromUtf8("Tavolex 3D, le jeu"));
    m_core.host = &m_host;
    m_core.programDir = std::move(programDir);

    m_fileDialog = [this](const FileRequest& r) { return runFileDialog(this, r); };
    m_printDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    // The desktop's viewer for text; it returns at once and failing to find
    // one is not an error.
    m_showText = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    m_ask = [this](const QString& question) {
        return QMessageBox::question(this, QStringLiteral("Tavolex"), question) == QMessageBox::Yes;
    };

    m_menus = std::make_unique<MainMenus>(this);
    buildArea();
    m_engine = std::make_unique<EngineCommands>(*this);
    m_files = std::make_unique<FileCommands>(*this);
    m_setup = std::make_unique<PositionSetup>(*this);
    m_players = std::make_unique<PlayerCommands>(*this);
    m_analysis = std::make_unique<AnalysisCommands>(*this);
    m_books = std::make_unique<BookCommands>(*this);
    m_look = std::make_unique<LookCommands>(*this);
    wireMenus(*this);
    readOptions();

    // The engine thinks on its own thread; its reports come back here, to
    // the window's thread.
    m_engineLink = std::make_unique<EngineLink>(EngineLink::Handlers{
        [this](const engine::SearchStats& stats) { engineThinking(stats); },
        [this] { thinkingPage->clearRootMoves(); },
        [this](const engine::RootMoveLine& line) { thinkingPage->showRootMove(line); },
        [this](const engine::SearchOutput& out) { engineAnswered(out); },
    });
    m_host.setClocksChanged([this] { refreshClocks(); });

    // While the start panel shows, only the help menu is there.
    for (QMenu* m : m_menus->gameMenus()) m->menuAction()->setVisible(false);
}

// The engine goes first: no report of it may arrive at a window being taken
// apart.
TForm1::~TForm1() {
    m_engineLink.reset();
    // A move being shown stops here: its pauses must not end in a window
    // taken apart.
    m_animation->stop();
}

void TForm1::setHoldFunction(std::function<void(int)> hold) { m_animation->setHoldFunction(std::move(hold)); }
bool TForm1::animating() const { return m_animation->running(); }

// The central area: the board's place (flat or perspective), the row below
// it, the side column, the start panel over all of it, and the panels that
// the play itself opens.
void TForm1::buildArea() {
    area = new PlayArea(this);
    setCentralWidget(area);

    boardPlace = named(new QStackedWidget(area), "Plateau");
    flatBoard = new FlatBoard(boardPlace);
    perspective = new PerspectivePanel(boardPlace);
    boardPlace->addWidget(flatBoard);
    boardPlace->addWidget(perspective);
    connect(flatBoard, &FlatBoard::squarePressed, this, &TForm1::pressSquare);
    PerspectiveBoard* image = perspective->board;
    image->setMarksAllowed([this] {
        // While the engine thinks, "Indication des mouvements" decides.
        return !m_core.game.engineToMove || m_menus->showMoveMarks->isChecked();
    });
    connect(image, &PerspectiveBoard::squarePressed, this, [this, image](rules::Square square) {
        if (!m_started) return;
        const game::GameState& g = m_core.game;
        if (g.engineToMove && (g.ratedGame == game::RatedState::InProgress || !g.options.stopByClick)) return;
        // In blind play a press wipes the marks a selection left.
        if (image->blind()) image->paintBackground();
        if (square != 0) pressSquare(square);
    });

    belowBoard = new BelowBoardRow(area);
    captureLabels = belowBoard->captureLabels;
    offerDraw = belowBoard->offerDraw;
    drawRefused = belowBoard->drawRefused;
    resign = belowBoard->resign;
    connect(offerDraw, &QPushButton::clicked, this, &TForm1::offerDrawToEngine);
    connect(drawRefused, &QPushButton::clicked, this, &TForm1::offerDrawToEngine);

    side = new SideColumn(area, m_core.programDir);
    blackPanel = side->blackPanel;
    whitePanel = side->whitePanel;
    pages = side->pages;
    moveListPage = side->moveList;
    thinkingPage = side->thinking;
    setupPage = side->setup;
    moveNumber = side->moveNumber;
    mode = side->mode;
    m_shownPage = moveListPage;
    connect(pages, &QTabWidget::currentChanged, this, [this] {
        QWidget* from = m_shownPage;
        QWidget* to = pages->currentWidget();
        m_shownPage = to;
        if (m_pageGuard || from == to) return;
        m_setup->pageChanged(from, to);
    });
    MoveListPage* list = moveListPage;
    connect(list->moves, &QListWidget::itemDoubleClicked, this, [this] { goToSelectedMove(); });
    connect(list->moves, &QListWidget::currentRowChanged, this, [this](int row) { m_core.game.selectedLine = row; });
    connect(list->goToStart, &QToolButton::clicked, this, &TForm1::goToStart);
    connect(list->takeBack, &QToolButton::clicked, this, &TForm1::takeBack);
    connect(list->stepForward, &QToolButton::clicked, this, &TForm1::stepForward);
    connect(list->goToEnd, &QToolButton::clicked, this, &TForm1::goToEnd);
    connect(list->invertBoard, &QToolButton::clicked, this, &TForm1::invertBoard);
    connect(thinkingPage->stopThinking, &QPushButton::clicked, this, &TForm1::stopSearch);

    startPanel = new StartPanel(area);
    area->setParts(boardPlace, belowBoard, side, startPanel);
    area->setLastMoveArea([this] { return lastMoveArea(); });

    endOfGame = new EndOfGamePanel(area);
    endMessage = endOfGame->message;
    whiteRating = endOfGame->whiteRating;
    blackRating = endOfGame->blackRating;
    connect(endOfGame->ok, &QPushButton::clicked, this, [this] {
        endOfGame->hide();
        repaintBoard();
    });
    drawOffer = new DrawOfferPanel(area);
    connect(drawOffer->accept, &QPushButton::clicked, this, &TForm1::acceptEngineDraw);
    connect(drawOffer->decline, &QPushButton::clicked, this, [this] {
        drawOffer->hide();
        m_core.game.drawOfferShown = false;
    });
    excuse = new ExcusePanel(area);

    m_animation = new BoardAnimation(this, m_core,
                                     {[this] { return boardViews(); }, [this] { showCaptureLabels(true); },
                                      [this] { boardPlace->currentWidget()->repaint(); }});
    clockTick = named(new QTimer(this), "Timer1");
    clockTick->setInterval(1000);
    connect(clockTick, &QTimer::timeout, this, [this] { game::tickClocks(m_core); });
}

void TForm1::readOptions() {
    const MainMenus& m = *m_menus;
    game::GameOptions& o = m_core.game.options;
    o.humanVsHuman = m.twoPeople->isChecked();
    o.decomposeCaptures = m.decomposeCaptures->isChecked();
    o.selfPlay = m.selfPlay->isChecked();
    o.stopByClick = m.stopByClick->isChecked();
    o.beepEachMove = m.beepEachMove->isChecked();
    o.otherSounds = m.otherSounds->isChecked();
    m_core.engine.level.ponderOnPersonTime = m.ponder->isChecked();
}

bool TForm1::busy() const { return !m_started || m_files->choosing(); }
bool TForm1::analysisRunning() const { return m_analysis && m_analysis->running(); }

int TForm1::interfaceLanguage() const {
    for (std::size_t i = 0; i < m_menus->languages.size(); ++i)
        if (m_menus->languages[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

// The start-up behind every board-style button, the first time: the
// engine's knowledge, the opening libraries, the flat board's pictures, the
// starting position with the default level and options, the menus.
void TForm1::startFromIntro() {
    if (m_started) return;
    m_files->readResumeSettings();  // a window never activated reads them now
    eval::loadDefaultParameters(m_core);
    engine::loadEngineKnowledge(m_core);
    m_books->loadBooks();
    if (const auto missing = flatBoard->loadPictures(m_core.programDir))
        m_host.showError("Impossible d'ouvrir ce fichier\n" + *missing);
    game::installPosition(m_core, rules::startingPosition(), rules::White);
    m_engine->applyLevelSettings(files::GameSettings{});
    readOptions();
    for (QMenu* m : m_menus->gameMenus()) m->menuAction()->setVisible(true);
    flatBoard->setMenuShown(true);
    m_started = true;
    startPanel->hide();
    m_files->restoreResumeFile();
    repaintBoard();
    refreshPlayers();
    refreshMoveList();
    requestPass();
}

void TForm1::installPosition(const rules::Board& board, rules::Side toMove) {
    abandonThinking();
    finishOps();
    game::installPosition(m_core, board, toMove);
    endOfGame->hide();
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    requestPass();
}

std::vector<BoardView*> TForm1::boardViews() const { return {flatBoard, perspective->board}; }

void TForm1::repaintBoard() {
    const bool numbering = m_menus->numberSquares->isChecked();
    for (BoardView* v : boardViews()) {
        v->setInverted(m_core.game.inverted);
        v->setNumbering(numbering);
        v->showPosition(m_core.rules.gamePosition);
    }
    // Black sits at the top in the normal view, as its pieces do.
    side->placePlayers(m_core.game.inverted);
    perspective->placeClocks(m_core.game.inverted);
    refreshCounts();
}

void TForm1::showBoardStyle(bool perspectiveShown) {
    boardPlace->setCurrentWidget(perspectiveShown ? static_cast<QWidget*>(perspective) : flatBoard);
    // The perspective board has its clocks beside it.
    blackPanel->setVisible(!perspectiveShown);
    whitePanel->setVisible(!perspectiveShown);
    area->setBoard(boardPlace, perspectiveShown ? perspective->aspect() : 1.0);
    if (perspectiveShown) widenForBoard(*this, *area);
}

void TForm1::refreshCounts() {
    const rules::PieceTotals t = rules::countPieces(m_core.rules.gamePosition);
    whitePanel->count->setText(QString::asprintf(" %2d", t.white()));
    blackPanel->count->setText(QString::asprintf(" %2d", t.black()));
    perspective->whiteCount->setText(QString::number(t.white()));
    perspective->blackCount->setText(QString::number(t.black()));
}

void TForm1::refreshPlayers() {
    const game::GameState& g = m_core.game;
    // Names are single-byte Latin-1, in the window as in the files.
    const QString white = QString::fromLatin1(game::nameText(g.whiteName));
    const QString black = QString::fromLatin1(game::nameText(g.blackName));
    whitePanel->name->setText(white);
    blackPanel->name->setText(black);
    perspective->whiteName->setText(white);
    perspective->blackName->setText(black);
    refreshClocks();
}

// Both clocks, on the player panels and beside the perspective board.
void TForm1::refreshClocks() {
    const game::GameState& g = m_core.game;
    const QString wm = QString::fromStdString(game::clockMinutesText(g.whiteClock));
    const QString ws = QString::fromStdString(game::clockSecondsText(g.whiteClock));
    const QString bm = QString::fromStdString(game::clockMinutesText(g.blackClock));
    const QString bs = QString::fromStdString(game::clockSecondsText(g.blackClock));
    whitePanel->minutes->setText(wm);
    whitePanel->seconds->setText(ws);
    blackPanel->minutes->setText(bm);
    blackPanel->seconds->setText(bs);
    perspective->whiteMinutes->setText(wm);
    perspective->whiteSeconds->setText(ws);
    perspective->blackMinutes->setText(bm);
    perspective->blackSeconds->setText(bs);
}

void TForm1::refreshMoveList() {
    QListWidget* list = moveListPage->moves;
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& line : m_core.game.moveList) list->addItem(QString::fromStdString(line));
    const int selected = m_core.game.selectedLine;
    if (selected >= 0 && selected < list->count()) {
        list->setCurrentRow(selected);
        list->scrollToItem(list->currentItem());
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void TForm1::refreshMoveNumber() {
    moveNumber->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
}

void TForm1::showCaptureLabels(bool shown) {
    for (QLabel* l : captureLabels) l->setVisible(shown);
}

void TForm1::requestPass() {
    if (m_passQueued) return;
    m_passQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_passQueued = false;
            gameLoop();
        },
        Qt::QueuedConnection);
}

// A pass runs when something happened: a move, a command, the engine's
// answer. It never waits: the engine thinks on its worker, animations run
// on a timer, and each of them asks for the next pass when it is done.
void TForm1::gameLoop() {
    // An analysis walks the record: the game waits until it is over. A move
    // being shown finishes first.
    if (!m_started || analysisRunning() || animating() || !m_engineLink->open()) return;
    readOptions();
    const game::PassOutcome out = game::gameLoopPass(m_core);
    if (out.hideCaptureLabels) showCaptureLabels(false);
    // The mode display and the draw-offer button.
    const game::GameState& g = m_core.game;
    if (g.ratedGame == game::RatedState::None && !g.options.humanVsHuman)
        mode->setText(runText(captions::Text::Training));
    m_players->refreshMode();
    offerDraw->setVisible(true);
    offerDraw->setEnabled(true);
    moveNumber->setText(runText(captions::Text::Moves).arg(out.moveNumber));
    const bool choosing = m_files->choosing();
    if (out.engineTurn) {
        // Thinking on the person's time gives way to the engine's own move.
        if (m_thinking == Thinking::PersonTime) abandonThinking();
        if (m_thinking == Thinking::None && !choosing) startEngineTurn();
    } else if (m_thinking == Thinking::None && !choosing && game::mayThinkOnPersonTime(m_core)) {
        // The person's turn: the engine may think on the person's time,
        // once, until the person moves or its own time is up.
        startThinkingOnPersonTime();
    }
    refreshTimer();
}

// The tick runs while a clock does, so that an idle window does nothing.
void TForm1::refreshTimer() {
    const game::GameState& g = m_core.game;
    if (g.clockRunning && !g.paused) {
        if (!clockTick->isActive()) clockTick->start();
    } else {
        clockTick->stop();
    }
}

void TForm1::pressSquare(rules::Square square) {
    if (!m_started || m_files->choosing() || analysisRunning()) return;
    if (m_core.game.setupMode) {
        // Setting up: the press puts the chosen piece on a dark square at
        // once. No search runs in this mode, so nothing can be disturbed.
        if (!animating()) m_setup->placePiece(square);
        return;
    }
    // The set-up page is shown but no set-up has begun: the board waits for
    // a set-up action, it takes no moves.
    if (pages->currentWidget() == setupPage) return;
    m_books->hideLearnPrompt();
    // While the engine thinks about its own move a press may stop it, so
    // that it plays at once; it is never taken as a move.
    if (m_thinking == Thinking::OwnMove) {
        if (game::clickStopsEngine(m_core)) m_engineLink->stop();
        return;
    }
    // A move being shown is finished first; the press does not count.
    if (animating()) return;
    // The person's press ends the engine's thinking on the person's time.
    if (m_thinking == Thinking::PersonTime) abandonThinking();
    personClick(game::handleBoardClick(m_core, square));
}

void TForm1::personClick(const game::PersonClick& click) {
    if (!click.handled) return;
    drawRefused->setVisible(m_core.game.drawRefusedShown);
    refreshTimer();
    if (click.end && !click.movePlayed) {
        showEndOfGame(game::endOfGame(m_core, *click.end));
        return;
    }
    const bool played = click.movePlayed;
    if (played) m_files->keepForRecovery();
    // Captures due are announced at each selection and are no longer due
    // once the move is made or the piece let go.
    if (played || click.board.result == rules::ClickOutcome::Result::Deselected) showCaptureLabels(false);
    if (!played) {
        performOps(click.board.ops, false, {});
        refreshCounts();
        return;
    }
    refreshMoveList();
    refreshPlayers();
    refreshMoveNumber();
    const std::optional<game::EndReason> end = click.end;
    performOps(click.board.ops, true, [this, end] {
        refreshCounts();
        if (end) showEndOfGame(game::endOfGame(m_core, *end));
        requestPass();  // the engine's turn, or the other person's
    });
}

void TForm1::performOps(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then) {
    m_animation->perform(ops, played, std::move(then));
}

void TForm1::finishOps() { m_animation->finish(); }

// The squares the last move touched, as the board shows them now, in the
// central area's pixels.
std::optional<QRect> TForm1::lastMoveArea() const {
    const game::GameRecord& rec = m_core.game.record;
    if (rec.plyCounter <= 0) return std::nullopt;
    const game::PlyRecord& last = rec.plies[static_cast<std::size_t>(rec.plyCounter)];
    if (last.from == 0 || last.to == 0) return std::nullopt;
    BoardView* view =
        boardPlace->currentWidget() == perspective ? static_cast<BoardView*>(perspective->board) : flatBoard;
    QRect r;
    for (rules::Square s : {last.from, last.to}) {
        const QRect square = view->squareArea(s);
        r |= QRect(view->widget()->mapTo(area, square.topLeft()), square.size());
    }
    return r;
}

void TForm1::openPanel(DialogPanel* panel) {
    panel->adjustSize();
    area->placePanel(panel);
    panel->open();
}

void TForm1::showEndOfGame(const game::EndOfGame& end) {
    if (!end.processed) return;
    game::stopClocks(m_core);
    refreshTimer();
    // In the interface language; the label keeps the message and the winner
    // (Latin-1, as names are) so that another language can say it again.
    const QString winner = QString::fromLatin1(end.winnerName.data(), static_cast<qsizetype>(end.winnerName.size()));
    endMessage->setProperty("endMessage", static_cast<int>(end.message));
    endMessage->setProperty("winner", winner);
    endMessage->setText(captions::endMessage(end.message, winner, interfaceLanguage()));
    m_players->showRatingLines(end);
    if (end.showPanel) openPanel(endOfGame);
    // The end of a game stops self-play and lets presses stop the engine again.
    m_menus->selfPlay->setChecked(m_core.game.options.selfPlay);
    m_menus->stopByClick->setEnabled(true);
    // A learning session analyses the game and goes on with the next.
    if (m_core.engine.learning.session) QTimer::singleShot(0, m_books.get(), [this] { m_books->sessionStep(); });
}

// "Proposer nul": the engine answers by its last value (while it thinks on
// the person's time, the person's standing). An accepted draw ends the game,
// and whatever the engine was thinking about with it.
void TForm1::offerDrawToEngine() {
    if (!m_started) return;
    if (game::acceptsDrawOffer(m_core)) {
        abandonThinking();
        finishOps();
    }
    const auto end = game::offerDraw(m_core);
    drawRefused->setVisible(m_core.game.drawRefusedShown);
    if (end) {
        repaintBoard();
        showEndOfGame(*end);
        requestPass();
    }
}

void TForm1::acceptEngineDraw() {
    abandonThinking();
    finishOps();
    drawOffer->hide();
    m_core.game.drawOfferShown = false;
    showEndOfGame(game::endOfGame(m_core, game::EndReason::Draw));
}

// ---------------------------------------------------------------------------
// Navigation

void TForm1::afterNavigation() {
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    refreshMoveNumber();
    requestPass();
}

void TForm1::afterGameChange() {
    thinkingPage->clear();
    m_core.engine.statsShown = false;
    m_files->keepForRecovery();
    endOfGame->hide();
    drawRefused->hide();
    m_core.game.drawRefusedShown = false;
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    refreshMoveNumber();
    if (m_core.game.setupMode) m_setup->showEvaluation();
    requestPass();
}

// Navigation first shows whatever move was being shown, and stops the
// engine: the game it was thinking about is no longer the one on the board.
bool TForm1::readyToNavigate() {
    if (!m_started || analysisRunning() || m_files->choosing()) return false;
    finishOps();
    abandonThinking();
    return true;
}

void TForm1::takeBack() {
    if (!readyToNavigate()) return;
    game::takeBack(m_core);
    afterNavigation();
}

void TForm1::stepForward() {
    if (!readyToNavigate()) return;
    game::stepForward(m_core);
    afterNavigation();
}

void TForm1::goToStart() {
    if (!readyToNavigate()) return;
    game::goToStart(m_core);
    afterNavigation();
}

void TForm1::goToEnd() {
    if (!readyToNavigate()) return;
    game::goToEnd(m_core);
    afterNavigation();
}

void TForm1::goToSelectedMove() {
    const int line = moveListPage->moves->currentRow();
    if (!readyToNavigate()) return;
    m_core.game.selectedLine = line;
    game::goToSelectedMove(m_core);
    afterNavigation();
}

void TForm1::invertBoard() {
    if (!m_started) return;
    finishOps();
    m_core.game.inverted = !m_core.game.inverted;
    rules::clearMoveEntry(m_core.rules);  // the frames of a selection go with the repaint
    m_setup->refreshCaptions();
    repaintBoard();
}

void TForm1::switchTwoPeople() {
    abandonThinking();
    game::toggleTwoPeople(m_core);
    m_menus->twoPeople->setChecked(m_core.game.options.humanVsHuman);
    requestPass();
}

void TForm1::setPage(QWidget* page) {
    m_pageGuard = true;
    pages->setCurrentWidget(page);
    m_shownPage = page;
    m_pageGuard = false;
}

// ---------------------------------------------------------------------------
// The engine

void TForm1::askEngine(engine::SearchInput input, Thinking what) {
    if (m_fixedLimits) input.limits = *m_fixedLimits;
    m_thinking = what;
    m_engineLink->ask(std::move(input));
}

void TForm1::engineThinking(const engine::SearchStats& stats) {
    if (m_thinking == Thinking::PersonTime) {
        game::noteThinkingOnPersonTime(m_core, stats);
    } else {
        m_core.engine.lastStats = stats;
        m_core.engine.statsShown = true;
    }
    thinkingPage->showThinking(stats, captions::thinkingWords(interfaceLanguage()));
}

void TForm1::engineAnswered(const engine::SearchOutput& out) {
    const Thinking what = m_thinking;
    m_thinking = Thinking::None;
    switch (what) {
        case Thinking::OwnMove: finishEngineTurn(out); break;
        case Thinking::PersonTime:
            // Stopped by its own time: the window goes quiet until the person moves.
            game::endThinkingOnPersonTime(m_core);
            break;
        case Thinking::Analysis: m_analysis->answered(out); break;
        case Thinking::None: break;
    }
}

void TForm1::abandonThinking() {
    if (m_thinking == Thinking::None) return;
    m_engineLink->abandon();
    if (m_thinking == Thinking::OwnMove) {
        engineBusy(false);
        m_core.game.engineToMove = false;
    }
    if (m_thinking == Thinking::PersonTime) game::endThinkingOnPersonTime(m_core);
    m_thinking = Thinking::None;
}

// "Arrêt du calcul", "Arrêter le calcul", "Suivant" of an analysis: the
// engine plays its best move so far (or, analysing, reports it); thinking
// on the person's time just ends.
void TForm1::stopSearch() {
    if (m_thinking != Thinking::None) m_engineLink->stop();
}

void TForm1::startEngineTurn() {
    excuse->hide();
    game::EngineTurnStart start = game::beginEngineTurn(m_core);
    performOps(start.ops, false, {});
    if (start.end) {
        showEndOfGame(*start.end);
        refreshPlayers();
        return;
    }
    m_setup->refreshCaptions();  // the computer's colour
    engineBusy(true);
    askEngine(std::move(*start.search), Thinking::OwnMove);
}

void TForm1::finishEngineTurn(const engine::SearchOutput& out) {
    engineBusy(false);
    const game::EngineTurn t = game::finishEngineTurn(m_core, out);
    if (t.played) m_files->keepForRecovery();
    refreshMoveList();
    refreshPlayers();
    refreshMoveNumber();
    const std::optional<game::EndOfGame> end = t.end;
    const bool zut = t.zutShown, drawOffered = t.drawOffered;
    excuse->hide();
    performOps(t.ops, t.played, [this, end, zut, drawOffered] {
        refreshCounts();
        // Shown once the move is on the board, so that they can keep clear of it.
        if (zut) openPanel(excuse);
        if (drawOffered) openPanel(drawOffer);
        if (end) showEndOfGame(*end);
        // Self-play goes on, or the person's turn begins (and with it,
        // perhaps, thinking on the person's time).
        requestPass();
    });
}

void TForm1::startThinkingOnPersonTime() { askEngine(game::beginThinkingOnPersonTime(m_core), Thinking::PersonTime); }

void TForm1::reportInternalError(const std::string& what) {
    m_files->keepForRecovery();
    m_host.showError(runText(captions::Text::InternalError).arg(QString::fromStdString(what)).toStdString());
}

// While the engine thinks for its own move, the commands that would start
// another search or change the game are disabled, and the cursor says it is
// busy ("Quitter" stays: quitting stops the engine at once). Presses still
// reach the board, which decides whether they stop the search.
void TForm1::engineBusy(bool busy) {
    const bool rated = m_core.game.ratedGame == game::RatedState::InProgress;
    if (busy)
        m_menus->closeWhileThinking(m_core.game.options.selfPlay);
    else
        m_menus->reopenAfterThinking(rated, m_core.game.options.selfPlay);
    pages->setTabVisible(pages->indexOf(setupPage), !busy && !rated);
    offerDraw->setVisible(!busy);
    for (QWidget* w : {static_cast<QWidget*>(boardPlace), static_cast<QWidget*>(this)}) {
        if (busy)
            w->setCursor(Qt::WaitCursor);
        else
            w->unsetCursor();
    }
}

// ---------------------------------------------------------------------------
// Common boxes and folders

void TForm1::showFileError() { m_host.showError(runText(captions::Text::CannotOpen).toStdString()); }

// A save that failed: why, when that can be told (a read-only file), or the
// usual box.
void TForm1::showSaveError(const std::filesystem::path& file) {
    if (files::saveTargetStatus(file.string()) == files::SaveStatus::ReadOnly) {
        const QString name = QString::fromStdString(file.filename().string());
        m_host.showError(runText(captions::Text::ReadOnlyFile).arg(name).toStdString());
        return;
    }
    showFileError();
}

// ---------------------------------------------------------------------------
// The window itself

// The first showing: the size and place kept from the last run, or a size
// that suits the screen; the resume file's language (see FileCommands).
void TForm1::showEvent(QShowEvent* event) {
    if (!m_placeKnown) {
        m_placeKnown = true;
        placeWindowAtStart(*this, m_core.programDir);
    }
    QMainWindow::showEvent(event);
    m_files->windowShown();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_files->windowShown();
}

void TForm1::quit() {
    abandonThinking();
    finishOps();
    // The game and the settings go to the resume file, for the next start.
    // Before a board was chosen there is no game of the person's to keep.
    if (m_started) m_files->saveResumeFile();
    close();
}

// Closing the window ends the program, except during a rated game.
void TForm1::closeEvent(QCloseEvent* event) {
    if (m_core.game.ratedGame == game::RatedState::InProgress) {
        event->ignore();
        return;
    }
    if (m_placeKnown && isVisible()) keepWindowPlace(*this, m_core.programDir);
    // The engine stops at once and its thread ends before the window does.
    // The program ends as it should: no game to offer back at the next start.
    if (m_started) m_files->forgetRecovery();
    abandonThinking();
    m_engineLink->shutDown();
    m_animation->stop();
    clockTick->stop();
    m_files->cancelChoice();
    event->accept();
    QApplication::quit();
}

}  // namespace ui
