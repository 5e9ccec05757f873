// The eight perspective styles, drawn with Qt's painter.
//
// The scene of a style is built in three layers: its surroundings, painted
// flat over the whole image; the board, painted flat as a texture (frame,
// light and dark squares) and then projected onto the image with the plane
// projection of ui/board3d_places.h, with its front edge and its shadow;
// and the pieces, discs standing on their squares, drawn in the image with
// their sides, shading and shadows. A square's picture is the rectangle of
// its place cut from the scene with only that square's piece on it, so it
// fits back seamlessly at its corner. Pieces are kept low enough to stay
// inside their place's rectangle even on the far row.
//
// Every random grain comes from a fixed generator: each build draws the
// same pictures.

#include "tools/pictures3d.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "ui/board3d_places.h"

namespace tools {

namespace {

namespace pp = ui::perspective;

constexpr int TexSquare = 64;                 // texture pixels per board square
constexpr int TexFrame = 22;                  // frame width in texture pixels
constexpr double Frame = double(TexFrame) / TexSquare;  // in squares
constexpr int TexSize = 8 * TexSquare + 2 * TexFrame;
constexpr double SlabDepth = 13.0;            // the board's front edge, in pixels

class Grain {
public:
    explicit Grain(std::uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
    double next() {  // 0 .. 1
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1u << 24);
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }

private:
    std::uint32_t m_state;
};

// The plane projection: board coordinates (u across, t from the far edge)
// to image pixels, and the local size of one square there.
QPointF project(double u, double t) {
    const double z = 1.0 + pp::Depth * (8.0 - t);
    return {pp::CentreX + (u - 4.0) * pp::ColumnScale / z, pp::Horizon + pp::RowScale / z};
}
double columnScale(double t) { return pp::ColumnScale / (1.0 + pp::Depth * (8.0 - t)); }
double rowScale(double t) {
    const double z = 1.0 + pp::Depth * (8.0 - t);
    return pp::RowScale * pp::Depth / (z * z);
}

// The four corners of a flat picture, for the projections.
QPolygonF corners(double width, double height) {
    return {QPointF(0, 0), QPointF(width, 0), QPointF(width, height), QPointF(0, height)};
}

QColor alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

// ---------------------------------------------------------------------------
// Materials, painted flat

// Wood: a gradient, long wavy fibres and a few pores.
void wood(QPainter& p, const QRectF& r, QColor light, QColor dark, std::uint32_t seed, bool across, int fibres = 40) {
    QLinearGradient base(r.topLeft(), across ? r.bottomLeft() : r.topRight());
    base.setColorAt(0, light);
    base.setColorAt(1, dark);
    p.fillRect(r, base);
    Grain g(seed);
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double length = across ? r.width() : r.height();
    const double breadth = across ? r.height() : r.width();
    for (int i = 0; i < fibres; ++i) {
        const double o = g.next() * breadth;
        const double amplitude = 0.5 + g.next() * 2.5;
        const double phase = g.next() * 6.28;
        const double wave = (0.03 + g.next() * 0.06) * 64.0 / TexSquare;
        const bool lighter = g.next() < 0.45;
        QColor c = lighter ? light.lighter(106 + int(g.next() * 10)) : dark.darker(110 + int(g.next() * 30));
        c.setAlpha(40 + int(g.next() * 70));
        QPainterPath fibre;
        for (double s = -2; s <= length + 2; s += 3) {
            const double d = o + amplitude * std::sin(phase + s * wave);
            const QPointF pt = across ? QPointF(r.left() + s, r.top() + d) : QPointF(r.left() + d, r.top() + s);
            if (s == -2)
                fibre.moveTo(pt);
            else
                fibre.lineTo(pt);
        }
        p.setPen(QPen(c, 0.5 + g.next() * 1.2));
        p.drawPath(fibre);
    }
    p.restore();
}

// Stone: a base tone with soft clouds and branching veins.
void marble(QPainter& p, const QRectF& r, QColor base, QColor cloud, QColor vein, std::uint32_t seed, int veins = 5) {
    p.fillRect(r, base);
    Grain g(seed);
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 10; ++i) {
        const QPointF c(r.left() + g.next() * r.width(), r.top() + g.next() * r.height());
        const double radius = r.width() * g.range(0.2, 0.6);
        QRadialGradient rg(c, radius);
        rg.setColorAt(0, alpha(cloud, 50 + int(g.next() * 50)));
        rg.setColorAt(1, alpha(cloud, 0));
        p.setBrush(rg);
        p.drawEllipse(c, radius, radius);
    }
    for (int i = 0; i < veins; ++i) {
        QPointF at(r.left() + g.next() * r.width(), r.top() - 4);
        double dir = g.range(0.6, 2.5);
        QPainterPath path(at);
        while (r.adjusted(-6, -6, 6, 6).contains(at)) {
            dir += g.range(-0.5, 0.5);
            at += QPointF(std::cos(dir) * 5, std::abs(std::sin(dir)) * 5 + 1);
            path.lineTo(at);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(alpha(vein, 90 + int(g.next() * 100)), g.range(0.5, 1.6)));
        p.drawPath(path);
    }
    p.restore();
}

// Sparkles and flecks scattered over a rectangle.
void flecks(QPainter& p, const QRectF& r, QColor c, int count, double size, std::uint32_t seed) {
    Grain g(seed);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        p.setBrush(alpha(c, 60 + int(g.next() * 160)));
        const double s = size * g.range(0.4, 1.0);
        p.drawEllipse(QPointF(r.left() + g.next() * r.width(), r.top() + g.next() * r.height()), s, s);
    }
    p.restore();
}

// A bevelled edge on a square: light from the top left.
void bevel(QPainter& p, const QRectF& r, int light = 45, int dark = 60) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(255, 255, 255, light), 1.5));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(QColor(0, 0, 0, dark), 1.5));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.restore();
}

// ---------------------------------------------------------------------------
// Styles

struct PieceLook {
    QColor highlight, body, shade, groove;
    bool metal = false;  // a sharper, brighter gloss
};

struct Style {
    int number;
    int directory;
    std::function<void(QPainter&)> surroundings;                        // the whole image
    std::function<void(QPainter&, const QRectF&, bool, int)> square;   // texture: rect, dark, index
    std::function<void(QPainter&, const QRectF&, const QRectF&)> frame; // texture: outer, inner
    QColor slab;                  // the front edge of the board
    PieceLook white, black;
    QColor crownLight, crownDark; // the kings' crowns
    QColor glow;                  // a coloured light under the pieces (alpha 0: none)
    int sheen = 0;                // a glossy board reflects a band of light (alpha)
};

