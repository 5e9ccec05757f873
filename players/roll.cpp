#include "players/roll.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "files/program_folder.h"
#include "files/text_lines.h"

namespace players {

namespace {
std::string pathOf(const std::filesystem::path& folder, const char* name) {
    return files::resolveInFolder(folder, name).string();
}
}  // namespace

Roll loadRoll(const std::filesystem::path& folder) {
    Roll roll;
    roll.names = files::readTextLines(pathOf(folder, NamesFile)).value_or(std::vector<std::string>{});
    roll.ratings = files::readTextLines(pathOf(folder, RatingsFile)).value_or(std::vector<std::string>{});
    return roll;
}

bool saveNames(const std::filesystem::path& folder, const Roll& roll) {
    return files::writeTextLines(pathOf(folder, NamesFile), roll.names);
}

bool saveRatings(const std::filesystem::path& folder, const Roll& roll) {
    return files::writeTextLines(pathOf(folder, RatingsFile), roll.ratings);
}

int ratingOf(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    long v = 0;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && v < 1000000000L; ++i)
        v = v * 10 + (line[i] - '0');
    return static_cast<int>(negative ? -v : v);
}

bool addPlayer(Roll& roll, const std::string& name, int rating) {
    if (name.empty()) return false;
    char text[16];
    std::snprintf(text, sizeof text, "%4d", rating);
    roll.names.push_back(name);
    roll.ratings.emplace_back(text);
    return true;
}

bool deletePlayer(Roll& roll, int index) {
    if (index <= 0 || index >= static_cast<int>(roll.names.size())) return false;
    roll.names.erase(roll.names.begin() + index);
    if (index < static_cast<int>(roll.ratings.size())) roll.ratings.erase(roll.ratings.begin() + index);
    return true;
}

NewRatings updatedRatings(int w, int b, Result result) {
    if (w < 1 || b < 1) return {w, b};
    switch (result) {
        case Result::BlackWins: {
            // The loser's share of the winner's rating enters four times.
            int x = std::abs(w - b) * w / b;
            x /= 20;
            for (int i = 0; i < 3; ++i) x = x * w / b;
            const int g = x + 5;
            return {w - g, b + g};
        }
        case Result::WhiteWins: {
            // Here the ratio enters three times, not four.
            int x = std::abs(b - w) * b / w;
            x /= 20;
            for (int i = 0; i < 2; ++i) x = x * b / w;
            const int g = x + 5;
            return {w + g, b - g};
        }
        case Result::Draw: return {w - (w - b) / 10, b - (b - w) / 10};
    }
    return {w, b};
}

std::string ratingChangeText(int from, int to) {
    char text[64];
    std::snprintf(text, sizeof text, " passe de %4d \xC3\xA0 %4d", from, to);
    return text;
}

}  // namespace players
