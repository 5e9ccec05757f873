#pragma once
// The perspective board, `Image5`: a picture of the style's background on
// which a square picture per place and piece code is painted at the place's
// corner (ui/board3d_places.h). It follows the flat board: every square
// the window draws or frames there is drawn or framed here too.
//
// The pictures belong to places, not squares: in the inverted view square s
// is painted with the pictures and at the corner of place 33 - s.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "rules/board.h"
#include "ui/board_view.h"

namespace ui {

class PerspectiveBoard : public QWidget, public BoardView {
    Q_OBJECT
public:
    explicit PerspectiveBoard(QWidget* parent = nullptr);

    // The style directory of a style: styles 1 and 2 share "Images1".
    static int directoryOf(int style) { return style <= 2 ? 1 : style; }

    // Reads the 160 square pictures of "Images<directory>", or the
    // background "damier<style>.bmp", from the program folder. On failure
    // returns the first file that could not be read; the pictures read so
    // far are dropped and plain shapes are drawn instead.
    std::optional<std::string> loadSquarePictures(const std::filesystem::path& programDir, int directory);
    std::optional<std::string> loadBackground(const std::filesystem::path& programDir, int style);
    // Files read so far, for the loading rules of the styles.
    int filesRead() const { return m_filesRead; }

    void setInverted(bool inverted) override { m_inverted = inverted; }
    void setNumbering(bool on) override { m_numbering = on; }
    // Blind play: the full repaint shows the empty board only.
    void setBlind(bool on) { m_blind = on; }
    bool blind() const { return m_blind; }
    // Whether frame marks are drawn now ("Indication des mouvements" may
    // hide them while the engine thinks).
    void setMarksAllowed(std::function<bool()> allowed) { m_marksAllowed = std::move(allowed); }

    // The place square s is shown at, and that place's picture rectangle.
    int placeOf(rules::Square s) const { return m_inverted ? 33 - s : s; }
    QRect placeRect(int place) const;
    // The place whose 60 x 60 click box holds (x, y), both bounds exclusive,
    // rows searched from the far one (a nearer row's box wins where two
    // overlap); nullopt when none does.
    static std::optional<int> placeAt(int x, int y);

    void drawSquare(rules::Square s, rules::PieceCode code) override;
    // A ring round the piece's foot in the frame's colour, inside the
    // place's picture so that drawing the square again takes it away.
    void frameSquare(rules::Square s, QColor colour) override;
    // The background over the whole image, without pieces.
    void paintBackground();
    // The background, then every square from `position` (none in blind
    // play), then the names when numbering is on.
    void showPosition(const rules::Board& position) override;
    QRect squareArea(rules::Square s) const override;
    QWidget* widget() override { return this; }

    const QImage& canvas() const { return m_canvas; }
    // Where the picture is shown within the widget, its proportions kept,
    // and a point of the widget in the picture's own pixels.
    QRect imageRect() const;
    QPoint toImage(QPointF widgetPoint) const;
    QPoint fromImage(QPoint imagePoint) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // A press on the picture: the square of the place under it, or 0.
    void squarePressed(rules::Square square);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintPlain(QPainter& p, QRect r, rules::PieceCode code);
    void writeName(QPainter& p, QPoint corner, rules::Square s);

    QImage m_canvas;
    QImage m_background;
    // Indexed by piece code 0..4 and place 1..32.
    std::array<std::array<QImage, 33>, 5> m_pictures;
    bool m_havePictures = false;
    bool m_inverted = false;
    bool m_numbering = false;
    bool m_blind = false;
    int m_filesRead = 0;
    std::function<bool()> m_marksAllowed;
};

}  // namespace ui
