#include "ui/side_parts.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/thinking.h"
#include "ui/setup_page.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// A font `factor` times the desktop's, in points so that it follows the
// screen's density.
QFont scaledFont(const QWidget* w, double factor, bool bold) {
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    return f;
}

}  // namespace

PlayerPanel::PlayerPanel(QWidget* parent, const Names& names, QColor tone) : QFrame(parent) {
    setObjectName(QString::fromLatin1(names.panel));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, tone);
    pal.setColor(QPalette::WindowText, tone.lightness() > 128 ? Qt::black : Qt::white);
    setPalette(pal);

    const QFont clockFont = scaledFont(this, 2.0, true);
    name = named(new QLabel(this), names.name);
    name->setFont(scaledFont(this, 1.25, true));
    minutes = named(new QLabel(QStringLiteral("0"), this), names.minutes);
    minutes->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel* colon = new QLabel(QStringLiteral(":"), this);
    seconds = named(new QLabel(QStringLiteral("00"), this), names.seconds);
    QLabel* piecesCaption = new QLabel(QString::fromUtf8("Pièces"), this);
    piecesCaption->setObjectName(QStringLiteral("Label_pieces_") + QString::fromLatin1(names.panel));
    piecesCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count = named(new QLabel(QStringLiteral(" 12"), this), names.count);
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* l : {minutes, colon, seconds, count}) l->setFont(clockFont);
    // Room for three-digit minutes and two-digit counts whatever the digits.
    minutes->setMinimumWidth(QFontMetrics(clockFont).horizontalAdvance(QStringLiteral("000")));
    count->setMinimumWidth(QFontMetrics(clockFont).horizontalAdvance(QStringLiteral(" 00")));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setVerticalSpacing(2);
    grid->addWidget(name, 0, 0, 1, 6);
    grid->addWidget(minutes, 1, 0);
    grid->addWidget(colon, 1, 1);
    grid->addWidget(seconds, 1, 2);
    grid->setColumnStretch(3, 1);
    grid->addWidget(piecesCaption, 1, 4);
    grid->addWidget(count, 1, 5);
}

MoveListPage::MoveListPage(QWidget* parent) : QWidget(parent) {
    setObjectName("Liste");
    moves = named(new QListWidget(this), "ListBox1");
    moves->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto speed = [this](const char* name, const char* text, const char* hint) {
        QToolButton* b = named(new QToolButton(this), name);
        b->setText(QString::fromUtf8(text));
        b->setToolTip(QString::fromUtf8(hint));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return b;
    };
    goToStart = speed("SpeedButton1", "|\u25C0", "Revenir au début");
    takeBack = speed("SpeedButton2", "\u25C0", "Reculer d'un coup");
    stepForward = speed("SpeedButton3", "\u25B6", "Avancer d'un coup");
    goToEnd = speed("SpeedButton4", "\u25B6|", "Aller à la fin");
    invertBoard = speed("SpeedButton5", "\u21C5", "Inverser le damier");
    // The problems' two buttons, shown once a problem has been opened.
    nextProblem = named(new QPushButton(QStringLiteral("Suivant ->"), this), "Panel13");
    replayProblem = named(new QPushButton(QStringLiteral("Revoir coup"), this), "Panel14");
    resign = named(new QPushButton(QStringLiteral("Abandonner"), this), "Abandon1");
    for (QPushButton* b : {nextProblem, replayProblem, resign}) b->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(moves, 1);
    auto* walk = new QHBoxLayout;
    for (QToolButton* b : {goToStart, takeBack, stepForward, goToEnd, invertBoard}) walk->addWidget(b);
    column->addLayout(walk);
    auto* problems = new QHBoxLayout;
    problems->addWidget(nextProblem);
    problems->addWidget(replayProblem);
    column->addLayout(problems);
    column->addWidget(resign, 0, Qt::AlignLeft);
}

