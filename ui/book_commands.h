#pragma once
// Opening libraries and learning as the window offers them: "Bibliothèques
// actives", changing the library set, the two editors (TForm2 for White,
// TForm3 for Black), learning the final position after an analysis
// ("Apprendre ?"), learning files, and unattended learning sessions.

#include <QObject>

#include "rules/board.h"

namespace ui {

class DialogPanel;
class TForm1;
class TForm2;

class BookCommands : public QObject {
    Q_OBJECT
public:
    explicit BookCommands(TForm1& window);

    // Both libraries from the program folder at start-up, and the book
    // choices' random numbers from the clock.
    void loadBooks();
    void switchBooks();
    void changeLibrarySet();
    void openEditor(rules::Side side);
    void saveEditor(rules::Side side);     // an editor's "Enregistrer"
    void discardEditor(rules::Side side);  // its cancel
    // "Apprendre ?" after an analysis: the final position into a learning file.
    void offerLearning();
    void hideLearnPrompt();
    void learnFinalPosition();
    void loadLessons();
    void startSession();
    void stopSession();
    // A session's game has ended: it is analysed, and when the analysis is
    // over (continueSession) its final position is learned into the
    // session's file and the next game begins.
    void sessionStep();
    void continueSession();

    TForm2* whiteEditor;  // "TForm2"
    TForm2* blackEditor;  // "TForm3"
    DialogPanel* learnPrompt;  // "Learn"

private:
    TForm2* editorOf(rules::Side side) const { return side == rules::White ? whiteEditor : blackEditor; }

    TForm1& w;
};

}  // namespace ui
