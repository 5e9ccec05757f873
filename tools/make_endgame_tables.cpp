// Solves every position of two to four pieces of the 22 endgame materials by
// retrograde analysis under our rules, and writes the 22 tables.
//
// usage: make_endgame_tables OUTPUT_DIR
//
// Unit of distance: plies until the game ends with best play (the winner
// taking the loser's last piece, or leaving the loser without a move); the
// winner picks the quickest win, the loser the slowest loss. Each byte holds
// +d for a win in d plies and -d for a loss in d plies; a side to move that
// has pieces but no move has lost at once and is stored as -1 (a real loss
// takes an even number of plies, so -1 is never ambiguous). Draws and
// placements that cannot occur are 0. A distance beyond 127 is stored as
// 127, which keeps the order of values.
//
// Materials are solved from the fewest pieces and men up: a capture or a
// promotion always leads into a material solved before, read through the
// same probe the engine uses.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/endgame.h"
#include "files/bytes.h"
#include "files/checksum.h"
#include "rules/fen.h"
#include "rules/movegen.h"

namespace fs = std::filesystem;

namespace {

constexpr int MaxStoredDistance = 127;

// The tables of one material, both sides to move (one table when the two
// sides have the same material).
const std::vector<std::vector<int>> MaterialSets = {
    {0},      {1, 2},   {3},                       // two pieces
    {4, 5},   {6, 7},   {8, 9},   {10, 11}, {12, 13}, {14, 15},  // three
    {16, 17}, {18, 19}, {20, 21},           // four
};

struct Position {
    rules::Board board;
    int table;
    std::size_t offset;
};

// Every legal placement of a table: the mover is White, men never on their
// own far row.
void placements(int table, std::vector<Position>& out) {
    const engine::EndgameTableInfo& e = engine::EndgameTableList[static_cast<std::size_t>(table)];
    std::vector<rules::PieceCode> pieces;
    for (int i = 0; i < e.moverMen; ++i) pieces.push_back(rules::WhiteMan);
    for (int i = 0; i < e.moverKings; ++i) pieces.push_back(rules::WhiteKing);
    for (int i = 0; i < e.otherMen; ++i) pieces.push_back(rules::BlackMan);
    for (int i = 0; i < e.otherKings; ++i) pieces.push_back(rules::BlackKing);
    rules::Board b{};
    b[0] = rules::Sentinel;
    // Like pieces on ascending squares, so each placement comes once.
    auto place = [&](auto&& self, std::size_t k, int from) -> void {
        if (k == pieces.size()) {
            const engine::TableSlot slot = engine::tableSlot(b, rules::White);
            if (slot.table != table) {
                std::fprintf(stderr, "make_endgame_tables: %s maps to another table\n",
                             rules::toFen(b, rules::White).c_str());
                std::exit(1);
            }
            out.push_back({b, table, slot.offset});
            return;
        }
        const rules::PieceCode c = pieces[k];
        const int start = k > 0 && pieces[k - 1] == c ? from : 1;
        for (int s = start; s <= rules::NumSquares; ++s) {
            if (b[s] != rules::Empty) continue;
            if (c == rules::WhiteMan && s <= 4) continue;
            if (c == rules::BlackMan && s >= 29) continue;
            b[s] = c;
            self(self, k + 1, s + 1);
            b[s] = rules::Empty;
        }
    };
    place(place, 0, 1);
}

struct Node {
    std::uint32_t firstChild = 0, childCount = 0;  // children inside the material
    int minOutsideLoss = 1 << 20;  // quickest loss for the opponent among moves leaving the material
    int maxOutsideWin = -1;        // slowest win for the opponent among them
    bool outsideAllWins = true;    // every move leaving the material gives the opponent a win
    bool noMove = false;
    int value = 0;                 // 0 unknown / draw, +d win, -d loss (d plies; 0 for no move)
    bool decided = false;
};

struct Stats {
    long wins = 0, losses = 0, draws = 0;
    int longest = 0;
    std::string longestFen;
};

void solveSet(const std::vector<int>& set, engine::EndgameTables& tables, std::vector<Stats>& stats) {
    std::vector<Position> positions;
    for (int t : set) placements(t, positions);
    std::vector<std::vector<std::int32_t>> idOf(engine::EndgameTableCount);
    for (int t : set)
        idOf[static_cast<std::size_t>(t)].assign(engine::EndgameTableList[static_cast<std::size_t>(t)].size, -1);
    for (std::size_t i = 0; i < positions.size(); ++i)
        idOf[static_cast<std::size_t>(positions[i].table)][positions[i].offset] = static_cast<std::int32_t>(i);

    // Step 1. Every move of every position: inside the material, or settled
    // by a table solved before (or by the end of the game).
    std::vector<Node> nodes(positions.size());
    std::vector<std::int32_t> children;
    rules::RulesState r;
    int longestOutside = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        Node& node = nodes[i];
        r.board = positions[i].board;
        const int n = rules::generateRootMoves(r, rules::White);
        node.firstChild = static_cast<std::uint32_t>(children.size());
        if (n == 0) {
            node.noMove = node.decided = true;
            node.value = 0;
            continue;
        }
        for (int k = 0; k < n; ++k) {
            rules::Board child = positions[i].board;
            rules::applyMove(child, r.rootList()[k]);
            const rules::PieceTotals t = rules::countPieces(child);
            if (t.black() == 0) {  // the last piece taken: the opponent has lost
                node.minOutsideLoss = 0;
                continue;
            }
            const engine::TableSlot slot = engine::tableSlot(child, rules::Black);
            if (std::find(set.begin(), set.end(), slot.table) != set.end()) {
                const std::int32_t id = idOf[static_cast<std::size_t>(slot.table)][slot.offset];
                if (id < 0) {
                    std::fprintf(stderr, "make_endgame_tables: unknown position %s\n",
                                 rules::toFen(child, rules::Black).c_str());
                    std::exit(1);
                }
                children.push_back(id);
                continue;
            }
            const std::optional<std::int8_t> v = engine::probeByte(tables, child, rules::Black);
            if (!v) {
                std::fprintf(stderr, "make_endgame_tables: no table for %s\n",
                             rules::toFen(child, rules::Black).c_str());
                std::exit(1);
            }
            if (*v < 0) {
                node.minOutsideLoss = std::min(node.minOutsideLoss, engine::lossDistance(*v));
                node.outsideAllWins = false;
            } else if (*v > 0) {
                node.maxOutsideWin = std::max(node.maxOutsideWin, int{*v});
                longestOutside = std::max(longestOutside, int{*v});
            } else {
                node.outsideAllWins = false;
            }
        }
        node.childCount = static_cast<std::uint32_t>(children.size()) - node.firstChild;
    }

