#pragma once
// The panels the play itself opens over the board: the end of a game
// (with the rating lines of a rated one), the engine's draw offer, and the
// weakest level's excuse. The first two keep clear of the last move.

#include <vector>

#include "ui/dialog_panel.h"

class QLabel;

namespace ui {

// The row below the board: the capture notice ("Prise obligatoire
// majoritaire"), the draw offer with its refusal, and resigning.
class BelowBoardRow : public QWidget {
    Q_OBJECT
public:
    explicit BelowBoardRow(QWidget* parent);

    std::vector<QLabel*> captureLabels;  // "Prise" "obligatoire" "majoritaire"
    QPushButton* offerDraw;    // "Proposernul"
    QPushButton* drawRefused;  // "Nulrefus"
    QPushButton* resign;       // "Abandon"
};

class EndOfGamePanel : public DialogPanel {
    Q_OBJECT
public:
    explicit EndOfGamePanel(QWidget* parent);

    QLabel* message;      // "qui_gagne"
    QLabel* whiteRating;  // "Resultat_blanc"
    QLabel* blackRating;  // "Resultat_noir"
    QPushButton* ok;      // "BitBtn13"
};

class DrawOfferPanel : public DialogPanel {
    Q_OBJECT
public:
    explicit DrawOfferPanel(QWidget* parent);

    QPushButton* accept;   // "BitBtn14"
    QPushButton* decline;  // "Annul_nul"
};

// "Zut ! ce n'est pas cela que je voulais jouer.": along the board's bottom
// edge, with nothing to answer.
class ExcusePanel : public DialogPanel {
    Q_OBJECT
public:
    explicit ExcusePanel(QWidget* parent);
};

}  // namespace ui
