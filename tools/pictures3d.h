#pragma once
// The perspective boards' pictures: for each of the eight styles a
// background "damierN.bmp" in the program folder and, per style directory
// ("Images1" for styles 1 and 2, "Images3" ... "Images8"), 160 square
// pictures "pvN_s.bmp", "pbN_s.bmp", "dbN_s.bmp", "pnN_s.bmp", "dnN_s.bmp"
// (empty, White man, White king, Black man, Black king on place s).

#include <QDir>
#include <QImage>

namespace tools {

// Draws everything; false when a file could not be written.
bool drawPerspectiveStyles(const QDir& programFolder);

// One style's scene: the background, and the board with a piece of
// `code` (0 empty, 1..4 as the board's piece codes) on every place, so
// that a preview shows every picture at once; code -1 shows a game in
// progress with pieces of every kind.
QImage perspectiveScene(int style, int code);

}  // namespace tools
