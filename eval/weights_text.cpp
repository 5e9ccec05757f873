#include "eval/weights_text.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace eval {

namespace {

// The line's words before any '#'.
std::vector<std::string_view> wordsOf(std::string_view line) {
    if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

int indexOf(std::string_view name) {
    const auto it = std::find(WeightNames.begin(), WeightNames.end(), name);
    return it == WeightNames.end() ? -1 : static_cast<int>(it - WeightNames.begin());
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

WeightsText parseWeights(std::string_view text) {
    WeightsText out;
    const std::vector<std::string_view> lines = linesOf(text);
    WeightValues values{};
    std::array<bool, NumWeights> given{};
    const auto fail = [&out](int line, std::string error) {
        out.line = line;
        out.error = std::move(error);
        return out;
    };
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int lineNumber = static_cast<int>(n) + 1;
        const std::vector<std::string_view> w = wordsOf(lines[n]);
        if (w.empty()) continue;
        const int k = indexOf(w[0]);
        if (k < 0) return fail(lineNumber, "unknown weight '" + std::string(w[0]) + "'");
        if (given[k]) return fail(lineNumber, std::string(w[0]) + " given twice");
        if (w.size() != 2) return fail(lineNumber, std::string(w[0]) + " needs one value");
        int v = 0;
        const char* end = w[1].data() + w[1].size();
        const auto [ptr, ec] = std::from_chars(w[1].data(), end, v);
        if (ec != std::errc{} || ptr != end)
            return fail(lineNumber, "'" + std::string(w[1]) + "' is not a whole number");
        if (v < MinWeight || v > MaxWeight)
            return fail(lineNumber, std::string(w[1]) + " is outside " + std::to_string(MinWeight) + ".." +
                                        std::to_string(MaxWeight));
        values[k] = v;
        given[k] = true;
    }
    std::string missing;
    for (int k = 0; k < NumWeights; ++k)
        if (!given[k]) missing += (missing.empty() ? "" : ", ") + std::string(WeightNames[k]);
    if (!missing.empty()) return fail(std::max(1, static_cast<int>(lines.size())), "incomplete: missing " + missing);
    out.values = values;
    return out;
}

std::string rewriteWeights(std::string_view text, const WeightValues& values) {
    std::string out;
    for (std::string_view line : linesOf(text)) {
        const std::vector<std::string_view> w = wordsOf(line);
        const int k = w.size() == 2 ? indexOf(w[0]) : -1;
        if (k < 0) {
            out.append(line);
        } else {
            // Keep everything around the value: its column and the comment.
            const std::size_t at = static_cast<std::size_t>(w[1].data() - line.data());
            std::string value = std::to_string(values[k]);
            std::string rest(line.substr(at + w[1].size()));
            // A longer number eats into the spaces before a comment.
            if (value.size() > w[1].size()) {
                std::size_t extra = value.size() - w[1].size();
                while (extra > 0 && rest.size() > 1 && rest[0] == ' ' && rest[1] == ' ') {
                    rest.erase(0, 1);
                    --extra;
                }
            } else {
                if (!rest.empty() && rest.find_first_not_of(' ') != std::string::npos)
                    rest.insert(0, w[1].size() - value.size(), ' ');
            }
            out.append(line.substr(0, at));
            out += value;
            out += rest;
        }
        out += '\n';
    }
    return out;
}

}  // namespace eval