void paintSky(QPainter& p, QColor top, QColor bottom, double height) {
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRectF(0, 0, pp::ImageWidth, height), g);
}

void vignette(QPainter& p, int strength) {
    QRadialGradient v(QPointF(pp::ImageWidth / 2.0, pp::ImageHeight * 0.45), pp::ImageWidth * 0.62);
    v.setColorAt(0.55, QColor(0, 0, 0, 0));
    v.setColorAt(1, QColor(0, 0, 0, strength));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), v);
}

// A flat picture laid on the board's plane over board coordinates
// (u0, t0)..(u1, t1).
void layOnPlane(QPainter& p, const QImage& flat, double u0, double t0, double u1, double t1) {
    const QPolygonF quad{project(u0, t0), project(u1, t0), project(u1, t1), project(u0, t1)};
    QTransform t;
    if (!QTransform::quadToQuad(corners(flat.width(), flat.height()), quad, t)) return;
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setTransform(t);
    p.drawImage(0, 0, flat);
    p.restore();
}

// Table planks seen in perspective, meeting towards the far side.
void planks(QPainter& p, QColor light, QColor dark, std::uint32_t seed, double farEdge = -6) {
    QImage flat(1400, 900, QImage::Format_RGB32);
    QPainter f(&flat);
    for (int i = 0; i < 10; ++i)
        wood(f, QRectF(i * 140, 0, 140, 900), i % 2 ? light : light.darker(106), dark, seed + i, false, 60);
    f.setPen(QPen(dark.darker(170), 3));
    for (int i = 0; i <= 10; ++i) f.drawLine(i * 140, 0, i * 140, 900);
    f.end();
    // The table lies in the board's plane, far beyond its edges.
    QPolygonF quad{project(-9, farEdge), project(17, farEdge), project(17, 14), project(-9, 14)};
    QTransform t;
    if (QTransform::quadToQuad(corners(flat.width(), flat.height()), quad, t)) {
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.setTransform(t);
        p.drawImage(0, 0, flat);
        p.restore();
    }
}

// Classique and Nuit share their board and pieces: walnut and maple in a
// mahogany frame with a brass line, turned ivory and ebony men.
void classicSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark)
        wood(p, r, QColor(124, 76, 40), QColor(82, 46, 22), 100 + i, i % 2, 30);
    else
        wood(p, r, QColor(242, 218, 168), QColor(216, 182, 122), 200 + i, i % 2 == 0, 30);
    bevel(p, r, 35, 45);
}
void classicFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    wood(p, outer, QColor(128, 52, 30), QColor(78, 28, 16), 300, true, 120);
    p.setPen(QPen(QColor(212, 170, 80), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-7, -7, 7, 7));
    bevel(p, outer.adjusted(1, 1, -1, -1), 60, 80);
}

void classicSurroundings(QPainter& p) {
    // A quiet room: a warm wall, and the board on an oak table.
    paintSky(p, QColor(170, 150, 120), QColor(120, 96, 70), pp::ImageHeight);
    planks(p, QColor(190, 146, 92), QColor(140, 98, 54), 400);
    QRadialGradient lamp(QPointF(200, 0), 700);
    lamp.setColorAt(0, QColor(255, 240, 200, 70));
    lamp.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), lamp);
    vignette(p, 110);
}

void nightSurroundings(QPainter& p) {
    // The same board outside at night: a deep blue sky with stars and a
    // crescent moon, a dark table lit by the moon.
    paintSky(p, QColor(4, 8, 30), QColor(20, 34, 80), pp::ImageHeight);
    planks(p, QColor(52, 56, 78), QColor(24, 26, 42), 410, -0.7);
    Grain g(420);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const QPointF at(g.next() * pp::ImageWidth, g.next() * 30);
        const double s = g.range(0.4, 1.5);
        p.setBrush(QColor(255, 255, 230, 120 + int(g.next() * 135)));
        p.drawEllipse(at, s, s);
    }
    // The moon.
    QRadialGradient halo(QPointF(630, 20), 60);
    halo.setColorAt(0, QColor(200, 210, 255, 110));
    halo.setColorAt(1, QColor(200, 210, 255, 0));
    p.setBrush(halo);
    p.drawEllipse(QPointF(630, 20), 60, 60);
    QPainterPath moon;
    moon.addEllipse(QPointF(630, 20), 14, 14);
    QPainterPath bite;
    bite.addEllipse(QPointF(637, 15), 12, 12);
    p.setBrush(QColor(250, 246, 220));
    p.drawPath(moon.subtracted(bite));
    QRadialGradient moonlight(QPointF(620, 200), 520);
    moonlight.setColorAt(0, QColor(150, 170, 255, 50));
    moonlight.setColorAt(1, QColor(150, 170, 255, 0));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), moonlight);
    vignette(p, 170);
}

