#pragma once
// The flat board, drawn square by square on a picture that the widget
// shows. Every drawing call has drawn when it returns, so an animation
// that holds the picture shows exactly what was drawn so far.
//
// Geometry, in pixels of the board area: the square in view column c and
// row r (0..7 from the top left) has its top-left corner at
// (19 + 60c, 25 + 60r) and is 60 pixels wide; the inverted view draws
// square s where 33 - s is normally drawn.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "rules/board.h"

namespace ui {

class PerspectiveBoard;

class FlatBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int AreaSize = 520;
    static constexpr int SquareSize = 60;

    explicit FlatBoard(QWidget* parent = nullptr);

    // Loads the six pictures from "Images1" of the program folder. On
    // failure returns the name of the first missing or unreadable file, and
    // the board is drawn plainly without pictures.
    std::optional<std::string> loadPictures(const std::filesystem::path& programDir);
    bool hasPictures() const { return m_havePictures; }

    void setInverted(bool inverted);
    void setNumbering(bool on);
    // The perspective board follows this one: every square drawn, framed
    // or repainted here is drawn, framed or repainted there too, with the
    // same orientation and names.
    void setMirror(PerspectiveBoard* mirror) { m_mirror = mirror; }
    // Once the main menu shows, the repaint adds the outlines and the
    // coordinates round the board.
    void setMenuShown(bool shown) { m_menuShown = shown; }

    // The top-left corner of square s in the view shown.
    QPoint squareCorner(rules::Square s) const;

    void drawSquare(rules::Square s, rules::PieceCode code);
    void frameSquare(rules::Square s, QColor colour);
    // The whole board from `position`: outlines, light squares, every dark
    // square, the names when numbering is on, the coordinates.
    void placer_pions(const rules::Board& position);

    const QImage& canvas() const { return m_canvas; }

signals:
    // A mouse press at (x, y) of the board area.
    void pressed(int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintPlainSquare(QPainter& p, QRect r, rules::PieceCode code, bool light);
    void writeName(QPainter& p, QPoint corner, rules::Square s);

    QImage m_canvas;
    // Indexed by piece code 0..4; index 5 is the light square.
    std::array<QImage, 6> m_pictures;
    bool m_havePictures = false;
    bool m_inverted = false;
    bool m_numbering = false;
    bool m_menuShown = false;
    PerspectiveBoard* m_mirror = nullptr;
};

}  // namespace ui
