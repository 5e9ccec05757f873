#pragma once
// The six interface languages: 0 French (the texts the windows are built
// with), 1 English, 2 Dutch, 3 Portuguese, 4 Spanish, 5 Italian.
//
// Captions are tables keyed by component name: one row per component with
// its text in each language. Applying a language writes each row's text
// into the component of that name, whatever its kind (menu, menu item, page
// of a page control, button, label, group box, or a panel's single label);
// rows whose component is not in the window are passed over. A row named
// after the window itself holds its title. Hints (the tooltips) are tables
// of the same kind, written into the components' tooltips.
//
// Texts chosen while the program runs come from the same file: the table
// below `Text`. Messages the core writes in French (a file that cannot be
// opened, a damaged data file) are said again in the interface language
// from that table by `translateMessage`.
//
// The main window holds windows of their own (the analysis window, the
// parameter editor, the two opening-library editors). Their components
// reuse names such as BitBtn1 with other meanings, so each has its own
// tables, and a table applied to a window never reaches into the windows
// it holds.

#include <QString>

#include <array>
#include <cstdint>
#include <span>

class QObject;
class QWidget;

namespace game {
enum class EndMessage : std::uint8_t;
}
namespace engine {
struct ThinkingWords;
struct AnalysisLine;
}// namespace engine

namespace ui::captions {

constexpr int NumLanguages = 6;
using Texts = std::array<const char*, NumLanguages>;

struct Caption {
    const char* component;
    Texts texts;
};

// The main window's menus, pages, buttons, panels, labels and groups.
std::span<const Caption> mainWindow();
// The start panel: the credits line and the board styles.
std::span<const Caption> startPanel();
// The tooltips of the main window's buttons.
std::span<const Caption> mainWindowHints();
// The window caption.
const Texts& windowTitle();

// A window of its own inside the main window, found by its object name,
// and one of its tables (a window may have several).
struct WindowCaptions {
    const char* window;
    std::span<const Caption> captions;
};
std::span<const WindowCaptions> ownWindows();
std::span<const WindowCaptions> ownWindowHints();

// The language's locale for Qt ("fr_FR", "en_US", "nl_NL", "pt_BR",
// "es_ES", "it_IT"); an index out of range is French.
const char* localeName(int language);

// Texts chosen while the program runs.
enum class Text {
    ComputerTurn,   // "Ordinateur joue"
    PlayerTurn,     // "Joueur joue"
    ComputerBlack,  // "Ordinateur noir"
    ComputerWhite,  // "Ordinateur blanc"
    WhiteUp,        // "Blancs:Bas->Haut"
    WhiteDown,      // "Blancs:Haut->Bas"
    Training,       // the mode caption
    TwoPeople,      // the mode caption when two people play
    Moves,          // "Coups : %1"
    CannotOpen,     // "Impossible d'ouvrir ce fichier"
    RatedGame,      // the mode caption of a rated game, "Match"
    UnreadableRating,  // why a match cannot be rated: %1 the player's name
    AnalysisProgress,  // %1 the move number, %2 the ply, %3 positions left
    AnalysisDone,      // "Analyse terminée"
    AnalysisStopped,   // "Analyse arrêtée"
    // Text import and export.
    FileTooLarge,      // %1 the file's size, %2 the largest read, in megabytes
    NoGameInFile,      // a text without any game
    ImportStopped,     // %1 the game's number, %2 its players, %3 the move number, %4 the move, %5 why
    ImportStoppedNoText,  // the same without the move's text: %1, %2, %3, %4 why
    ImportRefused,     // %1 the game's number, %2 its players, %3 why nothing changed
    MoveNotLegal,      // why: the move is not legal where it stands
    MoveAmbiguous,     // why: several captures fit what is written
    NotAMove,          // why: the text is no move
    MoveMissing,       // why: a move number lacks a move
    GameTooLong,       // why: %1 the plies a game keeps
    BadStartingPosition,  // why: %1 the FEN
    OtherGameType,     // why: %1 the GameType
    NameNotWritable,   // %1 the name an export cannot write
    SetupIdle,         // the set-up page before a set-up has begun
    SetupActive,       // ... and while clicks place pieces
    ReadOnlyFile,      // a save refused: %1 the file's name
    InternalError,     // an unforeseen fault caught by the window: %1 what it was
    ResumeInterrupted, // the last run did not end normally: its game back?
    ErrorCaption,      // the error box's caption, "Erreur"
    MissingFile,       // "Fichier absent : %1"
    ShortFile,         // "Fichier incomplet : %1"
    UnreadableFile,    // "Fichier illisible : %1"
    DamagedFile,       // "Fichier endommagé : %1"
    EvalWhite,         // the set-up page's static evaluations: %1 the value
    EvalBlack,
    Depth,             // the words of the "Calcul" page's thinking lines
    Nodes,
    Time,
    NodesPerSecond,
    Score,
    MoveCount,
    GameFiles,         // file dialog filters: "Fichiers Tavolex (*.dam)"
    TextFiles,
    CommentFiles,
    PdnFiles,
    DocFiles,
    LibraryFiles,
    LearningFiles,
    ParameterFiles,
    PictureFiles,
    AnalysisLongWhite,   // the analysis window's line of a White move: %1 the move
    AnalysisLongBlack,   // number, %2 the move played, %3 its score, %4 the best move, %5 its score
    AnalysisShortWhite,  // ... and the strip's, by the side pages
    AnalysisShortBlack,
    AnalysisHeader,      // "(ne pas prendre en compte ...)"
    AnalysisLegend,      // "+100 gagne un pion ; ..."
    Count
};
QString text(Text which, int language);

// The words of the thinking lines in the language; they stay valid for the
// whole run.
engine::ThinkingWords thinkingWords(int language);

// An analysed move in the language: the analysis window's long line (a
// marked move followed by the next two moves of the best line) or the
// strip's short one. A marked move starts with "*"; captures are written
// with "x".
enum class AnalysisForm { Long, Short };
QString analysisLine(const engine::AnalysisLine& line, AnalysisForm form, int language);

// A message of the core, line by line: a line that is one of the French
// texts above (with its %1 part, if it has one) comes back in the language;
// other lines are left as they are.
QString translateMessage(const QString& french, int language);

// A line of the thinking list said again in the language: its word, in
// whichever language it is written, is replaced; the figures stay.
QString thinkingLineIn(const QString& line, int language);

// The end-of-game panel's message; `winner` is the winner's name, used by
// the rated game's message only. Empty for EndMessage::None.
QString endMessage(game::EndMessage which, const QString& winner, int language);

// The object a row named `component` writes its text into in `window`: the
// window itself, a menu, an item, a page, a button, a label, a group box or
// a panel's single label; null when the window has none (components of the
// windows it holds are not looked at).
QObject* captionHolder(QWidget* window, const QString& component);

// Writes the language's texts into the components of `root` named in the
// table; returns how many components took a text.
int apply(QWidget* root, std::span<const Caption> table, int language);

// Writes the language's hints into the tooltips of the components named.
int applyHints(QWidget* root, std::span<const Caption> table, int language);

// The main window's tables to the main window and each of its own windows'
// tables to that window; the start panel is left to the caller.
int applyAll(QWidget* mainWindow, int language);

}  // namespace ui::captions
