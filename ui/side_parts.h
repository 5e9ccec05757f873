#pragma once
// The parts of the side column: a player's panel (name, clock, pieces),
// the move-list page and the thinking page of the page control.

#include <QFrame>
#include <QWidget>

#include <array>
#include <filesystem>

#include "engine/search_stats.h"
#include "engine/thinking.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QVBoxLayout;

namespace ui {

class SetupPage;

// One side's panel beside the flat board: the name, the clock in minutes
// and seconds, and the count of its pieces.
class PlayerPanel : public QFrame {
    Q_OBJECT
public:
    // The component names of the panel and of its labels.
    struct Names {
        const char* panel;
        const char* name;
        const char* minutes;
        const char* seconds;
        const char* count;
    };
    PlayerPanel(QWidget* parent, const Names& names, QColor tone);

    QLabel* name;
    QLabel* minutes;
    QLabel* seconds;
    QLabel* count;
};

// "Coups joués": the moves of the game, the buttons that walk through
// them, the problems' two buttons and, in rated games, resigning.
class MoveListPage : public QWidget {
    Q_OBJECT
public:
    explicit MoveListPage(QWidget* parent = nullptr);

    QListWidget* moves;
    QToolButton* goToStart;
    QToolButton* takeBack;
    QToolButton* stepForward;
    QToolButton* goToEnd;
    QToolButton* invertBoard;
    QPushButton* nextProblem;    // "Suivant ->"
    QPushButton* replayProblem;  // "Revoir coup"
    QPushButton* resign;
};

// "Calcul": what the engine is thinking, each root move's standing, and
// the buttons to stop it and to keep its lines in a file.
class ThinkingPage : public QWidget {
    Q_OBJECT
public:
    explicit ThinkingPage(QWidget* parent = nullptr);

    void showThinking(const engine::SearchStats& stats, const engine::ThinkingWords& words);
    void showRootMove(const engine::RootMoveLine& line);
    void clearRootMoves();
    void clear();

    QListWidget* thinkingLines;
    QListWidget* rootMoves;
    QPushButton* stopThinking;  // "Arrêter le calcul"
    QPushButton* saveLines;     // "Editer coups"
    QPushButton* resign;
};

// The side column: a player panel above and below the pages (Black's on
// top in the normal view, as its pieces are), then the move number and the
// mode of play.
class SideColumn : public QWidget {
    Q_OBJECT
public:
    SideColumn(QWidget* parent, const std::filesystem::path& programDir);

    // The panels change places when the board is turned round.
    void placePlayers(bool inverted);

    PlayerPanel* blackPanel;  // "Panel6"
    PlayerPanel* whitePanel;  // "Panel7"
    QTabWidget* pages;        // "Onglet"
    MoveListPage* moveList;
    ThinkingPage* thinking;
    SetupPage* setup;
    QLabel* moveNumber;  // "Nbcoups3d"
    QLabel* mode;        // "Panel11"

private:
    QVBoxLayout* m_column;
};

}  // namespace ui
