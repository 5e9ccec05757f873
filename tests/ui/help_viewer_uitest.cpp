// The help window: where it opens beside the main window, the size it
// keeps from one opening to the next, and the rules pages with their
// diagrams.

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "ui/help_viewer.h"

namespace {

struct PlaceCase {
    const char* name;
    QRect main;
    QSize size;
    QRect expected;
};

const QRect Screen(0, 0, 1920, 1080);

const PlaceCase PlaceCases[] = {
    {"room on the right", QRect(100, 50, 800, 600), QSize(720, 600), QRect(900, 50, 720, 600)},
    {"room on the left only", QRect(1000, 80, 800, 600), QSize(720, 600), QRect(280, 80, 720, 600)},
    {"right preferred when both fit", QRect(700, 80, 500, 400), QSize(600, 500), QRect(1200, 80, 600, 500)},
    {"narrowed to the larger side", QRect(300, 0, 1100, 800), QSize(720, 600), QRect(1400, 0, 520, 600)},
    {"narrowed on the left", QRect(500, 0, 1300, 800), QSize(720, 600), QRect(0, 0, 500, 600)},
    {"no room: against the edge", QRect(100, 0, 1700, 900), QSize(720, 600), QRect(1200, 0, 720, 600)},
    {"kept above the screen's bottom", QRect(100, 700, 800, 300), QSize(720, 600), QRect(900, 480, 720, 600)},
    {"larger than the screen", QRect(0, 0, 400, 300), QSize(3000, 2000), QRect(400, 0, 1520, 1080)},
};

QSettings userSettings() { return QSettings(QStringLiteral("Tavolex"), QStringLiteral("Tavolex")); }

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The settings go to a test folder of their own, never the person's.
        QStandardPaths::setTestModeEnabled(true);
        userSettings().clear();
    }
    void cleanupTestCase() { userSettings().clear(); }

    void placement_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("expected");
        for (const PlaceCase& c : PlaceCases) QTest::newRow(c.name) << c.main << c.size << c.expected;
    }
    void placement() {
        QFETCH(QRect, main);
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        QCOMPARE(ui::placeBeside(main, size, Screen), expected);
    }

    // A main window at the screen's left: the help opens on its right, on
    // the screen; a size the person gives it comes back the next time, also
    // in a window made anew; a window already open stays where it is.
    void opensBesideAndKeepsItsSize() {
        QWidget main;
        main.setGeometry(0, 0, 300, 200);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QString page = QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Aide/RTavolex_e.html");
        const QRect screen = main.screen()->availableGeometry();
        {
            ui::HelpViewer help(&main);
            QVERIFY(help.showPage(page));
            QVERIFY(QTest::qWaitForWindowExposed(&help));
            QVERIFY2(help.frameGeometry().left() >= main.frameGeometry().right(), "the help covers the main window");
            QVERIFY(screen.contains(help.frameGeometry()));
            help.resize(430, 350);
            QTRY_COMPARE(help.size(), QSize(430, 350));
            help.move(screen.right() - 440, 20);
            QVERIFY(help.showPage(page));
            QCOMPARE(help.pos(), QPoint(screen.right() - 440, 20));
            help.hide();
            QVERIFY(help.showPage(page));
            QCOMPARE(help.size(), QSize(430, 350));
            QVERIFY(help.frameGeometry().left() >= main.frameGeometry().right());
        }
        QCOMPARE(userSettings().value("help/size").toSize(), QSize(430, 350));
        ui::HelpViewer again(&main);
        QVERIFY(again.showPage(page));
        QCOMPARE(again.size(), QSize(430, 350));
    }

    // Every picture of every rules page is loaded by the browser.
    void rulesPagesShowTheirDiagrams() {
        QWidget main;
        ui::HelpViewer help(&main);
        for (const char* name : {"RTavolex_f.html", "RTavolex_e.html", "RTavolex_n.html", "RTavolex_p.html",
                                 "RTavolex_es.html", "RTavolex_i.html"}) {
            QVERIFY(help.showPage(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Aide/") + name));
            QVERIFY(QTest::qWaitForWindowExposed(&help));
            help.browser()->grab();  // lays the page out, which loads its pictures
            int pictures = 0;
            for (const char* src :
                 {"diagram_start.png", "diagram_moves.png", "diagram_capture.png", "diagram_king.png"}) {
                const QVariant image =
                    help.browser()->document()->resource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(src)));
                QVERIFY2(image.isValid(), qPrintable(QString::fromLatin1(name) + ": " + src));
                const QSize size =
                    image.canConvert<QImage>() ? image.value<QImage>().size() : image.value<QPixmap>().size();
                const QImage file(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Aide/") + src);
                QVERIFY2(!file.isNull() && size == file.size(), qPrintable(QString::fromLatin1(name) + ": " + src));
                ++pictures;
            }
            QCOMPARE(pictures, 4);
        }
    }
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_uitest.moc"
