#pragma once
// Game files as the window offers them: saving and opening, the resume file
// read at the first start and written at "Quitter", the recovery file kept
// after every move, problems with "Suivant ->" and "Revoir coup", the text
// export, printing, and the text import with its chooser (Panel2). The work
// on the game is done by files/; this side asks for names and shows boxes.

#include <QObject>
#include <QString>
#include <QStringList>

#include <filesystem>

#include "files/game_file.h"

class QEventLoop;
class QListWidget;

namespace ui {

class DialogPanel;
class TForm1;

class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(TForm1& window);

    void saveGame();
    void openGame();
    void openProblem();
    void nextProblem();    // "Suivant ->": the next problem of the folder
    void replayProblem();  // "Revoir coup": the same problem again
    void exportText();
    void printGame();
    void importText();

    // The window showed or became active: the first time, the resume file's
    // language becomes the interface's (not inside the event itself, so
    // that a box about a missing file does not open within it).
    void windowShown();
    // The same at once, for a start that comes before any showing.
    void readResumeSettings();
    // The game of the resume file, or the one a run that ended abnormally
    // left, offered back.
    void restoreResumeFile();
    void saveResumeFile();
    // The game as it stands, kept after every move: should the program end
    // without "Quitter" or the window being closed, the next start offers
    // it back. A keep that fails says nothing: it must not interrupt play.
    void keepForRecovery();
    // The program ends as it should: there is nothing to recover.
    void forgetRecovery();

    // A game is being chosen from a text file.
    bool choosing() const { return m_chooserLoop != nullptr; }
    void cancelChoice();

    DialogPanel* chooser;     // "Panel2"
    QListWidget* gameLines;   // "ListBox16"

private:
    // Installs a game file's game, level and minutes; the language stays.
    void showGameFile(const files::GameFile& file, bool problem);
    bool offerRecovery();
    bool loadProblem(const QString& folder, const QString& name);
    QStringList problemListing() const;
    // Shows the chooser and waits for OK or Cancel; the index chosen or -1.
    int chooseGame(const QStringList& lines);
    void acceptChoice();

    TForm1& w;
    bool m_resumeRead = false;        // the first activation has read "last32.dam"
    QString m_problemFolder;          // where the last problem was chosen
    QString m_problemName;            // its place in that folder's listing
    QEventLoop* m_chooserLoop = nullptr;
    int m_chosenGame = -1;
};

}  // namespace ui
