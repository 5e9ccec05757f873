#pragma once
// The flat board, drawn square by square on a picture that the widget
// shows scaled to its room. Every drawing call has drawn when it returns,
// so an animation that holds the picture shows exactly what was drawn so
// far.
//
// Geometry, in design pixels of the board area (520 x 520): the square in
// view column c and row r (0..7 from the top left) has its top-left corner
// at (19 + 60c, 25 + 60r) and is 60 pixels wide; the inverted view draws
// square s where 33 - s is normally drawn. Presses are read from a playing
// area that starts 20 pixels in, in cells of 60.
//
// The picture is kept at one or two device pixels per design pixel,
// whichever the board's size on the screen needs; at two it uses the
// pictures drawn at twice the size when the program folder has them.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "rules/board.h"
#include "ui/board_view.h"

namespace ui {

class FlatBoard : public QWidget, public BoardView {
    Q_OBJECT
public:
    static constexpr int AreaSize = 520;
    static constexpr int SquareSize = 60;

    explicit FlatBoard(QWidget* parent = nullptr);

    // Loads the six pictures from "Images1" of the program folder (and their
    // double-size drawings from "Images1/2x" when present). On failure
    // returns the name of the first missing or unreadable file, and the
    // board is drawn plainly without pictures.
    std::optional<std::string> loadPictures(const std::filesystem::path& programDir);
    bool hasPictures() const { return m_havePictures; }

    void setInverted(bool inverted) override { m_inverted = inverted; }
    void setNumbering(bool on) override { m_numbering = on; }
    // Once the main menu shows, the repaint adds the outlines and the
    // coordinates round the board.
    void setMenuShown(bool shown) { m_menuShown = shown; }

    // The top-left corner of square s in the view shown, in design pixels.
    QPoint squareCorner(rules::Square s) const;
    // The dark square a press at design pixel (x, y) falls on; 0 for the
    // margin and the light squares.
    static rules::Square squareAt(int x, int y, bool inverted);

    void drawSquare(rules::Square s, rules::PieceCode code) override;
    void frameSquare(rules::Square s, QColor colour) override;
    // The whole board from `position`: outlines, light squares, every dark
    // square, the names when numbering is on, the coordinates.
    void showPosition(const rules::Board& position) override;
    QRect squareArea(rules::Square s) const override;
    QWidget* widget() override { return this; }

    // The picture as drawn, at its device resolution.
    const QImage& canvas() const { return m_canvas; }
    // The same at one pixel per design pixel.
    QImage designImage() const;
    // Where the board is shown within the widget, its proportions kept.
    QRect boardRect() const;

    QSize sizeHint() const override { return {AreaSize, AreaSize}; }
    QSize minimumSizeHint() const override { return {300, 300}; }

signals:
    // A press on the board: the dark square under it, or 0.
    void squarePressed(rules::Square square);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintSquare(rules::Square s, rules::PieceCode code);
    void paintFrame(rules::Square s, QColor colour);
    void paintBoard();
    void paintPlainSquare(QPainter& p, QRect r, rules::PieceCode code, bool light);
    void writeName(QPainter& p, QPoint corner, rules::Square s);
    const QImage& picture(int index) const;
    // Device pixels per design pixel the board needs at its size now.
    qreal neededRatio() const;
    void makeCanvas(qreal ratio);

    QImage m_canvas;
    // Indexed by piece code 0..4; index 5 is the light square.
    std::array<QImage, 6> m_pictures;
    std::array<QImage, 6> m_largePictures;
    bool m_havePictures = false;
    bool m_haveLargePictures = false;
    bool m_inverted = false;
    bool m_numbering = false;
    bool m_menuShown = false;
    // What each square shows now, and the frame drawn over it since, so
    // that a change of resolution draws the picture again exactly as it is.
    rules::Board m_shown{};
    std::array<std::optional<QColor>, 33> m_frames{};
};

}  // namespace ui
