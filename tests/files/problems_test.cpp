// Every problem we ship must hold: its solution is legal from its position,
// each black reply is a forced capture, and White ends clearly ahead.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/text_import.h"
#include "rules/fen.h"
#include "rules/movegen.h"

namespace fs = std::filesystem;

namespace {

struct Problem {
    std::string name, fen, solution;
};

std::vector<Problem> loadProblems() {
    std::vector<Problem> out;
    for (const auto& entry : fs::directory_iterator(fs::path(TAVOLEX_SOURCE_DIR) / "data" / "problems")) {
        std::ifstream in(entry.path());
        Problem p{entry.path().filename().string(), "", ""};
        std::string line;
        bool english = false;
        while (std::getline(in, line)) {
            if (line.rfind("FEN: ", 0) == 0) p.fen = line.substr(5);
            if (line == "[en]") english = true;
            if (english && line.rfind("Solution: ", 0) == 0) p.solution = line.substr(10, line.find(" (") - 10);
        }
        out.push_back(p);
    }
    return out;
}

int materialOf(const rules::Board& b) {  // White's lead, a king worth three men
    const rules::PieceTotals t = rules::countPieces(b);
    return t.whiteMen + 3 * t.whiteKings - t.blackMen - 3 * t.blackKings;
}

// White's material lead after best play `depth` plies on (captures always
// answered): enough to see a lone man walk to its crowning square.
int lookahead(rules::RulesState& r, rules::Side side, int depth, int ply) {
    r.currentPly = ply;
    const int n = rules::generateMoves(r, side);
    if (n == 0) return side == rules::White ? -100 : 100;
    if ((depth <= 0 && r.captureCount == 0) || ply >= rules::MaxPly - 1) return materialOf(r.board);
    const rules::Board saved = r.board;
    int best = side == rules::White ? -1000 : 1000;
    for (int i = 0; i < n; ++i) {
        rules::applyMove(r.board, r.list(ply)[i]);
        const int v = lookahead(r, rules::opposite(side), depth - 1, ply + 1);
        r.board = saved;
        r.currentPly = ply;
        best = side == rules::White ? std::max(best, v) : std::min(best, v);
    }
    return best;
}

TEST(Problems, EverySolutionWins) {
    const std::vector<Problem> problems = loadProblems();
    ASSERT_GE(problems.size(), 12u);
    for (const Problem& p : problems) {
        SCOPED_TRACE(p.name);
        const rules::FenResult pos = rules::parseFen(p.fen);
        ASSERT_TRUE(pos.position) << pos.error;
        ASSERT_FALSE(p.solution.empty());
        const std::string text = "Blancs-Noirs\r\n" + p.solution + "\r\n";
        const auto games =
            files::parseTextLayout(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        ASSERT_EQ(games.size(), 1u);
        const files::ParsedGame* parsed = &games[0];

        rules::RulesState r;
        r.board = pos.position->board;
        rules::Side side = pos.position->side;
        const int before = materialOf(r.board);
        int plies = 0;
        for (const files::HalfMove& h : parsed->halfMoves) {
            ASSERT_TRUE(h.readable) << h.text;
            const int n = rules::generateRootMoves(r, side);
            const rules::Move* played = nullptr;
            for (int i = 0; i < n && !played; ++i)
                if (r.rootList()[i].from == h.squares.front() && r.rootList()[i].to == h.squares.back())
                    played = &r.rootList()[i];
            ASSERT_TRUE(played) << "illegal move " << plies + 1;
            if (side == rules::Black) {
                EXPECT_GT(played->ncapt, 0) << "Black's reply is not a forced capture";
            } else if (plies == 0) {
                EXPECT_EQ(played->ncapt, 0) << "the key move is a quiet sacrifice";
            }
            rules::applyMove(r.board, *played);
            side = rules::opposite(side);
            ++plies;
        }
        // Two men up (a crowned man counts as three) whatever Black does next.
        const int after = lookahead(r, side, 4, 1);
        EXPECT_GE(after - before, 2) << "material " << before << " -> " << after;
    }
}

}  // namespace
