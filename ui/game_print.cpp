#include "ui/game_print.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace ui {

namespace {

// The page's words in the six languages. They are few and only the printed
// page uses them, so they live here rather than with the window's captions.
enum class Word {
    WhiteWins,
    BlackWins,
    Draw,
    Unfinished,
    White,
    Black,
    StartPosition,
    FinalPosition,
    LastPosition,
    WhiteToMove,
    BlackToMove,
    Count
};
constexpr std::array<std::array<const char*, 6>, static_cast<std::size_t>(Word::Count)> Words = {{
    {"Les blancs gagnent", "White wins", "Wit wint", "As brancas vencem", "Ganan las blancas", "Vince il bianco"},
    {"Les noirs gagnent", "Black wins", "Zwart wint", "As pretas vencem", "Ganan las negras", "Vince il nero"},
    {"Partie nulle", "Draw", "Remise", "Empate", "Tablas", "Patta"},
    {"Partie en cours", "Game in progress", "Partij nog bezig", "Partida em andamento", "Partida en curso",
     "Partita in corso"},
    {"Blancs", "White", "Wit", "Brancas", "Blancas", "Bianco"},
    {"Noirs", "Black", "Zwart", "Pretas", "Negras", "Nero"},
    {"Position de départ", "Starting position", "Beginstelling", "Posição inicial", "Posición inicial",
     "Posizione iniziale"},
    {"Position finale", "Final position", "Eindstelling", "Posição final", "Posición final", "Posizione finale"},
    {"Dernière position", "Last position", "Laatste stelling", "Última posição", "Última posición", "Ultima posizione"},
    {"Trait aux blancs", "White to move", "Wit aan zet", "Brancas jogam", "Juegan las blancas", "Muove il bianco"},
    {"Trait aux noirs", "Black to move", "Zwart aan zet", "Pretas jogam", "Juegan las negras", "Muove il nero"},
}};

QString word(Word w, int language) {
    const std::size_t l = language >= 0 && language < 6 ? static_cast<std::size_t>(language) : 0;
    return QString::fromUtf8(Words[static_cast<std::size_t>(w)][l]);
}

QLocale localeOf(int language) {
    switch (language) {
        case 1: return QLocale(QLocale::English, QLocale::UnitedKingdom);
        case 2: return QLocale(QLocale::Dutch, QLocale::Netherlands);
        case 3: return QLocale(QLocale::Portuguese, QLocale::Brazil);
        case 4: return QLocale(QLocale::Spanish, QLocale::Spain);
        case 5: return QLocale(QLocale::Italian, QLocale::Italy);
        default: return QLocale(QLocale::French, QLocale::France);
    }
}

// The score as the game's texts write it: two points for a win, one each
// for a draw.
QString resultLine(game::GameResult r, int language) {
    switch (r) {
        case game::GameResult::WhiteWon: return word(Word::WhiteWins, language) + QStringLiteral("   2-0");
        case game::GameResult::BlackWon: return word(Word::BlackWins, language) + QStringLiteral("   0-2");
        case game::GameResult::Draw: return word(Word::Draw, language) + QStringLiteral("   1-1");
        case game::GameResult::None: break;
    }
    return word(Word::Unfinished, language);
}

rules::Board boardOf(const game::PlyRecord& e) {
    rules::Board b{};
    b[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) b[s] = e.squares[static_cast<std::size_t>(s - 1)];
    return b;
}

QFont fontOf(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Device pixels per millimetre.
double pixelsPerMm(const QPagedPaintDevice& device) { return device.logicalDpiY() / 25.4; }

// A diagram from White's side: row 8 at the top, file a on the left, the
// dark squares grey, men as discs and kings as discs with a crown. Files
// are lettered below the board and rows numbered on its left.
void paintDiagram(QPainter& p, const QRectF& board, const rules::Board& b, double mm) {
    const double cell = board.width() / 8;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xee, 0xee));
    p.drawRect(board);
    p.setBrush(QColor(0x9a, 0x9a, 0x9a));
    for (int s = 1; s <= rules::NumSquares; ++s)
        p.drawRect(
            QRectF(board.left() + rules::squareFile(s) * cell, board.top() + rules::squareRow(s) * cell, cell, cell));
    p.setPen(QPen(Qt::black, 0.35 * mm));
    p.setBrush(Qt::NoBrush);
    p.drawRect(board);

