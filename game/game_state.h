#pragma once
// The state of the game being played or viewed.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/record.h"
#include "rules/board.h"

namespace game {

// The tick items of the menus the game reads when it needs them.
struct GameOptions {
    bool humanVsHuman = false;        // "Humain contre humain"
    bool decomposeCaptures = false;   // "Décomposer les prises"
    bool selfPlay = false;            // "Ordinateur contre ordinateur"
    bool stopByClick = true;          // "Arret réflexion par clic souris"
    bool beepEachMove = false;        // "Bip à chaque coup"
    bool otherSounds = true;          // "Autres": sounds at the end of a game
};

// A side's clock: seconds used so far, and the moment its current turn began.
struct SideClock {
    std::int32_t total = 0;
    std::int32_t minutes = 0;   // shown: total / 60
    std::int32_t seconds = 0;   // shown: total % 60
    std::int64_t reference = 0;  // clock reading when the side's current turn began
    std::int32_t shown = 0;      // last total shown while its turn runs
};

// A rated game (a match) from its start until its result has gone to the
// ratings. Only a game in progress can be lost on time or resigned.
enum class RatedState : std::uint8_t { None, InProgress, Done };

// The result of a game, with the codes the game file stores.
enum class GameResult : std::uint8_t { BlackWon = 0, Draw = 1, WhiteWon = 2, None = 3 };

struct GameState {
    GameRecord record;
    GameOptions options;

    rules::Side sideToMove = rules::White;
    rules::Side computerColour = rules::Black;
    bool engineToMove = false;
    bool setupMode = false;         // pieces are being placed by hand
    bool setupChanged = false;      // ... and the position was changed since the set-up began
    rules::PieceCode setupPiece = rules::Empty;  // what a set-up click puts on a square
    bool computerToMove = false;    // the set-up position is to be played on by the computer
    bool navigated = false;         // no thinking on the person's time until the engine's next move
    RatedState ratedGame = RatedState::None;
    bool computerPlays = true;      // false when two people play
    int legalMoveCount = 0;
    rules::Square lastMoveFrom = 0; // the engine's last move, framed on the board
    rules::Square lastMoveTo = 0;
    bool inverted = false;          // board turned by 180 degrees
    // What the game waits on the person for. They are named after what the
    // window shows because showing it is the whole of the state: an offer
    // stands while its panel shows, and a move or a new game withdraws it.
    bool drawRefusedShown = false;  // the "Nul refusé" notice
    bool drawOfferShown = false;    // the engine's offer, panel Match_nul
    bool moveNowRequest = false;    // the next pass gives the move to the engine
    // The weakest level played its second choice on purpose; decided with
    // the engine's move, so the window can say so when it shows the move.
    bool zutShown = false;
    bool endPanelShown = false;     // the end-of-game panel

    SideClock whiteClock;
    SideClock blackClock;
    std::int32_t lastShown = 0;     // last total shown for either side
    bool clockRunning = false;
    bool paused = false;            // the "Pause" tick

    // The engine's turn and the end of the game.
    bool pondered = false;          // the engine has thought on this person's turn
    GameResult lastResult = GameResult::None;
    // Pieces on the board after each engine move, by ply counter.
    std::array<std::int32_t, 256> pieceTotals{};

    PlayerName whiteName{};
    PlayerName blackName{};
    int whiteRating = 1500;         // the players' ratings, for the rated time rule
    int blackRating = 1500;
    // The players' lines in the roll; negative: the result is not stored.
    // They are remembered from one rated game to the next.
    int whiteLine = -1;
    int blackLine = -1;

    // The "Coups joués" list: line i holds plies 2i + 1 and 2i + 2. The core
    // keeps the written lines, not the window: the selected line is where
    // goToSelectedMove goes, and a game read from a file selects its last.
    std::vector<std::string> moveList;
    int selectedLine = -1;          // -1: no line selected
};

}  // namespace game
