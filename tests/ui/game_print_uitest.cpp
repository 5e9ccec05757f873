// The printed game, read back as a person reads it: the PDF's text with
// poppler's pdftotext, and its pages rendered with pdftoppm, where each
// diagram is found on the page and its 32 squares read off the pixels.

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "files/text_import.h"
#include "program_copy.h"
#include "rules/fen.h"
#include "ui/game_print.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

rules::Square sq(const char* name) { return *rules::parseSquareName(name); }

// Runs a poppler tool; its standard output, or a failure naming it.
QByteArray runTool(const QString& tool, const QStringList& arguments, bool& ok) {
    QProcess p;
    p.start(tool, arguments);
    ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        qWarning() << tool << "failed (scripts/deps installs poppler-utils):" << p.errorString()
                   << p.readAllStandardError();
    return p.readAllStandardOutput();
}

// The text of every page, as one line.
QStringList pdfPages(const QString& pdf) {
    bool ok = false;
    const QByteArray text =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, ok);
    if (!ok) return {};
    QStringList pages;
    // Runs of blanks are made one, and ligatures ("ﬁ") letters again.
    for (const QString& page : QString::fromUtf8(text).split('\f'))
        if (!page.trimmed().isEmpty()) pages << page.normalized(QString::NormalizationForm_KC).simplified();
    return pages;
}

// The pages as pictures at 100 dots an inch.
std::vector<QImage> pdfImages(const QString& pdf) {
    QTemporaryDir dir;
    bool ok = false;
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, dir.filePath("page")}, ok);
    std::vector<QImage> images;
    if (!ok) return images;
    QStringList files = QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    for (const QString& f : files) images.push_back(QImage(dir.filePath(f)).convertToFormat(QImage::Format_RGB32));
    return images;
}

// The diagrams of a page: regions of ink joined side to side that are
// square and larger than any letter, top to bottom.
std::vector<QRect> diagramsOn(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<char> seen(static_cast<std::size_t>(w * h), 0);
    auto ink = [&](int x, int y) { return qGray(image.pixel(x, y)) < 245; };
    std::vector<QRect> found;
    std::vector<QPoint> stack;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[static_cast<std::size_t>(y0 * w + x0)] || !ink(x0, y0)) continue;
            QRect box(x0, y0, 1, 1);
            stack.assign(1, QPoint(x0, y0));
            seen[static_cast<std::size_t>(y0 * w + x0)] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                box |= QRect(p, QSize(1, 1));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h) continue;
                    char& s = seen[static_cast<std::size_t>(q.y() * w + q.x())];
                    if (s || !ink(q.x(), q.y())) continue;
                    s = 1;
                    stack.push_back(q);
                }
            }
            if (box.width() > 100 && std::abs(box.width() - box.height()) <= 3) found.push_back(box);
        }
    return found;
}

// The position a diagram shows: each dark square's centre and a point
// lower in its disc tell an empty square (grey), a man (both alike) and a
// king (a crown of the other colour over the centre).
rules::Board readDiagram(const QImage& image, const QRect& box) {
    rules::Board b{};
    b[0] = rules::Sentinel;
    const double cell = box.width() / 8.0;
    for (int s = 1; s <= rules::NumSquares; ++s) {
        const double cx = box.left() + (rules::squareFile(s) + 0.5) * cell;
        const double cy = box.top() + (rules::squareRow(s) + 0.5) * cell;
        const int centre = qGray(image.pixel(int(cx), int(cy)));
        const int body = qGray(image.pixel(int(cx), int(cy + 0.25 * cell)));
        auto kind = [](int g) { return g > 200 ? 'w' : g < 70 ? 'b' : 'e'; };
        const char c = kind(centre), d = kind(body);
        b[static_cast<std::size_t>(s)] = d == 'e'   ? rules::Empty
                                         : d == 'w' ? (c == 'w' ? rules::WhiteMan : rules::WhiteKing)
                                                    : (c == 'b' ? rules::BlackMan : rules::BlackKing);
    }
    return b;
}

QString fenOf(const rules::Board& b) { return QString::fromStdString(rules::toFen(b, rules::White)); }

rules::Board boardAt(const game::GameRecord& rec, int ply) {
    rules::Board b{};
    b[0] = rules::Sentinel;
    for (int s = 1; s <= rules::NumSquares; ++s) b[s] = rec.plies[static_cast<std::size_t>(ply)].squares[s - 1];
    return b;
}

// A game replayed by the core from square names, as an imported game is.
std::unique_ptr<game::Core> replayed(const char* fen, std::initializer_list<std::pair<const char*, const char*>> moves,
                                     int repeat = 1) {
    auto core = std::make_unique<game::Core>();
    files::ParsedGame g;
    g.white = "Ana";
    g.black = "Bia";
    if (fen) g.start = *rules::parseFen(fen).position;
    for (int i = 0; i < repeat; ++i)
        for (const auto& [from, to] : moves)
            g.halfMoves.push_back(files::HalfMove{{sq(from), sq(to)}, std::string(from) + "-" + to});
    files::replayGame(*core, g);
    return core;
}

