// tavolex-cli egdb [FEN]: what the endgame tables say of a position.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "engine/endgame.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"

namespace cli {

namespace {

std::string describe(std::int8_t v) {
    if (v > 0) return "win in " + std::to_string(v) + " plies";
    if (v < 0) return "loss in " + std::to_string(engine::lossDistance(v)) + " plies";
    return "draw";
}

}  // namespace

int cmdEgdb(const std::vector<std::string_view>& args, const std::filesystem::path& programDir) {
    if (args.size() > 1) return usageError("egdb takes at most one position");
    rules::Position pos;
    if (!loadPosition(args, pos)) return ExitUsage;
    engine::EndgameTables tables;
    engine::loadEndgameDatabases(tables, programDir);
    if (!engine::anyTableLoaded(tables)) {
        std::fprintf(stderr, "tavolex-cli: no usable endgame tables in %s\n", programDir.string().c_str());
        return 1;
    }
    // What could not be loaded is said once, as the window's error box
    // would; those tables are not used.
    const std::string report = engine::endgameLoadReport(tables);
    if (!report.empty()) std::fprintf(stderr, "Erreur: %s\n", report.c_str());

    const engine::TableSlot slot = engine::tableSlot(pos.board, pos.side);
    if (slot.table < 0) {
        std::printf("no table for this material\n");
        return 0;
    }
    const char* file = engine::EndgameTableList[static_cast<std::size_t>(slot.table)].file;
    const std::optional<std::int8_t> stored = engine::probeByte(tables, pos.board, pos.side);
    if (!stored) {
        std::fprintf(stderr, "tavolex-cli: %s is not loaded: no answer for this position\n", file);
        return 1;
    }
    const std::int8_t v = *stored;
    std::printf("table %s offset %zu byte %d\n", file, slot.offset, int{v});
    std::printf("%s to move: %s\n", pos.side == rules::White ? "White" : "Black", describe(v).c_str());

    // Each move with the result it leads to, best first for the side to move.
    rules::RulesState r;
    r.board = pos.board;
    const int n = rules::generateRootMoves(r, pos.side);
    struct Line {
        std::string move, result;
        int rank;
    };
    std::vector<Line> lines;
    for (int k = 0; k < n; ++k) {
        rules::Board child = pos.board;
        rules::applyMove(child, r.rootList()[k]);
        const rules::PieceTotals t = rules::countPieces(child);
        Line line{rules::moveText(r.rootList()[k]), "", 0};
        if ((pos.side == rules::White ? t.black() : t.white()) == 0) {
            line.result = "wins at once";
            line.rank = 1000;
        } else if (const std::optional<std::int8_t> after = engine::probeByte(tables, child, rules::opposite(pos.side));
                   !after) {
            // A capture may lead into a table that is not loaded.
            line.result = "unknown (no table loaded)";
            line.rank = -1000;
        } else {
            const std::int8_t c = *after;
            // The opponent's loss is our win: the shorter the better; our loss, the longer the better.
            line.rank = c < 0 ? 500 - engine::lossDistance(c) : c > 0 ? -500 + c : 0;
            line.result = c < 0   ? "wins in " + std::to_string(engine::lossDistance(c) + 1) + " plies"
                          : c > 0 ? "loses in " + std::to_string(c + 1) + " plies"
                                  : "draws";
        }
        lines.push_back(line);
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.rank > b.rank; });
    for (const Line& l : lines) std::printf("%s %s\n", l.move.c_str(), l.result.c_str());
    return 0;
}

}  // namespace cli
