#include "ui/flat_board.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

#include "files/program_folder.h"
#include "ui/board3d.h"

namespace ui {

namespace {

constexpr int BoardLeft = 19;
constexpr int BoardTop = 25;
constexpr int LightPicture = 5;
const QColor Silver(192, 192, 192);

// The picture of each piece code, and of the light square last.
constexpr std::array<const char*, 6> PictureNames = {
    "Images1/1pva.bmp", "Images1/1pba.BMP", "Images1/1dba.bmp",
    "Images1/1pna.bmp", "Images1/1dna.bmp", "Images1/1cache.BMP",
};

}  // namespace

FlatBoard::FlatBoard(QWidget* parent) : QWidget(parent) {
    setObjectName("Damier2D");
    setFixedSize(AreaSize, AreaSize);
    const qreal ratio = devicePixelRatioF();
    m_canvas = QImage(QSize(AreaSize, AreaSize) * ratio, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(Silver);
}

std::optional<std::string> FlatBoard::loadPictures(const std::filesystem::path& programDir) {
    m_havePictures = false;
    for (std::size_t i = 0; i < PictureNames.size(); ++i) {
        const std::filesystem::path file = files::resolveInFolder(programDir, PictureNames[i]);
        QImage image(QString::fromStdString(file.string()));
        if (image.isNull()) {
            for (QImage& p : m_pictures) p = QImage();
            return std::string(PictureNames[i]);
        }
        m_pictures[i] = image;
    }
    m_havePictures = true;
    return std::nullopt;
}

void FlatBoard::setInverted(bool inverted) {
    m_inverted = inverted;
    if (m_mirror) m_mirror->setInverted(inverted);
}

void FlatBoard::setNumbering(bool on) {
    m_numbering = on;
    if (m_mirror) m_mirror->setNumbering(on);
}

QPoint FlatBoard::squareCorner(rules::Square s) const {
    const int place = m_inverted ? 33 - s : s;
    const int row = (place - 1) / 4;
    const int column = 2 * ((place - 1) % 4) + (row % 2 == 0 ? 1 : 0);
    return {BoardLeft + SquareSize * column, BoardTop + SquareSize * row};
}

// Without pictures: plain wood colours and flat discs, a gold ring for kings.
void FlatBoard::paintPlainSquare(QPainter& p, QRect r, rules::PieceCode code, bool light) {
    p.fillRect(r, light ? QColor(232, 206, 160) : QColor(112, 70, 38));
    if (!rules::isPiece(code)) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const bool white = rules::isWhite(code);
    p.setPen(QPen(white ? QColor(150, 135, 100) : QColor(0, 0, 0), 2));
    p.setBrush(white ? QColor(245, 238, 220) : QColor(40, 32, 30));
    p.drawEllipse(r.adjusted(6, 6, -6, -6));
    if (rules::isKing(code)) {
        p.setPen(QPen(QColor(220, 170, 30), 4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(18, 18, -18, -18));
    }
    p.restore();
}

void FlatBoard::writeName(QPainter& p, QPoint corner, rules::Square s) {
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QString name = QString::fromLatin1(rules::squareName(s).data(), 2);
    const QRect box(corner.x() + 2, corner.y() + 2, 16, 13);
    p.fillRect(box, Silver);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, name);
}

void FlatBoard::drawSquare(rules::Square s, rules::PieceCode code) {
    if (s < 1 || s > rules::NumSquares) return;
    if (!rules::isPiece(code)) code = rules::Empty;
    QPainter p(&m_canvas);
    const QPoint corner = squareCorner(s);
    const QRect r(corner, QSize(SquareSize, SquareSize));
    if (m_havePictures)
        p.drawImage(r, m_pictures[code]);
    else
        paintPlainSquare(p, r, code, false);
    if (m_numbering) writeName(p, corner, s);
    p.end();
    update(r);
    if (m_mirror) m_mirror->drawSquare(s, code);
}

void FlatBoard::frameSquare(rules::Square s, QColor colour) {
    if (s < 1 || s > rules::NumSquares) return;
    QPainter p(&m_canvas);
    const QPoint c = squareCorner(s);
    // Two nested one-pixel outlines: (x, y)..(x + 59, y + 59) and one pixel inside.
    for (int inset = 0; inset < 2; ++inset) {
        const int x0 = c.x() + inset, y0 = c.y() + inset, side = SquareSize - 2 * inset;
        p.fillRect(x0, y0, side, 1, colour);
        p.fillRect(x0, y0 + side - 1, side, 1, colour);
        p.fillRect(x0, y0, 1, side, colour);
        p.fillRect(x0 + side - 1, y0, 1, side, colour);
    }
    p.end();
    update(QRect(c, QSize(SquareSize, SquareSize)));
    if (m_mirror) m_mirror->frameSquare(s, colour);
}

void FlatBoard::placer_pions(const rules::Board& position) {
    {
        QPainter p(&m_canvas);
        p.fillRect(QRect(0, 0, AreaSize, AreaSize), Silver);
        if (m_menuShown) {
            p.setPen(QColor(128, 128, 128));
            p.drawRect(QRect(QPoint(6, 6), QPoint(508, 508)));
            p.setPen(Qt::white);
            p.drawRect(QRect(QPoint(7, 7), QPoint(509, 509)));
        }
        // The light squares sit by place, so they are the same in both views.
        for (int s = 1; s <= rules::NumSquares; ++s) {
            const QRect r(BoardLeft + 120 * ((s - 1) % 4) + 60 * (((s - 1) / 4) % 2), BoardTop + 60 * ((s - 1) / 4),
                          SquareSize, SquareSize);
            if (m_havePictures)
                p.drawImage(r, m_pictures[LightPicture]);
            else
                paintPlainSquare(p, r, rules::Empty, true);
        }
        if (m_menuShown) {
            QFont font = p.font();
            font.setPixelSize(12);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::black);
            for (int i = 0; i < 8; ++i) {
                const QChar file(m_inverted ? 'H' - i : 'A' + i);
                const QChar row(m_inverted ? '1' + i : '8' - i);
                p.drawText(QRect(50 + 60 * i - 2, 10, 14, 14), Qt::AlignCenter, file);
                p.drawText(QRect(8, 40 + 60 * i - 2, 11, 14), Qt::AlignCenter, row);
                p.drawText(QRect(500, 40 + 60 * i - 2, 11, 14), Qt::AlignCenter, row);
            }
        }
    }
    // The perspective board repaints whole, background first.
    PerspectiveBoard* mirror = std::exchange(m_mirror, nullptr);
    for (int s = 1; s <= rules::NumSquares; ++s) drawSquare(static_cast<rules::Square>(s), position[s]);
    m_mirror = mirror;
    if (m_mirror) m_mirror->placer_pions(position);
    update();
}

void FlatBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(0, 0), m_canvas);
}

void FlatBoard::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit pressed(at.x(), at.y());
}

}  // namespace ui
