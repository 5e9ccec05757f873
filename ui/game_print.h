#pragma once
// The printed game, a page a player keeps: a heading with both names, the
// event, the date and the result; the moves numbered in columns, White's and
// Black's side by side; a diagram of the final position, and of the
// starting position when the game was set up from one; page numbers when
// the moves run over more than one page.

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

#include "game/game_state.h"
#include "rules/board.h"

class QPagedPaintDevice;

namespace ui {

// One numbered row of the moves: either half may be empty (Black's move
// when a set-up game starts with Black, White's last move of an unfinished
// game).
struct PrintedMove {
    int number = 0;
    QString white;
    QString black;
};

struct PrintedGame {
    QString white;                  // the players' names
    QString black;
    QString event;                  // what kind of game it was, as the window names it
    QDate date;
    game::GameResult result = game::GameResult::None;
    std::vector<PrintedMove> moves;
    // The position the game was set up from, with the side that moved first;
    // empty for a game from the usual start.
    std::optional<rules::Board> start;
    rules::Side startSide = rules::White;
    rules::Board final{};           // the position after the last move
    int language = 0;               // 0 French, 1 English, 2 Dutch, 3 Portuguese, 4 Spanish, 5 Italian
};

// The game as its record holds it, every ply up to the last one recorded,
// whichever position is shown.
PrintedGame printedGame(const game::GameState& g, const QString& event, QDate date, int language);

// Lays the game out on the device's pages and paints it. False when the
// device cannot be painted on (a PDF file that cannot be written).
bool printGame(QPagedPaintDevice& device, const PrintedGame& game);

}  // namespace ui
