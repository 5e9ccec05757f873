#pragma once
// TForm1, the main window: the start panel, the flat board with the two
// player panels, the page control with the move list, the overlay panels
// and the menus of every command. The game itself lives in the core; the
// window forwards clicks and commands to it and draws what it reports.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <vector>

#include "engine/analysis.h"
#include "engine/worker.h"
#include "files/game_file.h"
#include "files/text_import.h"
#include "game/core.h"
#include "game/end_of_game.h"
#include "game/person_move.h"
#include "ui/captions.h"
#include "ui/qt_host.h"

class QAction;
class QEventLoop;
class QRadioButton;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace ui {

class FlatBoard;
class HelpViewer;
class PerspectiveBoard;
class TForm2;
class TForm4;
class TForm5;

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
    // The animations keep the picture for a number of milliseconds, on a
    // timer. Tests put their own function here: it is called at each pause
    // instead, and the animation goes straight on.
    void setHoldFunction(std::function<void(int)> hold) { m_hold = std::move(hold); }
    void setFileDialog(FileDialogFunction dialog) { m_fileDialog = std::move(dialog); }
    void setPrintDialog(PrintDialogFunction dialog) { m_printDialog = std::move(dialog); }
    void setShowText(ShowTextFunction show) { m_showText = std::move(show); }
    // Tests drive the clock (whole seconds, as QtHost::readClock) and hear
    // the sounds through their own functions.
    void setClockFunction(std::function<std::int64_t()> clock) { m_host.setClockFunction(std::move(clock)); }
    void setSoundFunction(std::function<void(game::Sound)> sound) { m_host.setSoundFunction(std::move(sound)); }
    // The engine is thinking: about its own move, on the person's time, or
    // over a game being analysed.
    bool searching() const { return m_thinking != Thinking::None; }
    bool thinkingOnPersonTime() const { return m_thinking == Thinking::PersonTime; }
    // A move is being shown on the board.
    bool animating() const { return m_animating; }
    // Nothing is going on: no search, no animation, no pass waiting to run.
    bool idle() const { return m_thinking == Thinking::None && !m_animating && !m_passQueued; }
    // Every search of the engine (its moves and analyses) within these
    // limits rather than the level's; nothing: the level's again.
    void setFixedSearchLimits(std::optional<engine::SearchLimits> limits) { m_fixedLimits = limits; }
    // The settings a game file carries, as the window holds them now (the
    // level and its search controls wait for the engine's menus).
    files::GameSettings activeSettings() const;

    // A position to play from, with an empty record (position set-up and
    // new games come through here).
    void installPosition(const rules::Board& board, rules::Side side);

    // The start panel's board-style button for the flat board.
    void Damier2D1Click();

    // Edition and Affichage commands.
    void reprise();
    void avancer();
    void revenir_debut();
    void Aller_fin();
    void Inverser();
    void numerotation();
    // Fichier.
    void Ordinateur();   // "Humain contre humain"
    void quitter();
    void save();
    void ouvre();
    void Problmes1Click();
    void Button1Click();   // "Suivant ->": the next problem of the folder
    void Panel14Click();   // "Revoir coup": the same problem again
    void Crerunfichiertexte1Click();
    void Imprimer1Click();
    void Ouvrirunfichiertexte1Click();
    void ListBox16Click();
    void ListeCancelClick();
    // Position set-up.
    void Installeruneposition1Click();
    void Entrerpositionclick();
    void vider();
    void remplir();
    void Change_dir();
    void Change_couleur();
    void Couleur_joue();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    // The first activation of the window reads the resume file.
    void FormActivate();
    // The board's mouse handler: records the click, the game loop acts on it.
    void clic(int x, int y);
    // The move list's double-click.
    void revenir_n();
    // Draw offers and the end-of-game panel.
    void ProposernulClick();
    void BitBtn13Click();
    void BitBtn14Click();
    void Annul_nulClick();
    void Dcomposerlesprises1Click();
    void Button5Click();
    void AbandonClick();

    // The engine's commands (ui/form1_engine.cpp): levels, "Autre" with
    // Panel9, table sizes, clocks, stopping the search, the switches, the
    // sounds, self-play and "Editer coups".
    void selectLevelItem(int item);  // the sixteen items of engine::LevelTable
    void N8Autre1Click();
    void BitBtn24Click();
    void BitBtn25Click();
    void selectTableSize(int item);  // engine::TableSizes
    void pause();
    void Horlogeszro1Click();
    void Pause2Click();
    void Rflexionsurtempsadverse1Click();
    void Arretrflexionparclicsouris1Click();
    void Bipchaquecoup2Click();
    void Commentaires1Click();
    void Ordinateurcontreordinateur1Click();
    void Best1Click();
    void ajouter_temps();

