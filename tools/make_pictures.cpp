// make_pictures: renders the flat board's six square pictures (60 x 60
// pixels) into <program folder>/Images1: wooden light and dark squares,
// and turned men and crowned kings of both colours on the dark square;
// and the position set-up's five piece selectors, the same pictures drawn
// at 48 x 48 (the empty dark square is the eraser);
// then the eight perspective styles (tools/pictures3d.cpp).
//
//   make_pictures PROGRAM_FOLDER [PREVIEW_FOLDER]
//   make_pictures --icons ICON_FOLDER
//
// The second form draws the program's icon for the desktop instead: an
// ivory king before an ebony man, on a clear background, as
// ICON_FOLDER/<N>x<N>/apps/tavolex.png at the sizes desktops look for.
//
// With a preview folder it also writes, per style, PNG scenes with a piece
// of each kind on every place, to look at the pictures together.
// Everything is drawn with vector shapes and a fixed pseudo-random grain,
// so every build gives the same pictures.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "tools/pictures3d.h"

namespace {

constexpr int Size = 60;

// A small linear congruential generator: the grain must not change between builds.
class Grain {
public:
    explicit Grain(std::uint32_t seed) : m_state(seed) {}
    double next() {  // 0 .. 1
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1u << 24);
    }

private:
    std::uint32_t m_state;
};

// Wood: a base gradient, then long wavy fibres of slightly lighter and
// darker tone running along the square, then a soft bevel on the edges.
void paintWood(QPainter& p, QColor light, QColor dark, std::uint32_t seed, bool diagonal) {
    QLinearGradient base(0, 0, diagonal ? Size : 0, Size);
    base.setColorAt(0, light);
    base.setColorAt(1, dark);
    p.fillRect(0, 0, Size, Size, base);

    Grain g(seed);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < 46; ++i) {
        const double y0 = g.next() * Size;
        const double amplitude = 0.6 + g.next() * 2.2;
        const double phase = g.next() * 6.28;
        const double wave = 0.05 + g.next() * 0.08;
        const bool lighter = g.next() < 0.45;
        QColor c = lighter ? light.lighter(108 + int(g.next() * 10)) : dark.darker(110 + int(g.next() * 25));
        c.setAlpha(40 + int(g.next() * 70));
        QPainterPath fibre;
        fibre.moveTo(-2, y0);
        for (int x = 0; x <= Size + 2; x += 3) fibre.lineTo(x, y0 + amplitude * std::sin(phase + x * wave));
        p.setPen(QPen(c, 0.5 + g.next() * 1.1));
        p.drawPath(fibre);
    }
    // A couple of pores, small dark flecks.
    for (int i = 0; i < 14; ++i) {
        QColor c = dark.darker(140);
        c.setAlpha(60);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(g.next() * Size, g.next() * Size), 0.6 + g.next(), 0.4);
    }
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Bevel: light from the top left.
    p.setPen(QColor(255, 255, 255, 50));
    p.drawLine(0, 0, Size - 1, 0);
    p.drawLine(0, 0, 0, Size - 1);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawLine(0, Size - 1, Size - 1, Size - 1);
    p.drawLine(Size - 1, 0, Size - 1, Size - 1);
}

void paintDarkSquare(QPainter& p) { paintWood(p, QColor(122, 74, 38), QColor(78, 44, 20), 7, true); }
void paintLightSquare(QPainter& p) { paintWood(p, QColor(240, 214, 160), QColor(214, 178, 116), 11, false); }

struct PieceColours {
    QColor highlight, body, shade, groove;
};