    const double radius = cell * 0.38;
    for (int s = 1; s <= rules::NumSquares; ++s) {
        const rules::PieceCode piece = b[static_cast<std::size_t>(s)];
        if (piece == rules::Empty) continue;
        const bool white = piece == rules::WhiteMan || piece == rules::WhiteKing;
        const QPointF centre(board.left() + (rules::squareFile(s) + 0.5) * cell,
                             board.top() + (rules::squareRow(s) + 0.5) * cell);
        const QColor body = white ? Qt::white : QColor(0x1a, 0x1a, 0x1a);
        const QColor mark = white ? QColor(0x1a, 0x1a, 0x1a) : Qt::white;
        p.setPen(QPen(Qt::black, 0.25 * mm));
        p.setBrush(body);
        p.drawEllipse(centre, radius, radius);
        if (piece == rules::WhiteKing || piece == rules::BlackKing) {
            // A crown of three points over a band that covers the centre.
            const double r = radius;
            const QPolygonF crown({centre + QPointF(-0.5 * r, 0.3 * r), centre + QPointF(0.5 * r, 0.3 * r),
                                   centre + QPointF(0.58 * r, -0.38 * r), centre + QPointF(0.26 * r, -0.06 * r),
                                   centre + QPointF(0, -0.48 * r), centre + QPointF(-0.26 * r, -0.06 * r),
                                   centre + QPointF(-0.58 * r, -0.38 * r)});
            p.setPen(Qt::NoPen);
            p.setBrush(mark);
            p.drawPolygon(crown);
        }
    }

    p.setPen(Qt::black);
    p.setFont(fontOf(7));
    const double gap = 1.2 * mm;
    for (int i = 0; i < 8; ++i) {
        const QRectF below(board.left() + i * cell, board.bottom() + gap, cell, 4 * mm);
        p.drawText(below, Qt::AlignHCenter | Qt::AlignTop, QString(QChar('a' + i)));
        const QRectF left(board.left() - gap - 4 * mm, board.top() + i * cell, 4 * mm, cell);
        p.drawText(left, Qt::AlignRight | Qt::AlignVCenter, QString::number(8 - i));
    }
    p.restore();
}

struct Diagram {
    QString caption;
    QString note;   // under the board; may be empty
    const rules::Board* board;
};

// The diagrams stacked in `area`, each as large as its share allows.
void paintDiagrams(QPainter& p, const QRectF& area, const std::vector<Diagram>& diagrams, double mm) {
    const QFont captionFont = fontOf(10, true);
    const QFont noteFont = fontOf(9);
    const double captionHeight = QFontMetricsF(captionFont, p.device()).lineSpacing();
    const double noteHeight = QFontMetricsF(noteFont, p.device()).lineSpacing();
    const double labels = 6 * mm;   // the numbers on the left, the letters below
    const double share = area.height() / static_cast<double>(diagrams.size());
    const double side =
        std::max(0.0, std::min(area.width() - labels, share - captionHeight - labels - noteHeight - 4 * mm));
    double y = area.top();
    for (const Diagram& d : diagrams) {
        const QRectF board(area.left() + labels, y + captionHeight + 1 * mm, side, side);
        p.setFont(captionFont);
        p.setPen(Qt::black);
        p.drawText(QRectF(board.left(), y, side, captionHeight), Qt::AlignLeft | Qt::AlignVCenter, d.caption);
        paintDiagram(p, board, *d.board, mm);
        if (!d.note.isEmpty()) {
            p.setFont(noteFont);
            p.drawText(QRectF(board.left(), board.bottom() + labels - 1 * mm, side, noteHeight),
                       Qt::AlignLeft | Qt::AlignVCenter, d.note);
        }
        y += share;
    }
}

// The moves' grid: groups of three columns (number, White, Black) side by
// side, filled top to bottom and then left to right.
struct MoveGrid {
    QFont font = fontOf(10);
    QFont headFont = fontOf(9, true);
    double mm = 0;
    double rowHeight = 0;
    double numberWidth = 0, moveWidth = 0, groupWidth = 0, groupGap = 0;

    MoveGrid(const QPaintDevice* device, int language, double pixelsPerMm) : mm(pixelsPerMm) {
        const QFontMetricsF m(font, device);
        const QFontMetricsF h(headFont, device);
        rowHeight = m.lineSpacing() * 1.2;
        numberWidth = m.horizontalAdvance(QStringLiteral("888."));
        moveWidth =
            std::max({m.horizontalAdvance(QStringLiteral("a1xh8")), h.horizontalAdvance(word(Word::White, language)),
                      h.horizontalAdvance(word(Word::Black, language))}) +
            3 * mm;
        groupWidth = numberWidth + 2 * mm + 2 * moveWidth;
        groupGap = 6 * mm;
    }
    int groupsIn(double width) const {
        return std::max(1, static_cast<int>((width + groupGap) / (groupWidth + groupGap)));
    }
    int rowsIn(double height) const {
        return std::max(1, static_cast<int>(height / rowHeight) - 1);
    }  // less the heading row

