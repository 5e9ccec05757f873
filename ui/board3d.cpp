#include "ui/board3d.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "files/program_folder.h"
#include "ui/board3d_places.h"

namespace ui {

namespace {

namespace pp = ui::perspective;

constexpr std::array<const char*, 5> Kinds = {"pv", "pb", "db", "pn", "dn"};  // by piece code
constexpr int ClickBox = 60;
const QColor Silver(192, 192, 192);

}  // namespace

PerspectiveBoard::PerspectiveBoard(QWidget* parent) : QWidget(parent) {
    setObjectName("Image5");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_canvas = QImage(pp::ImageWidth, pp::ImageHeight, QImage::Format_RGB32);
    m_canvas.fill(QColor(40, 40, 40));
}

std::optional<std::string> PerspectiveBoard::loadSquarePictures(const std::filesystem::path& programDir,
                                                                int directory) {
    m_havePictures = false;
    const std::string folder = "Images" + std::to_string(directory);
    for (int code = 0; code <= 4; ++code)
        for (int place = 1; place <= rules::NumSquares; ++place) {
            const std::string name = folder + "/" + Kinds[static_cast<std::size_t>(code)] + std::to_string(directory) +
                                     "_" + std::to_string(place) + ".bmp";
            ++m_filesRead;
            QImage image(QString::fromStdString(files::resolveInFolder(programDir, name).string()));
            if (image.isNull()) {
                for (auto& row : m_pictures) row.fill(QImage());
                return name;
            }
            m_pictures[static_cast<std::size_t>(code)][static_cast<std::size_t>(place)] = image;
        }
    m_havePictures = true;
    return std::nullopt;
}

std::optional<std::string> PerspectiveBoard::loadBackground(const std::filesystem::path& programDir, int style) {
    const std::string name = "damier" + std::to_string(style) + ".bmp";
    ++m_filesRead;
    QImage image(QString::fromStdString(files::resolveInFolder(programDir, name).string()));
    if (image.isNull()) {
        m_background = QImage();
        return name;
    }
    m_background = image.convertToFormat(QImage::Format_RGB32);
    return std::nullopt;
}

QRect PerspectiveBoard::placeRect(int place) const {
    const pp::Corner c = pp::PlaceCorners[static_cast<std::size_t>(place)];
    return {c.x, c.y, pp::pictureWidth(place), pp::pictureHeight(place)};
}

std::optional<int> PerspectiveBoard::placeAt(int x, int y) {
    // The boxes are taller than the rows, so a point may lie in the boxes of
    // two rows: the nearer row, searched later, is the one the eye sees there.
    std::optional<int> hit;
    for (int first = 1; first <= rules::NumSquares; first += 4) {
        const int rowY = pp::PlaceCorners[static_cast<std::size_t>(first)].y;
        if (!(rowY < y && y < rowY + ClickBox)) continue;
        for (int place = first; place < first + 4; ++place) {
            const int placeX = pp::PlaceCorners[static_cast<std::size_t>(place)].x;
            if (placeX < x && x < placeX + ClickBox) hit = place;
        }
    }
    return hit;
}

QSize PerspectiveBoard::sizeHint() const { return {pp::ImageWidth, pp::ImageHeight}; }
QSize PerspectiveBoard::minimumSizeHint() const { return {pp::ImageWidth * 3 / 5, pp::ImageHeight * 3 / 5}; }
int PerspectiveBoard::heightForWidth(int width) const { return width * pp::ImageHeight / pp::ImageWidth; }

QRect PerspectiveBoard::imageRect() const {
    const double scale = std::min(double(width()) / pp::ImageWidth, double(height()) / pp::ImageHeight);
    const int w = static_cast<int>(pp::ImageWidth * scale), h = static_cast<int>(pp::ImageHeight * scale);
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

QPoint PerspectiveBoard::toImage(QPointF widgetPoint) const {
    const QRect shown = imageRect();
    if (shown.isEmpty()) return {-1, -1};
    const QPointF at = (widgetPoint - shown.topLeft()) * (double(pp::ImageWidth) / shown.width());
    return {static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y()))};
}

