// The perspective boards, blind play, the picture export, the about box and
// the parameter editor, driven as a person drives them: real clicks on the
// start panel, the menus, the board image and the editor's boxes, and
// checks of the pixels drawn.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <memory>

#include "eval/eval_state.h"
#include "program_copy.h"
#include "rules/fen.h"
#include "ui/board3d.h"
#include "ui/board3d_places.h"
#include "ui/captions.h"
#include "ui/flat_board.h"
#include "ui/form2.h"
#include "ui/form4.h"
#include "ui/form5.h"
#include "ui/help_viewer.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

namespace pp = ui::perspective;

const char* const StyleItems[] = {"Damier2D1", "Damier3D1", "Damier3D2", "Damier3D3", "Damier3D4",
                                  "Damier3D5", "Damier3D6", "Damier3D7", "Damier3D8"};

QImage picture(const QString& name) { return QImage(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/") + name); }

QString squarePicture(int style, const char* kind, int place) {
    const int dir = style <= 2 ? 1 : style;
    return QStringLiteral("Images%1/%2%3_%4.bmp")
        .arg(QString::number(dir), QString::fromLatin1(kind), QString::number(dir), QString::number(place));
}

QPoint cornerOf(int place) {
    const pp::Corner c = pp::PlaceCorners[static_cast<std::size_t>(place)];
    return {c.x, c.y};
}

namespace cap = ui::captions;

// A dialog or a widget made a window, inside the main window: its
// components are not the main window's.
bool inOtherWindow(const QObject* o, const QWidget* window) {
    for (const QObject* p = o; p && p != window; p = p->parent())
        if (const auto* w = qobject_cast<const QWidget*>(p);
            w && w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            return true;
    return false;
}

bool hasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The text a person reads on a caption's holder.
QString captionOf(const QWidget* window, const QObject* holder) {
    if (holder == window) return window->windowTitle();
    if (const auto* m = qobject_cast<const QMenu*>(holder)) return m->title();
    if (const auto* a = qobject_cast<const QAction*>(holder)) return a->text();
    const auto* w = qobject_cast<const QWidget*>(holder);
    if (!w) return {};
    if (const auto* stack = qobject_cast<const QStackedWidget*>(w->parentWidget()))
        if (const auto* tabs = qobject_cast<const QTabWidget*>(stack->parentWidget()))
            return tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w)));
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return {};
}

struct Shown {
    const QObject* object;
    QString text;
};

// What a person can read on a window: its title and every menu, item,
// button, label, group box and page whose text has a letter in it, but
// nothing of the windows of their own it holds.
QList<Shown> wordsShown(QWidget* window) {
    QList<Shown> out;
    auto add = [&](const QObject* o, const QString& text) {
        if (!inOtherWindow(o, window) && hasLetter(text)) out.push_back({o, text});
    };
    add(window, window->windowTitle());
    for (const QMenu* m : window->findChildren<QMenu*>()) add(m, m->title());
    for (const QAction* a : window->findChildren<QAction*>())
        if (!a->menu() && !a->isSeparator()) add(a, a->text());
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) add(b, b->text());
    for (const QLabel* l : window->findChildren<QLabel*>()) add(l, l->text());
    for (const QGroupBox* g : window->findChildren<QGroupBox*>()) add(g, g->title());
    for (const QTabWidget* t : window->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) add(t->widget(i), t->tabText(i));
    return out;
}

// Shown with a French text of letters, yet without a row, by window: what
// they say is data, or is rewritten from the state in the interface
// language, or is never shown.
const char* const NoRow[][2] = {
    {"TForm1", "Titre"},        // the program's name, "TAVOLEX"
    {"TForm1", "Nbcoups3d"},    // the move number: Text::Moves on every pass
    {"TForm1", "Bas_Haut"},     // the set-up group's three state buttons:
    {"TForm1", "Couleurordi"},  // refreshSetupCaptions writes them in the
    {"TForm1", "Couleurjoue"},  // interface language
    {"Form2", "BitBtn3"},       // "Construire et enregistrer": no work behind it, never shown
    {"Form3", "BitBtn3"},
};

bool hasNoRow(const QWidget* window, const QString& component) {
    return std::any_of(std::begin(NoRow), std::end(NoRow), [&](const auto& e) {
        return window->objectName() == QLatin1String(e[0]) && component == QLatin1String(e[1]);
    });
}

}  // namespace

class LookTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;

    // A window on a program folder of this test's own, with everything the
    // build made, so that nothing a test saves lands in the build tree. The
    // folder is copied once; the game a window left behind is not offered
    // to the next.
    std::unique_ptr<ui::TForm1> newWindow() {
        form.reset();
        if (!folder) folder = testsupport::copyWholeProgramFolder();
        QFile::remove(folder->file("recovery.dam"));
        return std::make_unique<ui::TForm1>(folder->path());
    }

    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // The window after a start-panel button, two people playing.
    void start(const char* button) {
        form = newWindow();
        form->setHoldFunction([](int) {});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // No thinking on the person's time: it would last until the next click.
        form->findChild<QAction*>("Rflexionsurtempsadverse1")->setChecked(false);
        QPushButton* b = form->findChild<QPushButton*>(button);
        QVERIFY2(b && b->isEnabled(), button);
        QTest::mouseClick(b, Qt::LeftButton);
        settle();
        form->menus().twoPeople->trigger();
        settle();
    }
    void setUp(const char* fen) {
        const rules::Position p = *rules::parseFen(fen).position;
        form->installPosition(p.board, p.side);
        settle();
    }
    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    void trigger(const char* name) {
        QAction* a = item(name);
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
        settle();
    }
    QImage shown() const { return form->perspective->board->canvas(); }
    // The place shows the picture file: compared over its whole rectangle.
    bool placeShows(int place, const QString& file, const QImage& image) const {
        const QImage pic = picture(file);
        if (pic.isNull()) return false;
        const QPoint c = cornerOf(place);
        for (int y = 0; y < pic.height(); y += 3)
            for (int x = 0; x < pic.width(); x += 3)
                if (image.pixelColor(c + QPoint(x, y)) != pic.pixelColor(x, y)) return false;
        return true;
    }
    // A press at a pixel of the picture, wherever the window shows it and at
    // whatever scale.
    void clickImage(QPoint at) {
        QTest::mouseClick(form->perspective->board, Qt::LeftButton, {}, form->perspective->board->fromImage(at));
        settle();
    }
    // The place shows a selection mark of the colour: a ring of it, not a dot.
    bool markedIn(int place, QColor colour, const QImage& image) const {
        const QRect r(cornerOf(place), QSize(pp::pictureWidth(place), pp::pictureHeight(place)));
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) count += image.pixelColor(x, y) == colour;
        return count >= 60;
    }
    // Each window with the tables applied to it: the main window (its start
    // panel included), then its own windows.
    struct WindowTables {
        QWidget* window;
        QList<std::span<const cap::Caption>> tables;
    };
    QList<WindowTables> windowTables(bool withStartPanel) const {
        QList<WindowTables> out{{form.get(), {cap::mainWindow()}}};
        if (withStartPanel) out.front().tables.push_back(cap::startPanel());
        for (const cap::WindowCaptions& w : cap::ownWindows()) {
            QWidget* window = form->findChild<QWidget*>(QString::fromLatin1(w.window));
            auto it = std::find_if(out.begin(), out.end(), [&](const WindowTables& t) { return t.window == window; });
            if (it == out.end())
                out.push_back({window, {w.captions}});
            else
                it->tables.push_back(w.captions);
        }
        return out;
    }
    // Every row whose component the window has shows the language's text.
    void everyRowShows(int language) const {
        for (const WindowTables& w : windowTables(false))
            for (std::span<const cap::Caption> table : w.tables)
                for (const cap::Caption& c : table)
                    if (const QObject* holder = cap::captionHolder(w.window, QString::fromLatin1(c.component)))
                        QVERIFY2(captionOf(w.window, holder) ==
                                     QString::fromUtf8(c.texts[static_cast<std::size_t>(language)]),
                                 qPrintable(QStringLiteral("%1/%2 in language %3")
                                                .arg(w.window->objectName(), c.component, QString::number(language))));
    }