// Luxe: green and white marble in a gilded frame, on red velvet.
void luxeSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark)
        marble(p, r, QColor(24, 84, 62), QColor(60, 130, 100), QColor(200, 230, 210), 500 + i, 4);
    else
        marble(p, r, QColor(240, 238, 232), QColor(210, 205, 200), QColor(150, 150, 160), 600 + i, 3);
    bevel(p, r, 50, 50);
}
void goldFrame(QPainter& p, const QRectF& outer, const QRectF& inner, std::uint32_t seed) {
    QLinearGradient g(outer.topLeft(), outer.bottomRight());
    g.setColorAt(0, QColor(255, 228, 140));
    g.setColorAt(0.3, QColor(200, 150, 50));
    g.setColorAt(0.6, QColor(250, 214, 110));
    g.setColorAt(1, QColor(150, 100, 30));
    p.fillRect(outer, g);
    // Engraved beads along the frame.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double mid = (outer.width() - inner.width()) / 4.0;
    p.setPen(QPen(QColor(120, 80, 20, 160), 1.2));
    p.setBrush(QColor(255, 236, 170, 120));
    for (double x = outer.left() + 12; x < outer.right() - 6; x += 14) {
        p.drawEllipse(QPointF(x, outer.top() + mid), 3.2, 3.2);
        p.drawEllipse(QPointF(x, outer.bottom() - mid), 3.2, 3.2);
    }
    for (double y = outer.top() + 26; y < outer.bottom() - 20; y += 14) {
        p.drawEllipse(QPointF(outer.left() + mid, y), 3.2, 3.2);
        p.drawEllipse(QPointF(outer.right() - mid, y), 3.2, 3.2);
    }
    p.restore();
    flecks(p, outer, QColor(255, 250, 220), 60, 1.2, seed);
    p.setPen(QPen(QColor(110, 70, 20), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-1, -1, 1, 1));
    bevel(p, outer.adjusted(1, 1, -1, -1), 90, 90);
}
void luxeFrame(QPainter& p, const QRectF& outer, const QRectF& inner) { goldFrame(p, outer, inner, 700); }
void velvet(QPainter& p, QColor light, QColor dark, std::uint32_t seed) {
    QLinearGradient g(0, 0, pp::ImageWidth, pp::ImageHeight);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), g);
    // Folds: soft vertical bands of light and shade.
    Grain gr(seed);
    for (int i = 0; i < 14; ++i) {
        const double x = gr.next() * pp::ImageWidth;
        const double w = gr.range(20, 70);
        QLinearGradient band(x - w, 0, x + w, 0);
        const QColor c = gr.next() < 0.5 ? QColor(255, 255, 255, 26) : QColor(0, 0, 0, 50);
        band.setColorAt(0, alpha(c, 0));
        band.setColorAt(0.5, c);
        band.setColorAt(1, alpha(c, 0));
        p.fillRect(QRectF(x - w, 0, 2 * w, pp::ImageHeight), band);
    }
}
void damask(QPainter& p, QColor c) {
    // A repeated lily motif, faint.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(c, 1.2));
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 16; ++col) {
            const QPointF o(col * 48 + (row % 2) * 24, row * 48);
            QPainterPath lily(o + QPointF(0, -12));
            lily.cubicTo(o + QPointF(9, -6), o + QPointF(6, 6), o + QPointF(0, 12));
            lily.cubicTo(o + QPointF(-6, 6), o + QPointF(-9, -6), o + QPointF(0, -12));
            p.drawPath(lily);
            p.drawEllipse(o, 2.5, 2.5);
        }
    p.restore();
}
void luxeSurroundings(QPainter& p) {
    velvet(p, QColor(150, 20, 36), QColor(60, 4, 14), 710);
    damask(p, QColor(255, 200, 160, 30));
    vignette(p, 150);
}

// Copacabana: the promenade's black and white wave mosaic, the beach and
// the sea; a board of sand and sea green in a driftwood frame.
void waves(QPainter& p, const QRectF& r, QColor a, QColor b, double amplitude, double wavelength, double band) {
    p.fillRect(r, a);
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(b);
    for (double y0 = r.top() - band * 2; y0 < r.bottom() + band * 2; y0 += band * 2) {
        QPainterPath wave;
        wave.moveTo(r.left() - 5, y0);
        for (double x = r.left() - 5; x <= r.right() + 5; x += 2)
            wave.lineTo(x, y0 + amplitude * std::sin((x - r.left()) * 2 * M_PI / wavelength));
        for (double x = r.right() + 5; x >= r.left() - 5; x -= 2)
            wave.lineTo(x, y0 + band + amplitude * std::sin((x - r.left()) * 2 * M_PI / wavelength));
        wave.closeSubpath();
        p.drawPath(wave);
    }
    p.restore();
}
void copacabanaSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark) {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(0, 128, 132));
        g.setColorAt(1, QColor(0, 86, 100));
        p.fillRect(r, g);
        flecks(p, r, QColor(160, 240, 230), 18, 1.2, 800 + i);
    } else {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(250, 232, 190));
        g.setColorAt(1, QColor(232, 206, 150));
        p.fillRect(r, g);
        flecks(p, r, QColor(170, 130, 70), 50, 0.9, 900 + i);
    }
    bevel(p, r, 40, 50);
}
void copacabanaFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    waves(p, outer, QColor(245, 243, 236), QColor(24, 24, 26), 9, 56, 9);
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-2, -2, 2, 2));
    p.drawRect(outer.adjusted(1, 1, -1, -1));
}
void copacabanaSurroundings(QPainter& p) {
    paintSky(p, QColor(70, 150, 230), QColor(170, 215, 245), 40);
    // The sea, then the beach, then the promenade at the front.
    QLinearGradient sea(0, 40, 0, 120);
    sea.setColorAt(0, QColor(0, 90, 150));
    sea.setColorAt(1, QColor(40, 170, 190));
    p.fillRect(QRectF(0, 40, pp::ImageWidth, 80), sea);
    p.setRenderHint(QPainter::Antialiasing, true);
    Grain g(820);
    for (int i = 0; i < 30; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 120), 1.2));
        const double x = g.next() * pp::ImageWidth, y = 48 + g.next() * 60;
        p.drawLine(QPointF(x, y), QPointF(x + g.range(6, 20), y));
    }
    // The Sugarloaf on the horizon.
    QPainterPath loaf;
    loaf.moveTo(560, 41);
    loaf.cubicTo(575, 0, 610, -2, 625, 41);
    loaf.moveTo(600, 41);
    loaf.cubicTo(640, 16, 670, 18, 700, 41);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 80));
    p.drawPath(loaf);
    QLinearGradient sand(0, 120, 0, 220);
    sand.setColorAt(0, QColor(245, 225, 170));
    sand.setColorAt(1, QColor(225, 195, 130));
    p.fillRect(QRectF(0, 118, pp::ImageWidth, pp::ImageHeight - 118), sand);
    flecks(p, QRectF(0, 118, pp::ImageWidth, pp::ImageHeight - 118), QColor(150, 110, 60), 500, 1.0, 830);
    p.fillRect(QRectF(0, 116, pp::ImageWidth, 4), QColor(255, 255, 255, 160));  // the surf line
    // The promenade's mosaic lies on the ground, in perspective.
    QImage mosaic(1300, 500, QImage::Format_RGB32);
    {
        QPainter m(&mosaic);
        waves(m, QRectF(0, 0, mosaic.width(), mosaic.height()), QColor(246, 244, 238), QColor(26, 26, 28), 14, 100, 14);
    }
    layOnPlane(p, mosaic, -9, 4, 17, 14);
    // Sun from the upper right.
    QRadialGradient sun(QPointF(680, 0), 600);
    sun.setColorAt(0, QColor(255, 250, 220, 90));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), sun);
}

