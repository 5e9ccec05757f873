#pragma once
// Games and analyses as plain text: the export file, the printed layout and
// standard PDN. Every function returns the text; writing it is separate.

#include <string>
#include <vector>

#include "game/core.h"

namespace files {

// Result of the last game: 0 Black won, 1 draw, 2 White won, 3 none yet.
enum class ResultCode { BlackWon = 0, Draw = 1, WhiteWon = 2, None = 3 };

// The export: names and result, "Tavolex144", then the full moves up to the
// position shown, four move-list lines a text line. Lines end with CR LF.
std::string exportText(const std::string& white, const std::string& black, ResultCode result, int currentPly,
                       const std::vector<std::string>& moveList);
// The printed layout: "White x Black", then three move-list lines a line.
std::vector<std::string> printedText(const std::string& white, const std::string& black, int currentPly,
                                     const std::vector<std::string>& moveList);

// The analysis report, its lines as they are, CR LF.
std::string analysisReportText(const std::vector<std::string>& lines);
// The printed analysis report: three empty lines, the names, the legend
// (how to read the scores, in the reader's language), the lines.
std::vector<std::string> printedAnalysisReport(const std::string& white, const std::string& black,
                                               const std::string& legend, const std::vector<std::string>& lines);

// Standard PDN of the game up to its last ply, with [GameType "26"] and the
// starting position as FEN when it is not the usual one.
std::string exportPdn(const game::Core& core, ResultCode result);

// Writes text (already with its line ends) through a temporary file.
bool writeTextFile(const std::string& path, const std::string& text);

}  // namespace files