private slots:
    // Every style, chosen from the menu, shows the starting position with
    // the pictures of its own folder and its own background.
    void eachStyleShowsItsOwnPictures() {
        start("IntroClassique");
        QVERIFY(form->perspective->isVisible());
        QVERIFY(!form->flatBoard->isVisible());
        for (int style = 1; style <= 8; ++style) {
            trigger(StyleItems[style]);
            QCOMPARE(form->lookCommands().style(), style);
            for (int s = 0; s <= 8; ++s) QCOMPARE(item(StyleItems[s])->isChecked(), s == style);
            const QImage image = shown();
            for (int place = 1; place <= 32; ++place) {
                const char* kind = place <= 12 ? "pn" : place >= 21 ? "pb" : "pv";
                QVERIFY2(placeShows(place, squarePicture(style, kind, place), image),
                         qPrintable(QStringLiteral("style %1 place %2").arg(style).arg(place)));
                // A piece is visible: its picture differs from the empty square's at the middle.
                const QImage empty = picture(squarePicture(style, "pv", place));
                const QImage man = picture(squarePicture(style, "pb", place));
                const QPoint mid(empty.width() / 2, empty.height() / 2);
                QVERIFY(empty.pixelColor(mid) != man.pixelColor(mid));
            }
            // The background round the board is the style's own.
            const QImage background = picture(QStringLiteral("damier%1.bmp").arg(style));
            QCOMPARE(image.pixelColor(20, 10), background.pixelColor(20, 10));
            QCOMPARE(image.pixelColor(680, 500), background.pixelColor(680, 500));
        }
        // The backgrounds differ from style to style.
        QSet<QRgb> corners;
        for (int style = 1; style <= 8; ++style)
            corners.insert(picture(QStringLiteral("damier%1.bmp").arg(style)).pixel(20, 10));
        QCOMPARE(corners.size(), 8);
    }

    // Styles 1 to 3 read only what changed; 4 to 8 everything, every time;
    // after the flat board a perspective style still shows its own pictures.
    void stylesLoadOnlyWhatTheyNeed() {
        start("Intro2D");
        const auto reads = [this](const char* styleItem) {
            const int before = form->perspective->board->filesRead();
            trigger(styleItem);
            return form->perspective->board->filesRead() - before;
        };
        QCOMPARE(reads("Damier3D1"), 161);  // the first perspective style reads everything
        QCOMPARE(reads("Damier3D1"), 0);
        QCOMPARE(reads("Damier3D2"), 1);    // "Nuit" shares the square pictures
        QCOMPARE(reads("Damier3D3"), 161);
        QCOMPARE(reads("Damier3D3"), 0);
        QCOMPARE(reads("Damier3D1"), 161);
        QCOMPARE(reads("Damier3D4"), 161);
        QCOMPARE(reads("Damier3D4"), 161);  // reselecting "Copacabana" reads its files again
        QCOMPARE(reads("Damier3D3"), 161);
        QCOMPARE(reads("Damier2D1"), 0);
        QVERIFY(form->flatBoard->isVisible());
        QVERIFY(!form->perspective->isVisible());
        QCOMPARE(reads("Damier3D3"), 0);
        QVERIFY(placeShows(1, squarePicture(3, "pn", 1), shown()));
        QVERIFY(placeShows(29, squarePicture(3, "pb", 29), shown()));
    }

    // The side column makes room for the perspective panel and comes back
    // beside the flat board.
    void theSideColumnMovesAsideAndBack() {
        start("Intro2D");
        const auto pagesLeft = [this] { return form->pages->mapTo(form->area, QPoint(0, 0)).x(); };
        trigger("Damier3D5");
        QVERIFY(pagesLeft() >= form->perspective->mapTo(form->area, QPoint(form->perspective->width(), 0)).x());
        QVERIFY(form->pages->isVisible());
        QVERIFY(!form->blackPanel->isVisible());
        QVERIFY(form->perspective->blackClock->y() < form->perspective->whiteClock->y());  // Black's clock on top
        QCOMPARE(form->perspective->blackCount->text(), QString("12"));
        trigger("Inverserdamier1");
        settle();
        QVERIFY(form->perspective->blackClock->y() > form->perspective->whiteClock->y());
        // The inverted view paints square s at place 33 - s: square 1's black man at place 32.
        QVERIFY(placeShows(32, squarePicture(5, "pn", 32), shown()));
        QVERIFY(placeShows(1, squarePicture(5, "pb", 1), shown()));
        trigger("Damier2D1");
        QVERIFY(pagesLeft() >= form->flatBoard->mapTo(form->area, QPoint(form->flatBoard->width(), 0)).x());
        QVERIFY(form->blackPanel->isVisible());
    }

    // A press in place 23's box is a press on square 23 in the normal view,
    // square 10 in the inverted one.
    void aPressOnAPlaceSelectsItsSquare() {
        QCOMPARE(ui::PerspectiveBoard::placeAt(350, 264), std::optional<int>(23));
        QCOMPARE(ui::PerspectiveBoard::placeAt(408, 322), std::optional<int>(23));
        QCOMPARE(ui::PerspectiveBoard::placeAt(349, 300), std::nullopt);  // bounds are exclusive
        // Where a far row's box reaches into the next row, the nearer row wins.
        QCOMPARE(ui::PerspectiveBoard::placeAt(250, 110), std::optional<int>(6));
        for (int place = 1; place <= 32; ++place) {
            const QPoint c = cornerOf(place) + QPoint(30, 20);
            QCOMPARE(ui::PerspectiveBoard::placeAt(c.x(), c.y()), std::optional<int>(place));
        }

        start("IntroLuxe");
        setUp("W:W10,23:B1");
        const QColor red(255, 0, 0);
        clickImage(QPoint(380, 290));
        QCOMPARE(form->core().rules.board[23], rules::WhiteMan);
        QImage image = shown();
        QVERIFY(markedIn(23, red, image));
        QVERIFY(!markedIn(22, red, image));
        // The flat board, hidden, framed the same square.
        QCOMPARE(form->flatBoard->designImage().pixelColor(form->flatBoard->squareCorner(23)), red);

        clickImage(QPoint(380, 290));  // let go
        trigger("Inverserdamier1");
        clickImage(QPoint(380, 290));
        QCOMPARE(form->flatBoard->designImage().pixelColor(form->flatBoard->squareCorner(10)), red);
        QVERIFY(markedIn(23, red, shown()));  // square 10 sits at place 23

        // A whole move by presses on the image: c3-d4 from the start.
        trigger("Inverserdamier1");
        setUp("W:W21-32:B1-12");
        clickImage(cornerOf(22) + QPoint(30, 30));
        clickImage(cornerOf(18) + QPoint(30, 25));
        QCOMPARE(form->core().game.record.plyCounter, 1);
        QVERIFY(placeShows(18, squarePicture(3, "pb", 18), shown()));
        QVERIFY(placeShows(22, squarePicture(3, "pv", 22), shown()));
    }

    void blindPlayHidesThePieces() {
        start("IntroCopacabana");
        QAction* blind = item("Jeuenaveugle1");
        QVERIFY(blind->isEnabled());
        trigger("Jeuenaveugle1");
        QVERIFY(blind->isChecked());
        QVERIFY(!item("Arretrflexionparclicsouris1")->isChecked());
        const QImage background = picture("damier4.bmp");
        QCOMPARE(shown(), background.convertToFormat(QImage::Format_RGB32));
        // A move played blind: the piece moved shows until the next press.
        clickImage(cornerOf(22) + QPoint(30, 30));
        clickImage(cornerOf(18) + QPoint(30, 25));
        QCOMPARE(form->core().game.record.plyCounter, 1);
        QVERIFY(placeShows(18, squarePicture(4, "pb", 18), shown()));
        clickImage(QPoint(5, 5));  // a press off the board wipes it
        QCOMPARE(shown(), background.convertToFormat(QImage::Format_RGB32));
        // Choosing it again shows the position.
        trigger("Jeuenaveugle1");
        QVERIFY(!blind->isChecked());
        QVERIFY(placeShows(18, squarePicture(4, "pb", 18), shown()));
        QVERIFY(placeShows(1, squarePicture(4, "pn", 1), shown()));
        // The flat board has no blind play.
        trigger("Jeuenaveugle1");
        trigger("Damier2D1");
        QVERIFY(!blind->isEnabled());
        QVERIFY(!blind->isChecked());
    }

    void thePictureIsSavedAsABitmap() {
        start("IntroInferno");
        QTemporaryDir dir;
        QString offered;
        form->setFileDialog([&](const ui::FileRequest& r) {
            offered = r.filters.join(';');
            return ui::FileAnswer{r.save ? dir.filePath("board") : QString(), r.filters.value(0)};
        });
        QAction* edit = item("Editerlimagefichierbmp1");
        QCOMPARE(edit->shortcut(), QKeySequence("Ctrl+E"));
        trigger("Editerlimagefichierbmp1");
        QCOMPARE(offered, QString("Picture (*.bmp)"));
        const QImage saved(dir.filePath("board.bmp"));
        QCOMPARE(saved.size(), QSize(pp::ImageWidth, pp::ImageHeight));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), form->perspective->board->canvas());
    }

    void theAboutBoxOpensAndCloses() {
        start("IntroNuit");
        trigger("Apropos1");
        QVERIFY(form->lookCommands().about->isVisible());
        QVERIFY(form->findChild<QLabel*>("Label_apropos")->text().contains("Tavolex"));
        QTest::mouseClick(form->findChild<QPushButton*>("BitBtn6"), Qt::LeftButton);
        settle();
        QVERIFY(!form->lookCommands().about->isVisible());
        QVERIFY(placeShows(1, squarePicture(2, "pn", 1), shown()));
    }

    // The editor's round trip: open, OK without a change, edits with the
    // decimal conversion's wrap, Cancel.
    void theParameterEditorReadsBackItsBoxes() {
        start("Intro2D");
        eval::EvalParameters& params = form->core().eval.params;
        for (int t = 0; t < eval::NumManTables; ++t)
            for (int q = 0; q <= 32; ++q) params.manTables[t][q] = static_cast<std::uint8_t>(100 + t + q);
        params.p1 = 20;
        params.p2 = 12;
        params.p3 = 6;
        params.tempoWeights = {3, 2, 1, 0, -1, -2, -3, -4};
        params.variant1White = {21, 22, 23, 24, 25, 26, 27};
        params.variant2Black = {1, 2, 3, 4, 5, 6, 0};
        const eval::EvalParameters loaded = params;
        QVERIFY(item("Changer1")->isVisible());
        QVERIFY(item("Sauverlesparamtres1")->isVisible());
        trigger("Changer1");
        ui::TForm5* editor = form->lookCommands().parameters;
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowTitle(), QString("Parameters"));
        QCOMPARE(editor->boxCount(), 295);
        QCOMPARE(editor->tableBox(0, 20)->text(), QString::number(loaded.manTables[0][20]));
        // The grid: entry 32 top left on the second column, entry 1 bottom right.
        QCOMPARE(editor->tableBox(0, 32)->pos(), QPoint(24, 8));
        QCOMPARE(editor->tableBox(0, 25)->pos(), QPoint(104, 24));
        QCOMPARE(editor->tableBox(0, 1)->pos(), QPoint(104, 120));
        QTest::mouseClick(editor->parametreOK, Qt::LeftButton);
        settle();
        QVERIFY(!editor->isVisible());
        QVERIFY(params == loaded);

        trigger("Changer1");
        auto type = [](QLineEdit* box, const char* text) {
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, QString::fromLatin1(text));
        };
        type(editor->tableBox(0, 20), "12abc");
        type(editor->tableBox(1, 5), "300");
        type(editor->tableBox(2, 7), "-1");
        type(editor->tableBox(3, 9), "");
        type(editor->tempoBox(4), "-1");
        type(editor->thresholdBox(0), " +17x");
        type(editor->conditionBox(1, false, 6), "40");
        QTest::mouseClick(editor->parametreOK, Qt::LeftButton);
        settle();
        QCOMPARE(int(params.manTables[0][20]), 12);
        QCOMPARE(int(params.manTables[1][5]), 44);
        QCOMPARE(int(params.manTables[2][7]), 255);
        QCOMPARE(int(params.manTables[3][9]), 0);
        QCOMPARE(int(params.tempoWeights[4]), -1);
        QCOMPARE(int(params.p1), 17);
        QCOMPARE(int(params.variant2Black[6]), 40);
        QCOMPARE(int(params.manTables[0][21]), int(loaded.manTables[0][21]));

        const eval::EvalParameters edited = params;
        trigger("Changer1");
        type(editor->tableBox(0, 20), "99");
        QTest::mouseClick(editor->parametrecancel, Qt::LeftButton);
        settle();
        QVERIFY(params == edited);
        trigger("Changer1");
        QCOMPARE(editor->tableBox(0, 20)->text(), QString("12"));
        QCOMPARE(editor->tableBox(2, 7)->text(), QString("255"));
        QCOMPARE(editor->tempoBox(4)->text(), QString("-1"));
    }

    void decimalConversion() {
        const struct {
            const char* text;
            int value;
        } cases[] = {{"12abc", 12}, {"", 0},    {"abc", 0},   {"  -7", -7},
                     {"+5", 5},     {"- 5", 0}, {"300", 300}, {"4294967297", 1}};
        for (const auto& c : cases) QCOMPARE(ui::TForm5::decimalValue(QString::fromLatin1(c.text)), c.value);
    }

    // "Sauver les paramètres" then "Charger des paramètres" bring back an edit.
    void parametersAreSavedAndLoaded() {
        start("Intro2D");
        QTemporaryDir dir;
        QString answer;
        form->setFileDialog([&](const ui::FileRequest& r) { return ui::FileAnswer{answer, r.filters.value(0)}; });
        eval::EvalParameters& params = form->core().eval.params;
        params.manTables[5][3] = 77;
        answer = dir.filePath("mine");
        trigger("Sauverlesparamtres1");
        QCOMPARE(QFileInfo(dir.filePath("mine.par")).size(), qint64(1162));
        params.manTables[5][3] = 1;
        answer = QString();  // cancelled: nothing changes
        trigger("Chargerdesparamtres1");
        QCOMPARE(int(params.manTables[5][3]), 1);
        answer = dir.filePath("mine.par");
        trigger("Chargerdesparamtres1");
        QCOMPARE(int(params.manTables[5][3]), 77);
    }

    // Every row has a text in each language, a name once per window, and
    // every text chosen at run time exists in each language.
    void everyComponentHasATextInEveryLanguage() {
        form = newWindow();
        for (const WindowTables& w : windowTables(true)) {
            QVERIFY(w.window);
            QSet<QString> names;
            for (std::span<const cap::Caption> table : w.tables)
                for (const cap::Caption& c : table) {
                    QVERIFY2(!names.contains(c.component), c.component);
                    names.insert(QString::fromLatin1(c.component));
                    for (const char* t : c.texts) QVERIFY2(t && *t, c.component);
                }
        }
        for (int l = 0; l < cap::NumLanguages; ++l) {
            for (int t = 0; t < int(cap::Text::Count); ++t) QVERIFY(!cap::text(cap::Text(t), l).isEmpty());
            for (int m = int(game::EndMessage::WhiteWins); m <= int(game::EndMessage::PersonResigned); ++m)
                QVERIFY(!cap::endMessage(game::EndMessage(m), "Ana", l).isEmpty());
            QVERIFY(cap::endMessage(game::EndMessage::None, "Ana", l).isEmpty());
            const QString winner = QString::fromUtf8("José");
            QVERIFY(cap::endMessage(game::EndMessage::RatedWinner, winner, l).contains(winner));
        }
    }

    // Every named component that shows a French word is reached by a row of
    // its own window's tables; "OK" is written the same in every language,
    // and NoRow says why the rest have none.
    void everyWordShownHasACaption() {
        form = newWindow();
        QStringList missing;
        for (const WindowTables& w : windowTables(true)) {
            QVERIFY(w.window);
            QSet<const QObject*> reached;
            for (std::span<const cap::Caption> table : w.tables)
                for (const cap::Caption& c : table)
                    reached.insert(cap::captionHolder(w.window, QString::fromLatin1(c.component)));
            if (w.window == form.get()) reached.insert(form.get());  // its title is captions::windowTitle()
            for (const Shown& s : wordsShown(w.window)) {
                const QString name = s.object->objectName();
                // A row is keyed by a name: the parameter editor's captions and
                // the few other labels without one cannot have rows.
                if (name.isEmpty() || s.text == "OK" || hasNoRow(w.window, name) || reached.contains(s.object))
                    continue;
                missing << w.window->objectName() + "/" + name + " \"" + s.text + "\"";
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable("without a caption row: " + missing.join(", ")));
        // Each exclusion still names a component with words on it.
        for (const auto& e : NoRow) {
            QWidget* window = form->objectName() == QLatin1String(e[0]) ? form.get() : form->findChild<QWidget*>(e[0]);
            QVERIFY2(window, e[0]);
            const QList<Shown> shown = wordsShown(window);
            const auto named = [&](const Shown& s) { return s.object->objectName() == QLatin1String(e[1]); };
            QVERIFY2(std::any_of(shown.begin(), shown.end(), named), e[1]);
        }
        // Names repeat from window to window with other meanings: each window's
        // rows reach its own components only.
        QCOMPARE(cap::captionHolder(form.get(), "Valide_Ouverture"), nullptr);
        QCOMPARE(cap::captionHolder(form.get(), "BitBtn1"), nullptr);
        QCOMPARE(cap::captionHolder(form->bookCommands().whiteEditor, "BitBtn1"),
                 form->bookCommands().whiteEditor->BitBtn1);
        QCOMPARE(cap::captionHolder(form->bookCommands().blackEditor, "BitBtn1"),
                 form->bookCommands().blackEditor->BitBtn1);
        QCOMPARE(cap::captionHolder(form->analysisCommands().analysisWindow, "BitBtn1"),
                 form->analysisCommands().analysisWindow->BitBtn1);
        QCOMPARE(cap::captionHolder(form->analysisCommands().analysisWindow, "TForm4"),
                 form->analysisCommands().analysisWindow);
        QCOMPARE(cap::captionHolder(form.get(), "Learn"),
                 form->findChild<QLabel*>("Label_learn"));  // a panel's one label
    }

    // French is what the windows are built with: choosing it changes nothing
    // on a new window.
    void theFrenchRowsAreTheBuiltTexts() {
        form = newWindow();
        for (const WindowTables& w : windowTables(true))
            for (std::span<const cap::Caption> table : w.tables)
                for (const cap::Caption& c : table)
                    if (const QObject* holder = cap::captionHolder(w.window, QString::fromLatin1(c.component)))
                        QVERIFY2(captionOf(w.window, holder) == QString::fromUtf8(c.texts[0]), c.component);
    }

    // The command table: every item with its shortcut, reachable once the
    // game has started; the three items that do nothing stay hidden.
    void everyCommandHasItsItemAndShortcut() {
        start("IntroClassique");
        const char* keyed[][2] = {{"Nouveau2", "Ctrl+N"},
                                  {"Humaincontrehumain1", "Ctrl+H"},
                                  {"Ordinateurcontreordinateur1", "Ctrl+C"},
                                  {"Sauver1", "Ctrl+S"},
                                  {"Ouvrir1", "Ctrl+O"},
                                  {"Problmes1", "Ctrl+L"},
                                  {"Installeruneposition1", "Ctrl+I"},
                                  {"Imprimer1", "Ctrl+P"},
                                  {"Crerunfichiertexte1", "Ctrl+T"},
                                  {"Ouvrirunfichiertexte1", "Ctrl+F"},
                                  {"OuvrirunfichierVOG1", "Ctrl+V"},
                                  {"Editerlimagefichierbmp1", "Ctrl+E"},
                                  {"Quitter1", "Alt+X"},
                                  {"Reprendrecoups1", "F1"},
                                  {"Avancercoups1", "F2"},
                                  {"Reveniraudebut1", "Ctrl+F1"},
                                  {"Allerlafin1", "Ctrl+F2"},
                                  {"Inverserdamier1", "F3"},
                                  {"Inverserlesjoueurs1", "F4"}};
        for (const auto& k : keyed) {
            QAction* a = item(k[0]);
            QVERIFY2(a, k[0]);
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(k[1])));
        }
        // The caption table lists the menus and their items first, up to the pages.
        for (const ui::captions::Caption& c : ui::captions::mainWindow()) {
            if (QString(c.component) == "Liste") break;
            QVERIFY2(form->findChild<QAction*>(c.component) || form->findChild<QMenu*>(c.component), c.component);
        }
        for (const char* hidden : {"OuvrirunfichierVOG1", "Naturemortelarglejeu1", "Alphabeticalnumber1"})
            QVERIFY2(!item(hidden)->isVisible(), hidden);
        // Every command does something: none was left without its handler.
        int commands = 0;
        for (const QMenu* menu : form->findChildren<QMenu*>())
            for (QAction* a : menu->actions()) {
                if (a->isSeparator() || a->menu()) continue;
                QVERIFY2(form->menus().handled(a) || form->menus().placeholder(a), qPrintable(a->objectName()));
                ++commands;
            }
        QVERIFY(commands > 80);
        // F3 from the keyboard turns the perspective board.
        const int blackClockBefore = form->perspective->blackClock->y();
        QTest::keyClick(form.get(), Qt::Key_F3);
        settle();
        QVERIFY(form->core().game.inverted);
        QVERIFY(form->perspective->blackClock->y() > blackClockBefore);
    }

    // Each start-panel button and each menu item selects the language
    // written on it.
    void languagesSwitchFromTheStartPanelAndTheMenu() {
        const char* buttons[] = {"Button5", "Button6", "Button7", "Button2", "Button8", "Button1A"};
        const char* items[] = {"Franais1", "English1", "Nederlands1", "Portugues1", "Espanol1", "Italiano1"};
        const char* titles[] = {"Tavolex 3D, le jeu", "Tavolex 3D, the game", "Tavolex 3D, het spel",
                                "Tavolex 3D, o jogo", "Tavolex 3D, el juego", "Tavolex 3D, il gioco"};
        const char* classic[] = {"Classique", "Classic", "Klassiek", "Clássico", "Clásico", "Classica"};
        const char* file[] = {"Fichier", "File", "Bestand", "Arquivo", "Archivo", "File"};
        const char* moves[] = {"Coups joués", "Moves", "Zetten", "Lances", "Jugadas", "Mosse"};
        form = newWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int order : {1, 2, 3, 4, 5, 0, 3}) {
            QPushButton* b = form->findChild<QPushButton*>(buttons[order]);
            QVERIFY2(b && b->isEnabled(), buttons[order]);
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(form->windowTitle(), QString::fromUtf8(titles[order]));
            QCOMPARE(form->findChild<QPushButton*>("IntroClassique")->text(), QString::fromUtf8(classic[order]));
            QCOMPARE(form->interfaceLanguage(), order);
            for (int i = 0; i < 6; ++i) QCOMPARE(item(items[i])->isChecked(), i == order);
        }
        QTest::mouseClick(form->findChild<QPushButton*>("IntroIpanema"), Qt::LeftButton);
        settle();
        QCOMPARE(form->menus().file->title(), QString::fromUtf8(file[3]));  // the start panel's choice holds
        for (int order : {0, 1, 2, 3, 4, 5, 2}) {
            trigger(items[order]);
            QCOMPARE(form->windowTitle(), QString::fromUtf8(titles[order]));
            QCOMPARE(form->interfaceLanguage(), order);
            for (int i = 0; i < 6; ++i) QCOMPARE(item(items[i])->isChecked(), i == order);
            QCOMPARE(form->menus().file->title(), QString::fromUtf8(file[order]));
            QCOMPARE(form->pages->tabText(0), QString::fromUtf8(moves[order]));
            QCOMPARE(item("Damier3D1")->text(), QString::fromUtf8(classic[order]));
        }
        QCOMPARE(item("Jeuenaveugle1")->text(), QString("Blind spelen"));
        QCOMPARE(form->offerDraw->text(), QString("Remise aanbieden"));
    }

    // In the middle of a game a new language changes texts only: the
    // position, the record, the list of moves, the clocks and the pictures
    // stay as they were, while every row of every window, the analysis
    // window, the parameter editor and the library editors included, shows
    // the new language.
    void switchingLanguageMidGameChangesOnlyTexts() {
        start("IntroGrandluxe");
        clickImage(cornerOf(22) + QPoint(30, 30));
        clickImage(cornerOf(18) + QPoint(30, 25));
        clickImage(cornerOf(11) + QPoint(30, 25));
        clickImage(cornerOf(15) + QPoint(30, 25));
        QCOMPARE(form->core().game.record.plyCounter, 2);
        clickImage(cornerOf(18) + QPoint(30, 25));  // d4 must take e5: selected, its mark stays
        const game::GameState before = form->core().game;
        const rules::Board position = form->core().rules.gamePosition;
        const QImage perspective = form->perspective->board->canvas();
        const QImage flat = form->flatBoard->designImage();
        QStringList lines;
        for (int i = 0; i < form->moveListPage->moves->count(); ++i)
            lines << form->moveListPage->moves->item(i)->text();
        const std::pair<const char*, int> languages[] = {{"English1", 1}, {"Nederlands1", 2}, {"Portugues1", 3},
                                                         {"Espanol1", 4}, {"Italiano1", 5},   {"Franais1", 0}};
        for (const auto& [language, index] : languages) {
            trigger(language);
            everyRowShows(index);
            if (QTest::currentTestFailed()) return;
            const game::GameState& now = form->core().game;
            QCOMPARE(now.record.plyCounter, before.record.plyCounter);
            QVERIFY(std::memcmp(&now.record.plies, &before.record.plies, sizeof(before.record.plies)) == 0);
            QCOMPARE(now.moveList, before.moveList);
            QVERIFY(now.sideToMove == before.sideToMove);
            QCOMPARE(now.whiteClock.total, before.whiteClock.total);
            QCOMPARE(now.blackClock.total, before.blackClock.total);
            QCOMPARE(now.inverted, before.inverted);
            QVERIFY(form->core().rules.gamePosition == position);
            QCOMPARE(form->perspective->board->canvas(), perspective);
            QCOMPARE(form->flatBoard->designImage(), flat);
            QStringList nowLines;
            for (int i = 0; i < form->moveListPage->moves->count(); ++i)
                nowLines << form->moveListPage->moves->item(i)->text();
            QCOMPARE(nowLines, lines);
            QCOMPARE(form->lookCommands().style(), 7);
        }
        // The game goes on from the selection made before.
        clickImage(cornerOf(11) + QPoint(30, 25));
        QCOMPARE(form->core().game.record.plyCounter, 3);
        QCOMPARE(form->core().rules.gamePosition[15], rules::Empty);
    }

    // The texts chosen while playing: the end-of-game panel says who won in
    // the interface language, and says it again in the next one, while the
    // game keeps the French text; a rated game's mode stays "Match" in each.
    void theTextsChosenWhilePlayingFollowTheLanguage() {
        start("IntroClassique");
        form->core().game.ratedGame = game::RatedState::InProgress;  // no result is played out: nothing is rated
        trigger("Nederlands1");
        QCOMPARE(form->mode->text(), QString("Wedstrijd"));
        form->core().game.ratedGame = game::RatedState::None;
        trigger("English1");
        QCOMPARE(form->mode->text(), QString("Training"));
        setUp("W:W18:B15");
        clickImage(cornerOf(18) + QPoint(30, 25));
        clickImage(cornerOf(11) + QPoint(30, 25));  // takes Black's last piece
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString("White wins"));
        trigger("Italiano1");
        QCOMPARE(form->endMessage->text(), QString("Vince il Bianco"));
        trigger("Nederlands1");
        QCOMPARE(form->endMessage->text(), QString("Wit wint"));
        trigger("Franais1");
        QCOMPARE(form->endMessage->text(), QString("Gain des blancs"));
    }

    // An analysis in Spanish: the window, the strip and the state line.
    void theAnalysisSpeaksTheInterfaceLanguage() {
        start("IntroClassique");
        trigger("Espanol1");
        clickImage(cornerOf(22) + QPoint(30, 30));
        clickImage(cornerOf(18) + QPoint(30, 25));
        clickImage(cornerOf(11) + QPoint(30, 25));
        clickImage(cornerOf(15) + QPoint(30, 25));
        engine::SearchLimits limits;
        limits.depth = 2;
        form->setFixedSearchLimits(limits);
        trigger("Analyser1");
        QTRY_VERIFY_WITH_TIMEOUT(!form->analysisRunning(), testsupport::engineWaitMs);
        ui::TForm4* analysis = form->analysisCommands().analysisWindow;
        QVERIFY(analysis->isVisible());
        QCOMPARE(analysis->windowTitle(), QString::fromUtf8("Análisis"));
        QCOMPARE(analysis->Etat->text(), QString("Análisis terminado"));
        QCOMPARE(analysis->BitBtn1->text(), QString("Siguiente"));
        QCOMPARE(analysis->BitBtn4->text(), QString::fromUtf8("Fin del análisis"));
        QVERIFY2(analysis->ListBox1->item(0)->text().startsWith(QString::fromUtf8(" 1 Blancas: jugada c3-d4, valor ")),
                 qPrintable(analysis->ListBox1->item(0)->text()));
        QVERIFY(analysis->ListBox1->item(analysis->ListBox1->count() - 1)->text().startsWith("(No tenga en cuenta"));
        QVERIFY2(form->analysisCommands().stripLines->item(1)->text().contains(QString::fromUtf8("Negras: ")) &&
                     form->analysisCommands().stripLines->item(1)->text().contains("mejor"),
                 qPrintable(form->analysisCommands().stripLines->item(1)->text()));
        QCOMPARE(form->findChild<QPushButton*>("Button11")->text(), QString("Terminar"));
        trigger("Terminerlanalyse1");
        QVERIFY(!analysis->isVisible());
        QCOMPARE(form->findChild<QLabel*>("Label_learn")->text(), QString::fromUtf8("¿Aprender?"));
        QCOMPARE(form->findChild<QPushButton*>("Learn_yes")->text(), QString::fromUtf8("Sí"));
    }

    // "Documentation" and "Règles" show the interface language's pages.
    void helpFollowsTheLanguage() {
        start("Intro2D");
        const char* items[] = {"Franais1", "English1", "Nederlands1", "Portugues1", "Espanol1", "Italiano1"};
        const char* guides[] = {"Tavolex.html",   "Tavolex_e.html",  "Tavolex_n.html",
                                "Tavolex_p.html", "Tavolex_es.html", "Tavolex_i.html"};
        const char* rules[] = {"RTavolex_f.html", "RTavolex_e.html",  "RTavolex_n.html",
                               "RTavolex_p.html", "RTavolex_es.html", "RTavolex_i.html"};
        ui::HelpViewer* help = form->lookCommands().help;
        for (int l = 0; l < 6; ++l) {
            trigger(items[l]);
            trigger("Guide1");
            QVERIFY(help->isVisible());
            QCOMPARE(help->currentPage(), QString::fromLatin1(guides[l]));
            QVERIFY(help->browser()->toPlainText().contains("Tavolex"));
            trigger("Rgles1");
            QCOMPARE(help->currentPage(), QString::fromLatin1(rules[l]));
            QVERIFY(!help->windowTitle().isEmpty());
            // Every picture and link of the page is there.
            const QString html = help->browser()->document()->toHtml();
            QFile page(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Aide/") + rules[l]);
            QVERIFY(page.open(QIODevice::ReadOnly));
            const QString source = QString::fromUtf8(page.readAll());
            const QRegularExpression ref(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
            int refs = 0;
            for (auto m = ref.globalMatch(source); m.hasNext(); ++refs)
                QVERIFY(QFileInfo::exists(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Aide/") + m.next().captured(1)));
            QVERIFY(refs >= 5);
        }
    }

    // The window in each style, for people to look at, when asked for.
    void screenshots() {
        const QByteArray dir = qgetenv("TAVOLEX_SCREENSHOTS");
        if (dir.isEmpty()) QSKIP("TAVOLEX_SCREENSHOTS not set");
        start("IntroClassique");
        clickImage(cornerOf(22) + QPoint(30, 30));
        clickImage(cornerOf(18) + QPoint(30, 25));
        clickImage(cornerOf(11) + QPoint(30, 25));
        clickImage(cornerOf(15) + QPoint(30, 25));
        setUp("W:WK29,K28,23,22,21,30,31:B13,K3,2,14,9,10");
        for (int style = 1; style <= 8; ++style) {
            trigger(StyleItems[style]);
            clickImage(cornerOf(29) + QPoint(30, 30));
            QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/style%1.png").arg(style)));
            clickImage(cornerOf(29) + QPoint(30, 30));
        }
    }
};

QTEST_MAIN(LookTest)
#include "look_uitest.moc"