// Ipanema: a sunset over the sea and the Two Brothers hill; a teak and
// terracotta board.
void ipanemaSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark)
        wood(p, r, QColor(176, 86, 52), QColor(124, 52, 30), 1000 + i, true, 20);
    else
        wood(p, r, QColor(246, 214, 160), QColor(226, 180, 120), 1100 + i, true, 24);
    bevel(p, r, 40, 50);
}
void ipanemaFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    wood(p, outer, QColor(120, 76, 46), QColor(70, 40, 22), 1200, false, 120);
    p.setPen(QPen(QColor(255, 170, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-5, -5, 5, 5));
    bevel(p, outer.adjusted(1, 1, -1, -1), 60, 80);
}
void ipanemaSurroundings(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(70, 40, 110));
    sky.setColorAt(0.45, QColor(230, 90, 90));
    sky.setColorAt(1, QColor(255, 180, 90));
    p.fillRect(QRectF(0, 0, pp::ImageWidth, 150), sky);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The setting sun over the sea, right of the board.
    const QPointF sunAt(628, 98);
    QRadialGradient sunGlow(sunAt, 130);
    sunGlow.setColorAt(0, QColor(255, 240, 170, 230));
    sunGlow.setColorAt(0.2, QColor(255, 200, 110, 170));
    sunGlow.setColorAt(1, QColor(255, 150, 80, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sunGlow);
    p.drawEllipse(sunAt, 130, 130);
    p.setBrush(QColor(255, 240, 190));
    p.drawEllipse(sunAt, 20, 20);
    // The Two Brothers.
    QPainterPath hills;
    hills.moveTo(0, 120);
    hills.cubicTo(20, 60, 60, 40, 80, 86);
    hills.cubicTo(90, 60, 120, 30, 150, 70);
    hills.cubicTo(170, 96, 190, 112, 230, 120);
    hills.closeSubpath();
    p.setBrush(QColor(60, 30, 60));
    p.drawPath(hills);
    // The sea with the sun's path on it.
    QLinearGradient sea(0, 118, 0, 240);
    sea.setColorAt(0, QColor(150, 70, 100));
    sea.setColorAt(1, QColor(40, 50, 100));
    p.fillRect(QRectF(0, 118, pp::ImageWidth, pp::ImageHeight - 118), sea);
    Grain g(1300);
    for (int i = 0; i < 60; ++i) {
        const double y = 122 + g.next() * 120;
        const double x = sunAt.x() - 10 + g.range(-1, 1) * (14 + (y - 118) * 0.8);
        p.setPen(QPen(QColor(255, 210, 140, 90 + int(g.next() * 120)), 1.5));
        p.drawLine(QPointF(x, y), QPointF(x + g.range(8, 24), y));
    }
    // Warm sand at the front.
    QLinearGradient sand(0, 330, 0, pp::ImageHeight);
    sand.setColorAt(0, QColor(200, 140, 100));
    sand.setColorAt(1, QColor(150, 90, 70));
    p.fillRect(QRectF(0, 330, pp::ImageWidth, pp::ImageHeight - 330), sand);
    flecks(p, QRectF(0, 330, pp::ImageWidth, pp::ImageHeight - 330), QColor(90, 50, 40), 300, 1.0, 1310);
    QRadialGradient warm(sunAt, 760);
    warm.setColorAt(0, QColor(255, 160, 90, 60));
    warm.setColorAt(1, QColor(255, 160, 90, 0));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), warm);
    vignette(p, 90);
}

// Inferno: lava squares with glowing cracks and charred stone, in an iron
// frame with rivets, among flames.
void infernoSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    Grain g(1400 + i);
    if (dark) {
        QRadialGradient lava(r.center() + QPointF(g.range(-10, 10), g.range(-10, 10)), r.width() * 0.8);
        lava.setColorAt(0, QColor(255, 150, 30));
        lava.setColorAt(0.5, QColor(200, 40, 10));
        lava.setColorAt(1, QColor(110, 10, 6));
        p.fillRect(r, lava);
        // Crust plates floating on the lava.
        p.save();
        p.setClipRect(r);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(255, 200, 60, 200), 1.0));
        for (int k = 0; k < 5; ++k) {
            QPolygonF plate;
            const QPointF c(r.left() + g.next() * r.width(), r.top() + g.next() * r.height());
            const double s = g.range(6, 14);
            for (int a = 0; a < 6; ++a) {
                const double ang = a * M_PI / 3 + g.range(-0.3, 0.3);
                plate << c + QPointF(std::cos(ang) * s * g.range(0.7, 1.2), std::sin(ang) * s * g.range(0.7, 1.2));
            }
            p.setBrush(QColor(60, 14, 10, 170));
            p.drawPolygon(plate);
        }
        p.restore();
    } else {
        marble(p, r, QColor(48, 44, 44), QColor(80, 72, 70), QColor(255, 90, 20), 1500 + i, 2);
    }
    bevel(p, r, 25, 90);
}
void infernoFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    QLinearGradient iron(outer.topLeft(), outer.bottomRight());
    iron.setColorAt(0, QColor(90, 86, 84));
    iron.setColorAt(1, QColor(30, 28, 28));
    p.fillRect(outer, iron);
    flecks(p, outer, QColor(140, 60, 30), 140, 1.6, 1600);  // rust
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double mid = (outer.width() - inner.width()) / 4.0;
    for (double x = outer.left() + 14; x < outer.right() - 8; x += 38)
        for (double y : {outer.top() + mid, outer.bottom() - mid}) {
            QRadialGradient rivet(QPointF(x - 1, y - 1), 4);
            rivet.setColorAt(0, QColor(200, 196, 190));
            rivet.setColorAt(1, QColor(40, 38, 38));
            p.setPen(Qt::NoPen);
            p.setBrush(rivet);
            p.drawEllipse(QPointF(x, y), 3.5, 3.5);
        }
    p.restore();
    p.setPen(QPen(QColor(255, 90, 20), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-2, -2, 2, 2));
}
void flame(QPainter& p, QPointF base, double height, double width, Grain& g) {
    QPainterPath f(base + QPointF(-width, 0));
    const QPointF tip = base + QPointF(g.range(-width, width) * 0.6, -height);
    f.cubicTo(base + QPointF(-width, -height * 0.5), tip + QPointF(-width * 0.3, height * 0.3), tip);
    f.cubicTo(tip + QPointF(width * 0.3, height * 0.3), base + QPointF(width, -height * 0.5), base + QPointF(width, 0));
    f.closeSubpath();
    QLinearGradient gr(base, tip);
    gr.setColorAt(0, QColor(255, 230, 120, 220));
    gr.setColorAt(0.4, QColor(255, 120, 20, 200));
    gr.setColorAt(1, QColor(160, 10, 0, 0));
    p.setBrush(gr);
    p.drawPath(f);
}
void infernoSurroundings(QPainter& p) {
    paintSky(p, QColor(10, 0, 0), QColor(90, 10, 0), pp::ImageHeight);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    Grain g(1700);
    // A wall of flames behind, rising from the horizon.
    for (int i = 0; i < 60; ++i)
        flame(p, QPointF(g.next() * pp::ImageWidth, 70 + g.next() * 30), g.range(30, 80), g.range(8, 22), g);
    // Cracked ground in front, with glowing fissures.
    QLinearGradient ground(0, 90, 0, pp::ImageHeight);
    ground.setColorAt(0, QColor(50, 20, 14));
    ground.setColorAt(1, QColor(20, 8, 6));
    p.fillRect(QRectF(0, 92, pp::ImageWidth, pp::ImageHeight - 92), ground);
    for (int i = 0; i < 40; ++i) {
        QPointF at(g.next() * pp::ImageWidth, 95 + g.next() * (pp::ImageHeight - 95));
        QPainterPath crack(at);
        for (int k = 0; k < 8; ++k) {
            at += QPointF(g.range(-14, 14), g.range(-4, 10));
            crack.lineTo(at);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 110, 20, 120), 3.0));
        p.drawPath(crack);
        p.setPen(QPen(QColor(255, 220, 120, 200), 1.0));
        p.drawPath(crack);
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; ++i)
        flame(p, QPointF(g.next() < 0.5 ? g.range(0, 70) : g.range(630, 700), pp::ImageHeight - g.next() * 200),
              g.range(30, 70), g.range(8, 18), g);
    // Embers in the air.
    for (int i = 0; i < 90; ++i) {
        p.setBrush(QColor(255, 180 + int(g.next() * 70), 60, 100 + int(g.next() * 150)));
        p.drawEllipse(QPointF(g.next() * pp::ImageWidth, g.next() * pp::ImageHeight), 1.2, 1.2);
    }
    vignette(p, 140);
}

