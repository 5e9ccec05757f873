#pragma once
// The texts of the "Calcul" page: the thinking list and the root-move list,
// and "Editer coups", which saves the thinking list as "Bestmove.txt".

#include <filesystem>
#include <string>
#include <vector>

#include "engine/search_stats.h"

namespace engine {

// The words of the thinking lines. The window passes those of its
// interface language; the defaults are the French ones.
struct ThinkingWords {
    const char* depth = "Profondeur";
    const char* nodes = "Noeuds";
    const char* time = "Temps";
    const char* nodesPerSecond = "Noeuds/s";
    const char* score = "Score";
    const char* moves = "Coups";
};

// "Profondeur : %5d", "Noeuds : %8d", ("Temps : %6d s", "Noeuds/s : %8d" or
// "Noeuds/s : //"), "Score : %5d", "Coups : %3d", then the best line two
// plies a line.
std::vector<std::string> thinkingLines(const SearchStats& stats, const ThinkingWords& words = {});
// "%s-%s : %5d" or "%sx%s : %5d", with " ?<---" while the move is searched.
std::string rootMoveText(const RootMoveLine& line);

// saveThinkingList: every line of the thinking list, one per line, replacing any
// earlier file (written aside and renamed, so a failed save keeps it).
bool writeBestMoveFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace engine