    // One pass of the game loop; passes are run whenever something happened.
    void gameLoop();

    // Board styles, blind play, the picture, help, the about box, the
    // parameter editor and the languages (ui/form1_look.cpp).
    void Damier3D1Click();
    void Damier3D2Click();
    void Damier3D3Click();
    void Damier3D4Click();
    void Damier3D5Click();
    void Damier3D6Click();
    void Damier3D7Click();
    void Damier3D8Click();
    // A press on the perspective board at (x, y) of its image.
    void DamierImage1Click(int x, int y);
    void Jeuenaveugle1Click();
    void Editerlimagefichierbmp1Click();
    void Apropos1Click();
    void BitBtn6Click();
    void Guide1Click();
    void Rgles1Click();
    void Changer1Click();
    void parametreOKClick();
    void parametrecancelClick();
    void Sauverlesparamtres1Click();
    void Chargerdesparamtres1Click();
    // Players, new games and game analysis (ui/form1_players.cpp).
    void Nouveau2Click();
    void BitBtn15Click();
    void BitBtn16Click();
    void BitBtn17Click();
    void Annule_nouveauClick();
    void RamenerCorvandaClick();
    void Match21Click();
    void BitBtn7Click();
    void OClick();
    void Effacerunjoueur1Click();
    void ListBox7Click();
    void BitBtn20Click();
    void BitBtn12Click();
    void Changerlesnoms1Click();
    void OKjoueurClick();
    void Cancel_joueursClick();
    void inverser_joueurs();
    void Analyser();
    void pauseAnalysis();   // "Arrêter cette phase", "Suivant"
    void fin_analyse();     // "Terminer l'analyse", "Fin analyse"
    void Button3Click();    // "Editer analyse"
    void Button3aClick();   // "Imprimer analyse"
    bool analysisRunning() const { return m_analysisRunning; }
    // Opening libraries, position learning and sessions (ui/form1_books.cpp).
    void Bibliothquesactives1Click();
    void Changerbibliothqueouvertures1Click();
    void Ouverturespourlesblancs1Click();
    void Ouverturespourlesnoirs1Click();
    void BitBtn1Click(rules::Side side);  // an editor's "Enregistrer"
    void BitBtn2Click(rules::Side side);  // an editor's cancel
    void Apprendreposition1Click();
    void Learn_noClick();
    void Chargerdesleons1Click();
    void Lancerunesession1Click();
    void Arrterlasession1Click();
    TForm2* Form2 = nullptr;  // White's opening library
    TForm2* Form3 = nullptr;  // Black's
    rules::Side editorSide() const { return m_editorSide; }
    QTabWidget* Nouvelle_partie = nullptr;
    QWidget* Entrainement = nullptr;
    QWidget* Match1 = nullptr;
    QWidget* Humain = nullptr;
    QLineEdit* Joueur0 = nullptr;
    QLineEdit* Joueur1 = nullptr;
    QLineEdit* Joueur2 = nullptr;
    QLineEdit* Joueur3 = nullptr;
    QListWidget* ListBox8 = nullptr;
    QListWidget* ListBox9 = nullptr;
    QListWidget* ListBox10 = nullptr;
    QListWidget* ListBox11 = nullptr;
    QListWidget* ListBox12 = nullptr;
    QListWidget* ListBox13 = nullptr;
    QListWidget* ListBox14 = nullptr;
    QListWidget* ListBox15 = nullptr;
    QRadioButton* Corvanda_blanc = nullptr;
    QRadioButton* Corvanda_noir = nullptr;
    QRadioButton* Corvanda_blanc1 = nullptr;
    QRadioButton* Corvanda_noir1 = nullptr;
    QPushButton* BitBtn15 = nullptr;
    QPushButton* BitBtn16 = nullptr;
    QPushButton* BitBtn17 = nullptr;
    QPushButton* Annule_nouveau = nullptr;
    QPushButton* BitBtn18 = nullptr;
    QPushButton* BitBtn19 = nullptr;
    QPushButton* RamenerCorvanda = nullptr;
    QLabel* Refus_match = nullptr;   // why a match cannot be rated
    QFrame* Nouveau_joueur = nullptr;
    QLineEdit* Joueur = nullptr;
    QRadioButton* K1600 = nullptr;
    QRadioButton* K1700 = nullptr;
    QRadioButton* K1800 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* O = nullptr;
    QFrame* Efface_j = nullptr;
    QLineEdit* joueur_efface = nullptr;
    QPushButton* BitBtn20 = nullptr;
    QPushButton* BitBtn12 = nullptr;
    QFrame* Joueurs = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* OKjoueur = nullptr;
    QPushButton* Cancel_joueurs = nullptr;
    QPushButton* Abandon = nullptr;
    QFrame* Panel17 = nullptr;       // the analysis strip
    QListWidget* ListBox6 = nullptr;
    QFrame* Learn = nullptr;
    TForm4* Form4 = nullptr;         // the analysis window