// Grand luxe: lapis lazuli and mother-of-pearl in an engraved gold frame,
// before a purple curtain in candlelight.
void grandLuxeSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark) {
        marble(p, r, QColor(26, 48, 140), QColor(50, 80, 190), QColor(120, 150, 230), 1800 + i, 2);
        flecks(p, r, QColor(255, 215, 110), 14, 1.1, 1850 + i);  // pyrite
    } else {
        QLinearGradient nacre(r.topLeft(), r.bottomRight());
        nacre.setColorAt(0, QColor(250, 246, 240));
        nacre.setColorAt(0.35, QColor(236, 232, 246));
        nacre.setColorAt(0.65, QColor(246, 236, 232));
        nacre.setColorAt(1, QColor(230, 242, 240));
        p.fillRect(r, nacre);
        marble(p, r, QColor(0, 0, 0, 0), QColor(255, 220, 240), QColor(200, 220, 240), 1900 + i, 3);
    }
    p.setPen(QPen(QColor(210, 170, 80), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.6, 0.6, -0.6, -0.6));
}
void grandLuxeFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    goldFrame(p, outer, inner, 2000);
    p.setPen(QPen(QColor(20, 20, 30), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer.adjusted(4, 4, -4, -4));
}
void grandLuxeSurroundings(QPainter& p) {
    velvet(p, QColor(90, 30, 110), QColor(24, 6, 36), 2100);
    damask(p, QColor(255, 215, 120, 34));
    // Candlelight from the upper left and right.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (QPointF c : {QPointF(40, 30), QPointF(660, 30)}) {
        QRadialGradient light(c, 260);
        light.setColorAt(0, QColor(255, 210, 120, 110));
        light.setColorAt(1, QColor(255, 210, 120, 0));
        p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), light);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 240, 200));
        p.drawEllipse(c, 4, 7);
    }
    // A golden fringe along the top.
    p.setPen(QPen(QColor(230, 180, 70), 1.2));
    for (int x = 0; x < pp::ImageWidth; x += 4) p.drawLine(x, 0, x + 1, 12 + (x / 4) % 3 * 2);
    vignette(p, 150);
}

