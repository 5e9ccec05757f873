#include "engine/thinking.h"

#include <algorithm>
#include <cstdio>

#include "files/text_lines.h"
#include "rules/board.h"

namespace engine {

namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

std::string name(rules::Square s) { return std::string(rules::squareName(s)); }

}  // namespace

std::vector<std::string> thinkingLines(const SearchStats& st, const ThinkingWords& w) {
    std::vector<std::string> lines;
    lines.push_back(format("%s : %5d", w.depth, st.depth));
    lines.push_back(format("%s : %8lld", w.nodes, static_cast<long long>(st.nodes)));
    if (st.timed) {
        lines.push_back(format("%s : %6d s", w.time, st.seconds));
        if (st.seconds > 0)
            lines.push_back(format("%s : %8lld", w.nodesPerSecond, static_cast<long long>(st.nodes / st.seconds)));
        else
            lines.push_back(format("%s : //", w.nodesPerSecond));
    }
    // Shown in 1/100 of a man: halved, rounding toward zero.
    lines.push_back(format("%s : %5d", w.score, st.score / 2));
    lines.push_back(format("%s : %3d", w.moves, st.moveNumber));
    const int shown = std::min(st.pvLength, 32);
    for (int i = 0; i < shown; i += 2) {
        const rules::Move& a = st.pv[static_cast<std::size_t>(i)];
        const char* sa = a.ncapt ? "x" : "-";
        if (i + 1 < shown) {
            const rules::Move& b = st.pv[static_cast<std::size_t>(i + 1)];
            lines.push_back(format("%s %s %s , %s %s %s", name(a.from).c_str(), sa, name(a.to).c_str(),
                                   name(b.from).c_str(), b.ncapt ? "x" : "-", name(b.to).c_str()));
        } else {
            lines.push_back(format("%s %s %s", name(a.from).c_str(), sa, name(a.to).c_str()));
        }
    }
    return lines;
}

std::string rootMoveText(const RootMoveLine& line) {
    return format(line.searching ? "%s%s%s : %5d ?<---" : "%s%s%s : %5d", name(line.from).c_str(),
                  line.capture ? "x" : "-", name(line.to).c_str(), line.shownScore);
}

bool writeBestMoveFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    return files::writeTextLines(file.string(), lines);
}

}  // namespace engine