    // Step 2. Rounds of growing distance: at odd rounds a position wins when
    // a move reaches a loss one ply shorter; at even rounds it loses when
    // every move reaches a win no longer than one ply shorter.
    int quietRounds = 0;
    for (int round = 1; quietRounds < 2 || round <= longestOutside + 2; ++round) {
        bool changed = false;
        for (Node& node : nodes) {
            if (node.decided) continue;
            const auto begin = children.begin() + node.firstChild, end = begin + node.childCount;
            if (round % 2 == 1) {
                bool wins = node.minOutsideLoss == round - 1;
                for (auto c = begin; c != end && !wins; ++c) {
                    const Node& ch = nodes[static_cast<std::size_t>(*c)];
                    wins = ch.decided && ch.value <= 0 && -ch.value == round - 1 && (ch.value < 0 || ch.noMove);
                }
                if (wins) {
                    node.decided = true;
                    node.value = round;
                    changed = true;
                }
            } else {
                if (!node.outsideAllWins || node.minOutsideLoss < (1 << 20) || node.maxOutsideWin > round - 1) continue;
                bool loses = true;
                for (auto c = begin; c != end && loses; ++c) {
                    const Node& ch = nodes[static_cast<std::size_t>(*c)];
                    loses = ch.decided && ch.value > 0 && ch.value <= round - 1;
                }
                if (loses) {
                    node.decided = true;
                    node.value = -round;
                    changed = true;
                }
            }
        }
        quietRounds = changed ? 0 : quietRounds + 1;
    }

    // Step 3. Bytes and counts.
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Node& node = nodes[i];
        const Position& p = positions[i];
        std::int8_t byte = 0;
        Stats& s = stats[static_cast<std::size_t>(p.table)];
        if (node.noMove) {
            byte = -1;
            ++s.losses;
        } else if (node.decided && node.value > 0) {
            byte = static_cast<std::int8_t>(std::min(node.value, MaxStoredDistance));
            ++s.wins;
            if (node.value > s.longest) {
                s.longest = node.value;
                s.longestFen = rules::toFen(p.board, rules::White);
            }
        } else if (node.decided) {
            byte = static_cast<std::int8_t>(-std::min(-node.value, MaxStoredDistance));
            ++s.losses;
        } else {
            ++s.draws;
        }
        if (node.decided && std::abs(node.value) > MaxStoredDistance)
            std::printf("make_endgame_tables: %s needs %d plies; stored as %d\n",
                        engine::EndgameTableList[static_cast<std::size_t>(p.table)].file, std::abs(node.value),
                        MaxStoredDistance);
        tables.tables[static_cast<std::size_t>(p.table)][p.offset] = byte;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_endgame_tables OUTPUT_DIR\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    engine::EndgameTables tables;
    for (int t = 0; t < engine::EndgameTableCount; ++t)
        tables.tables[static_cast<std::size_t>(t)].assign(engine::EndgameTableList[static_cast<std::size_t>(t)].size,
                                                          0);
    std::vector<Stats> stats(engine::EndgameTableCount);
    for (const std::vector<int>& set : MaterialSets) solveSet(set, tables, stats);

    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out, ec);
    files::Manifest manifest;
    for (int t = 0; t < engine::EndgameTableCount; ++t) {
        const auto& e = engine::EndgameTableList[static_cast<std::size_t>(t)];
        const auto& table = tables.tables[static_cast<std::size_t>(t)];
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(table.data()), table.size());
        if (!files::writeFileAtomically((out / e.file).string(), bytes)) {
            std::fprintf(stderr, "make_endgame_tables: cannot write %s\n", e.file);
            return 1;
        }
        manifest.push_back(files::manifestEntryOf(e.file, bytes));
        const Stats& s = stats[static_cast<std::size_t>(t)];
        std::printf("%-10s wins %7ld  losses %7ld  draws %7ld  longest win %3d plies %s\n", e.file, s.wins, s.losses,
                    s.draws, s.longest, s.longestFen.c_str());
    }
    // The manifest last: the engine trusts only tables it lists.
    if (!files::writeManifest(out / engine::EndgameManifestFile, manifest)) {
        std::fprintf(stderr, "make_endgame_tables: cannot write %s\n", engine::EndgameManifestFile);
        return 1;
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("endgame tables solved in %lld ms\n", static_cast<long long>(ms));
    return 0;
}