// A turned piece seen from above: a shadow on the square, a rounded rim,
// two grooves cut on the lathe and a slightly domed top.
void paintPiece(QPainter& p, const PieceColours& c) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(29.5, 29.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(centre + QPointF(2.0, 2.8), 25.0, 25.0);

    QRadialGradient rim(centre + QPointF(-7, -8), 32);
    rim.setColorAt(0, c.highlight);
    rim.setColorAt(0.55, c.body);
    rim.setColorAt(1, c.shade);
    p.setBrush(rim);
    p.setPen(QPen(c.shade.darker(130), 1.2));
    p.drawEllipse(centre, 24.5, 24.5);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.groove, 1.4));
    p.drawEllipse(centre, 20.5, 20.5);
    p.setPen(QPen(c.highlight, 0.8));
    p.drawEllipse(centre + QPointF(-0.4, -0.4), 19.0, 19.0);

    QRadialGradient top(centre + QPointF(-5, -6), 22);
    top.setColorAt(0, c.highlight);
    top.setColorAt(0.7, c.body);
    top.setColorAt(1, c.shade);
    p.setBrush(top);
    p.setPen(QPen(c.groove, 1.0));
    p.drawEllipse(centre, 15.0, 15.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.groove, 0.9));
    p.drawEllipse(centre, 9.0, 9.0);

    // The gloss of the varnish.
    QColor gloss(255, 255, 255, 70);
    p.setPen(QPen(gloss, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(centre.x() - 22, centre.y() - 22, 44, 44), 100 * 16, 60 * 16);
}

// A king carries a golden crown on its top: a band and five points with
// pearls, outlined so it reads on both colours.
void paintCrown(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const double cx = 29.5, base = 37.0, top = 19.0;
    QPainterPath crown;
    crown.moveTo(cx - 12, base);
    crown.lineTo(cx - 13, top + 4);
    crown.lineTo(cx - 7, top + 11);
    crown.lineTo(cx - 4, top + 1);
    crown.lineTo(cx, top + 9);
    crown.lineTo(cx + 4, top + 1);
    crown.lineTo(cx + 7, top + 11);
    crown.lineTo(cx + 13, top + 4);
    crown.lineTo(cx + 12, base);
    crown.closeSubpath();
    QLinearGradient gold(0, top, 0, base);
    gold.setColorAt(0, QColor(255, 236, 140));
    gold.setColorAt(0.5, QColor(232, 178, 40));
    gold.setColorAt(1, QColor(168, 112, 18));
    p.setBrush(gold);
    p.setPen(QPen(QColor(92, 58, 8), 1.1));
    p.drawPath(crown);
    // The band.
    p.setBrush(QColor(200, 140, 26));
    p.drawRect(QRectF(cx - 12, base - 5, 24, 5));
    // Pearls on the points and a red stone in the band.
    p.setBrush(QColor(255, 250, 225));
    p.setPen(QPen(QColor(92, 58, 8), 0.7));
    for (const QPointF& pearl :
         {QPointF(cx - 13, top + 3), QPointF(cx - 4, top), QPointF(cx + 4, top), QPointF(cx + 13, top + 3)})
        p.drawEllipse(pearl, 1.8, 1.8);
    p.setBrush(QColor(196, 24, 36));
    p.drawEllipse(QPointF(cx, base - 2.5), 2.0, 1.6);
}

const PieceColours Ivory{QColor(255, 252, 240), QColor(238, 226, 196), QColor(176, 158, 118), QColor(160, 140, 100)};
const PieceColours Ebony{QColor(120, 104, 98), QColor(52, 40, 38), QColor(14, 10, 10), QColor(8, 6, 6)};

