#pragma once
// TForm1, the main window. It owns the core and the window's parts (the
// start panel, the board views, the side column with the player panels and
// the pages, the panels that ask something) and plays the game: the game
// loop's passes, the board's clicks, the engine's turns on its worker, the
// moves shown on the board, the end of a game, draw offers, navigation.
//
// The other commands live in groups of their own (engine settings, files,
// position set-up, players, analysis, libraries and learning, looks and
// languages); each works on the core and the parts through the services
// this window offers.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/worker.h"
#include "files/game_file.h"
#include "files/program_folder.h"
#include "game/core.h"
#include "game/end_of_game.h"
#include "game/person_move.h"
#include "ui/captions.h"
#include "ui/qt_host.h"

class QLabel;
class QPrinter;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTimer;

namespace ui {

class AnalysisCommands;
class BelowBoardRow;
class BoardAnimation;
class BoardView;
class BookCommands;
class DialogPanel;
class DrawOfferPanel;
class EndOfGamePanel;
class EngineCommands;
class EngineLink;
class ExcusePanel;
class FileCommands;
class FlatBoard;
class LookCommands;
class MoveListPage;
class PerspectivePanel;
class PlayArea;
class PlayerCommands;
class PlayerPanel;
class PositionSetup;
class SetupPage;
class SideColumn;
class StartPanel;
class ThinkingPage;
struct MainMenus;

// What the window asks of a file dialog, and the answer. Tests put their
// own function in place of the dialog.
struct FileRequest {
    bool save = false;
    QString directory;
    QStringList filters;    // "Fichiers Tavolex (*.dam)", ...
    QString defaultSuffix;  // without the dot
};
struct FileAnswer {
    QString path;    // empty: the user cancelled
    QString filter;  // the filter the user chose
};
using FileDialogFunction = std::function<FileAnswer(const FileRequest&)>;
// Sets up the printer and says whether to print.
using PrintDialogFunction = std::function<bool(QPrinter&)>;
// Shows a text file to the person without waiting (the comments of a problem).
using ShowTextFunction = std::function<void(const QString&)>;

// The non-native file dialog the window uses unless told otherwise.
FileAnswer runFileDialog(QWidget* parent, const FileRequest& request);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(std::filesystem::path programDir, QWidget* parent = nullptr);
    ~TForm1() override;

    game::Core& core() { return m_core; }
    QtHost& host() { return m_host; }
    MainMenus& menus() { return *m_menus; }

    // --- Hooks for tests and for the program's start -----------------------
    // The animations keep the picture for a number of milliseconds, on a
    // timer. Tests put their own function here: it is called at each pause
    // instead, and the animation goes straight on.
    void setHoldFunction(std::function<void(int)> hold);
    void setFileDialog(FileDialogFunction dialog) { m_fileDialog = std::move(dialog); }
    void setPrintDialog(PrintDialogFunction dialog) { m_printDialog = std::move(dialog); }
    void setShowText(ShowTextFunction show) { m_showText = std::move(show); }
    // Asks the person a yes-or-no question (the game left by a run that did
    // not end normally); tests answer it themselves.
    void setQuestionFunction(std::function<bool(const QString&)> ask) { m_ask = std::move(ask); }
    // Tests drive the clock (whole seconds, as QtHost::readClock) and hear
    // the sounds through their own functions.
    void setClockFunction(std::function<std::int64_t()> clock) { m_host.setClockFunction(std::move(clock)); }
    void setSoundFunction(std::function<void(game::Sound)> sound) { m_host.setSoundFunction(std::move(sound)); }
    // Every search of the engine (its moves and analyses) within these
    // limits rather than the level's; nothing: the level's again.
    void setFixedSearchLimits(std::optional<engine::SearchLimits> limits) { m_fixedLimits = limits; }
    const std::optional<engine::SearchLimits>& fixedSearchLimits() const { return m_fixedLimits; }
    // A fault no handler foresaw reached the event loop: the error box says
    // so, and the game is kept (ui::Application calls this).
    void reportInternalError(const std::string& what);

