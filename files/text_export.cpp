#include "files/text_export.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>

#include "files/bytes.h"
#include "files/text_encoding.h"
#include "files/text_import.h"
#include "rules/fen.h"
#include "rules/written_move.h"

namespace files {

namespace {

constexpr const char* CRLF = "\r\n";

// n move-list lines, `perLine` to a text line, each followed by `gap`.
std::vector<std::string> groupLines(const std::vector<std::string>& moveList, int n, int perLine, const char* gap) {
    std::vector<std::string> out;
    for (int i = 0; i < n; i += perLine) {
        std::string line;
        for (int j = i; j < i + perLine && j < n; ++j) {
            line += moveList[static_cast<std::size_t>(j)];
            line += gap;
        }
        out.push_back(line);
    }
    return out;
}

std::string resultText(ResultCode r) {
    switch (r) {
        case ResultCode::WhiteWon: return "2-0";
        case ResultCode::Draw: return "1-1";
        case ResultCode::BlackWon: return "0-2";
        case ResultCode::None: break;
    }
    return "*";
}

rules::Board boardOf(const game::PlyRecord& e) {
    rules::Board b{};
    b[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) b[s] = e.squares[static_cast<std::size_t>(s - 1)];
    return b;
}

// How ply k of the record is written: "c3-d4", "c3xe5", or the whole route
// when another legal move there starts and ends on the same squares. The
// move is the legal one that leads from the entry before to this one; a
// record that holds no such move keeps its squares as they are.
std::string plyText(rules::RulesState& r, const game::GameRecord& rec, int k) {
    const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
    const rules::Board before = boardOf(rec.plies[static_cast<std::size_t>(k - 1)]);
    const rules::Board after = boardOf(e);
    std::string plain(rules::squareName(e.from));
    plain += e.captureCount ? 'x' : '-';
    plain += rules::squareName(e.to);
    if (e.from < 1 || e.from > rules::NumSquares || !rules::isPiece(before[e.from])) return plain;
    const rules::Side side = rules::sideOf(before[e.from]);
    r.board = before;
    const int n = rules::generateRootMoves(r, side);
    for (int i = 0; i < n; ++i) {
        const rules::Move m = r.rootList()[i];
        if (m.from != e.from || m.to != e.to) continue;
        rules::Board result = before;
        rules::applyMove(result, m);
        if (result != after) continue;
        r.board = before;
        const std::vector<rules::Square> squares = rules::squaresToWrite(r, side, m);
        return rules::writtenText(squares, m.ncapt > 0);
    }
    return plain;
}

std::string trimmedName(const game::PlayerName& name) {
    std::string s = game::nameText(name);
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The first name that does not read back from the text as it was written:
// one that broke the text into several games is one with a line break.
std::optional<std::string> unwritableName(const std::vector<ParsedGame>& read, const std::string& white,
                                          const std::string& black) {
    const bool whiteOk = read.size() == 1 && read[0].white == utf8FromLatin1(white);
    const bool blackOk = read.size() == 1 && read[0].black == utf8FromLatin1(black);
    if (whiteOk && blackOk) return std::nullopt;
    if (read.size() == 1) return whiteOk ? black : white;
    const auto broken = [](const std::string& n) {
        return std::any_of(n.begin(), n.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    };
    return broken(black) && !broken(white) ? black : white;
}

void refuseUnwritable(ExportedText& out, const std::optional<std::string>& name) {
    if (!name) return;
    out.written = false;
    out.unwritableName = *name;
    out.text.clear();
}

}  // namespace

const char* pdnResultText(ResultCode result) {
    switch (result) {
        case ResultCode::WhiteWon: return "1-0";
        case ResultCode::Draw: return "1/2-1/2";
        case ResultCode::BlackWon: return "0-1";
        case ResultCode::None: break;
    }
    return "*";
}

ExportedText exportText(const game::Core& core, ResultCode result) {
    const game::GameRecord& rec = core.game.record;
    const std::string white = trimmedName(core.game.whiteName), black = trimmedName(core.game.blackName);
    ExportedText out;
    std::string& text = out.text;
    const bool dashed = white.find('-') != std::string::npos || black.find('-') != std::string::npos;
    text = white + (dashed ? " - " : "-") + black;
    text += result == ResultCode::None ? " " : "  " + resultText(result);
    text += CRLF;
    text += "Tavolex144";
    text += CRLF;

    // The full moves up to the position shown, as the move list numbers them.
    rules::RulesState r;
    std::vector<std::string> lines;
    const int full = std::min<int>(rec.plyCounter, rec.recordLength) / 2;
    for (int n = 1; n <= full; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%2d.", n);
        lines.push_back(number + plyText(r, rec, 2 * n - 1) + " " + plyText(r, rec, 2 * n));
    }
    for (const std::string& line : groupLines(lines, full, 4, "  ")) {
        text += line;
        text += CRLF;
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    refuseUnwritable(out, unwritableName(readTextGames(bytes), white, black));
    return out;
}

std::string analysisReportText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l;
        text += CRLF;
    }
    return text;
}

std::vector<std::string> printedAnalysisReport(const std::string& white, const std::string& black,
                                               const std::string& legend, const std::vector<std::string>& lines) {
    std::vector<std::string> out{"", "", "", white + std::string(25, ' ') + black};
    out.push_back(legend);
    out.insert(out.end(), lines.begin(), lines.end());
    return out;
}

ExportedText exportPdn(const game::Core& core, ResultCode result) {
    const game::GameState& g = core.game;
    const game::GameRecord& rec = g.record;
    auto tag = [](const char* name, const std::string& value) {
        std::string escaped;
        for (char c : value) {
            if (c == '"' || c == '\\') escaped += '\\';
            escaped += c;
        }
        return std::string("[") + name + " \"" + escaped + "\"]" + CRLF;
    };
    const std::string white = trimmedName(g.whiteName), black = trimmedName(g.blackName);
    ExportedText out;
    std::string& text = out.text;
    text += tag("Event", "?");
    text += tag("Site", "?");
    text += tag("Date", "????.??.??");
    text += tag("Round", "?");
    text += tag("White", white.empty() ? "?" : utf8FromLatin1(white));
    text += tag("Black", black.empty() ? "?" : utf8FromLatin1(black));
    text += tag("Result", pdnResultText(result));
    text += tag("GameType", "26");

    // The side to move at the start follows from the side after the last ply.
    const rules::Side firstSide = rec.recordLength % 2 ? rules::opposite(rec.sideToMoveAtEnd) : rec.sideToMoveAtEnd;
    const rules::Board start = boardOf(rec.plies[0]);
    if (start != rules::startingPosition() || firstSide != rules::White) {
        text += tag("SetUp", "1");
        text += tag("FEN", rules::toFen(start, firstSide, rules::FenSquares::Names));
    }
    text += CRLF;

    std::string line;
    auto emit = [&](const std::string& token) {
        if (line.size() + token.size() + 1 > 78) {
            text += line;
            text += CRLF;
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += token;
    };
    rules::RulesState r;
    for (int k = 1; k <= rec.recordLength; ++k) {
        const rules::Side side = k % 2 == 1 ? firstSide : rules::opposite(firstSide);
        const int number = (k + (firstSide == rules::Black ? 1 : 0) + 1) / 2;
        if (side == rules::White)
            emit(std::to_string(number) + ".");
        else if (k == 1)
            emit(std::to_string(number) + "...");
        emit(plyText(r, rec, k));
    }
    emit(pdnResultText(result));
    text += line;
    text += CRLF;

    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    refuseUnwritable(out, unwritableName(parsePdnGames(bytes), white, black));
    return out;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace files