ThinkingPage::ThinkingPage(QWidget* parent) : QWidget(parent) {
    setObjectName("Calcul");
    thinkingLines = named(new QListWidget(this), "ListBox2");
    rootMoves = named(new QListWidget(this), "ListBox5");
    stopThinking = named(new QPushButton(QString::fromUtf8("Arrêter le calcul"), this), "Joue");
    saveLines = named(new QPushButton(QStringLiteral("Editer coups"), this), "Button9");
    resign = named(new QPushButton(QStringLiteral("Abandonner"), this), "Abandon2");
    resign->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(thinkingLines, 3);
    column->addWidget(rootMoves, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(stopThinking);
    buttons->addWidget(saveLines);
    column->addLayout(buttons);
    column->addWidget(resign, 0, Qt::AlignLeft);
}

void ThinkingPage::showThinking(const engine::SearchStats& stats, const engine::ThinkingWords& words) {
    thinkingLines->clear();
    for (const std::string& l : engine::thinkingLines(stats, words)) thinkingLines->addItem(QString::fromUtf8(l));
}

void ThinkingPage::showRootMove(const engine::RootMoveLine& line) {
    if (line.index < 0) return;
    while (rootMoves->count() <= line.index) rootMoves->addItem(QString());
    rootMoves->item(line.index)->setText(QString::fromStdString(engine::rootMoveText(line)));
}

void ThinkingPage::clearRootMoves() { rootMoves->clear(); }

void ThinkingPage::clear() {
    thinkingLines->clear();
    rootMoves->clear();
}

SideColumn::SideColumn(QWidget* parent, const std::filesystem::path& programDir) : QWidget(parent) {
    setObjectName("Colonne");
    blackPanel =
        new PlayerPanel(this, {"Panel6", "Nom_noir", "minnoir", "secnoir", "Nbpionsnoirs"}, QColor(58, 46, 42));
    whitePanel =
        new PlayerPanel(this, {"Panel7", "Nom_blanc", "minblanc", "secblanc", "Nbpionsblancs"}, QColor(242, 232, 208));
    pages = named(new QTabWidget(this), "Onglet");
    // The three captions stand side by side in every language: no scroll arrows.
    pages->setUsesScrollButtons(false);
    pages->tabBar()->setExpanding(true);
    moveList = new MoveListPage;
    thinking = new ThinkingPage;
    setup = new SetupPage(programDir);
    pages->addTab(moveList, QString::fromUtf8("Coups joués"));
    pages->addTab(thinking, QString::fromUtf8("Calcul"));
    pages->addTab(setup, QString::fromUtf8("Probleme"));

    QWidget* status = new QWidget(this);
    auto* statusRow = new QHBoxLayout(status);
    statusRow->setContentsMargins(4, 0, 4, 0);
    moveNumber = named(new QLabel(QStringLiteral("Coups 1"), status), "Nbcoups3d");
    mode = named(new QLabel(QString::fromUtf8("Entraînement"), status), "Panel11");
    const QFont strong = scaledFont(this, 1.1, true);
    for (QLabel* l : {moveNumber, mode}) l->setFont(strong);
    mode->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusRow->addWidget(moveNumber);
    statusRow->addStretch(1);
    statusRow->addWidget(mode);

    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(0, 4, 4, 4);
    m_column->addWidget(blackPanel);
    m_column->addWidget(pages, 1);
    m_column->addWidget(whitePanel);
    m_column->addWidget(status);
}

void SideColumn::placePlayers(bool inverted) {
    PlayerPanel* top = inverted ? whitePanel : blackPanel;
    PlayerPanel* bottom = inverted ? blackPanel : whitePanel;
    if (m_column->indexOf(top) == 0) return;
    m_column->removeWidget(top);
    m_column->removeWidget(bottom);
    m_column->insertWidget(0, top);
    m_column->insertWidget(2, bottom);
}

}  // namespace ui
