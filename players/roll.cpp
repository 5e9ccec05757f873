#include "players/roll.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "files/program_folder.h"
#include "files/save_file.h"
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

bool saveRoll(const std::filesystem::path& folder, const Roll& roll) {
    const files::FileToSave both[] = {
        {pathOf(folder, NamesFile), files::joinTextLines(roll.names)},
        {pathOf(folder, RatingsFile), files::joinTextLines(roll.ratings)},
    };
    return files::saveFilesTogether(both) == files::SaveStatus::Saved;
}

RatingRead readRating(const std::string& line) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::size_t i = 0;
    while (i < line.size() && blank(line[i])) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    const std::size_t digitsStart = i;
    std::int64_t v = 0;
    bool huge = false;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        v = v * 10 + (line[i] - '0');
        if (v > HighestRating) {
            huge = true;
            v = HighestRating + 1;   // no wider than needed to say it is too large
        }
    }
    const bool digits = i > digitsStart;
    while (i < line.size() && blank(line[i])) ++i;
    if (!digits || i != line.size()) return {0, RatingProblem::Unreadable};
    if (negative) v = -v;
    if (huge || v < LowestRating || v > HighestRating) return {0, RatingProblem::OutOfRange};
    return {static_cast<int>(v), RatingProblem::None};
}

int ratingOf(const std::string& line) { return readRating(line).value; }

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
    const auto valid = [](int r) { return r >= LowestRating && r <= HighestRating; };
    if (!valid(w) || !valid(b)) return {w, b};
    // With both ratings in range every product below stays under 2^56.
    const std::int64_t W = w, B = b;
    const auto kept = [](std::int64_t r) {
        return static_cast<int>(std::clamp<std::int64_t>(r, LowestRating, HighestRating));
    };
    switch (result) {
        case Result::BlackWins: {
            // The loser's share of the winner's rating enters four times.
            std::int64_t x = (W > B ? W - B : B - W) * W / B;
            x /= 20;
            for (int i = 0; i < 3; ++i) x = x * W / B;
            const std::int64_t g = x + 5;
            return {kept(W - g), kept(B + g)};
        }
        case Result::WhiteWins: {
            // Here the ratio enters three times, not four.
            std::int64_t x = (W > B ? W - B : B - W) * B / W;
            x /= 20;
            for (int i = 0; i < 2; ++i) x = x * B / W;
            const std::int64_t g = x + 5;
            return {kept(W + g), kept(B - g)};
        }
        case Result::Draw: return {kept(W - (W - B) / 10), kept(B - (B - W) / 10)};
    }
    return {w, b};
}

std::string ratingChangeText(int from, int to) {
    char text[64];
    std::snprintf(text, sizeof text, " passe de %4d \xC3\xA0 %4d", from, to);
    return text;
}

}  // namespace players
