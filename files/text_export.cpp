#include "files/text_export.h"

#include <span>

#include "files/bytes.h"
#include "rules/fen.h"

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

// The full moves up to the position shown; a lone first half of a move
// after them is left out.
int fullMovesShown(int currentPly, const std::vector<std::string>& moveList) {
    return std::min(currentPly / 2, static_cast<int>(moveList.size()));
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

}  // namespace

std::string exportText(const std::string& white, const std::string& black, ResultCode result, int currentPly,
                       const std::vector<std::string>& moveList) {
    std::string text = white + "-" + black;
    text += result == ResultCode::None ? " " : "  " + resultText(result);
    text += CRLF;
    text += "Tavolex144";
    text += CRLF;
    for (const std::string& line : groupLines(moveList, fullMovesShown(currentPly, moveList), 4, "  ")) {
        text += line;
        text += CRLF;
    }
    return text;
}

std::vector<std::string> printedText(const std::string& white, const std::string& black, int currentPly,
                                     const std::vector<std::string>& moveList) {
    std::vector<std::string> out{white + "x" + black + " "};
    for (std::string& line : groupLines(moveList, fullMovesShown(currentPly, moveList), 3, " ")) out.push_back(std::move(line));
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

std::string exportPdn(const game::Core& core, ResultCode result) {
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
    const std::string pdnResult = result == ResultCode::WhiteWon  ? "2-0"
                                  : result == ResultCode::BlackWon ? "0-2"
                                  : result == ResultCode::Draw     ? "1-1"
                                                                   : "*";
    std::string text;
    text += tag("Event", "Tavolex");
    text += tag("White", game::nameText(g.whiteName));
    text += tag("Black", game::nameText(g.blackName));
    text += tag("Result", pdnResult);
    text += tag("GameType", "26");

    // The side to move at the start follows from the side after the last ply.
    const rules::Side firstSide = rec.recordLength % 2 ? rules::opposite(rec.sideToMoveAtEnd) : rec.sideToMoveAtEnd;
    rules::Board start{};
    start[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) start[s] = rec.plies[0].squares[s - 1];
    if (start != rules::startingPosition() || firstSide != rules::White) {
        text += tag("SetUp", "1");
        text += tag("FEN", rules::toFen(start, firstSide));
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
    for (int k = 1; k <= rec.recordLength; ++k) {
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
        const rules::Side side = k % 2 == 1 ? firstSide : rules::opposite(firstSide);
        const int number = (k + (firstSide == rules::Black ? 1 : 0) + 1) / 2;
        if (side == rules::White) emit(std::to_string(number) + ".");
        else if (k == 1) emit(std::to_string(number) + "...");
        std::string move(rules::squareName(e.from));
        move += e.captureCount ? 'x' : '-';
        move += rules::squareName(e.to);
        emit(move);
    }
    emit(pdnResult);
    text += line;
    text += CRLF;
    return text;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace files
