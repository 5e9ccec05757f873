// The readers of files a person may hand the program, fed with damaged
// copies of good inputs: bytes changed, cut, repeated, glued together.
// Whatever they hold, reading never runs past its buffer (the sanitised
// build checks every access), and a game file that is accepted installs a
// game that can be navigated end to end. Seeds are fixed: a failure repeats.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/game_file.h"
#include "files/setup.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "game/navigation.h"
#include "rules/fen.h"
#include "support/game_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// One random damage of `in`.
Bytes mutate(const Bytes& in, std::mt19937& rng, const std::string& alphabet) {
    Bytes out = in;
    auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const int edits = 1 + static_cast<int>(pick(8));
    for (int e = 0; e < edits; ++e) {
        switch (pick(6)) {
            case 0:  // a byte of any value
                if (!out.empty()) out[pick(out.size())] = static_cast<std::uint8_t>(pick(256));
                break;
            case 1:  // a byte that means something to the reader
                if (!out.empty()) out[pick(out.size())] = static_cast<std::uint8_t>(alphabet[pick(alphabet.size())]);
                break;
            case 2:  // cut short
                if (!out.empty()) out.resize(pick(out.size()));
                break;
            case 3:  // a stretch repeated
                if (!out.empty()) {
                    const std::size_t at = pick(out.size()), len = 1 + pick(std::min<std::size_t>(64, out.size() - at));
                    out.insert(out.begin() + static_cast<long>(at), out.begin() + static_cast<long>(at),
                               out.begin() + static_cast<long>(at + len));
                }
                break;
            case 4:  // a meaningful byte inserted
                out.insert(out.begin() + static_cast<long>(pick(out.size() + 1)),
                           static_cast<std::uint8_t>(alphabet[pick(alphabet.size())]));
                break;
            default:  // a stretch removed
                if (!out.empty()) {
                    const std::size_t at = pick(out.size());
                    out.erase(out.begin() + static_cast<long>(at),
                              out.begin() + static_cast<long>(std::min(out.size(), at + 1 + pick(32))));
                }
                break;
        }
    }
    return out;
}

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(MutatedInput, GameFilesAreRefusedOrInstallAPlayableGame) {
    std::vector<Bytes> seeds;
    for (unsigned seed : {1u, 2u, 3u}) {
        game::Core core;
        files::resetToStartingPosition(core);
        testsupport::playRandomMoves(core, 20 + 30 * static_cast<int>(seed), seed);
        game::goToStart(core);
        for (int i = 0; i < static_cast<int>(seed) * 3; ++i) game::stepForward(core);
        seeds.push_back(files::encodeGameFile(core.game.record, core.game.sideToMove, files::GameSettings{}));
    }
    const std::string alphabet{'\0', '\1', '\2', '\3', '\4', '\5', ' ', '\x20', '\x21', '\xfc', '\xfd', '\xfe', '\xff'};
    std::mt19937 rng(2024);
    int accepted = 0;
    for (int i = 0; i < 8000; ++i) {
        Bytes damaged = mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], rng, alphabet);
        // Most damage changes the size; keep the size for half of them so
        // that the checks on the values are reached.
        if (i % 2 == 0) damaged.resize(files::GameFileSize, 0);
        files::GameFile f;
        if (files::decodeGameFile(damaged, f) != files::FileError::None) continue;
        ++accepted;
        game::Core core;
        files::installGameFile(core, f, i % 3 == 0);
        ASSERT_LE(core.game.record.plyCounter, core.game.record.recordLength);
        ASSERT_LE(core.game.record.recordLength, game::MaxRecordedPly);
        game::goToStart(core);
        game::goToEnd(core);
        game::takeBack(core);
        rules::generateRootMoves(core.rules, core.game.sideToMove);
    }
    EXPECT_GT(accepted, 100);  // the damage reached past the size check
}

TEST(MutatedInput, TextAndPdnReadersStayInsideTheirInput) {
    game::Core source;
    files::resetToStartingPosition(source);
    source.game.whiteName = game::makeName("Ana");
    source.game.blackName = game::makeName("Bia");
    testsupport::playRandomMoves(source, 60, 4);
    const std::string ours = files::exportText(source, files::ResultCode::Draw).text;
    const std::vector<Bytes> seeds = {
        bytesOf(ours),
        bytesOf(ours + "\r\n" + ours + "\r\n" + "C-D\r\n 1.C3-D4 F6-G5  2.B6-D4-F2 x\r\n"),
        bytesOf(files::exportPdn(source, files::ResultCode::WhiteWon).text),
        bytesOf(
            "\xEF\xBB\xBF% a comment\n[White \"G\"]\n[GameType \"26,W,8,8,N1,0\"]\n[FEN \"B:W10,K14:B20-23:H0:F1\"]\n"
            "1... 22-18 {x} 2. 14x23 (2. 10-15 ; c\n) 21-17 1-1\n[Black \"H]\\\"\"]\n1. c3d4 d6:e5 *"),
    };
    const std::string alphabet = "0123456789.-xX: \r\n\"[]{}();$*%\\abcdefghABCDEFGHKWB\x1f\xff\xd0";
    std::mt19937 rng(77);
    for (int i = 0; i < 6000; ++i) {
        const Bytes text = mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], rng, alphabet);
        for (const auto& games : {files::parseTextLayout(text), files::parsePdnGames(text)}) {
            for (const files::ParsedGame& g : games) {
                ASSERT_LE(g.halfMoves.size(), static_cast<std::size_t>(game::MaxRecordedPly) + 1);
                files::chooserLine(g, 1);
                game::Core core;
                const files::ReplayOutcome out = files::replayGame(core, g);
                ASSERT_LE(core.game.record.recordLength, game::MaxRecordedPly);
                ASSERT_EQ(core.game.record.recordLength, out.played);
            }
        }
        files::looksLikePdn(text);
    }
}

}  // namespace