QPoint PerspectiveBoard::fromImage(QPoint imagePoint) const {
    const QRect shown = imageRect();
    const double scale = double(shown.width()) / pp::ImageWidth;
    // The middle of the image pixel, so that the way back lands on it.
    return (QPointF(shown.topLeft()) + (QPointF(imagePoint) + QPointF(0.5, 0.5)) * scale).toPoint();
}

QRect PerspectiveBoard::squareArea(rules::Square s) const {
    const QRect shown = imageRect();
    const double scale = double(shown.width()) / pp::ImageWidth;
    const QRect r = placeRect(placeOf(s));
    return QRectF(shown.x() + r.x() * scale, shown.y() + r.y() * scale, r.width() * scale, r.height() * scale).toRect();
}

// Without pictures: a dark square and flat discs, a gold ring for kings.
void PerspectiveBoard::paintPlain(QPainter& p, QRect r, rules::PieceCode code) {
    p.fillRect(r, QColor(112, 70, 38));
    if (!rules::isPiece(code)) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const bool white = rules::isWhite(code);
    p.setPen(QPen(white ? QColor(150, 135, 100) : QColor(0, 0, 0), 2));
    p.setBrush(white ? QColor(245, 238, 220) : QColor(40, 32, 30));
    const QRect disc = r.adjusted(r.width() / 6, r.height() / 6, -r.width() / 6, -r.height() / 6);
    p.drawEllipse(disc);
    if (rules::isKing(code)) {
        p.setPen(QPen(QColor(220, 170, 30), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(disc.adjusted(disc.width() / 4, disc.height() / 4, -disc.width() / 4, -disc.height() / 4));
    }
    p.restore();
}

void PerspectiveBoard::writeName(QPainter& p, QPoint corner, rules::Square s) {
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QRect box(corner.x() + 2, corner.y() + 2, 16, 13);
    p.fillRect(box, Silver);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, QString::fromLatin1(rules::squareName(s).data(), 2));
}

void PerspectiveBoard::drawSquare(rules::Square s, rules::PieceCode code) {
    if (s < 1 || s > rules::NumSquares) return;
    if (!rules::isPiece(code)) code = rules::Empty;
    const int place = placeOf(s);
    const QRect r = placeRect(place);
    QPainter p(&m_canvas);
    if (m_havePictures)
        p.drawImage(r.topLeft(), m_pictures[static_cast<std::size_t>(code)][static_cast<std::size_t>(place)]);
    else
        paintPlain(p, r, code);
    if (m_numbering) writeName(p, r.topLeft(), s);
    p.end();
    update(squareArea(s));
}

void PerspectiveBoard::frameSquare(rules::Square s, QColor colour) {
    if (s < 1 || s > rules::NumSquares) return;
    if (m_marksAllowed && !m_marksAllowed()) return;
    const QRect r = placeRect(placeOf(s));
    // An ellipse lying on the square, as wide as the piece, in perspective:
    // flatter on the far rows, where the squares are shallower.
    const QRectF ring = QRectF(r).adjusted(3.5, r.height() * 0.35, -3.5, -3.5);
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ring);
    p.end();
    update(squareArea(s));
}

void PerspectiveBoard::paintBackground() {
    QPainter p(&m_canvas);
    if (m_background.isNull())
        p.fillRect(m_canvas.rect(), QColor(40, 40, 40));
    else
        p.drawImage(0, 0, m_background);
    p.end();
    update();
}

void PerspectiveBoard::showPosition(const rules::Board& position) {
    paintBackground();
    if (m_blind) return;
    for (int s = 1; s <= rules::NumSquares; ++s) drawSquare(static_cast<rules::Square>(s), position[s]);
}

void PerspectiveBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(imageRect(), m_canvas);
}

void PerspectiveBoard::mousePressEvent(QMouseEvent* event) {
    const QPoint at = toImage(event->position());
    const std::optional<int> place = placeAt(at.x(), at.y());
    emit squarePressed(place ? static_cast<rules::Square>(m_inverted ? 33 - *place : *place) : rules::Square{0});
}

}  // namespace ui