    // 0 the flat board, 1..8 the perspective styles.
    int boardStyle() const { return m_style; }
    // The file a save or open dialog returns ("" when cancelled); tests
    // put their own function here.
    using PathDialog = std::function<QString(bool save, const QString& folder, const QString& filter)>;
    void setPathDialog(PathDialog dialog) { m_pathDialog = std::move(dialog); }
    HelpViewer* helpViewer() const { return m_help; }
    // Language selection from the start panel or the menu (Button5Click,
    // French, is with the start panel): English, Dutch, Portuguese,
    // Spanish, Italian.
    void Button6Click();
    void Button7Click();
    void Button2Click();
    void Button8Click();
    void Button1AClick();
    // The interface language: the index of the marked language item.
    int interfaceLanguage() const;

    // Components, by the names the rest of the program knows them by.
    FlatBoard* Damier = nullptr;
    QFrame* Intro = nullptr;
    QFrame* Panel6 = nullptr;  // Black's player panel
    QFrame* Panel7 = nullptr;  // White's player panel
    QLabel* minnoir = nullptr;
    QLabel* secnoir = nullptr;
    QLabel* Nbpionsnoirs = nullptr;
    QLabel* Nom_noir = nullptr;
    QLabel* minblanc = nullptr;
    QLabel* secblanc = nullptr;
    QLabel* Nbpionsblancs = nullptr;
    QLabel* Nom_blanc = nullptr;
    QLabel* Prise = nullptr;
    QLabel* obligatoire = nullptr;
    QLabel* majoritaire = nullptr;
    QLabel* Nbcoups3d = nullptr;
    QLabel* Panel11 = nullptr;
    QPushButton* Proposernul = nullptr;
    QPushButton* Nulrefus = nullptr;
    QTabWidget* Onglet = nullptr;
    QWidget* Liste = nullptr;
    QWidget* Calcul = nullptr;
    QWidget* Probleme0 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QListWidget* ListBox5 = nullptr;
    QPushButton* Abandon1 = nullptr;
    QPushButton* Abandon2 = nullptr;
    QPushButton* Joue = nullptr;
    QPushButton* Button9 = nullptr;
    QFrame* Zut = nullptr;           // "Zut ! ce n'est pas cela que je voulais jouer."
    QFrame* Panel9 = nullptr;        // "30 coups en : " Nbminutes "minutes"
    QLineEdit* Nbminutes = nullptr;
    QPushButton* BitBtn24 = nullptr;
    QPushButton* BitBtn25 = nullptr;
    QTimer* Timer1 = nullptr;        // the clocks' one-second tick
    QFrame* fin_de_parties = nullptr;
    QLabel* qui_gagne = nullptr;
    QLabel* Resultat_blanc = nullptr;
    QLabel* Resultat_noir = nullptr;
    QPushButton* BitBtn13 = nullptr;
    QFrame* Match_nul = nullptr;
    QPushButton* BitBtn14 = nullptr;
    QPushButton* Annul_nul = nullptr;
    QPushButton* Panel13 = nullptr;  // "Suivant ->"
    QPushButton* Panel14 = nullptr;  // "Revoir coup"
    QFrame* Panel2 = nullptr;        // the chooser of a game among several in a text file
    QListWidget* ListBox16 = nullptr;
    QPushButton* ListeOK = nullptr;
    QPushButton* ListeCancel = nullptr;
    QGroupBox* Probleme = nullptr;   // "PLACEZ LES PIONS"
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    QToolButton* SpeedButton13 = nullptr;
    QToolButton* SpeedButton14 = nullptr;
    QLabel* Piontemoin = nullptr;
    QPushButton* vider1 = nullptr;
    QPushButton* remplir1 = nullptr;
    QPushButton* Bas_Haut = nullptr;
    QPushButton* Couleurordi = nullptr;
    QPushButton* Couleurjoue = nullptr;
    QLineEdit* Blancs = nullptr;
    QLineEdit* Noirs = nullptr;
    QLabel* Etat_installation = nullptr;  // whether board clicks place pieces yet
    // The perspective board's panel: the image, the clocks and counters.
    QFrame* Panel10 = nullptr;
    PerspectiveBoard* Image5 = nullptr;
    QFrame* Horlogenoir3d = nullptr;
    QFrame* Horlogeblanc3d = nullptr;
    QLabel* minnoir3d = nullptr;
    QLabel* secnoir3d = nullptr;
    QLabel* minblanc3d = nullptr;
    QLabel* secblanc3d = nullptr;
    QLabel* N3D = nullptr;
    QLabel* Nbn3d = nullptr;
    QLabel* B3D = nullptr;
    QLabel* Nbb3d = nullptr;
    QFrame* Panel8 = nullptr;  // the about box
    QPushButton* BitBtn6 = nullptr;
    TForm5* Form5 = nullptr;   // the parameter editor

