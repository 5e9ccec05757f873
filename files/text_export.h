#pragma once
// Games and analyses as plain text: the export file, the printed analysis
// report and standard PDN. Every function returns the text; writing it is separate.

#include <string>
#include <vector>

#include "game/core.h"

namespace files {

// Result of the last game: Black won, draw, White won, none yet.
using ResultCode = game::GameResult;

// "1-0", "0-1", "1/2-1/2", or "*" for a game without result.
const char* pdnResultText(ResultCode result);

// A game written as text, or, when a player's name cannot be written in the
// layout so that it reads back the same, that name and no text.
struct ExportedText {
    std::string text;
    bool written = true;
    std::string unwritableName;  // when not written: Latin-1, as the game holds it
};

// The export of our layout: names and result, "Tavolex144", then the full
// moves up to the position shown, four move-list lines a text line, each
// line as the move list shows it except that a capture sharing its start
// and end with another legal move is written with its whole route. Names
// and moves are single-byte Latin-1; lines end with CR LF. A name holding a
// dash is set off by blanks ("Jean-Pierre - Bia").
ExportedText exportText(const game::Core& core, ResultCode result);

// The analysis report, its lines as they are, CR LF.
std::string analysisReportText(const std::vector<std::string>& lines);
// The printed analysis report: three empty lines, the names, the legend
// (how to read the scores, in the reader's language), the lines.
std::vector<std::string> printedAnalysisReport(const std::string& white, const std::string& black,
                                               const std::string& legend, const std::vector<std::string>& lines);

// Standard PDN of the game up to its last ply, in UTF-8: the seven main tags
// ("?" where unknown), [GameType "26"], the starting position as FEN by
// square names when it is not the usual one, and the moves, with the whole
// route of a capture that shares its start and end with another legal move.
ExportedText exportPdn(const game::Core& core, ResultCode result);

// Writes text (already with its line ends) through a temporary file.
bool writeTextFile(const std::string& path, const std::string& text);

}  // namespace files
