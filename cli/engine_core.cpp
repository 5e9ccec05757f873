#include "cli/engine_core.h"

#include <cstdio>

#include "engine/search.h"
#include "eval/parameter_file.h"
#include "game/navigation.h"

namespace cli {

void ClockHost::showError(std::string_view text) {
    std::fprintf(stderr, "Erreur: %.*s\n", static_cast<int>(text.size()), text.data());
}

bool setUpCore(game::Core& core, game::Host& host, const std::filesystem::path& programDir,
               const std::filesystem::path& params) {
    core.host = &host;
    core.programDir = programDir;
    if (params.empty()) {
        eval::loadDefaultParameters(core);
    } else if (eval::loadParameters(core.eval, &host, params) != eval::ParameterFileStatus::Ok) {
        return false;
    }
    // The front ends search with the window's largest table: at a second
    // a move the search visits millions of positions, which the window's
    // default of 1.5 MB cannot keep.
    engine::setTableSize(core.engine.tables, static_cast<int>(engine::TableSizes.size()) - 1);
    if (!engine::initialiseSearch(core)) {
        std::fprintf(stderr, "Erreur allocation Hash tables\n");
        return false;
    }
    return true;
}

void setPosition(game::Core& core, const rules::Board& board, rules::Side side) {
    game::installPosition(core, board, side);
    core.game.sideToMove = side;
    core.rules.board = board;
    core.rules.gamePosition = board;
}

std::optional<rules::Move> think(game::Core& core) {
    const rules::Side side = core.game.sideToMove;
    core.rules.board = core.rules.gamePosition;
    const engine::RootAnswer r = engine::searchRoot(core, side);
    const rules::MoveList& root = core.rules.rootList();
    if (!r.hasMove() || r.index >= root.size()) return std::nullopt;
    return root[r.index];
}

std::optional<long long> parseNumber(std::string_view text, long long low, long long high) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return std::nullopt;
    return v;
}

std::optional<long long> parseSeconds(std::string_view text) {
    const std::size_t dot = text.find('.');
    const auto whole = parseNumber(text.substr(0, dot), 0, 100000);
    if (!whole) return std::nullopt;
    long long ms = *whole * 1000;
    if (dot != std::string_view::npos) {
        std::string_view frac = text.substr(dot + 1);
        if (frac.empty() || frac.size() > 3) return std::nullopt;
        const auto f = parseNumber(frac, 0, 999);
        if (!f) return std::nullopt;
        long long scale = frac.size() == 1 ? 100 : frac.size() == 2 ? 10 : 1;
        ms += *f * scale;
    }
    if (ms <= 0) return std::nullopt;
    return ms;
}

}  // namespace cli
