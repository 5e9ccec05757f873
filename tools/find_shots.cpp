// find_shots: a developer's aid for growing the shot catalogue. It draws
// random positions of a few men, keeps those where White to move wins
// material with a quiet offer that Black must take, strips pieces the shot
// does not need, and prints each as a catalogue entry with its line of play.
// The entries it prints are read, checked and copied by hand into
// eval/shots.cpp; the build never runs it.
//
//   find_shots [COUNT] [SEED]

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "eval/catalogues.h"
#include "eval/masks.h"
#include "eval/shots.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"

namespace {

using rules::Board;

int material(const Board& b, rules::Side side) {
    int v = 0;
    for (int q = 1; q <= 32; ++q) {
        const int worth = rules::isKing(b[q]) ? 300 : rules::isMan(b[q]) ? 100 : 0;
        if (worth) v += rules::sideOf(b[q]) == side ? worth : -worth;
    }
    return v;
}

// Alpha-beta on material; captures are always played out.
int search(rules::RulesState& r, rules::Side side, int depth, int ply, int alpha, int beta,
           std::vector<rules::Move>* pv) {
    if (ply >= rules::MaxPly - 1) return material(r.board, side);
    r.currentPly = ply;
    const int n = rules::generateMoves(r, side);
    if (n == 0) return material(r.board, side);
    if (depth <= 0 && r.captureCount == 0) return material(r.board, side);
    const Board saved = r.board;
    std::vector<rules::Move> moves(r.list(ply).begin(), r.list(ply).end());
    std::vector<rules::Move> line;
    for (const rules::Move& m : moves) {
        rules::applyMove(r.board, m);
        std::vector<rules::Move> sub;
        const int v = -search(r, 1 - side, depth - 1, ply + 1, -beta, -alpha, pv ? &sub : nullptr);
        r.board = saved;
        if (v > alpha) {
            alpha = v;
            if (pv) {
                line.assign(1, m);
                line.insert(line.end(), sub.begin(), sub.end());
            }
            if (alpha >= beta) break;
        }
    }
    if (pv) *pv = line;
    return alpha;
}

constexpr int Depth = 7;

// White to move wins at least a man, starting with a quiet move that leaves
// Black nothing but captures, and taking two or more at once in return.
bool isShot(rules::RulesState& r, const Board& b, std::vector<rules::Move>* pv, int* gain) {
    r.board = b;
    r.currentPly = 1;
    if (rules::generateMoves(r, rules::White) == 0 || r.captureCount > 0) return false;
    r.board = b;
    std::vector<rules::Move> line;
    const int v = search(r, rules::White, Depth, 1, -100000, 100000, &line);
    *gain = v - material(b, rules::White);
    // Give one, take at least two.
    if (*gain < 100 || line.size() < 3 || line[0].ncapt || line[2].ncapt < 2) return false;
    // The offer is a man's step, not a promotion, and a man takes back.
    if (line[0].to <= 4) return false;
    Board after = b;
    rules::applyMove(after, line[0]);
    Board taken = after;
    rules::applyMove(taken, line[1]);
    if (taken[line[2].from] != rules::WhiteMan) return false;
    r.board = after;
    r.currentPly = 1;
    if (rules::generateMoves(r, rules::Black) == 0 || r.captureCount == 0) return false;
    if (pv) *pv = line;
    return true;
}

std::string lineText(const std::vector<rules::Move>& line) {
    std::string s;
    for (std::size_t i = 0; i < line.size() && i < 6; ++i) {
        if (i) s += ' ';
        std::string m = rules::moveText(line[i]);
        if (const auto space = m.find(' '); space != std::string::npos) m.erase(space);
        s += m;
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int wanted = argc > 1 ? std::atoi(argv[1]) : 10;
    std::mt19937 rng(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u);
    rules::RulesState r;
    std::set<std::string> seen;
    int found = 0;
    for (int attempt = 0; found < wanted && attempt < 2000000; ++attempt) {
        Board b{};
        b[0] = rules::Sentinel;
        const int whites = 3 + static_cast<int>(rng() % 4), blacks = 3 + static_cast<int>(rng() % 4);
        for (int i = 0; i < whites; ++i) b[5 + rng() % 28] = rules::WhiteMan;       // not on row 8
        for (int i = 0; i < blacks; ++i) b[1 + rng() % 28] = rules::BlackMan;       // not on row 1
        std::vector<rules::Move> line;
        int gain = 0;
        if (!isShot(r, b, &line, &gain)) continue;
        // Strip every piece the shot does without.
        for (bool removed = true; removed;) {
            removed = false;
            for (int q = 1; q <= 32; ++q) {
                if (!rules::isMan(b[q])) continue;
                Board fewer = b;
                fewer[q] = rules::Empty;
                std::vector<rules::Move> l2;
                int g2 = 0;
                if (rules::countPieces(fewer).blackMen >= 2 && isShot(r, fewer, &l2, &g2) && g2 >= gain) {
                    b = fewer;
                    line = l2;
                    removed = true;
                }
            }
        }
        isShot(r, b, &line, &gain);
        if (eval::findShot(b, true).entry >= 0) continue;   // the catalogue knows it already
        // The pattern: the men, and the empty squares beside them and on the
        // line's landing squares.
        const eval::BoardMasks m = eval::boardMasks(b);
        eval::SquareMask near = 0;
        for (int q = 1; q <= 32; ++q)
            if (rules::isMan(b[q]))
                for (int d = 0; d < 4; ++d)
                    if (const rules::Square n = rules::neighbour(static_cast<rules::Square>(q), d))
                        near |= 1u << (n - 1);
        for (const rules::Move& mv : line) near |= 1u << (mv.to - 1);
        const eval::SquareMask empty = near & m.empty;
        const std::string key = std::to_string(m.whiteMen) + "/" + std::to_string(m.blackMen);
        if (!seen.insert(key).second) continue;
        const int value = gain >= 200 ? 180 : line.size() > 5 ? 80 : 120;
        std::string own, enemy, free;
        for (int q = 1; q <= 32; ++q) {
            std::string* list = eval::has(m.whiteMen, q)   ? &own
                                : eval::has(m.blackMen, q) ? &enemy
                                : eval::has(empty, q)      ? &free
                                                           : nullptr;
            if (!list) continue;
            if (!list->empty()) *list += ", ";
            *list += std::to_string(q);
        }
        static constexpr const char* Counts[] = {"", "one", "two", "three", "four", "five", "six", "seven"};
        const auto bare = [](const rules::Move& mv) {
            std::string t = rules::moveText(mv);
            return t.substr(0, t.find(' '));
        };
        std::printf("    // %s, %s forced, %s takes %s: %s.\n", bare(line[0]).c_str(), bare(line[1]).c_str(),
                    bare(line[2]).c_str(), Counts[std::min<int>(line[2].ncapt, 7)],
                    gain >= 300   ? "three men's worth up"
                    : gain >= 200 ? "two men up"
                                  : "a man up");
        std::printf("    shot({%s}, {%s}, {%s}, %d),\n", own.c_str(), enemy.c_str(), free.c_str(), value);
        std::fflush(stdout);
        ++found;
    }
    return 0;
}