bool printToPdf(const ui::PrintedGame& game, const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(pdf);
    return ui::printGame(printer, game);
}

// The numbered rows of the moves, as pdftotext lays them out: "12. c3-d4 f6-g5".
QStringList moveRows(const QString& page) {
    QStringList rows;
    const QRegularExpression row(
        QStringLiteral("(\\d+)\\.\\s+(\\.\\.\\.|[a-h][1-8][-x][a-h][1-8])(?:\\s+([a-h][1-8][-x][a-h][1-8]))?"));
    for (auto it = row.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        rows << (m.captured(1) + ". " + m.captured(2) + (m.captured(3).isEmpty() ? QString() : " " + m.captured(3)));
    }
    return rows;
}

}  // namespace

class GamePrintTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir out;

private slots:
    // Ctrl+P in the window: cancelled, nothing; to a PDF, the page holds the
    // names, the event and the date, the result and the moves in the
    // interface language, and a diagram of the final position; to a file
    // that cannot be written, the error box and no file.
    void printingFromTheWindow() {
        auto folder = testsupport::copyProgramFolder();
        ui::TForm1 form(folder->path());
        form.setHoldFunction([](int) {});
        QVERIFY(testsupport::openFlatBoard(form));
        form.menus().twoPeople->trigger();
        form.menus().languages[1]->trigger();
        testsupport::settle();
        form.core().game.whiteName = game::makeName("Ana");
        form.core().game.blackName = game::makeName("Bia");
        // Black's fourth move takes two men, White's fifth takes back.
        const char* moves[][2] = {{"c3", "d4"}, {"f6", "g5"}, {"b2", "c3"}, {"g5", "h4"}, {"e3", "f4"},
                                  {"g7", "f6"}, {"d4", "e5"}, {"f6", "b2"}, {"a1", "c3"}};
        for (const auto& m : moves) QVERIFY(testsupport::playByClicks(form, m[0], m[1]));
        form.core().game.lastResult = game::GameResult::WhiteWon;
        // The position shown is not what is printed: the whole game is.
        QTest::keyClick(&form, Qt::Key_F1);
        testsupport::settle();

        const QString pdf = out.filePath("window.pdf");
        bool asked = false;
        form.setPrintDialog([&](QPrinter&) {
            asked = true;
            return false;
        });
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        testsupport::settle();
        QVERIFY(asked);
        QVERIFY(!QFileInfo::exists(pdf));

        form.setPrintDialog([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        testsupport::settle();
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const QString& page = pages[0];
        QVERIFY2(page.contains(QString::fromUtf8("Ana – Bia")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("White wins 2-0")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Human against human \u00b7 ")), qPrintable(page));
        QVERIFY2(page.contains(
                     QLocale(QLocale::English, QLocale::UnitedKingdom).toString(QDate::currentDate(), "d MMMM yyyy")),
                 qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Final position")), qPrintable(page));
        QCOMPARE(moveRows(page),
                 (QStringList{"1. c3-d4 f6-g5", "2. b2-c3 g5-h4", "3. e3-f4 g7-f6", "4. d4-e5 f6xb2", "5. a1xc3"}));
        const std::vector<QImage> images = pdfImages(pdf);
        QCOMPARE(int(images.size()), 1);
        const std::vector<QRect> diagrams = diagramsOn(images[0]);
        QCOMPARE(int(diagrams.size()), 1);
        QCOMPARE(fenOf(readDiagram(images[0], diagrams[0])), fenOf(boardAt(form.core().game.record, 9)));

        // A PDF in a folder that does not exist.
        testsupport::BoxCatcher boxes;
        boxes.start();
        const QString nowhere = out.filePath("no such folder/window.pdf");
        form.setPrintDialog([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(nowhere);
            return true;
        });
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        testsupport::settle();
        QTRY_COMPARE(boxes.texts, QStringList{"Cannot open this file"});
        boxes.stop();
        QVERIFY(!QFileInfo::exists(nowhere));
    }

    // The page's words follow the language; the diagrams show kings as kings.
    void wordsFollowTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("resultText");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("French, unfinished")
            << 0 << int(game::GameResult::None) << QString::fromUtf8("Partie en cours")
            << QString::fromUtf8("Dernière position") << QLocale(QLocale::French, QLocale::France);
        QTest::newRow("Dutch, draw") << 2 << int(game::GameResult::Draw) << QString::fromUtf8("Remise 1-1")
                                     << QString::fromUtf8("Eindstelling")
                                     << QLocale(QLocale::Dutch, QLocale::Netherlands);
        QTest::newRow("Portuguese, Black won")
            << 3 << int(game::GameResult::BlackWon) << QString::fromUtf8("As pretas vencem 0-2")
            << QString::fromUtf8("Posição final") << QLocale(QLocale::Portuguese, QLocale::Brazil);
        QTest::newRow("Italian, White won")
            << 5 << int(game::GameResult::WhiteWon) << QString::fromUtf8("Vince il bianco 2-0")
            << QString::fromUtf8("Posizione finale") << QLocale(QLocale::Italian, QLocale::Italy);
    }
    void wordsFollowTheLanguage() {
        QFETCH(int, language);
        QFETCH(int, result);
        QFETCH(QString, resultText);
        QFETCH(QString, caption);
        QFETCH(QLocale, locale);
        // White crowns a man on b8; the kings of both sides move.
        auto core = replayed("W:WKg1,c7:Ba7,Kh4", {{"c7", "b8"}, {"h4", "e1"}, {"g1", "h2"}, {"a7", "b6"}});
        QCOMPARE(core->game.record.recordLength, 4);
        core->game.lastResult = static_cast<game::GameResult>(result);
        const QDate date(2024, 5, 17);
        const QString pdf = out.filePath(QStringLiteral("words%1.pdf").arg(language));
        QVERIFY(printToPdf(ui::printedGame(core->game, QStringLiteral("Tavolex"), date, language), pdf));
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains(resultText), qPrintable(pages[0]));
        QVERIFY2(pages[0].contains(caption), qPrintable(pages[0]));
        QVERIFY2(pages[0].contains(locale.toString(date, "d MMMM yyyy")), qPrintable(pages[0]));
        const std::vector<QImage> images = pdfImages(pdf);
        QCOMPARE(int(images.size()), 1);
        const std::vector<QRect> diagrams = diagramsOn(images[0]);
        QCOMPARE(int(diagrams.size()), 2);  // the game was set up: the start, then the end
        QCOMPARE(fenOf(readDiagram(images[0], diagrams[0])), QStringLiteral("W:W6,K32:B5,K20"));
        QCOMPARE(fenOf(readDiagram(images[0], diagrams[1])), QStringLiteral("W:WK1,K28:B9,K31"));
    }

    // A game set up with Black to move: its start is shown with the side to
    // move, and its first row has no White move. Sides without names go by
    // their colours.
    void aSetUpGameStartsWithBlack() {
        auto core = replayed("B:W21,22,30:B9,10,13", {{"d6", "e5"}, {"c3", "d4"}, {"e5", "c3"}});
        QCOMPARE(core->game.record.recordLength, 3);
        core->game.whiteName = {};
        core->game.blackName = {};
        const QString pdf = out.filePath("black.pdf");
        QVERIFY(printToPdf(ui::printedGame(core->game, QString(), QDate(), 1), pdf));
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains(QStringLiteral("Starting position")) &&
                     pages[0].contains(QStringLiteral("Black to move")),
                 qPrintable(pages[0]));
        QVERIFY2(pages[0].startsWith(QString::fromUtf8("White – Black Game in progress")), qPrintable(pages[0]));
        QCOMPARE(moveRows(pages[0]), (QStringList{"1. ... d6-e5", "2. c3-d4 e5xc3"}));
        const std::vector<QImage> images = pdfImages(pdf);
        const std::vector<QRect> diagrams = diagramsOn(images.at(0));
        QCOMPARE(int(diagrams.size()), 2);
        QCOMPARE(fenOf(readDiagram(images[0], diagrams[0])), QStringLiteral("W:W21,22,30:B9,10,13"));
        QCOMPARE(fenOf(readDiagram(images[0], diagrams[1])), fenOf(boardAt(core->game.record, 3)));
    }

    // The longest game the record holds runs onto a second page: both pages
    // numbered, every move once and in order, the diagram on the first.
    void aLongGameTakesPages() {
        auto core = replayed("W:WKc1:BKf8", {{"c1", "d2"}, {"f8", "g7"}, {"d2", "c1"}, {"g7", "f8"}}, 100);
        QCOMPARE(core->game.record.recordLength, game::MaxRecordedPly);
        const QString pdf = out.filePath("long.pdf");
        QVERIFY(printToPdf(ui::printedGame(core->game, QStringLiteral("Match"), QDate(2024, 1, 2), 1), pdf));
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        QStringList rows;
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(pages[i].contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?2$").arg(i + 1))),
                     qPrintable(pages[i]));
            QVERIFY2(pages[i].contains(QString::fromUtf8("Ana – Bia")), qPrintable(pages[i]));
            rows += moveRows(pages[i]);
        }
        QCOMPARE(rows.size(), game::MaxRecordedPly / 2);
        // pdftotext reads side-by-side columns row by row: put them back in order of number.
        std::sort(rows.begin(), rows.end(), [](const QString& a, const QString& b) {
            return a.section('.', 0, 0).toInt() < b.section('.', 0, 0).toInt();
        });
        for (int n = 1; n <= game::MaxRecordedPly / 2; ++n)
            QCOMPARE(rows[n - 1], QStringLiteral("%1. ").arg(n) + (n % 2 ? "c1-d2 f8-g7" : "d2-c1 g7-f8"));
        const std::vector<QImage> images = pdfImages(pdf);
        QCOMPARE(int(images.size()), 2);
        QCOMPARE(int(diagramsOn(images[0]).size()), 2);
        QCOMPARE(int(diagramsOn(images[1]).size()), 0);
    }
};

QTEST_MAIN(GamePrintTest)
#include "game_print_uitest.moc"
