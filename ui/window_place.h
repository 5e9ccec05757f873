#pragma once
// Where the main window sits and how large it is: a sensible size for the
// screen the first time, then whatever the person made it, kept per program
// folder in "tavolex.ini" beside the game's files (the game files' own
// settings are not touched).

#include <filesystem>

class QMainWindow;

namespace ui {

class PlayArea;

// The size and place kept from the last run, or else four fifths of the
// screen's height at the board's proportions (almost the whole of a small
// screen), in the middle of the screen.
void placeWindowAtStart(QMainWindow& window, const std::filesystem::path& programDir);
void keepWindowPlace(const QMainWindow& window, const std::filesystem::path& programDir);

// The perspective picture is wider than the flat board: a window opened
// for the flat board grows sideways, as far as the screen allows, so that
// the picture gets the whole height rather than a band in the middle. A
// maximised or full-screen window, or one the person made wide, stays.
void widenForBoard(QMainWindow& window, const PlayArea& area);

}  // namespace ui
