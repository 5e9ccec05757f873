#pragma once
// The evaluation's weights by name: the numbers of its terms that are not in
// the parameter file (king values, rule groups, shots, clamps). Their values
// are written in data/eval_weights.txt and compiled in; this list is what
// that file must name, each exactly once. Values are in 1/200 of a man,
// except the scales, which are in percent of the rule values written in the
// code (100 keeps them as written).

#include <array>
#include <string_view>

namespace eval {

enum Weight : int {
    // A king's value by the number of pieces on the board, against the phase
    // thresholds: more than p1, more than p2, more than p3, fewer.
    KingOpening,
    KingMiddle,
    KingPreEndgame,
    KingEndgame,
    LoneKingBonus,       // added to the king's value when there is one king on the board
    LongDiagonalKing,    // a king of each side on the long diagonal, with few men
    CentreFile,          // per point of the centre sums (file weights 0 2 3 5 5 3 2 0)
    WingSpread,          // per man of difference between the own half's two wings
    PositionalClamp,     // the positional group's limit while the board is full
    WingBalance,         // per man short of holding the opponent's advanced wing
    LastMoveOffer,       // a man left en prise by the last move, for the mover
    FinalClamp,          // the positional sum's limit: below a man
    KingsRace,           // per row of tempo, one man each and kings two against one
    RootMoveLine,        // in the endgame, lines opened by a man move
    // Men near promotion, by rule group (percent).
    BreakthroughRowSeven,   // men on a7 and row 7
    BreakthroughRowSix,     // men on row 6
    BreakthroughOpenFiles,  // men on rows 5 and 4 with open files
    BreakthroughCorner,     // the h-corner and the lone defender
    BreakthroughClamp,      // limit of the doubled sum
    BreakthroughToMove,     // percent added in favour of the side to move
    // Formations of men, by rule group (percent).
    StructureOpening,
    StructureBackRows,
    StructureLateWings,
    StructureLocks,
    StructureEdgeFiles,
    StructureDeepMen,
    StructureWingThreats,
    StructureEdgeMen,
    StructureCornerGuard,
    StructureChains,
    StructureTwoAgainstThree,
    StructureShortOfMen,
    StructureFileChains,
    StructureWedges,
    StructureClamp,
    // Loose men (percent of the rule values), and their limit.
    ManSafety,
    ManSafetyClamp,
    // Known shots by the gain the catalogue gives them: a man, a man and a
    // half, two men or more.
    ShotSmall,
    ShotMedium,
    ShotLarge,
    NumWeights
};

// The names used in data/eval_weights.txt, in the order above.
inline constexpr std::array<std::string_view, NumWeights> WeightNames = {
    "king-opening",
    "king-middle",
    "king-pre-endgame",
    "king-endgame",
    "lone-king-bonus",
    "long-diagonal-king",
    "centre-file",
    "wing-spread",
    "positional-clamp",
    "wing-balance",
    "last-move-offer",
    "final-clamp",
    "kings-race",
    "root-move-line",
    "breakthrough-row-seven",
    "breakthrough-row-six",
    "breakthrough-open-files",
    "breakthrough-corner",
    "breakthrough-clamp",
    "breakthrough-to-move",
    "structure-opening",
    "structure-back-rows",
    "structure-late-wings",
    "structure-locks",
    "structure-edge-files",
    "structure-deep-men",
    "structure-wing-threats",
    "structure-edge-men",
    "structure-corner-guard",
    "structure-chains",
    "structure-two-against-three",
    "structure-short-of-men",
    "structure-file-chains",
    "structure-wedges",
    "structure-clamp",
    "man-safety",
    "man-safety-clamp",
    "shot-small",
    "shot-medium",
    "shot-large",
};

using WeightValues = std::array<int, NumWeights>;

// Every weight lies in this range; the file reader refuses anything beyond.
constexpr int MinWeight = -2000;
constexpr int MaxWeight = 2000;

}  // namespace eval
