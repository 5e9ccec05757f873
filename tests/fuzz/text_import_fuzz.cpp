// Text and PDN games ("Ouvrir un fichier texte"): any bytes are read into
// games without fault; each is replayed as far as it goes and never past the
// record; the chooser's line is UTF-8; and a game replayed whole, written as
// PDN and read again, comes back position for position.

#include <cstdint>
#include <span>
#include <string>

#include "files/setup.h"
#include "files/text_encoding.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "fuzz_support.h"

using fuzzsupport::check;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

bool samePositions(const game::GameRecord& a, const game::GameRecord& b) {
    if (a.recordLength != b.recordLength) return false;
    for (int k = 0; k <= a.recordLength; ++k)
        if (a.plies[static_cast<std::size_t>(k)].squares != b.plies[static_cast<std::size_t>(k)].squares) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> text(data, size);
    const auto games = files::readTextGames(text);
    // A few games per input: each replay is a game's worth of work.
    for (std::size_t i = 0; i < games.size() && i < 4; ++i) {
        const files::ParsedGame& g = games[i];
        check(g.halfMoves.size() <= static_cast<std::size_t>(game::MaxRecordedPly) + 1, "half-moves within the record");
        check(files::isValidUtf8(files::chooserLine(g, static_cast<int>(i) + 1)), "the chooser's line is UTF-8");
        game::Core core;
        files::resetToStartingPosition(core);
        const files::ReplayOutcome out = files::replayGame(core, g);
        check(out.played >= 0 && out.played <= static_cast<int>(g.halfMoves.size()), "plays what was read at most");
        check(core.game.record.recordLength == out.played, "the record holds the moves played");
        if (out.stop != files::ReplayStop::None) continue;

        const files::ExportedText pdn = files::exportPdn(core, core.game.lastResult);
        if (!pdn.written) continue;  // a name PDN cannot hold, refused
        const auto back = files::readTextGames(bytesOf(pdn.text));
        check(back.size() == 1, "our PDN is one game");
        game::Core again;
        files::resetToStartingPosition(again);
        check(files::replayGame(again, back[0]).stop == files::ReplayStop::None, "our PDN replays whole");
        check(samePositions(again.game.record, core.game.record), "our PDN gives back every position");
    }
    return 0;
}
