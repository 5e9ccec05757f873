#include "ui/flat_board.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "files/program_folder.h"

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
// The same drawn at 120 x 120, for screens that show the board large.
constexpr std::array<const char*, 6> LargePictureNames = {
    "Images1/2x/1pva.png", "Images1/2x/1pba.png", "Images1/2x/1dba.png",
    "Images1/2x/1pna.png", "Images1/2x/1dna.png", "Images1/2x/1cache.png",
};

}  // namespace

FlatBoard::FlatBoard(QWidget* parent) : QWidget(parent) {
    setObjectName("Damier2D");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    makeCanvas(devicePixelRatioF());
    m_canvas.fill(Silver);
}

std::optional<std::string> FlatBoard::loadPictures(const std::filesystem::path& programDir) {
    m_havePictures = false;
    m_haveLargePictures = false;
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
    // The large drawings are a refinement: without them the small ones are scaled.
    m_haveLargePictures = true;
    for (std::size_t i = 0; i < LargePictureNames.size() && m_haveLargePictures; ++i) {
        m_largePictures[i] =
            QImage(QString::fromStdString(files::resolveInFolder(programDir, LargePictureNames[i]).string()));
        m_haveLargePictures = !m_largePictures[i].isNull();
    }
    return std::nullopt;
}

const QImage& FlatBoard::picture(int index) const {
    const auto i = static_cast<std::size_t>(index);
    return m_haveLargePictures && m_canvas.devicePixelRatio() > 1.4 ? m_largePictures[i] : m_pictures[i];
}

QPoint FlatBoard::squareCorner(rules::Square s) const {
    const int place = m_inverted ? 33 - s : s;
    const int row = (place - 1) / 4;
    const int column = 2 * ((place - 1) % 4) + (row % 2 == 0 ? 1 : 0);
    return {BoardLeft + SquareSize * column, BoardTop + SquareSize * row};
}

rules::Square FlatBoard::squareAt(int x, int y, bool inverted) {
    // Presses in the margin round the playing area fall outside it.
    if (x < 20 || y < 20) return 0;
    const int col = (x - 20) / 60, row = (y - 20) / 60;
    if (col > 7 || row > 7 || (col + row) % 2 == 0) return 0;
    const int square = col / 2 + 4 * row + 1;
    return static_cast<rules::Square>(inverted ? 33 - square : square);
}

QRect FlatBoard::boardRect() const {
    const int side = std::min(width(), height());
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

QRect FlatBoard::squareArea(rules::Square s) const {
    const QRect board = boardRect();
    const double scale = double(board.width()) / AreaSize;
    const QPoint c = squareCorner(s);
    return QRectF(board.x() + c.x() * scale, board.y() + c.y() * scale, SquareSize * scale, SquareSize * scale)
        .toRect();
}

// Whole device pixels per design pixel: one, or two once the board is
// shown noticeably larger than its design size (or on a dense screen).
qreal FlatBoard::neededRatio() const {
    const qreal shown = devicePixelRatioF() * boardRect().width() / AreaSize;
    return shown > 1.25 ? 2.0 : 1.0;
}

void FlatBoard::makeCanvas(qreal ratio) {
    m_canvas = QImage(QSize(AreaSize, AreaSize) * ratio, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
}

QImage FlatBoard::designImage() const {
    if (m_canvas.width() == AreaSize) {
        QImage image = m_canvas;
        image.setDevicePixelRatio(1.0);
        return image;
    }
    QImage image = m_canvas.scaled(AreaSize, AreaSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    image.setDevicePixelRatio(1.0);
    return image;
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

void FlatBoard::paintSquare(rules::Square s, rules::PieceCode code) {
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QPoint corner = squareCorner(s);
    const QRect r(corner, QSize(SquareSize, SquareSize));
    if (m_havePictures)
        p.drawImage(r, picture(code));
    else
        paintPlainSquare(p, r, code, false);
    if (m_numbering) writeName(p, corner, s);
}

void FlatBoard::paintFrame(rules::Square s, QColor colour) {
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
}

void FlatBoard::drawSquare(rules::Square s, rules::PieceCode code) {
    if (s < 1 || s > rules::NumSquares) return;
    if (!rules::isPiece(code)) code = rules::Empty;
    paintSquare(s, code);
    m_shown[s] = code;
    m_frames[s].reset();
    update(squareArea(s));
}

void FlatBoard::frameSquare(rules::Square s, QColor colour) {
    if (s < 1 || s > rules::NumSquares) return;
    paintFrame(s, colour);
    m_frames[s] = colour;
    update(squareArea(s));
}

void FlatBoard::paintBoard() {
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
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
            p.drawImage(r, picture(LightPicture));
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
    p.end();
    for (int s = 1; s <= rules::NumSquares; ++s) {
        paintSquare(static_cast<rules::Square>(s), m_shown[s]);
        if (m_frames[s]) paintFrame(static_cast<rules::Square>(s), *m_frames[s]);
    }
}

void FlatBoard::showPosition(const rules::Board& position) {
    for (int s = 1; s <= rules::NumSquares; ++s) {
        m_shown[s] = rules::isPiece(position[s]) ? position[s] : rules::Empty;
        m_frames[s].reset();
    }
    paintBoard();
    update();
}

void FlatBoard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const qreal ratio = neededRatio();
    if (ratio == m_canvas.devicePixelRatio()) return;
    // The picture again at the new resolution, exactly as it stood.
    makeCanvas(ratio);
    paintBoard();
}

void FlatBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(boardRect(), m_canvas);
}

void FlatBoard::mousePressEvent(QMouseEvent* event) {
    const QRect board = boardRect();
    if (board.isEmpty()) return;
    const QPointF at = (event->position() - board.topLeft()) * (double(AreaSize) / board.width());
    emit squarePressed(squareAt(static_cast<int>(at.x()), static_cast<int>(at.y()), m_inverted));
}

}  // namespace ui