    void paint(QPainter& p, const QRectF& area, const std::vector<PrintedMove>& moves, std::size_t first,
               std::size_t count, int language) const {
        const int rows = rowsIn(area.height());
        const int groups = groupsIn(area.width());
        for (int g = 0; g < groups; ++g) {
            const std::size_t from = first + static_cast<std::size_t>(g * rows);
            if (from >= first + count) break;
            const double x = area.left() + g * (groupWidth + groupGap);
            const double whiteX = x + numberWidth + 2 * mm;
            const double blackX = whiteX + moveWidth;
            double y = area.top();
            p.setFont(headFont);
            p.drawText(QRectF(whiteX, y, moveWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       word(Word::White, language));
            p.drawText(QRectF(blackX, y, moveWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       word(Word::Black, language));
            p.drawLine(QPointF(x, y + rowHeight), QPointF(x + groupWidth, y + rowHeight));
            p.setFont(font);
            for (std::size_t i = from; i < std::min(from + static_cast<std::size_t>(rows), first + count); ++i) {
                y += rowHeight;
                const PrintedMove& mv = moves[i];
                p.drawText(QRectF(x, y, numberWidth, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                           QString::number(mv.number) + '.');
                p.drawText(QRectF(whiteX, y, moveWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                           mv.white.isEmpty() ? QStringLiteral("...") : mv.white);
                p.drawText(QRectF(blackX, y, moveWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, mv.black);
            }
        }
    }
};

}  // namespace

PrintedGame printedGame(const game::GameState& g, const QString& event, QDate date, int language) {
    const game::GameRecord& rec = g.record;
    PrintedGame out;
    out.white = QString::fromLatin1(game::nameText(g.whiteName));  // the game's texts are single-byte Latin-1
    out.black = QString::fromLatin1(game::nameText(g.blackName));
    out.event = event;
    out.date = date;
    out.result = g.lastResult;
    out.language = language;

    // The side that moved first follows from the side to move after the last ply.
    const int length = std::clamp(rec.recordLength, 0, game::MaxRecordedPly);
    out.startSide = length % 2 ? rules::opposite(rec.sideToMoveAtEnd) : rec.sideToMoveAtEnd;
    const rules::Board start = boardOf(rec.plies[0]);
    if (start != rules::startingPosition() || out.startSide != rules::White) out.start = start;
    out.final = boardOf(rec.plies[static_cast<std::size_t>(length)]);

    for (int k = 1; k <= length; ++k) {
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(k)];
        const rules::Side side = k % 2 == 1 ? out.startSide : rules::opposite(out.startSide);
        const int number = (k + (out.startSide == rules::Black ? 1 : 0) + 1) / 2;
        if (out.moves.empty() || out.moves.back().number != number) out.moves.push_back({number, {}, {}});
        const std::string_view from = rules::squareName(e.from), to = rules::squareName(e.to);
        const QString text = QString::fromLatin1(from.data(), qsizetype(from.size())) + (e.captureCount ? 'x' : '-') +
                             QString::fromLatin1(to.data(), qsizetype(to.size()));
        (side == rules::White ? out.moves.back().white : out.moves.back().black) = text;
    }
    return out;
}

bool printGame(QPagedPaintDevice& device, const PrintedGame& game) {
    QPainter p;
    if (!p.begin(&device)) return false;
    const double mm = pixelsPerMm(device);

    // Step 1. The content's rectangle: at least 15 mm from the paper's
    // edges, in the painter's coordinates, which start at the printable area.
    const int dpi = device.logicalDpiY();
    const QRect full = device.pageLayout().fullRectPixels(dpi);
    const QRect printable = device.pageLayout().paintRectPixels(dpi);
    const double margin = 15 * mm;
    QRectF content = QRectF(full).adjusted(margin, margin, -margin, -margin).intersected(QRectF(printable));
    content.translate(-QPointF(printable.topLeft()));
    if (content.width() < 40 * mm || content.height() < 40 * mm)
        content = QRectF(0, 0, device.width(), device.height());

    // Step 2. The heading of the first page: the names, the event and the
    // date, the result.
    const QFont titleFont = fontOf(18, true);
    const QFont infoFont = fontOf(11);
    const QFont resultFont = fontOf(12, true);
    const QFont footFont = fontOf(9);
    const double footHeight = QFontMetricsF(footFont, &device).lineSpacing() + 3 * mm;
    // A side without a name (a training game, before names are given) goes by its colour.
    const QString names = (game.white.isEmpty() ? word(Word::White, game.language) : game.white) +
                          QStringLiteral(" \u2013 ") +
                          (game.black.isEmpty() ? word(Word::Black, game.language) : game.black);
    QStringList info;
    if (!game.event.isEmpty()) info << game.event;
    if (game.date.isValid()) info << localeOf(game.language).toString(game.date, QStringLiteral("d MMMM yyyy"));

    auto heading = [&](double& y) {
        const QFontMetricsF tm(titleFont, &device);
        p.setFont(titleFont);
        p.drawText(QRectF(content.left(), y, content.width(), tm.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                   tm.elidedText(names, Qt::ElideRight, content.width()));
        y += tm.lineSpacing() + 1 * mm;
        if (!info.isEmpty()) {
            const QFontMetricsF im(infoFont, &device);
            p.setFont(infoFont);
            p.drawText(QRectF(content.left(), y, content.width(), im.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                       info.join(QStringLiteral("  \u00b7  ")));
            y += im.lineSpacing();
        }
        const QFontMetricsF rm(resultFont, &device);
        p.setFont(resultFont);
        p.drawText(QRectF(content.left(), y, content.width(), rm.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                   resultLine(game.result, game.language));
        y += rm.lineSpacing() + 2 * mm;
        p.setPen(QPen(Qt::black, 0.3 * mm));
        p.drawLine(QPointF(content.left(), y), QPointF(content.right(), y));
        p.setPen(Qt::black);
        y += 4 * mm;
    };
    // Later pages repeat the names in small, above the moves.
    auto shortHeading = [&](double& y) {
        const QFontMetricsF im(infoFont, &device);
        p.setFont(infoFont);
        p.drawText(QRectF(content.left(), y, content.width(), im.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                   im.elidedText(names, Qt::ElideRight, content.width()));
        y += im.lineSpacing() + 1 * mm;
        p.setPen(QPen(Qt::black, 0.2 * mm));
        p.drawLine(QPointF(content.left(), y), QPointF(content.right(), y));
        p.setPen(Qt::black);
        y += 4 * mm;
    };

    // Step 3. How many moves each page holds. The first page gives the
    // diagrams a column on the right; the others give the moves the whole width.
    const MoveGrid grid(&device, game.language, mm);
    double firstTop = content.top();
    {
        // The heading's height, measured by the same steps without painting.
        const QFontMetricsF tm(titleFont, &device), im(infoFont, &device), rm(resultFont, &device);
        firstTop += tm.lineSpacing() + 1 * mm + (info.isEmpty() ? 0 : im.lineSpacing()) + rm.lineSpacing() + 6 * mm;
    }
    const double laterTop = content.top() + QFontMetricsF(infoFont, &device).lineSpacing() + 5 * mm;
    const double bottom = content.bottom() - footHeight;
    const double diagramWidth = std::min(content.width() * 0.45, 85 * mm);
    const QRectF firstMoves(content.left(), firstTop, content.width() - diagramWidth - 8 * mm, bottom - firstTop);
    const QRectF laterMoves(content.left(), laterTop, content.width(), bottom - laterTop);
    const std::size_t firstCapacity =
        static_cast<std::size_t>(grid.groupsIn(firstMoves.width()) * grid.rowsIn(firstMoves.height()));
    const std::size_t laterCapacity =
        static_cast<std::size_t>(grid.groupsIn(laterMoves.width()) * grid.rowsIn(laterMoves.height()));
    const std::size_t total = game.moves.size();
    const int pages =
        total <= firstCapacity ? 1 : 1 + static_cast<int>((total - firstCapacity + laterCapacity - 1) / laterCapacity);

    // Step 4. The pages.
    std::size_t next = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !device.newPage()) break;
        p.setPen(Qt::black);
        double y = content.top();
        if (page == 1) {
            heading(y);
            std::vector<Diagram> diagrams;
            if (game.start)
                diagrams.push_back(
                    {word(Word::StartPosition, game.language),
                     word(game.startSide == rules::White ? Word::WhiteToMove : Word::BlackToMove, game.language),
                     &*game.start});
            diagrams.push_back(
                {word(game.result == game::GameResult::None ? Word::LastPosition : Word::FinalPosition, game.language),
                 {},
                 &game.final});
            paintDiagrams(p, QRectF(content.right() - diagramWidth, firstTop, diagramWidth, bottom - firstTop),
                          diagrams, mm);
        } else {
            shortHeading(y);
        }
        const std::size_t capacity = page == 1 ? firstCapacity : laterCapacity;
        const std::size_t count = std::min(capacity, total - next);
        if (count > 0) grid.paint(p, page == 1 ? firstMoves : laterMoves, game.moves, next, count, game.language);
        next += count;
        if (pages > 1) {
            p.setFont(footFont);
            p.drawText(QRectF(content.left(), content.bottom() - footHeight, content.width(), footHeight),
                       Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("%1 / %2").arg(page).arg(pages));
        }
    }
    return p.end();
}

}  // namespace ui