// Salvador da Bahia: the coloured houses of the old town above the
// cobbles; a board of sunflower yellow and emerald with azulejo corners.
void salvadorSquare(QPainter& p, const QRectF& r, bool dark, int i) {
    if (dark) {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(10, 130, 70));
        g.setColorAt(1, QColor(0, 90, 50));
        p.fillRect(r, g);
        flecks(p, r, QColor(120, 220, 160), 10, 1.0, 2200 + i);
    } else {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(255, 222, 70));
        g.setColorAt(1, QColor(240, 190, 30));
        p.fillRect(r, g);
        // A small blue azulejo flower.
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(30, 70, 170, 110), 1.4));
        p.setBrush(Qt::NoBrush);
        const QPointF c = r.center();
        for (int k = 0; k < 4; ++k) {
            const double a = k * M_PI / 2 + M_PI / 4;
            p.drawEllipse(c + QPointF(std::cos(a) * 8, std::sin(a) * 8), 5, 5);
        }
        p.drawEllipse(c, 3, 3);
        p.restore();
    }
    bevel(p, r, 45, 55);
}
void salvadorFrame(QPainter& p, const QRectF& outer, const QRectF& inner) {
    // Azulejos: white tiles with blue patterns.
    p.fillRect(outer, QColor(246, 246, 250));
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double tile = (outer.width() - inner.width()) / 2.0;
    p.setPen(QPen(QColor(20, 60, 160), 1.2));
    for (double x = outer.left(); x < outer.right(); x += tile)
        for (double y = outer.top(); y < outer.bottom(); y += tile) {
            const QRectF t(x, y, tile, tile);
            if (inner.intersects(t.adjusted(1, 1, -1, -1))) continue;
            p.setBrush(Qt::NoBrush);
            p.drawRect(t);
            p.setBrush(QColor(40, 90, 190, 160));
            QPainterPath star;
            const QPointF c = t.center();
            for (int k = 0; k < 8; ++k) {
                const double a = k * M_PI / 4;
                const double rad = k % 2 ? tile * 0.16 : tile * 0.4;
                const QPointF pt = c + QPointF(std::cos(a) * rad, std::sin(a) * rad);
                if (k == 0)
                    star.moveTo(pt);
                else
                    star.lineTo(pt);
            }
            star.closeSubpath();
            p.drawPath(star);
        }
    p.restore();
    p.setPen(QPen(QColor(20, 50, 140), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner.adjusted(-1.5, -1.5, 1.5, 1.5));
}
void salvadorSurroundings(QPainter& p) {
    paintSky(p, QColor(40, 120, 220), QColor(150, 200, 250), 60);
    // A street of colonial houses in pastel and bright colours.
    const QColor walls[] = {QColor(250, 200, 60), QColor(60, 140, 220),  QColor(240, 110, 140), QColor(120, 200, 120),
                            QColor(250, 150, 60), QColor(160, 110, 200), QColor(70, 200, 200),  QColor(240, 80, 70)};
    p.setRenderHint(QPainter::Antialiasing, true);
    Grain g(2300);
    double x = -10;
    int k = 0;
    while (x < pp::ImageWidth) {
        const double w = g.range(60, 90);
        const double top = g.range(8, 24);
        const QRectF house(x, top, w, 140 - top);
        p.fillRect(house, walls[k % 8]);
        // Roof line and cornice.
        p.fillRect(QRectF(x - 2, top - 4, w + 4, 6), QColor(250, 248, 240));
        p.fillRect(QRectF(x - 3, top - 10, w + 6, 6), QColor(170, 70, 40));
        // Windows with white frames and green shutters, two floors.
        for (int floor = 0; floor < 2; ++floor)
            for (double wx = x + 10; wx + 14 < x + w - 4; wx += 24) {
                const QRectF win(wx, top + 16 + floor * 40, 12, 22);
                p.fillRect(win.adjusted(-2, -2, 2, 2), QColor(252, 250, 245));
                p.fillRect(win, QColor(30, 90, 60));
                p.fillRect(QRectF(win.left() + 5, win.top(), 2, win.height()), QColor(20, 50, 30));
            }
        x += w;
        ++k;
    }
    // The cobbled street.
    QLinearGradient street(0, 138, 0, pp::ImageHeight);
    street.setColorAt(0, QColor(150, 130, 110));
    street.setColorAt(1, QColor(100, 84, 70));
    p.fillRect(QRectF(0, 138, pp::ImageWidth, pp::ImageHeight - 138), street);
    p.setPen(QPen(QColor(60, 48, 40, 140), 1.2));
    p.setBrush(QColor(175, 155, 130, 90));
    for (double y = 142; y < pp::ImageHeight; y += 10 + (y - 138) * 0.05) {
        const double h = 8 + (y - 138) * 0.05;
        for (double cx = g.range(-10, 0); cx < pp::ImageWidth; cx += h * 1.5)
            p.drawRoundedRect(QRectF(cx, y, h * 1.4, h), 3, 3);
    }
    QRadialGradient sun(QPointF(350, -100), 700);
    sun.setColorAt(0, QColor(255, 245, 200, 70));
    sun.setColorAt(1, QColor(255, 245, 200, 0));
    p.fillRect(QRect(0, 0, pp::ImageWidth, pp::ImageHeight), sun);
    vignette(p, 80);
}

const PieceLook Ivory{QColor(255, 252, 242), QColor(236, 224, 194), QColor(150, 132, 96), QColor(160, 140, 100)};
const PieceLook Ebony{QColor(130, 112, 104), QColor(54, 40, 36), QColor(10, 6, 6), QColor(6, 4, 4)};

std::array<Style, 8> styles() {
    return {{
        {1, 1, classicSurroundings, classicSquare, classicFrame, QColor(70, 26, 14), Ivory, Ebony,
         QColor(255, 232, 130), QColor(170, 110, 20), QColor(0, 0, 0, 0), 0},
        {2, 1, nightSurroundings, classicSquare, classicFrame, QColor(70, 26, 14), Ivory, Ebony, QColor(255, 232, 130),
         QColor(170, 110, 20), QColor(0, 0, 0, 0), 0},
        {3,
         3,
         luxeSurroundings,
         luxeSquare,
         luxeFrame,
         QColor(150, 100, 30),
         {QColor(255, 255, 255), QColor(240, 236, 226), QColor(160, 150, 136), QColor(200, 160, 70), true},
         {QColor(120, 120, 130), QColor(30, 30, 34), QColor(4, 4, 6), QColor(200, 160, 70), true},
         QColor(255, 236, 150),
         QColor(180, 120, 30),
         QColor(0, 0, 0, 0),
         70},
        {4,
         4,
         copacabanaSurroundings,
         copacabanaSquare,
         copacabanaFrame,
         QColor(40, 40, 44),
         {QColor(255, 255, 255), QColor(240, 240, 236), QColor(150, 156, 160), QColor(150, 156, 160)},
         {QColor(110, 110, 120), QColor(34, 34, 40), QColor(6, 6, 10), QColor(4, 4, 8)},
         QColor(255, 220, 90),
         QColor(200, 120, 20),
         QColor(0, 0, 0, 0),
         0},
        {5,
         5,
         ipanemaSurroundings,
         ipanemaSquare,
         ipanemaFrame,
         QColor(60, 34, 18),
         {QColor(255, 248, 236), QColor(244, 222, 196), QColor(170, 130, 100), QColor(180, 140, 110)},
         {QColor(120, 90, 80), QColor(56, 30, 24), QColor(16, 6, 4), QColor(10, 4, 2)},
         QColor(255, 220, 120),
         QColor(190, 110, 30),
         QColor(255, 140, 60, 40),
         0},
        {6,
         6,
         infernoSurroundings,
         infernoSquare,
         infernoFrame,
         QColor(30, 26, 26),
         {QColor(255, 250, 236), QColor(228, 214, 190), QColor(130, 110, 90), QColor(140, 100, 70)},
         {QColor(90, 80, 80), QColor(26, 22, 22), QColor(0, 0, 0), QColor(255, 80, 10)},
         QColor(255, 200, 80),
         QColor(200, 40, 0),
         QColor(255, 80, 10, 120),
         0},
        {7,
         7,
         grandLuxeSurroundings,
         grandLuxeSquare,
         grandLuxeFrame,
         QColor(140, 90, 24),
         {QColor(255, 255, 255), QColor(222, 226, 232), QColor(120, 126, 140), QColor(150, 156, 170), true},
         {QColor(150, 130, 100), QColor(36, 28, 24), QColor(4, 2, 2), QColor(220, 170, 70), true},
         QColor(255, 240, 160),
         QColor(190, 130, 30),
         QColor(255, 210, 120, 50),
         90},
        {8,
         8,
         salvadorSurroundings,
         salvadorSquare,
         salvadorFrame,
         QColor(20, 50, 140),
         {QColor(255, 255, 255), QColor(242, 240, 232), QColor(150, 150, 140), QColor(170, 170, 160)},
         {QColor(100, 110, 170), QColor(20, 34, 110), QColor(4, 8, 40), QColor(2, 6, 30)},
         QColor(255, 230, 90),
         QColor(190, 120, 20),
         QColor(0, 0, 0, 0),
         0},
    }};
}

// ---------------------------------------------------------------------------
// The board

QImage boardTexture(const Style& style) {
    QImage tex(TexSize, TexSize, QImage::Format_ARGB32_Premultiplied);
    tex.fill(Qt::transparent);
    QPainter p(&tex);
    const QRectF inner(TexFrame, TexFrame, 8 * TexSquare, 8 * TexSquare);
    style.frame(p, QRectF(0, 0, TexSize, TexSize), inner);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
            const QRectF r(TexFrame + col * TexSquare, TexFrame + row * TexSquare, TexSquare, TexSquare);
            style.square(p, r, (row + col) % 2 == 1, row * 8 + col);
        }
    return tex;
}