bool save(const QImage& image, const QString& path) {
    if (image.save(path, "BMP")) return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

QImage render(bool light, const PieceColours* piece, bool king, int size = Size) {
    QImage image(size, size, QImage::Format_RGB32);
    QPainter p(&image);
    // Shapes are laid out on the 60-pixel square; smaller pictures are the
    // same drawing scaled, not a shrunken bitmap.
    p.scale(double(size) / Size, double(size) / Size);
    if (light) {
        paintLightSquare(p);
    } else {
        paintDarkSquare(p);
        if (piece) paintPiece(p, *piece);
        if (king) paintCrown(p);
    }
    return image;
}

// The help pages' diagrams: a flat board of 8 x 8 squares of 36 pixels
// with coordinates, pieces (1 White man, 2 White king, 3 Black man, 4 Black
// king) and arrows along the squares a move passes.
struct Diagram {
    const char* file;
    std::vector<std::pair<int, int>> pieces;  // square, code
    std::vector<std::vector<int>> arrows;     // squares in order
};

QPointF squareCentre(int s, int cell, int margin) {
    const int row = (s - 1) / 4;
    const int column = 2 * ((s - 1) % 4) + (row % 2 == 0 ? 1 : 0);
    return {margin + cell * (column + 0.5), cell * (row + 0.5)};
}

QImage drawDiagram(const Diagram& d) {
    constexpr int Cell = 36, Margin = 18;
    QImage image(Margin + 8 * Cell + 2, 8 * Cell + Margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            p.fillRect(Margin + col * Cell, row * Cell, Cell, Cell,
                       (row + col) % 2 ? QColor(122, 80, 44) : QColor(240, 218, 170));
    p.setPen(Qt::black);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i < 8; ++i) {
        p.drawText(QRect(0, i * Cell, Margin, Cell), Qt::AlignCenter, QString(QChar('8' - i)));
        p.drawText(QRect(Margin + i * Cell, 8 * Cell, Cell, Margin), Qt::AlignCenter, QString(QChar('a' + i)));
    }
    for (const auto& [square, code] : d.pieces) {
        const QPointF c = squareCentre(square, Cell, Margin);
        const bool white = code <= 2;
        p.setPen(QPen(white ? QColor(120, 110, 90) : QColor(0, 0, 0), 1.5));
        QRadialGradient g(c - QPointF(4, 4), 16);
        g.setColorAt(0, white ? QColor(255, 255, 250) : QColor(110, 96, 90));
        g.setColorAt(1, white ? QColor(214, 200, 170) : QColor(20, 14, 12));
        p.setBrush(g);
        p.drawEllipse(c, 14, 14);
        if (code == 2 || code == 4) {
            p.setPen(QPen(QColor(230, 180, 40), 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 7, 7);
        }
    }
    for (const auto& path : d.arrows) {
        p.setPen(QPen(QColor(220, 30, 30, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPolygonF line;
        for (int s : path) line << squareCentre(s, Cell, Margin);
        p.drawPolyline(line);
        // The head of the arrow at the last square.
        const QPointF end = line.back(), from = line[line.size() - 2];
        const double angle = std::atan2(end.y() - from.y(), end.x() - from.x());
        QPolygonF head{end, end - QPointF(std::cos(angle - 0.4) * 12, std::sin(angle - 0.4) * 12),
                       end - QPointF(std::cos(angle + 0.4) * 12, std::sin(angle + 0.4) * 12)};
        p.setBrush(QColor(220, 30, 30));
        p.drawPolygon(head);
    }
    return image;
}

bool drawDiagrams(const QDir& folder) {
    if (!folder.mkpath("Aide")) return false;
    std::vector<std::pair<int, int>> start;
    for (int s = 1; s <= 12; ++s) start.emplace_back(s, 3);
    for (int s = 21; s <= 32; ++s) start.emplace_back(s, 1);
    const Diagram diagrams[] = {
        {"diagram_start.png", start, {}},
        // c3 must take two men (c3xe5xg7) rather than the one on b4.
        {"diagram_capture.png", {{22, 1}, {18, 3}, {11, 3}, {17, 3}, {3, 3}}, {{22, 15, 8}}},
        // The king on a1 takes d4 from afar and may stop on e5, f6 or g7.
        {"diagram_king.png", {{29, 2}, {18, 3}, {4, 3}}, {{29, 15}, {29, 11}}},
        // A man moves forward one square diagonally; it takes both ways.
        {"diagram_moves.png", {{23, 1}, {10, 3}, {26, 3}}, {{23, 19}, {23, 18}, {10, 14}, {10, 15}}},
    };
    bool ok = true;
    for (const Diagram& d : diagrams)
        ok &= drawDiagram(d).save(folder.filePath(QStringLiteral("Aide/") + d.file), "PNG");
    return ok;
}

// The icon: the flat board's pieces without their square, an ebony man
// behind and above an ivory king, drawn at each size rather than scaled
// down from one picture.
constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Two 60-pixel pieces in a 76-pixel square.
    p.scale(size / 76.0, size / 76.0);
    p.translate(-1, -1.5);
    paintPiece(p, Ebony);
    p.translate(16, 18);
    paintPiece(p, Ivory);
    paintCrown(p);
    return image;
}

bool drawIcons(const QDir& folder) {
    bool ok = true;
    for (int size : IconSizes) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = folder.filePath(dir + QStringLiteral("/tavolex.png"));
        if (!folder.mkpath(dir) || !drawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0)
        return drawIcons(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    if (argc != 2 && argc != 3) {
        std::fprintf(
            stderr, "usage: make_pictures PROGRAM_FOLDER [PREVIEW_FOLDER]\n       make_pictures --icons ICON_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath("Images1")) {
        std::fprintf(stderr, "make_pictures: cannot create %s/Images1\n", argv[1]);
        return 1;
    }
    const QString dir = folder.filePath("Images1") + '/';
    bool ok = true;
    ok &= save(render(false, nullptr, false), dir + "1pva.bmp");
    ok &= save(render(true, nullptr, false), dir + "1cache.BMP");
    ok &= save(render(false, &Ivory, false), dir + "1pba.BMP");
    ok &= save(render(false, &Ivory, true), dir + "1dba.bmp");
    ok &= save(render(false, &Ebony, false), dir + "1pna.bmp");
    ok &= save(render(false, &Ebony, true), dir + "1dna.bmp");
    constexpr int Selector = 48;
    ok &= save(render(false, &Ivory, false, Selector), dir + "b48.Bmp");
    ok &= save(render(false, &Ivory, true, Selector), dir + "bd48.Bmp");
    ok &= save(render(false, &Ebony, false, Selector), dir + "n48.Bmp");
    ok &= save(render(false, &Ebony, true, Selector), dir + "nd48.Bmp");
    ok &= save(render(false, nullptr, false, Selector), dir + "v48.Bmp");
    // The same squares drawn at twice the size, for large boards and
    // high-density screens (PNG: the game reads these by name only).
    if (!folder.mkpath("Images1/2x")) {
        std::fprintf(stderr, "make_pictures: cannot create %s/Images1/2x\n", argv[1]);
        return 1;
    }
    const struct {
        bool light;
        const PieceColours* piece;
        bool king;
        const char* name;
    } large[] = {
        {false, nullptr, false, "1pva"}, {false, &Ivory, false, "1pba"}, {false, &Ivory, true, "1dba"},
        {false, &Ebony, false, "1pna"},  {false, &Ebony, true, "1dna"},  {true, nullptr, false, "1cache"},
    };
    for (const auto& l : large) {
        const QString path = dir + "2x/" + l.name + ".png";
        if (!render(l.light, l.piece, l.king, 2 * Size).save(path, "PNG")) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    ok &= tools::drawPerspectiveStyles(folder);
    ok &= drawDiagrams(folder);
    if (argc == 3) {
        const QDir preview(QString::fromLocal8Bit(argv[2]));
        for (int style = 1; style <= 8; ++style)
            for (int code = -1; code <= 4; ++code)
                ok &= tools::perspectiveScene(style, code)
                          .save(preview.filePath(QStringLiteral("style%1_%2.png").arg(style).arg(code)));
    }
    return ok ? 0 : 1;
}
