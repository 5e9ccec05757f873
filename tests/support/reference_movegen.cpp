#include "support/reference_movegen.h"

#include <algorithm>

#include "rules/perft.h"

namespace testsupport {

namespace {

struct Seq {
    int from, to;
    std::vector<int> taken;
};

constexpr int dRow[4] = {-1, -1, 1, 1};
constexpr int dFile[4] = {-1, 1, -1, 1};

int at(int row, int file) { return rules::squareAt(row, file); }

bool enemyOf(rules::Side side, rules::PieceCode c) {
    return side == rules::White ? rules::isBlack(c) : rules::isWhite(c);
}

// The moving piece has left its start square; taken pieces stay on the board
// until the move ends, and can be neither jumped again nor crossed.
void explore(const rules::Board& b, rules::Side side, bool king, int from, int s, std::vector<int>& taken,
             std::vector<Seq>& out) {
    auto isEmpty = [&](int q) { return q != 0 && (q == from || b[q] == rules::Empty); };
    auto isTaken = [&](int q) { return std::find(taken.begin(), taken.end(), q) != taken.end(); };
    bool extended = false;
    const int row = rules::squareRow(s), file = rules::squareFile(s);
    for (int d = 0; d < 4; ++d) {
        int k = 1;
        if (king)
            while (isEmpty(at(row + k * dRow[d], file + k * dFile[d]))) ++k;
        const int victim = at(row + k * dRow[d], file + k * dFile[d]);
        if (victim == 0 || victim == from || isTaken(victim) || !enemyOf(side, b[victim])) continue;
        for (int j = k + 1;; ++j) {
            const int land = at(row + j * dRow[d], file + j * dFile[d]);
            if (!isEmpty(land)) break;
            extended = true;
            taken.push_back(victim);
            explore(b, side, king, from, land, taken, out);
            taken.pop_back();
            if (!king) break;
        }
    }
    if (!extended && !taken.empty()) out.push_back({from, s, taken});
}

std::string text(int from, int to, const std::vector<int>& taken) {
    rules::Move m;
    m.from = static_cast<rules::Square>(from);
    m.to = static_cast<rules::Square>(to);
    m.ncapt = static_cast<std::uint8_t>(taken.size());
    for (std::size_t i = 0; i < taken.size(); ++i) m.captured[i] = static_cast<rules::Square>(taken[i]);
    return rules::moveText(m);
}

std::vector<Seq> referenceSequences(const rules::Board& b, rules::Side side) {
    std::vector<Seq> caps;
    for (int s = 1; s <= 32; ++s) {
        if (!rules::isPiece(b[s]) || rules::sideOf(b[s]) != side) continue;
        std::vector<int> taken;
        explore(b, side, rules::isKing(b[s]), s, s, taken, caps);
    }
    std::size_t most = 0;
    for (const Seq& q : caps) most = std::max(most, q.taken.size());
    std::vector<Seq> out;
    for (const Seq& q : caps)
        if (q.taken.size() == most) out.push_back(q);
    if (!out.empty()) return out;
    for (int s = 1; s <= 32; ++s) {
        const rules::PieceCode c = b[s];
        if (!rules::isPiece(c) || rules::sideOf(c) != side) continue;
        for (int d = 0; d < 4; ++d) {
            if (rules::isMan(c) && (side == rules::White) != (d < 2)) continue;
            for (int k = 1;; ++k) {
                const int t = at(rules::squareRow(s) + k * dRow[d], rules::squareFile(s) + k * dFile[d]);
                if (t == 0 || b[t] != rules::Empty) break;
                out.push_back({s, t, {}});
                if (rules::isMan(c)) break;
            }
        }
    }
    return out;
}

}  // namespace

std::set<std::string> referenceMoves(const rules::Board& board, rules::Side side) {
    std::set<std::string> out;
    for (const Seq& q : referenceSequences(board, side)) out.insert(text(q.from, q.to, q.taken));
    return out;
}

std::multiset<std::string> generatedMoves(rules::RulesState& r, rules::Side side) {
    std::multiset<std::string> out;
    const int n = rules::generateRootMoves(r, side);
    for (int i = 0; i < n; ++i) out.insert(rules::moveText(r.rootList()[i]));
    return out;
}

std::vector<std::string> generatedMoveOrder(rules::RulesState& r, rules::Side side) {
    std::vector<std::string> out;
    const int n = rules::generateRootMoves(r, side);
    for (int i = 0; i < n; ++i) out.push_back(rules::moveText(r.rootList()[i]));
    return out;
}

std::uint64_t referencePerft(const rules::Board& board, rules::Side side, int depth) {
    if (depth == 0) return 1;
    std::uint64_t total = 0;
    std::set<std::string> seen;
    for (const Seq& q : referenceSequences(board, side)) {
        // A king may reach the same sequence by more than one route in this
        // plain search; a move is what it takes and where it ends.
        if (!seen.insert(text(q.from, q.to, q.taken)).second) continue;
        if (depth == 1) {
            ++total;
            continue;
        }
        rules::Board next = board;
        const rules::PieceCode c = next[q.from];
        for (int t : q.taken) next[t] = rules::Empty;
        next[q.from] = rules::Empty;
        next[q.to] = rules::promotedCode(c, static_cast<rules::Square>(q.to));
        total += referencePerft(next, rules::opposite(side), depth - 1);
    }
    return total;
}

rules::Board randomPosition(unsigned& seed, int maxPerSide, int kingPercent) {
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    rules::Board b{};
    b[0] = rules::Sentinel;
    for (const rules::Side side : {rules::White, rules::Black}) {
        const int count = 1 + next(maxPerSide);
        for (int placed = 0, tries = 0; placed < count && tries < 200; ++tries) {
            const int s = 1 + next(32);
            if (b[s] != rules::Empty) continue;
            const bool king = next(100) < kingPercent;
            const bool farRow = side == rules::White ? s <= 4 : s >= 29;
            if (!king && farRow) continue;
            b[s] = side == rules::White ? (king ? rules::WhiteKing : rules::WhiteMan)
                                        : (king ? rules::BlackKing : rules::BlackMan);
            ++placed;
        }
    }
    return b;
}

}  // namespace testsupport
