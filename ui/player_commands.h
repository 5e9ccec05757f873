#pragma once
// The players as the window offers them: the new-game panel and its three
// ways to play, the roll's panels (a new player, deleting one), changing
// the names, swapping sides, resigning a rated game, the rating lines of
// the end-of-game panel, and the mode shown on every pass.

#include <QObject>
#include <QPointer>

#include <vector>

#include "game/end_of_game.h"

class QAction;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace ui {

class DialogPanel;
class NewGamePanel;
class TForm1;

class PlayerCommands : public QObject {
    Q_OBJECT
public:
    explicit PlayerCommands(TForm1& window);

    void offerNewGame();
    void startTrainingGame();
    void startMatch();
    void startTwoPersonGame();
    void cancelNewGame();
    void resetEngineRating();
    void offerNewPlayer();
    void addPlayer();
    void offerPlayerDeletion();
    void deletePlayer();
    void offerRenaming();
    void rename();
    void swapSides();
    void resign();
    void showRatingLines(const game::EndOfGame& end);
    // A rated game shows "Match" and the resign buttons and switches off
    // what would help the person; other games get back what a match took.
    void refreshMode();

    NewGamePanel* newGame;  // "Nouvelle_partie"
    DialogPanel* newPlayer;  // "Nouveau_joueur"
    QLineEdit* newPlayerName;
    QRadioButton* startAt1600;
    QRadioButton* startAt1700;
    QRadioButton* startAt1800;
    DialogPanel* deletion;   // "Efface_j"
    QListWidget* deletionRoll;
    QLineEdit* deletedName;
    DialogPanel* renaming;   // "Joueurs"
    QLineEdit* whiteName;
    QLineEdit* blackName;

private:
    void fillRollLists();
    // What every way to play shows once its game is set up.
    void startedNewGame();

    TForm1& w;
    std::vector<QPointer<QAction>> m_matchDisabled;  // items a rated game switched off
};

}  // namespace ui