QPolygonF boardQuad(double margin) {
    return {project(-margin, -margin), project(8 + margin, -margin), project(8 + margin, 8 + margin),
            project(-margin, 8 + margin)};
}

void drawBoard(QPainter& p, const Style& style) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QPolygonF top = boardQuad(Frame);
    const QPointF down(0, SlabDepth);
    // A soft shadow on the table, cast towards the viewer and right.
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        QPolygonF s = top;
        for (QPointF& pt : s) pt += QPointF(4 + i * 1.5, SlabDepth + i * 2.0);
        p.setBrush(QColor(0, 0, 0, 22));
        p.drawPolygon(s);
    }
    // The front edge of the board.
    QPolygonF front{top[3], top[2], top[2] + down, top[3] + down};
    QLinearGradient edge(top[3], top[3] + down);
    edge.setColorAt(0, style.slab.lighter(125));
    edge.setColorAt(1, style.slab.darker(160));
    p.setBrush(edge);
    p.drawPolygon(front);
    // The top, projected.
    QTransform t;
    if (QTransform::quadToQuad(corners(TexSize, TexSize), top, t)) {
        p.save();
        p.setTransform(t);
        p.drawImage(0, 0, boardTexture(style));
        p.restore();
    }
    // Light over the board from the upper left, and the sheen of a polished top.
    p.save();
    QPainterPath clip;
    clip.addPolygon(top);
    p.setClipPath(clip);
    QLinearGradient light(top[0], top[2]);
    light.setColorAt(0, QColor(255, 255, 255, 40));
    light.setColorAt(0.5, QColor(255, 255, 255, 0));
    light.setColorAt(1, QColor(0, 0, 0, 50));
    p.fillRect(top.boundingRect(), light);
    if (style.sheen > 0) {
        QLinearGradient band(project(1, 0), project(5, 8));
        band.setColorAt(0.30, QColor(255, 255, 255, 0));
        band.setColorAt(0.42, QColor(255, 255, 255, style.sheen));
        band.setColorAt(0.52, QColor(255, 255, 255, 0));
        p.fillRect(top.boundingRect(), band);
    }
    p.restore();
}

// ---------------------------------------------------------------------------
// The pieces

// The crown of a king, in unit coordinates (-1..1 across, -1..1 deep), to
// be laid on the top of the piece.
QPainterPath crownPath() {
    QPainterPath c;
    c.moveTo(-0.62, 0.42);
    c.lineTo(-0.72, -0.30);
    c.lineTo(-0.36, 0.06);
    c.lineTo(-0.22, -0.52);
    c.lineTo(0.0, -0.02);
    c.lineTo(0.22, -0.52);
    c.lineTo(0.36, 0.06);
    c.lineTo(0.72, -0.30);
    c.lineTo(0.62, 0.42);
    c.closeSubpath();
    return c;
}