    // --- State -------------------------------------------------------------
    enum class Thinking : std::uint8_t { None, OwnMove, PersonTime, Analysis };
    Thinking thinking() const { return m_thinking; }
    // The engine is thinking: about its own move, on the person's time, or
    // over a game being analysed.
    bool searching() const { return m_thinking != Thinking::None; }
    bool thinkingOnPersonTime() const { return m_thinking == Thinking::PersonTime; }
    // A move is being shown on the board.
    bool animating() const;
    // Nothing is going on: no search, no animation, no pass waiting to run.
    bool idle() const { return m_thinking == Thinking::None && !animating() && !m_passQueued; }
    // A board was chosen on the start panel.
    bool started() const { return m_started; }
    // Commands that replace the game wait: before a board is chosen, and
    // while a game is being chosen from a text file.
    bool busy() const;
    bool analysisRunning() const;
    // The interface language: the index of the marked language item.
    int interfaceLanguage() const;
    QString runText(captions::Text which) const { return captions::text(which, interfaceLanguage()); }

    // --- Playing -----------------------------------------------------------
    // A position to play from, with an empty record (position set-up and
    // new games come through here).
    void installPosition(const rules::Board& board, rules::Side toMove);
    // A press on a board view: the square under it, or 0.
    void pressSquare(rules::Square square);
    // Navigation: the game shown moves through its record.
    void takeBack();
    void stepForward();
    void goToStart();
    void goToEnd();
    void goToSelectedMove();
    void invertBoard();
    // "Humain contre humain": two people play, or one against the engine again.
    void switchTwoPeople();
    void quit();
    // The engine searches `input`; its answer comes back to engineAnswered.
    void askEngine(engine::SearchInput input, Thinking what);
    // Stops a search whose answer is no longer wanted: the game is about to
    // change. Its answer, when it comes, is let go.
    void abandonThinking();
    // The engine plays its best move so far, or (analysing) reports it.
    void stopSearch();
    // The start-up behind a board-style button: the first time, the engine's
    // knowledge, the pictures and the resume file.
    void startFromIntro();

    // --- Services for the command groups -----------------------------------
    // One pass of the game loop, soon; passes run whenever something happened.
    void requestPass();
    // Whatever an animation had left to show is shown at once.
    void finishOps();
    void repaintBoard();
    void refreshCounts();
    void refreshPlayers();
    void refreshClocks();
    void refreshMoveList();
    void refreshMoveNumber();
    void refreshTimer();
    void showCaptureLabels(bool shown);
    // The board, lists, names, clocks and counters after the game was replaced.
    void afterGameChange();
    // After a navigation command: the position, the move list's selection,
    // the counts, names and clocks as restored.
    void afterNavigation();
    void showEndOfGame(const game::EndOfGame& end);
    void showFileError();
    void showSaveError(const std::filesystem::path& file);
    // A folder of the program folder, made when asked.
    std::filesystem::path folderOf(const char* name, bool create) const {
        return files::subfolder(m_core.programDir, name, create);
    }
    FileAnswer askFile(const FileRequest& request) { return m_fileDialog(request); }
    bool askPrinter(QPrinter& printer) { return m_printDialog(printer); }
    void showTextFile(const QString& path) { m_showText(path); }
    bool askYesNo(const QString& question) { return m_ask(question); }
    // Shows a page of the side column as the program's choice, not the person's.
    void setPage(QWidget* page);
    // The flat board or a perspective style is the one in the window's place.
    void showBoardStyle(bool perspective);
    // The panel shows, placed over the board.
    void openPanel(DialogPanel* panel);
    // Reads the menus' switches into the game's options.
    void readOptions();
    // The commands the engine's thinking on its own move closes, and opens again.
    void engineBusy(bool busy);

