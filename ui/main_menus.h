#pragma once
// The main window's menus, each command built once as a member named by
// what it does. Every item also carries its component name as object name,
// which the caption tables and the tests know it by.
//
// Handlers are attached through `on`, which remembers each item it wired:
// a test walks the menus and finds any command left without one.

#include <QObject>

#include <QPointer>
#include <array>
#include <functional>

#include <set>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

namespace ui {

struct MainMenus {
    explicit MainMenus(QMainWindow* window);

    // Runs `handler` when the item is chosen.
    void on(QAction* item, QObject* context, std::function<void()> handler);
    bool handled(const QAction* item) const { return m_handled.count(item) != 0; }
    // While the engine thinks on its own move, the commands that would
    // change the game under it are closed; afterwards the same ones open
    // again (self-play keeps the file menu, which holds its stop).
    void closeWhileThinking(bool selfPlaying);
    void reopenAfterThinking(bool ratedGame, bool selfPlaying);
    // Items kept hidden for good: their commands belong to formats and
    // pictures this program does not have.
    bool placeholder(const QAction* item) const;
    // The menus that show once a board is chosen (help shows from the start).
    std::array<QMenu*, 9> gameMenus() const;

    QMenu* file;
    QAction* newGame;
    QAction* twoPeople;
    QAction* selfPlay;
    QAction* saveGame;
    QAction* openGame;
    QAction* openProblem;
    QAction* setUpPosition;
    QAction* printGame;
    QAction* exportText;
    QAction* importText;
    QAction* openVog;  // placeholder
    QAction* exportPicture;
    QAction* quit;

    QMenu* edit;
    QAction* takeBack;
    QAction* stepForward;
    QAction* goToStart;
    QAction* goToEnd;

    QMenu* view;
    // By style: 0 the flat board, 1..8 the perspective styles.
    std::array<QAction*, 9> styles;
    QAction* stillLife;  // placeholder
    QAction* invertBoard;

    QMenu* players;
    QAction* addPlayer;
    QAction* deletePlayer;
    QAction* swapSides;
    QAction* renamePlayers;

    QMenu* level;
    QMenu* timedLevels;
    // By index of engine::LevelTable.
    std::array<QAction*, 16> levels;
    QAction* customTime;  // "Autre"

    QMenu* settings;
    QAction* booksActive;
    QAction* changeLibrarySet;
    QAction* editWhiteOpenings;
    QAction* editBlackOpenings;
    QAction* editParameters;
    QAction* saveParameters;
    QAction* loadParameters;

    QMenu* analysis;
    QAction* startAnalysis;
    QAction* stopPhase;
    QAction* endAnalysis;

    QMenu* learning;
    QAction* startSession;
    QAction* stopSession;
    QAction* loadLessons;

    QMenu* options;
    QAction* numberSquares;
    QAction* alphabeticalNumbers;  // placeholder
    QAction* stopThinking;
    QAction* resetClocks;
    QAction* pauseClocks;
    QAction* ponder;
    QAction* stopByClick;
    QAction* showMoveMarks;
    QAction* decomposeCaptures;
    QMenu* sounds;
    QAction* beepEachMove;
    QAction* otherSounds;
    QAction* blindPlay;
    QMenu* tableSizes;
    // By index of engine::TableSizes.
    std::array<QAction*, 8> tableSize;
    QMenu* searchThreadsMenu;
    // Item k searches with k + 1 threads; as many items as this machine's
    // processors, up to engine::MaxSearchThreads.
    std::vector<QAction*> searchThreads;

    QMenu* help;
    QAction* guide;
    QAction* rules;
    QAction* about;
    QMenu* languageMenu;
    // By interface language: French, English, Dutch, Portuguese, Spanish, Italian.
    std::array<QAction*, 6> languages;

private:
    std::set<const QAction*> m_handled;
    std::vector<QPointer<QAction>> m_closedWhileThinking;
};

}  // namespace ui