    // The menus and the items the window itself uses; every item also
    // carries its component name as object name.
    QMenu* Fichier1 = nullptr;
    QMenu* Edition1 = nullptr;
    QMenu* Affichage1 = nullptr;
    QMenu* Joueurs1 = nullptr;
    QMenu* Niveau1 = nullptr;
    QMenu* Ouvertures1 = nullptr;
    QMenu* Analyse2 = nullptr;
    QMenu* Apprentissage1 = nullptr;
    QMenu* Options1 = nullptr;
    QMenu* Aide1 = nullptr;
    QAction* Humaincontrehumain1 = nullptr;
    QAction* Quitter1 = nullptr;
    QAction* Sauver1 = nullptr;
    QAction* Ouvrir1 = nullptr;
    QAction* Problmes1 = nullptr;
    QAction* Installeruneposition1 = nullptr;
    QAction* Imprimer1 = nullptr;
    QAction* Crerunfichiertexte1 = nullptr;
    QAction* Ouvrirunfichiertexte1 = nullptr;
    QAction* Bibliothquesactives1 = nullptr;
    QAction* Reprendrecoups1 = nullptr;
    QAction* Avancercoups1 = nullptr;
    QAction* Reveniraudebut1 = nullptr;
    QAction* Allerlafin1 = nullptr;
    QAction* Damier2D1 = nullptr;
    QAction* Inverserdamier1 = nullptr;
    QAction* Numeroterlescases1 = nullptr;
    QAction* Alphabeticalnumber1 = nullptr;
    QAction* Dcomposerlesprises1 = nullptr;
    QAction* Jeuenaveugle1 = nullptr;
    QAction* Franais1 = nullptr;
    QAction* Ordinateurcontreordinateur1 = nullptr;
    QAction* Rflexionsurtempsadverse1 = nullptr;
    QAction* Arretrflexionparclicsouris1 = nullptr;
    QAction* Bipchaquecoup2 = nullptr;
    QAction* Commentaires1 = nullptr;
    QAction* Pause2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildIntro();
    void buildBoardSide();
    void buildOverlays();
    // The start-up sequence behind a board-style button.
    void Introduction();
    void readOptions();
    void showCaptureLabels(bool shown);
    void refreshCounts();
    void refreshPlayers();
    void refreshMoveList();
    void placePlayerPanels();
    void repaintBoard();
    void afterNavigation();
    void requestPass();
    void refreshTimer();
    bool readyToNavigate();
    void personClick(const game::PersonClick& click);
    // Shows `ops` on the board, holding the picture where they say so on a
    // timer, then runs `then`. A move just played is already in the game;
    // the board only catches up with it.
    void performOps(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then);
    void continueOps();
    // Whatever an animation had left to show is shown at once.
    void finishOps();
    void showEndOfGame(const game::EndOfGame& end);
    // ui/form1_engine.cpp
    enum class Thinking : std::uint8_t { None, OwnMove, PersonTime, Analysis };
    void buildEngine();
    bool startEngine();
    void askEngine(engine::SearchInput input, Thinking what);
    void engineThinking(const engine::SearchStats& stats);
    void engineAnswered(const engine::SearchOutput& out);
    // Stops a search whose answer is no longer wanted: the game is about to
    // change. Its answer, when it comes, is let go.
    void abandonThinking();
    void startEngineTurn();
    void finishEngineTurn(const engine::SearchOutput& out);
    void startThinkingOnPersonTime();
    void analysisAnswered(const engine::SearchOutput& out);
    void analyseNextPosition();
    void engineBusy(bool busy);
    void showThinking(const engine::SearchStats& stats);
    void clearThinking();
    void showRootMove(const engine::RootMoveLine& line);
    void refreshClocks();
    void applyLevelSettings(const files::GameSettings& settings);
    void refreshLevelMarks();
    // ui/form1_look.cpp
    void buildLook();
    void chooseStyle(int style);
    void selectStyle(int style);
    void showPerspective(bool on);
    void syncPanel10();
    void showHelp(const QString& page);
    void selectLanguage(int language);
    void applyCaptionSet(int language);
    QString runText(captions::Text which) const;