    // --- Parts -------------------------------------------------------------
    // The parts' own members are repeated here under the window's names for
    // them, so that the command groups and tests reach them directly.
    StartPanel* startPanel = nullptr;
    PlayArea* area = nullptr;
    QStackedWidget* boardPlace = nullptr;
    FlatBoard* flatBoard = nullptr;
    PerspectivePanel* perspective = nullptr;
    SideColumn* side = nullptr;
    PlayerPanel* blackPanel = nullptr;  // "Panel6"
    PlayerPanel* whitePanel = nullptr;  // "Panel7"
    QTabWidget* pages = nullptr;        // "Onglet"
    MoveListPage* moveListPage = nullptr;
    ThinkingPage* thinkingPage = nullptr;
    SetupPage* setupPage = nullptr;
    QLabel* moveNumber = nullptr;  // "Nbcoups3d"
    QLabel* mode = nullptr;        // "Panel11"
    BelowBoardRow* belowBoard = nullptr;
    std::vector<QLabel*> captureLabels;  // "Prise" "obligatoire" "majoritaire"
    QPushButton* offerDraw = nullptr;    // "Proposernul"
    QPushButton* drawRefused = nullptr;  // "Nulrefus"
    QPushButton* resign = nullptr;       // "Abandon"
    EndOfGamePanel* endOfGame = nullptr;  // "fin_de_parties"
    QLabel* endMessage = nullptr;         // "qui_gagne"
    QLabel* whiteRating = nullptr;        // "Resultat_blanc"
    QLabel* blackRating = nullptr;        // "Resultat_noir"
    DrawOfferPanel* drawOffer = nullptr;  // "Match_nul"
    ExcusePanel* excuse = nullptr;        // "Zut"
    QTimer* clockTick = nullptr;          // "Timer1", the clocks' one-second tick

    // --- Command groups ----------------------------------------------------
    EngineCommands& engineCommands() { return *m_engine; }
    FileCommands& fileCommands() { return *m_files; }
    PositionSetup& positionSetup() { return *m_setup; }
    PlayerCommands& playerCommands() { return *m_players; }
    AnalysisCommands& analysisCommands() { return *m_analysis; }
    BookCommands& bookCommands() { return *m_books; }
    LookCommands& lookCommands() { return *m_look; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildArea();
    // One pass of the game loop.
    void gameLoop();
    void personClick(const game::PersonClick& click);
    bool readyToNavigate();
    // Shows `ops` on the board, then runs `then` (see BoardAnimation).
    void performOps(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then);
    void engineThinking(const engine::SearchStats& stats);
    void engineAnswered(const engine::SearchOutput& out);
    void startEngineTurn();
    void finishEngineTurn(const engine::SearchOutput& out);
    void startThinkingOnPersonTime();
    void offerDrawToEngine();
    void acceptEngineDraw();
    std::optional<QRect> lastMoveArea() const;
    std::vector<BoardView*> boardViews() const;

    game::Core m_core;
    QtHost m_host;
    std::unique_ptr<MainMenus> m_menus;
    bool m_started = false;
    bool m_passQueued = false;

    // The engine on its worker, and what it is thinking about.
    std::unique_ptr<EngineLink> m_engineLink;
    Thinking m_thinking = Thinking::None;
    std::optional<engine::SearchLimits> m_fixedLimits;
    BoardAnimation* m_animation = nullptr;
    // The items engineBusy disabled, to be enabled again afterwards.

    FileDialogFunction m_fileDialog;
    PrintDialogFunction m_printDialog;
    ShowTextFunction m_showText;
    std::function<bool(const QString&)> m_ask;
    QWidget* m_shownPage = nullptr;
    bool m_pageGuard = false;  // a page chosen by the program, not by the person
    bool m_placeKnown = false; // the window's size and place were set at the first showing

    std::unique_ptr<EngineCommands> m_engine;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<PositionSetup> m_setup;
    std::unique_ptr<PlayerCommands> m_players;
    std::unique_ptr<AnalysisCommands> m_analysis;
    std::unique_ptr<BookCommands> m_books;
    std::unique_ptr<LookCommands> m_look;
};

}  // namespace ui
