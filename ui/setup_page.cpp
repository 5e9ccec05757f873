#include "ui/setup_page.h"

#include <QAction>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "eval/evaluate.h"
#include "files/program_folder.h"
#include "files/setup.h"
#include "ui/form1.h"
#include "ui/look_commands.h"
#include "ui/main_menus.h"
#include "ui/play_area.h"
#include "ui/side_parts.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// The pictures of the pieces to place, by piece code.
constexpr std::array<const char*, 5> Pictures = {"v48.Bmp", "b48.Bmp", "bd48.Bmp", "n48.Bmp", "nd48.Bmp"};

QPixmap picture(const std::filesystem::path& programDir, rules::PieceCode code) {
    return QPixmap(QString::fromStdString(
        files::resolveInFolder(programDir, std::string("Images1/") + Pictures[static_cast<std::size_t>(code)])
            .string()));
}

}  // namespace

SetupPage::SetupPage(const std::filesystem::path& programDir, QWidget* parent)
    : QWidget(parent), m_programDir(programDir) {
    setObjectName("Probleme0");
    group = named(new QGroupBox(QStringLiteral("PLACEZ LES PIONS"), this), "Probleme");

    struct Selector {
        rules::PieceCode code;
        const char* name;
        const char* text;  // shown when the picture is missing
    };
    const Selector selectors[] = {
        {rules::WhiteMan, "SpeedButton10", "Pion blanc"}, {rules::WhiteKing, "SpeedButton11", "Dame blanche"},
        {rules::BlackMan, "SpeedButton12", "Pion noir"},  {rules::BlackKing, "SpeedButton13", "Dame noire"},
        {rules::Empty, "SpeedButton14", "Vide"},
    };
    auto* pieceRow = new QHBoxLayout;
    for (const Selector& s : selectors) {
        QToolButton* b = named(new QToolButton(group), s.name);
        const QPixmap shown = picture(programDir, s.code);
        if (shown.isNull()) {
            b->setText(QString::fromUtf8(s.text));
        } else {
            b->setIcon(shown);
            b->setIconSize(QSize(40, 40));
        }
        b->setToolTip(QString::fromUtf8(s.text));
        pieceRow->addWidget(b);
        pieces[static_cast<std::size_t>(s.code)] = b;
    }

    QLabel* placed = named(new QLabel(QString::fromUtf8("Pièce placée :"), group), "Label_piece_placee");
    chosenPiece = named(new QLabel(group), "Piontemoin");
    chosenPiece->setFixedSize(44, 44);
    chosenPiece->setFrameShape(QFrame::Box);
    chosenPiece->setAlignment(Qt::AlignCenter);
    chosenPiece->setToolTip(QString::fromUtf8("Indique le type pion sélectionné"));
    auto* chosenRow = new QHBoxLayout;
    chosenRow->addWidget(placed);
    chosenRow->addWidget(chosenPiece);
    chosenRow->addStretch(1);

    // Whether presses on the board place pieces yet.
    state = named(new QLabel(group), "Etat_installation");
    state->setWordWrap(true);
    QFont small = state->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    state->setFont(small);

    emptyBoard = named(new QPushButton(QStringLiteral("Vider le damier"), group), "vider1");
    fillBoard = named(new QPushButton(QStringLiteral("Remplir le damier"), group), "remplir1");
    direction = named(new QPushButton(QStringLiteral("Blancs:Bas->Haut"), group), "Bas_Haut");
    computerColour = named(new QPushButton(QStringLiteral("Ordinateur noir"), group), "Couleurordi");
    sideToMove = named(new QPushButton(QStringLiteral("Joueur joue"), group), "Couleurjoue");
    auto box = [this](const char* name) {
        QLineEdit* e = named(new QLineEdit(group), name);
        e->setReadOnly(true);
        e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        return e;
    };
    whiteEvaluation = box("Blancs");
    blackEvaluation = box("Noirs");

    auto* grid = new QGridLayout(group);
    grid->addLayout(pieceRow, 0, 0, 1, 2);
    grid->addLayout(chosenRow, 1, 0, 1, 2);
    grid->addWidget(state, 2, 0, 1, 2);
    grid->addWidget(emptyBoard, 3, 0);
    grid->addWidget(fillBoard, 3, 1);
    grid->addWidget(direction, 4, 0, 1, 2);
    grid->addWidget(computerColour, 5, 0);
    grid->addWidget(sideToMove, 5, 1);
    grid->addWidget(whiteEvaluation, 6, 0, 1, 2);
    grid->addWidget(blackEvaluation, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->addWidget(group);
    showChosenPiece(rules::Empty);
}

void SetupPage::showChosenPiece(rules::PieceCode code) {
    const QPixmap shown = picture(m_programDir, code);
    if (shown.isNull())
        chosenPiece->setText(QString::number(code));
    else
        chosenPiece->setPixmap(shown);
}

// ---------------------------------------------------------------------------

PositionSetup::PositionSetup(TForm1& window) : w(window), page(*window.setupPage) {
    for (int code = 0; code <= 4; ++code)
        connect(page.pieces[static_cast<std::size_t>(code)], &QToolButton::clicked, this,
                [this, code] { choosePiece(static_cast<rules::PieceCode>(code)); });
    connect(page.emptyBoard, &QPushButton::clicked, this, &PositionSetup::emptyBoard);
    connect(page.fillBoard, &QPushButton::clicked, this, &PositionSetup::fillBoard);
    connect(page.direction, &QPushButton::clicked, this, &PositionSetup::flipDirection);
    connect(page.computerColour, &QPushButton::clicked, this, &PositionSetup::swapComputerColour);
    connect(page.sideToMove, &QPushButton::clicked, this, &PositionSetup::passTheMove);
    w.core().game.setupPiece = rules::Empty;
}

void PositionSetup::setUpFromMenu() {
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    w.lookCommands().chooseStyle(0);
    w.setPage(&page);
    showPage();
    if (w.core().game.setupMode)
        endSetup();
    else
        beginSetup();
    // Ended from the menu, the set-up leaves its page: the move list is
    // shown, unless the computer's thinking was just put there.
    if (!w.core().game.setupMode && w.pages->currentWidget() == &page) w.setPage(w.moveListPage);
}

// A set-up action on the page: pieces may be placed from now on. The engine
// stops thinking, and the books, which know no set-up position, are off.
void PositionSetup::beginSetup() {
    if (w.core().game.setupMode) return;
    w.abandonThinking();
    w.finishOps();
    files::beginSetup(w.core());
    w.core().engine.books.booksActive = false;
    w.menus().booksActive->setChecked(false);
    w.menus().settings->menuAction()->setEnabled(false);
    w.showCaptureLabels(false);
    refreshState();
    w.repaintBoard();
}

// The set-up ends (the page is left, or the menu asks): a changed position
// becomes the new game.
void PositionSetup::endSetup() {
    const files::SetupEnd end = files::endSetup(w.core());
    if (w.menus().styles[0]->isChecked()) {
        w.menus().settings->menuAction()->setEnabled(true);
        w.menus().numberSquares->setEnabled(true);
    }
    refreshState();
    if (end.moveNow) w.setPage(w.thinkingPage);
    if (end.newGame) {
        w.afterGameChange();
        return;
    }
    w.repaintBoard();
    w.requestPass();
}

void PositionSetup::newGameBegun() {
    refreshState();
    refreshCaptions();
}

// The page shows its tools whenever it is shown; they act once a set-up
// has begun, and the page says which it is.
void PositionSetup::showPage() {
    refreshCaptions();
    showEvaluation();
    refreshState();
    page.group->show();
}

void PositionSetup::refreshState() {
    const bool on = w.core().game.setupMode;
    page.state->setText(w.runText(on ? captions::Text::SetupActive : captions::Text::SetupIdle));
    QPalette pal = page.state->palette();
    pal.setColor(QPalette::WindowText, on ? QColor(170, 0, 0) : w.palette().color(QPalette::WindowText));
    page.state->setPalette(pal);
}

void PositionSetup::placePiece(rules::Square square) {
    if (files::placePiece(w.core(), square)) {
        w.repaintBoard();
        showEvaluation();
        w.requestPass();  // a placed piece ends a rated game: the mode display follows
    }
}

// Choosing a piece to place begins the set-up.
void PositionSetup::choosePiece(rules::PieceCode code) {
    if (w.busy()) return;
    w.core().game.setupPiece = code;
    page.showChosenPiece(code);
    beginSetup();
}

void PositionSetup::refreshCaptions() {
    const game::GameState& g = w.core().game;
    using captions::Text;
    page.direction->setText(w.runText(g.inverted ? Text::WhiteDown : Text::WhiteUp));
    page.computerColour->setText(
        w.runText(g.computerColour == rules::Black ? Text::ComputerBlack : Text::ComputerWhite));
    page.sideToMove->setText(w.runText(g.computerToMove ? Text::ComputerTurn : Text::PlayerTurn));
}

void PositionSetup::showEvaluation() {
    const rules::Board& board = w.core().rules.gamePosition;
    // Halved, towards zero, as the page has always shown them.
    const int white = eval::evaluateStatic(w.core().eval, board, rules::White) / 2;
    const int black = eval::evaluateStatic(w.core().eval, board, rules::Black) / 2;
    page.whiteEvaluation->setText(w.runText(captions::Text::EvalWhite).arg(white, 4));
    page.blackEvaluation->setText(w.runText(captions::Text::EvalBlack).arg(black, 4));
}

// The set-up's buttons: each begins the set-up (when it has not begun) and
// changes what the new game will start from.
void PositionSetup::emptyBoard() {
    if (w.busy()) return;
    beginSetup();
    files::emptyBoard(w.core());
    w.repaintBoard();
    showEvaluation();
}

void PositionSetup::fillBoard() {
    if (w.busy()) return;
    beginSetup();
    files::resetToStartingPosition(w.core());
    refreshCaptions();
    w.afterGameChange();
    showEvaluation();
}

void PositionSetup::flipDirection() {
    if (w.busy()) return;
    beginSetup();
    files::flipWhiteDirection(w.core());
    refreshCaptions();
    w.repaintBoard();
    showEvaluation();
}

void PositionSetup::swapComputerColour() {
    if (w.busy()) return;
    beginSetup();
    files::switchComputerColour(w.core());
    refreshCaptions();
}

void PositionSetup::passTheMove() {
    if (w.busy()) return;
    beginSetup();
    files::switchSideToMove(w.core());
    refreshCaptions();
}

// Leaving the set-up page ends a set-up under way: the position becomes the
// game's. No page of the person's choosing while the engine is to move or a
// rated game is on: the move list, or the thinking if that was chosen.
void PositionSetup::pageChanged(QWidget*, QWidget* to) {
    if (w.core().game.setupMode) endSetup();
    const game::GameState& g = w.core().game;
    if (g.engineToMove || g.ratedGame == game::RatedState::InProgress) {
        w.setPage(to == w.thinkingPage ? static_cast<QWidget*>(w.thinkingPage) : w.moveListPage);
        return;
    }
    // Showing the set-up page changes nothing: its tools wait for a set-up action.
    if (to == &page && w.started()) showPage();
}

}  // namespace ui