    // Game files, problems, text and set-up (form1_files.cpp).
    void buildFilePanels();
    void buildSetupGroup();
    bool busy() const;
    void showFileError();
    std::filesystem::path folderOf(const char* name, bool create) const;
    void showLevel(int level);
    void restoreResumeFile();
    // Opening's steps 3 and 5 to 9: settings but the language, the game, the display.
    void showGameFile(const files::GameFile& file, bool problem);
    void afterGameChange();
    bool loadProblem(const QString& folder, const QString& name);
    QStringList problemListing() const;
    void importChosenGame(int index);
    QString importMessage(const files::ParsedGame& parsed, int number, const files::ReplayOutcome& out) const;
    void selectPiece(rules::PieceCode code);
    void choosePieceToPlace(rules::PieceCode code);
    void beginSetup();
    void endSetup();
    void showSetupPage();
    void refreshSetupState();
    void refreshSetupCaptions();
    void showEvaluation();
    void setPage(QWidget* page);
    void pageChanged();
    void OngletChanging(QWidget* from);
    void OngletChange(QWidget* to);

    // ui/form1_books.cpp
    void buildBooks();
    void loadBooks();
    void openEditor(rules::Side side);
    void sessionStep();
    void continueSession();
    rules::Side m_editorSide = rules::White;
    // ui/form1_players.cpp
    void buildPlayers();
    void fillRollLists();
    void startedNewGame();
    void refreshMode();
    void showRatingLines(const game::EndOfGame& end);
    void finishAnalysis();
    void analysisFinished();
    std::vector<QPointer<QAction>> m_analysisFrozen;  // the menus an analysis closed
    std::vector<QPointer<QAction>> m_matchDisabled;  // items a rated game switched off
    bool m_analysisRunning = false;
    bool m_finishRequested = false;
    int m_analysedLines = 0;

    game::Core m_core;
    QtHost m_host;
    std::function<void(int)> m_hold;
    bool m_introDone = false;
    bool m_passQueued = false;
    bool m_numbering = false;

    // The engine's worker, what it is thinking about, and the ticket of the
    // request whose answer is awaited (0: none).
    std::unique_ptr<engine::EngineWorker> m_worker;
    Thinking m_thinking = Thinking::None;
    std::uint64_t m_ticket = 0;
    std::uint64_t m_lastTicket = 0;
    std::optional<engine::SearchLimits> m_fixedLimits;
    // The game analysis under way, a position at a time.
    engine::GameAnalysis m_analysis;
    std::unique_ptr<engine::AnalysisObserver> m_analysisView;
    bool m_analysisStopped = false;  // "Terminer l'analyse" while a position was searched

    // The animation under way: its steps, where it stands, and what follows it.
    bool m_animating = false;
    std::vector<rules::ViewOp> m_ops;
    std::size_t m_nextOp = 0;
    std::size_t m_lastRedraw = 0;
    bool m_opsPlayed = false;
    rules::Board m_boardBefore{};
    std::function<void()> m_afterOps;
    QTimer* m_opsTimer = nullptr;
    // The items engineBusy disabled, to be enabled again afterwards.
    std::vector<QPointer<QAction>> m_busyDisabled;

    FileDialogFunction m_fileDialog;
    PrintDialogFunction m_printDialog;
    ShowTextFunction m_showText;
    files::GameSettings m_settings;  // minutes, level and search controls; the language is the checked item
    bool m_resumeRead = false;       // the first activation has read "last32.dam"
    QString m_problemFolder;         // where the last problem was chosen
    QString m_problemName;           // its place in that folder's listing
    bool m_choosing = false;         // Panel2 waits for a choice among the games read
    std::vector<files::ParsedGame> m_importGames;  // the games of the text being imported
    QWidget* m_shownPage = nullptr;
    bool m_pageGuard = false;        // a page chosen by the program, not by the person
    // ui/form1_look.cpp
    int m_style = 0;
    int m_lastPerspective = 0;  // the perspective style whose files are loaded
    std::vector<QPointer<QWidget>> m_shifted;  // moved aside for the perspective board
    PathDialog m_pathDialog;
    HelpViewer* m_help = nullptr;
};

}  // namespace ui