// A piece on board square (column, row of the view), standing on the plane.
void drawPiece(QPainter& p, const Style& style, double u, double t, bool white, bool king) {
    const PieceLook& look = white ? style.white : style.black;
    const double sx = columnScale(t), sy = rowScale(t);
    const double f = sy / sx;                         // how flat a circle looks here
    const double up = std::sqrt(std::max(0.0, 1 - f * f));  // how tall a height looks
    const double rx = 0.35 * sx, ry = 0.35 * sy;
    const double h = (king ? 0.13 : 0.10) * sx * up;
    const QPointF base = project(u, t);
    const QPointF top = base - QPointF(0, h);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);

    // The shadow on the square, and a coloured light under the piece for
    // the styles that have one.
    QRadialGradient shadow(base + QPointF(rx * 0.12, ry * 0.16), rx * 1.12);
    shadow.setColorAt(0.6, QColor(0, 0, 0, 110));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(base + QPointF(rx * 0.12, ry * 0.16), rx * 1.12, ry * 1.15);
    if (style.glow.alpha() > 0) {
        QRadialGradient glow(base, rx * 1.2);
        glow.setColorAt(0.6, style.glow);
        glow.setColorAt(1, alpha(style.glow, 0));
        p.setBrush(glow);
        p.drawEllipse(base, rx * 1.2, ry * 1.25);
    }

    // The side of the disc: lit from the left.
    QPainterPath side;
    side.addEllipse(base, rx, ry);
    side.addRect(QRectF(base.x() - rx, top.y(), 2 * rx, h));
    side.addEllipse(top, rx, ry);
    side.setFillRule(Qt::WindingFill);
    QLinearGradient sideShade(base.x() - rx, 0, base.x() + rx, 0);
    sideShade.setColorAt(0, look.body);
    sideShade.setColorAt(0.25, look.highlight);
    sideShade.setColorAt(0.6, look.body);
    sideShade.setColorAt(1, look.shade);
    p.setBrush(sideShade);
    p.setPen(QPen(look.shade.darker(140), 0.9));
    p.drawPath(side.simplified());
    // The lathe's grooves round the side; a king is two pieces stacked.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(alpha(look.groove, 200), 0.8));
    const int grooves = king ? 2 : 1;
    for (int i = 1; i <= grooves; ++i) {
        const QPointF c = base - QPointF(0, h * i / (grooves + 1));
        p.drawArc(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), 180 * 16, 180 * 16);
    }

    // The top face.
    QRadialGradient face(top + QPointF(-rx * 0.35, -ry * 0.4), rx * 1.25);
    face.setColorAt(0, look.highlight);
    face.setColorAt(0.55, look.body);
    face.setColorAt(1, look.shade);
    p.setBrush(face);
    p.setPen(QPen(look.shade.darker(130), 0.8));
    p.drawEllipse(top, rx, ry);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(alpha(look.groove, 220), 1.0));
    p.drawEllipse(top, rx * 0.78, ry * 0.78);
    p.setPen(QPen(alpha(look.highlight, 160), 0.7));
    p.drawEllipse(top + QPointF(-0.3, -0.3), rx * 0.70, ry * 0.70);
    p.setPen(QPen(alpha(look.groove, 160), 0.8));
    p.drawEllipse(top, rx * 0.42, ry * 0.42);

    if (king) {
        // A gold ring and the crown inlaid on the top.
        p.setPen(QPen(style.crownLight, 1.4));
        p.drawEllipse(top, rx * 0.88, ry * 0.88);
        QTransform onTop;
        onTop.translate(top.x(), top.y());
        onTop.scale(rx * 0.72, ry * 0.72);
        const QPainterPath crown = onTop.map(crownPath());
        QLinearGradient gold(top - QPointF(0, ry * 0.5), top + QPointF(0, ry * 0.4));
        gold.setColorAt(0, style.crownLight);
        gold.setColorAt(1, style.crownDark);
        p.setBrush(gold);
        p.setPen(QPen(style.crownDark.darker(170), 0.7));
        p.drawPath(crown);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 225));
        for (double x : {-0.72, -0.22, 0.22, 0.72}) {
            const double y = (x == -0.22 || x == 0.22) ? -0.52 : -0.30;
            p.drawEllipse(onTop.map(QPointF(x, y)), std::max(1.0, rx * 0.07), std::max(0.8, ry * 0.07));
        }
    }

    // The gloss of the varnish or the polish of metal and stone.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, look.metal ? 150 : 80), look.metal ? 1.6 : 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(top.x() - rx * 0.9, top.y() - ry * 0.9, rx * 1.8, ry * 1.8), 105 * 16, 55 * 16);
    if (look.metal) {
        p.setPen(Qt::NoPen);
        QRadialGradient spot(top + QPointF(-rx * 0.4, -ry * 0.45), rx * 0.3);
        spot.setColorAt(0, QColor(255, 255, 255, 170));
        spot.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(spot);
        p.drawEllipse(top + QPointF(-rx * 0.4, -ry * 0.45), rx * 0.3, ry * 0.3);
    }
    p.restore();
}

// The view's column and row of place s: rows from the far edge, and in
// each row the dark squares (columns 1, 3, 5, 7 on even rows).
double placeColumn(int s) {
    const int row = (s - 1) / 4;
    return 2 * ((s - 1) % 4) + (row % 2 == 0 ? 1 : 0);
}
double placeRow(int s) { return (s - 1) / 4; }

void drawPieceOn(QPainter& p, const Style& style, int place, int code) {
    if (code < 1 || code > 4) return;
    drawPiece(p, style, placeColumn(place) + 0.5, placeRow(place) + 0.5, code <= 2, code == 2 || code == 4);
}

QImage background(const Style& style) {
    QImage image(pp::ImageWidth, pp::ImageHeight, QImage::Format_RGB32);
    QPainter p(&image);
    style.surroundings(p);
    drawBoard(p, style);
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

QImage perspectiveScene(int styleNumber, int code) {
    const Style style = styles()[static_cast<std::size_t>(styleNumber - 1)];
    QImage image = background(style);
    QPainter p(&image);
    for (int s = 1; s <= 32; ++s) {
        // A game in progress: men at both ends, kings in the middle.
        const int shown = code >= 0            ? code
                          : s <= 12            ? 3
                          : s >= 21            ? 1
                          : s == 14 || s == 15 ? 4
                          : s == 18 || s == 19 ? 2
                                               : 0;
        drawPieceOn(p, style, s, shown);
    }
    return image;
}

bool drawPerspectiveStyles(const QDir& folder) {
    static const char* const Kinds[5] = {"pv", "pb", "db", "pn", "dn"};  // by piece code
    bool ok = true;
    for (const Style& style : styles()) {
        const QImage scene = background(style);
        ok &= save(scene, folder.filePath(QStringLiteral("damier%1.bmp").arg(style.number)));
        // Styles sharing a directory share its square pictures: the first draws them.
        if (style.number != style.directory) continue;
        const QString dirName = QStringLiteral("Images%1").arg(style.directory);
        if (!folder.mkpath(dirName)) {
            std::fprintf(stderr, "make_pictures: cannot create %s\n", qPrintable(folder.filePath(dirName)));
            return false;
        }
        const QDir dir(folder.filePath(dirName));
        for (int s = 1; s <= 32; ++s) {
            const pp::Corner c = pp::PlaceCorners[static_cast<std::size_t>(s)];
            const QRect cell(c.x, c.y, pp::pictureWidth(s), pp::pictureHeight(s));
            for (int code = 0; code <= 4; ++code) {
                QImage picture = scene.copy(cell);
                if (code > 0) {
                    QPainter p(&picture);
                    p.translate(-cell.topLeft());
                    drawPieceOn(p, style, s, code);
                }
                ok &= save(picture,
                           dir.filePath(QStringLiteral("%1%2_%3.bmp").arg(Kinds[code]).arg(style.directory).arg(s)));
            }
        }
    }
    return ok;
}

}  // namespace tools
