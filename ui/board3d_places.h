#pragma once
// Where the perspective board shows each of its 32 places, shared by the
// window and by the tool that draws the pictures (so it holds no Qt).
//
// A place is a dark square as the view shows it: place p is square p in the
// normal view and square 33 - p in the inverted one. Its picture is a
// rectangle whose top-left corner is placeCorner(p), as wide as one column
// of its row and as tall as the row, in pixels of the board image. Rows
// widen and deepen towards the viewer because the board is seen in true
// perspective: the corners below lie on the plane projection
//   z = 1 + 0.04 (8 - t),  x = 349 + (u - 4) 66 / z,  y = -1105 + 1534 / z
// of board coordinates u (columns, 0..8 from the left) and t (rows, 0..8
// from the far edge) to within a pixel.

#include <array>
#include <cstddef>

namespace ui::perspective {

struct Corner {
    int x;
    int y;
};

// Indexed by place 1..32; entry 0 is unused.
inline constexpr std::array<Corner, 33> PlaceCorners = {{
    {0, 0},     {197, 57},  {298, 57},  {400, 57},  {501, 57},  {139, 93},  {244, 93},  {349, 93},  {454, 93},
    {187, 133}, {295, 133}, {403, 133}, {512, 133}, {125, 173}, {237, 173}, {349, 173}, {461, 173}, {175, 219},
    {291, 219}, {407, 219}, {523, 219}, {109, 263}, {229, 263}, {349, 263}, {469, 263}, {163, 316}, {287, 316},
    {411, 316}, {536, 316}, {90, 370},  {220, 370}, {349, 370}, {478, 370},
}};

// Per row of places (0 = the far row, places 1..4): a column's width and the
// row's height, in pixels. The last row ends at the board's near edge, 429.
inline constexpr std::array<int, 8> RowWidths = {51, 53, 54, 56, 58, 60, 62, 65};
inline constexpr std::array<int, 8> RowHeights = {36, 40, 40, 46, 44, 53, 54, 59};

// The board image (Image5) and every style's background picture.
inline constexpr int ImageWidth = 700;
inline constexpr int ImageHeight = 522;

// The plane projection above.
inline constexpr double CentreX = 349.0;
inline constexpr double Depth = 0.04;
inline constexpr double ColumnScale = 66.0;
inline constexpr double RowScale = 1534.0;
inline constexpr double Horizon = -1105.0;

constexpr int rowOf(int place) { return (place - 1) / 4; }
constexpr int pictureWidth(int place) { return RowWidths[static_cast<std::size_t>(rowOf(place))]; }
constexpr int pictureHeight(int place) { return RowHeights[static_cast<std::size_t>(rowOf(place))]; }

}  // namespace ui::perspective
