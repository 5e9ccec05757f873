#pragma once
// The new-game panel, "Nouvelle_partie": a page per way to play (a training
// game against the engine, a rated match, two people), each with its names,
// the roll of players and its OK and cancel. Return and Escape answer for
// the page shown.

#include "ui/dialog_panel.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

namespace ui {

class NewGamePanel : public DialogPanel {
    Q_OBJECT
public:
    explicit NewGamePanel(QWidget* parent);

    QTabWidget* pages;
    QWidget* training;  // "Entrainement"
    QWidget* match;     // "Match1"
    QWidget* twoPeople; // "Humain"

    QLineEdit* trainingName;
    QListWidget* trainingRoll;
    QRadioButton* engineWhite;
    QRadioButton* engineBlack;
    QPushButton* startTraining;
    QPushButton* cancelTraining;

    QLineEdit* matchName;
    QListWidget* matchRoll;
    QListWidget* matchRatings;
    QRadioButton* matchEngineWhite;
    QRadioButton* matchEngineBlack;
    QPushButton* resetEngineRating;  // "Ramener Tavolex à 2050"
    QLabel* matchRefusal;            // why a match cannot be rated
    QPushButton* startMatch;
    QPushButton* cancelMatch;

    QLineEdit* whiteName;
    QLineEdit* blackName;
    QListWidget* whiteRoll;
    QListWidget* whiteRatings;
    QListWidget* blackRoll;
    QListWidget* blackRatings;
    QPushButton* startTwoPeople;
    QPushButton* cancelTwoPeople;

private:
    void followPage();
};

}  // namespace ui
