#pragma once
// The set-up page of the side column, "Probleme0": the pieces to place, the
// piece chosen, whether presses on the board place pieces yet, the buttons
// that empty or fill the board, turn it, give the computer the other colour
// or the move, and each side's static evaluation.
//
// PositionSetup is the page's behaviour: a set-up begins with the first
// set-up action on the page and ends when the page is left (or the menu
// asks); a changed position then becomes a new game.

#include <QObject>
#include <QWidget>

#include <array>
#include <filesystem>

#include "rules/board.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ui {

class TForm1;

class SetupPage : public QWidget {
    Q_OBJECT
public:
    explicit SetupPage(const std::filesystem::path& programDir, QWidget* parent = nullptr);

    // The chosen piece's picture (or its code when the picture is missing).
    void showChosenPiece(rules::PieceCode code);

    QGroupBox* group;  // "PLACEZ LES PIONS"
    // By piece code: empty, white man, white king, black man, black king.
    std::array<QToolButton*, 5> pieces;
    QLabel* chosenPiece;  // "Piontemoin"
    QLabel* state;        // "Etat_installation"
    QPushButton* emptyBoard;  // "vider1"
    QPushButton* fillBoard;   // "remplir1"
    QPushButton* direction;   // "Bas_Haut"
    QPushButton* computerColour;  // "Couleurordi"
    QPushButton* sideToMove;      // "Couleurjoue"
    QLineEdit* whiteEvaluation;   // "Blancs"
    QLineEdit* blackEvaluation;   // "Noirs"

private:
    std::filesystem::path m_programDir;
};

class PositionSetup : public QObject {
    Q_OBJECT
public:
    explicit PositionSetup(TForm1& window);

    // "Installer une position": the flat board and the set-up page; the
    // menu ends a set-up under way too.
    void setUpFromMenu();
    // A press on the board while setting up puts the chosen piece there.
    void placePiece(rules::Square square);
    void choosePiece(rules::PieceCode code);
    void emptyBoard();
    void fillBoard();
    void flipDirection();
    void swapComputerColour();
    void passTheMove();
    // The captions that follow the state, in the interface language.
    void refreshCaptions();
    void refreshState();
    // Each side's static evaluation in hundredths of a man.
    void showEvaluation();
    // The person chose another page of the side column.
    void pageChanged(QWidget* from, QWidget* to);
    // A new game began: whatever was being set up ends with it.
    void newGameBegun();

private:
    void beginSetup();
    void endSetup();
    void showPage();

    TForm1& w;
    SetupPage& page;
};

}  // namespace ui
