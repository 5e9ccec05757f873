// The window's file commands driven as a person drives them: menu items
// and their shortcuts, buttons and list lines clicked, the file dialogs
// answered (a function stands in for the dialog and records what it was
// asked), and checks of what the window then shows and what is on disk.

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "eval/evaluate.h"
#include "files/game_file.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "game/navigation.h"
#include "program_copy.h"
#include "rules/fen.h"
#include "ui/flat_board.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

using rules::Square;

Square sq(const char* name) { return *rules::parseSquareName(name); }

QImage picture(const char* name) {
    return QImage(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Images1/") + QString::fromLatin1(name));
}

using testsupport::readAll;
using testsupport::writeAll;

// A game as the text importer hands it over: moves by square names.
files::ParsedGame gameOf(const char* white, const char* black,
                         std::initializer_list<std::pair<const char*, const char*>> moves) {
    files::ParsedGame g;
    g.white = white;
    g.black = black;
    for (const auto& [from, to] : moves)
        g.halfMoves.push_back(files::HalfMove{{sq(from), sq(to)}, std::string(from) + "-" + to, true});
    return g;
}

// Error boxes are answered as they come and remembered.
class BoxAnswerer {
public:
    BoxAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + "|" + box->text();
                box->accept();
            }
        });
        m_timer.start(10);
    }
    QStringList boxes;

private:
    QTimer m_timer;
};

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;
    QList<ui::FileRequest> requests;   // what the dialogs were asked, in order
    QList<ui::FileAnswer> answers;     // what they answer, in order; none left: cancel
    QStringList shownTexts;            // the files shown in the desktop's viewer

    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    void create(std::unique_ptr<testsupport::ProgramCopy> programFolder) {
        form.reset();
        folder = std::move(programFolder);
        requests.clear();
        answers.clear();
        shownTexts.clear();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->setFileDialog([this](const ui::FileRequest& r) {
            requests << r;
            return answers.isEmpty() ? ui::FileAnswer{} : answers.takeFirst();
        });
        form->setShowText([this](const QString& path) { shownTexts << QFileInfo(path).fileName(); });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // No thinking on the person's time: it would last until the next click.
        form->findChild<QAction*>("Rflexionsurtempsadverse1")->setChecked(false);
    }
    // The window after "Damier 2D jaune", two people playing.
    void start() {
        create(testsupport::copyProgramFolder());
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        form->menus().twoPeople->trigger();
        settle();
    }

    QImage shown() const { return form->flatBoard->designImage(); }
    QPoint corner(Square s) const { return form->flatBoard->squareCorner(s); }
    bool shows(Square s, const char* pictureName) const {
        const QImage pic = picture(pictureName);
        const QImage image = shown();
        const QPoint p = corner(s);
        for (QPoint d : {QPoint(30, 30), QPoint(20, 25), QPoint(40, 38), QPoint(10, 50)})
            if (image.pixelColor(p + d) != pic.pixelColor(d)) return false;
        return true;
    }
    void click(Square s) {
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, form->flatBoard->squareArea(s).center());
        settle();
    }
    void play(const char* from, const char* to) {
        const int before = form->core().game.record.plyCounter;
        click(sq(from));
        if (form->core().game.record.plyCounter == before) click(sq(to));
        QCOMPARE(int(form->core().game.record.plyCounter), before + 1);
    }
    void playOpening(int plies) {
        // Black's eighth ply takes two men, White's ninth takes back.
        const char* moves[][2] = {{"c3", "d4"}, {"f6", "g5"}, {"b2", "c3"}, {"g5", "h4"}, {"e3", "f4"},
                                  {"g7", "f6"}, {"d4", "e5"}, {"f6", "b2"}, {"a1", "c3"}};
        for (int i = 0; i < plies; ++i) play(moves[i][0], moves[i][1]);
    }
    QStringList moveLines() const {
        QStringList lines;
        for (int i = 0; i < form->moveListPage->moves->count(); ++i)
            lines << form->moveListPage->moves->item(i)->text();
        return lines;
    }
    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    void clickTab(QWidget* page) {
        QTabBar* bar = form->pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(form->pages->indexOf(page)).center());
        settle();
    }
    // A game file written by the core, for the window to read.
    void writeGame(const QString& path, const files::ParsedGame& game, files::GameSettings settings) {
        game::Core core;
        files::replayGame(core, game);
        QVERIFY(files::saveGame(core, path.toStdString(), settings));
    }

private slots:
    // The resume file: read at the first activation with its language,
    // restored when the start panel is left, written again by "Quitter".
    void theResumeFileCarriesTheGameFromOneRunToTheNext() {
        auto copy = testsupport::copyProgramFolder(false);
        files::GameSettings settings;
        settings.language = 1;  // English
        settings.level = 7;
        settings.minutes = 12;
        writeGame(copy->file("last32.dam"), gameOf("Ana", "Bia", {{"c3", "d4"}, {"f6", "g5"}, {"g3", "h4"}}), settings);
        create(std::move(copy));
        QTRY_VERIFY(item("English1")->isChecked());  // before any board is chosen
        QVERIFY(!form->menus().languages[0]->isChecked());

        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        QCOMPARE(moveLines(), (QStringList{" 1.c3-d4 f6-g5", " 2.g3-h4"}));
        QCOMPARE(form->moveListPage->moves->currentRow(), 1);
        QCOMPARE(form->whitePanel->name->text(), QString("Ana"));
        QCOMPARE(form->blackPanel->name->text(), QString("Bia"));
        QVERIFY(item("Niveau07")->isChecked());
        QVERIFY(!item("Niveau05")->isChecked());
        QVERIFY(item("English1")->isChecked());
        QVERIFY(shows(sq("h4"), "1pba.BMP"));
        QCOMPARE(form->whitePanel->count->text(), QString(" 12"));

        form->menus().twoPeople->trigger();
        play("g5", "f4");
        QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
        settle();
        QVERIFY(!form->isVisible());
        files::GameFile saved;
        QCOMPARE(files::readGameFile(folder->file("last32.dam").toStdString(), saved), files::FileError::None);
        QCOMPARE(saved.record.recordLength, 4);
        QCOMPARE(int(saved.record.plyCounter), 4);
        QCOMPARE(int(saved.settings.language), 1);
        QCOMPARE(int(saved.settings.level), 7);
        QCOMPARE(saved.settings.minutes, 12);
    }

    void aMissingResumeFileIsReportedTwiceAndChangesNothing() {
        BoxAnswerer answerer;
        create(testsupport::copyProgramFolder(false));
        QTRY_COMPARE(answerer.boxes.size(), 1);
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        QCOMPARE(answerer.boxes,
                 (QStringList{"Erreur|Impossible d'ouvrir ce fichier", "Erreur|Impossible d'ouvrir ce fichier"}));
        QCOMPARE(form->core().rules.gamePosition, rules::startingPosition());
        QVERIFY(item("Niveau05")->isChecked());
        QVERIFY(form->menus().languages[0]->isChecked());
        QCOMPARE(form->engineCommands().gameSettings(), (files::GameSettings{3, 0, 5, 160, 178}));
        QCOMPARE(form->moveListPage->moves->count(), 0);
    }

    void savingAndOpeningKeepTheGameButNeverTheLanguage() {
        start();
        playOpening(7);
        const rules::Board position = form->core().rules.gamePosition;
        const QStringList lines = moveLines();
        // Saved as English at level 5, under a bare name.
        form->menus().languages[0]->setChecked(false);
        item("English1")->setChecked(true);
        const QString sauve = QString::fromStdString(folder->path().string()) + "/Sauve";
        answers << ui::FileAnswer{sauve + "/partie", "Tavolex games (*.dam)"};
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        settle();
        QCOMPARE(requests.size(), 1);
        QVERIFY(requests[0].save);
        QCOMPARE(requests[0].directory, sauve);
        QVERIFY(QFileInfo(sauve).isDir());  // made when missing
        QCOMPARE(requests[0].filters, QStringList{"Tavolex games (*.dam)"});  // in the interface language
        QCOMPARE(QFileInfo(sauve + "/partie.dam").size(), qint64(22442));

        // Another game, French again, another level.
        QTest::keyClick(form.get(), Qt::Key_F1, Qt::ControlModifier);
        settle();
        play("a3", "b4");
        QTest::mouseClick(form->findChild<QPushButton*>("Button5"), Qt::LeftButton);
        form->menus().languages[0]->trigger();
        item("Niveau05")->setChecked(false);
        item("Niveau02")->setChecked(true);

        // Cancelling the open dialog changes nothing.
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
        settle();
        QCOMPARE(moveLines(), QStringList{" 1.a3-b4 "});
        QVERIFY(item("Niveau02")->isChecked());

        answers << ui::FileAnswer{sauve + "/partie.dam", "Fichiers Tavolex (*.dam)"};
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
        settle();
        QVERIFY(form->core().rules.gamePosition == position);
        // Seven plies: three full lines and White's fourth move alone, selected.
        QCOMPARE(moveLines().size(), 4);
        for (int i = 0; i < 3; ++i) QCOMPARE(moveLines()[i], lines[i]);
        QCOMPARE(moveLines()[3] + " ", lines[3]);
        QCOMPARE(form->moveListPage->moves->currentRow(), 3);
        QVERIFY(item("Niveau05")->isChecked());
        QVERIFY(!item("Niveau02")->isChecked());
        QVERIFY(form->menus().languages[0]->isChecked());  // the file's English is not taken
        QVERIFY(!item("English1")->isChecked());
        QVERIFY(form->core().game.sideToMove == rules::Black);
        play("f6", "b2");  // the game goes on from the opened position

        // A read-only file is not replaced, and the box says why.
        QFile::setPermissions(sauve + "/partie.dam", QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        const std::string before = readAll(sauve + "/partie.dam");
        testsupport::BoxCatcher boxes;
        boxes.start();
        answers << ui::FileAnswer{sauve + "/partie.dam", "Fichiers Tavolex (*.dam)"};
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        settle();
        QTRY_COMPARE(boxes.texts.size(), 1);
        boxes.stop();
        QCOMPARE(boxes.texts.front(), QString("Fichier en lecture seule : partie.dam"));
        QVERIFY(readAll(sauve + "/partie.dam") == before);
    }

    void damagedGameFilesAreRefusedWithTheBox() {
        start();
        playOpening(3);
        const QStringList lines = moveLines();
        const rules::Board position = form->core().rules.gamePosition;
        game::Core core;
        game::installPosition(core, rules::startingPosition(), rules::White);
        std::vector<std::uint8_t> image = files::encodeGameFile(core.game.record, rules::White, {});
        image[1 + 5] = 9;  // a piece code no game has
        QByteArray bad(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
        QVERIFY(writeAll(folder->file("bad.dam"), bad));
        QVERIFY(writeAll(folder->file("short.dam"), bad.left(1000)));
        BoxAnswerer answerer;
        for (const char* name : {"bad.dam", "short.dam", "missing.dam"}) {
            answers << ui::FileAnswer{folder->file(name), ""};
            form->findChild<QAction*>("Ouvrir1")->trigger();
            settle();
        }
        QCOMPARE(answerer.boxes.size(), 3);
        for (const QString& b : answerer.boxes) QCOMPARE(b, QString("Erreur|Impossible d'ouvrir ce fichier"));
        QCOMPARE(moveLines(), lines);
        QVERIFY(form->core().rules.gamePosition == position);
        // A save that cannot be written says so and keeps nothing half-written.
        answers << ui::FileAnswer{folder->file("no-such-folder/x.dam"), ""};
        form->findChild<QAction*>("Sauver1")->trigger();
        settle();
        QCOMPARE(answerer.boxes.size(), 4);
        QVERIFY(!QFileInfo::exists(folder->file("no-such-folder")));
    }

    void problemsOneAfterAnotherWithTheirComments() {
        start();
        QVERIFY(!form->moveListPage->nextProblem->isVisible() && !form->moveListPage->replayProblem->isVisible());
        // Comments without a game and other files are never loaded as problems.
        const QString problems = QString::fromStdString(folder->path().string()) + "/Problemes";
        QVERIFY(writeAll(problems + "/13.damt", "notes"));
        QVERIFY(writeAll(problems + "/notes.txt", "notes"));

        QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);  // cancelled
        settle();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].directory, problems);
        QVERIFY(!form->moveListPage->nextProblem->isVisible());

        auto expectProblem = [&](const char* name) {
            files::GameFile f;
            QCOMPARE(files::readGameFile((problems + "/" + name).toStdString(), f), files::FileError::None);
            rules::Board b{};
            b[0] = rules::Sentinel;
            for (int s = 1; s <= 32; ++s) b[s] = f.record.plies[0].squares[s - 1];
            QCOMPARE(form->core().rules.gamePosition, b);
            QCOMPARE(shownTexts.last(), QString(name) + "t");
        };
        answers << ui::FileAnswer{problems + "/11.dam", ""};
        QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
        settle();
        expectProblem("11.dam");
        QVERIFY(form->moveListPage->nextProblem->isVisible() && form->moveListPage->replayProblem->isVisible());
        QCOMPARE(form->moveListPage->nextProblem->text(), QString("Suivant ->"));
        QCOMPARE(form->moveListPage->replayProblem->text(), QString("Revoir coup"));

        QTest::mouseClick(form->moveListPage->nextProblem, Qt::LeftButton);
        settle();
        expectProblem("12.dam");
        QTest::mouseClick(form->moveListPage->nextProblem, Qt::LeftButton);  // past the last: the first again
        settle();
        expectProblem("01.dam");
        QCOMPARE(shownTexts.size(), 3);

        // A move, then "Revoir coup" sets the problem up again.
        const rules::Board start = form->core().rules.gamePosition;
        play("d6", "c7");
        QTest::mouseClick(form->moveListPage->replayProblem, Qt::LeftButton);
        settle();
        QCOMPARE(form->core().rules.gamePosition, start);
        QCOMPARE(form->moveListPage->moves->count(), 0);
        QCOMPARE(shownTexts.size(), 4);
    }

    void textExportInItsThreeTypes() {
        start();
        form->core().game.whiteName = game::makeName("Ana");
        form->core().game.blackName = game::makeName("Bia");
        playOpening(9);
        const QString dir = QString::fromStdString(folder->path().string());
        answers << ui::FileAnswer{dir + "/partie", "Fichiers texte (*.txt)"}
                << ui::FileAnswer{dir + "/partie", "Fichiers commentaires (*.damt)"}
                << ui::FileAnswer{dir + "/partie", "Fichiers PDN (*.pdn)"};
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
            settle();
        }
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests[0].filters,
                 (QStringList{"Fichiers texte (*.txt)", "Fichiers commentaires (*.damt)", "Fichiers PDN (*.pdn)"}));
        QVERIFY(requests[0].save);
        // Shown at ply 9: four full moves on one line, White's fifth left out.
        const std::string expected =
            "Ana-Bia \r\nTavolex144\r\n 1.c3-d4 f6-g5   2.b2-c3 g5-h4   3.e3-f4 g7-f6   4.d4-e5 f6xb2  \r\n";
        QCOMPARE(readAll(dir + "/partie.txt"), expected);
        QCOMPARE(readAll(dir + "/partie.damt"), expected);
        const std::string pdn = readAll(dir + "/partie.pdn");
        QVERIFY(pdn.find("[GameType \"26\"]") != std::string::npos);
        QVERIFY(pdn.find("[White \"Ana\"]") != std::string::npos);
        QVERIFY(pdn.find("5. a1xc3 *") != std::string::npos);
        QVERIFY(pdn.find("[FEN") == std::string::npos);  // from the usual start

        // Our export reads back into its full moves.
        answers << ui::FileAnswer{dir + "/partie.txt", ""};
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        QCOMPARE(requests.last().filters,
                 (QStringList{"Fichiers texte (*.txt)", "Fichiers doc (*.doc)", "Fichiers PDN (*.pdn)"}));
        QCOMPARE(moveLines(), (QStringList{" 1.c3-d4 f6-g5", " 2.b2-c3 g5-h4", " 3.e3-f4 g7-f6", " 4.d4-e5 f6xb2"}));
        QCOMPARE(form->whitePanel->name->text(), QString("Ana"));
        QCOMPARE(form->blackPanel->name->text(), QString("Bia"));
        // And the PDN reads back into all nine plies.
        answers << ui::FileAnswer{dir + "/partie.pdn", ""};
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        QCOMPARE(moveLines().size(), 5);
        QCOMPARE(moveLines()[4], QString(" 5.a1xc3 "));
    }

    // Three games: the chooser lists them; OK without a line, and Cancel,
    // change nothing; the third chosen replays the third only.
    void severalGamesInATextAreChosenFromAList() {
        start();
        playOpening(1);
        const QString path = folder->file("three.txt");
        QVERIFY(writeAll(path,
                         "Ana-Bia  2-0\r\n 1.C3-D4 F6-G5  2.D4-E5 D6XF4\r\n\r\n"
                         "Caio-Davi  0-2\r\n 1.A3-B4 B6-A5\r\n\r\n"
                         "Eva-Fabio \r\n 1.c3-b4 f6-e5  2.g3-f4 e5xg3  3.h2xf4 b6-c5\r\n"));
        QStringList listed;
        // The chooser shows and the command returns; the import goes on
        // when a game is chosen or ends when the person cancels.
        auto chooseWith = [&](std::function<void()> act) {
            answers << ui::FileAnswer{path, "Fichiers texte (*.txt)"};
            QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
            settle();
            ui::FileCommands& files = form->fileCommands();
            QVERIFY(files.chooser->isVisible());
            listed.clear();
            for (int i = 0; i < files.gameLines->count(); ++i) listed << files.gameLines->item(i)->text();
            // The board takes no presses meanwhile, nor the commands that replace the game.
            click(sq("g3"));
            QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
            settle();
            act();
            settle();
            QVERIFY(!files.chooser->isVisible());
        };
        chooseWith([&] { QTest::mouseClick(form->findChild<QPushButton*>("ListeOK"), Qt::LeftButton); });
        QCOMPARE(listed, (QStringList{" 1: Ana - Bia, 1-0", " 2: Caio - Davi, 0-1", " 3: Eva - Fabio, *"}));
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 "});
        chooseWith([&] {
            QListWidget* list = form->fileCommands().gameLines;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            QTest::mouseClick(form->findChild<QPushButton*>("ListeCancel"), Qt::LeftButton);
        });
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 "});
        QVERIFY(form->core().game.sideToMove == rules::Black);

        chooseWith([&] {
            QListWidget* list = form->fileCommands().gameLines;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
            QTest::mouseClick(form->findChild<QPushButton*>("ListeOK"), Qt::LeftButton);
        });
        QCOMPARE(moveLines(), (QStringList{" 1.c3-b4 f6-e5", " 2.g3-f4 e5xg3", " 3.h2xf4 b6-c5"}));
        QCOMPARE(form->whitePanel->name->text(), QString("Eva"));
        QCOMPARE(form->blackPanel->name->text(), QString("Fabio"));

        // One game is taken without asking; the capitals read as names.
        answers << ui::FileAnswer{path, ""};
        QVERIFY(writeAll(path, "Ana-Bia\r\n 1.C3-D4 F6-G5  2.D4-E5 D6XF4\r\n"));
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        QCOMPARE(moveLines(), (QStringList{" 1.c3-d4 f6-g5", " 2.d4-e5 d6xf4"}));
        BoxAnswerer answerer;
        answers << ui::FileAnswer{folder->file("missing.txt"), ""};
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        QCOMPARE(answerer.boxes, QStringList{"Erreur|Impossible d'ouvrir ce fichier"});
        QCOMPARE(moveLines().size(), 2);
    }

    // Every way a text import or export can fail says so in the error box,
    // in the interface language, and loses nothing.
    void importAndExportSayWhatWentWrong() {
        start();
        playOpening(1);
        BoxAnswerer answerer;
        const QString path = folder->file("bad.txt");
        auto import = [&](const std::string& text) {
            QVERIFY(writeAll(path, QByteArray::fromStdString(text)));
            answers << ui::FileAnswer{path, ""};
            // From the menu: after a box the window need not be active
            // again for its shortcuts.
            item("Ouvrirunfichiertexte1")->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size() > 0, true, 5000);
        };
        // A move that is not legal: the moves before it are kept.
        import("Ana-Bia\r\n 1.c3-d4 f6-g5  2.d4-c3 g5-h4\r\n");
        QCOMPARE(QString(answerer.boxes.takeFirst()),
                 QString("Erreur|Partie 1 (Ana - Bia), coup 2. « d4-c3 » : ce coup n'est pas légal dans la position "
                         "atteinte. La partie est rejouée jusqu'au coup précédent."));
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 f6-g5"});
        // Every other reason a replay stops, each with the move and the moves before it kept.
        std::string kingDance = "[White \"K\"]\n[FEN \"W:WKa1:BKh2\"]\n";
        for (int i = 1; i <= 64; ++i)
            kingDance += std::to_string(2 * i - 1) + ". a1-b2 h2-g1 " + std::to_string(2 * i) + ". b2-a1 g1-h2 ";
        const struct {
            std::string text;
            const char* box;
        } stops[] = {
            {"Ana-Bia\r\n 1.c3-d4 zz-e5\r\n",
             "Erreur|Partie 1 (Ana - Bia), coup 1... « zz-e5 » : ce texte n'est pas un coup. La partie est rejouée "
             "jusqu'au coup précédent."},
            {"Ana-Bia\r\n 1.c3-d4  2.g3-f4 f6-g5\r\n",
             "Erreur|Partie 1 (Ana - Bia), coup 1... : un coup manque. La partie est rejouée jusqu'au coup précédent."},
            {"[White \"Ana\"]\n[FEN \"W:WK2,10:B4,6,11,14,15,22,24,25\"]\n1. d8xd8 *\n",
             "Erreur|Partie 1 (Ana - ?), coup 1. « d8xd8 » : plusieurs prises partent et arrivent sur ces cases ; il faut "
             "leur chemin complet. La partie est rejouée jusqu'au coup précédent."},
            {kingDance,
             "Erreur|Partie 1 (K - ?), coup 127. « a1-b2 » : la partie dépasse les 252 demi-coups qu'une partie peut "
             "garder. La partie est rejouée jusqu'au coup précédent."},
        };
        for (const auto& c : stops) {
            import(c.text);
            QCOMPARE(QString(answerer.boxes.takeFirst()), QString::fromUtf8(c.box));
        }
        QCOMPARE(form->core().game.record.recordLength, 252);
        import("Ana-Bia\r\n 1.c3-d4 f6-g5  2.d4-c3 g5-h4\r\n");
        answerer.boxes.clear();
        // A starting position that cannot be read: nothing changes.
        import("[White \"Ana\"]\n[FEN \"W:W1,:B3\"]\n1. c3-d4 *\n");
        QCOMPARE(
            QString(answerer.boxes.takeFirst()),
            QString("Erreur|Partie 1 (Ana - ?) : la position de départ « W:W1,:B3 » est illisible. Rien n'a changé."));
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 f6-g5"});
        // Another kind of draughts, in English.
        form->findChild<QAction*>("English1")->trigger();
        settle();
        import("[GameType \"20\"]\n1. 32-28 *\n");
        QCOMPARE(QString(answerer.boxes.takeFirst()),
                 QString("Error|Game 1 (? - ?): it is another kind of draughts (GameType 20), which this board does "
                         "not play. Nothing has changed."));
        form->findChild<QAction*>("Franais1")->trigger();
        settle();
        // A text without any game.
        import("\r\n\r\n");
        QCOMPARE(QString(answerer.boxes.takeFirst()), QString("Erreur|Aucune partie dans ce fichier"));
        // A file past the bound, without reading it all into the list.
        {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(big.resize(65 << 20));
        }
        answers << ui::FileAnswer{path, ""};
        item("Ouvrirunfichiertexte1")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size() > 0, true, 10000);
        QCOMPARE(QString(answerer.boxes.takeFirst()), QString("Erreur|Fichier trop grand : 65.0 Mo (au plus 64 Mo)"));
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 f6-g5"});

        // A name our layout cannot hold is refused, and no file is written;
        // PDN takes it.
        form->core().game.whiteName = game::makeName("Ana - Bia");
        answers << ui::FileAnswer{folder->file("out.txt"), "Fichiers texte (*.txt)"};
        item("Crerunfichiertexte1")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size() > 0, true, 5000);
        QCOMPARE(
            QString(answerer.boxes.takeFirst()),
            QString(
                "Erreur|Le nom « Ana - Bia » ne peut pas s'écrire dans ce format de fichier ; rien n'a été écrit."));
        QVERIFY(!QFileInfo::exists(folder->file("out.txt")));
        answers << ui::FileAnswer{folder->file("out.pdn"), "Fichiers PDN (*.pdn)"};
        item("Crerunfichiertexte1")->trigger();
        settle();
        QVERIFY(readAll(folder->file("out.pdn")).find("[White \"Ana - Bia\"]") != std::string::npos);
        QVERIFY(answerer.boxes.isEmpty());
    }

    // The set-up page: pieces placed by clicks, the tools, the evaluation
    // boxes, and play from the position set up.
    void settingUpAPositionAndPlayingIt() {
        start();
        playOpening(2);
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        settle();
        QCOMPARE(form->pages->currentWidget(), form->setupPage);
        QVERIFY(form->setupPage->group->isVisible());
        QCOMPARE(form->setupPage->group->title(), QString("PLACEZ LES PIONS"));
        QVERIFY(!form->menus().settings->menuAction()->isEnabled());
        QCOMPARE(form->setupPage->computerColour->text(), QString("Ordinateur noir"));
        QCOMPARE(form->setupPage->sideToMove->text(), QString("Joueur joue"));
        QCOMPARE(form->setupPage->direction->text(), QString("Blancs:Bas->Haut"));
        auto expectEvaluation = [&] {
            eval::EvalState st;
            const rules::Board b = form->core().rules.gamePosition;
            QCOMPARE(form->setupPage->whiteEvaluation->text(),
                     QString::asprintf("Eval stat blancs:%4d", eval::evaluateStatic(st, b, rules::White) / 2));
            QCOMPARE(form->setupPage->blackEvaluation->text(),
                     QString::asprintf("Eval stat noirs:%4d", eval::evaluateStatic(st, b, rules::Black) / 2));
        };
        expectEvaluation();

        // A black king on e5; a light square takes nothing.
        QTest::mouseClick(form->setupPage->pieces[4], Qt::LeftButton);
        QCOMPARE(form->setupPage->chosenPiece->pixmap().toImage(),
                 picture("nd48.Bmp").convertToFormat(QImage::Format_RGB32));
        click(sq("e5"));
        QVERIFY(shows(sq("e5"), "1dna.bmp"));
        QCOMPARE(form->blackPanel->count->text(), QString(" 13"));
        expectEvaluation();
        const rules::Board before = form->core().rules.gamePosition;
        const QRect e5 = form->flatBoard->squareArea(sq("e5"));
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, e5.center() + QPoint(e5.width(), 0));  // f5, light
        settle();
        QCOMPARE(form->core().rules.gamePosition, before);
        // The eraser takes a white man off.
        QTest::mouseClick(form->setupPage->pieces[0], Qt::LeftButton);
        click(sq("a1"));
        QVERIFY(shows(sq("a1"), "1pva.bmp"));
        QCOMPARE(form->whitePanel->count->text(), QString(" 11"));

        // Emptied, then filled: the starting position with White to move and no moves.
        QTest::mouseClick(form->setupPage->emptyBoard, Qt::LeftButton);
        QVERIFY(shows(sq("b8"), "1pva.bmp") && shows(sq("a1"), "1pva.bmp"));
        QTest::mouseClick(form->setupPage->fillBoard, Qt::LeftButton);
        settle();
        QCOMPARE(form->core().rules.gamePosition, rules::startingPosition());
        QVERIFY(form->core().game.sideToMove == rules::White);
        QCOMPARE(form->moveListPage->moves->count(), 0);

        // The direction and the colours turn and turn back.
        QTest::mouseClick(form->setupPage->direction, Qt::LeftButton);
        QCOMPARE(form->setupPage->direction->text(), QString("Blancs:Haut->Bas"));
        QTest::mouseClick(form->setupPage->direction, Qt::LeftButton);
        QCOMPARE(form->setupPage->direction->text(), QString("Blancs:Bas->Haut"));
        QTest::mouseClick(form->setupPage->computerColour, Qt::LeftButton);
        QCOMPARE(form->setupPage->computerColour->text(), QString("Ordinateur blanc"));
        QVERIFY(form->core().game.sideToMove == rules::Black);
        QTest::mouseClick(form->setupPage->computerColour, Qt::LeftButton);
        QCOMPARE(form->setupPage->computerColour->text(), QString("Ordinateur noir"));
        QVERIFY(form->core().game.sideToMove == rules::White);

        // A position of our own: a white man on c3 against a black man on f6.
        QTest::mouseClick(form->setupPage->emptyBoard, Qt::LeftButton);
        QTest::mouseClick(form->setupPage->pieces[1], Qt::LeftButton);
        click(sq("c3"));
        QTest::mouseClick(form->setupPage->pieces[3], Qt::LeftButton);
        click(sq("f6"));
        // Leaving the page ends the set-up: the position is a new game, the
        // two people play on from there, and nothing of the opening is left.
        clickTab(form->moveListPage);
        QVERIFY(!form->core().game.setupMode);
        QVERIFY(!form->setupPage->group->isVisible());
        QVERIFY(form->menus().settings->menuAction()->isEnabled());
        QCOMPARE(form->moveListPage->moves->count(), 0);
        const rules::Board setUp = form->core().rules.gamePosition;
        play("c3", "d4");
        play("f6", "e5");
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 f6-e5"});
        form->takeBack();
        form->takeBack();
        form->takeBack();
        QCOMPARE(int(form->core().game.record.plyCounter), 0);
        QVERIFY2(form->core().rules.gamePosition == setUp, "back to the position set up, not into the opening");
        form->goToEnd();

        // Its PDN carries the position, and reads back into the same game.
        const QString dir = QString::fromStdString(folder->path().string());
        answers << ui::FileAnswer{dir + "/setup", "Fichiers PDN (*.pdn)"};
        QTest::keyClick(form.get(), Qt::Key_T, Qt::ControlModifier);
        settle();
        const std::string pdn = readAll(dir + "/setup.pdn");
        QVERIFY2(pdn.find("[FEN") != std::string::npos, pdn.c_str());
        const game::GameRecord exported = form->core().game.record;
        QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);  // another game in between
        settle();
        form->playerCommands().cancelNewGame();
        form->positionSetup().fillBoard();
        answers << ui::FileAnswer{dir + "/setup.pdn", ""};
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        const game::GameRecord& read = form->core().game.record;
        QCOMPARE(read.recordLength, exported.recordLength);
        for (int k = 0; k <= exported.recordLength; ++k) {
            QVERIFY2(read.plies[k].squares == exported.plies[k].squares, qPrintable(QString("ply %1").arg(k)));
            QCOMPARE(read.plies[k].from, exported.plies[k].from);
            QCOMPARE(read.plies[k].to, exported.plies[k].to);
        }
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 f6-e5"});
    }

    void thePageRulesOfTheSetUp() {
        start();
        playOpening(4);
        const game::GameRecord before = form->core().game.record;
        const rules::Board position = form->core().rules.gamePosition;
        // Choosing the page changes nothing: its tools wait for a set-up
        // action, and it says so. A click on a man leaves it where it is.
        clickTab(form->setupPage);
        QVERIFY(!form->core().game.setupMode);
        QVERIFY(form->setupPage->group->isVisible());
        QVERIFY(form->menus().booksActive->isChecked());
        QCOMPARE(
            form->setupPage->state->text(),
            QString::fromUtf8("Choisissez une pièce, ou videz ou remplissez le damier, pour installer une position."));
        click(sq("b4"));
        click(sq("e3"));
        QVERIFY(form->core().rules.gamePosition == position);
        QVERIFY(form->core().game.record.plies == before.plies);
        // Choosing a piece begins the set-up, and the page says so.
        QTest::mouseClick(form->setupPage->pieces[0], Qt::LeftButton);
        QVERIFY(form->core().game.setupMode);
        QVERIFY(form->setupPage->state->text().startsWith(QString::fromUtf8("Installation en cours")));
        QVERIFY(!form->menus().booksActive->isChecked());
        // Left without a change, the game is as it was.
        clickTab(form->moveListPage);
        QVERIFY(!form->core().game.setupMode);
        QVERIFY(form->core().game.record.plies == before.plies);
        QCOMPARE(int(form->core().game.record.plyCounter), 4);

        // With the computer named to move, leaving hands it the move and shows its thinking.
        clickTab(form->setupPage);
        form->menus().twoPeople->trigger();  // the computer plays again
        item("Niveau01")->trigger();           // and stops at a small depth
        QTest::mouseClick(form->setupPage->sideToMove, Qt::LeftButton);
        QVERIFY(form->core().game.setupMode);
        QCOMPARE(form->setupPage->sideToMove->text(), QString("Ordinateur joue"));
        QVERIFY(form->core().game.sideToMove == rules::Black);
        clickTab(form->moveListPage);
        QVERIFY(!form->core().game.setupMode);
        QCOMPARE(form->pages->currentWidget(), form->thinkingPage);
        QVERIFY(testsupport::waitUntilIdle(*form));
        QVERIFY(form->core().game.sideToMove == rules::White);  // the engine has moved Black
        QCOMPARE(int(form->core().game.record.plyCounter), 1);  // in a new game from the position
        QVERIFY(form->thinkingPage->thinkingLines->count() > 0);
        // While the engine is to move no set-up page is given.
        form->core().game.engineToMove = true;
        clickTab(form->setupPage);
        QCOMPARE(form->pages->currentWidget(), form->moveListPage);
        QVERIFY(!form->core().game.setupMode);

        // A rated game: the page is refused; through the menu a placed piece ends the rating.
        form->core().game.engineToMove = false;
        form->core().game.ratedGame = game::RatedState::InProgress;
        clickTab(form->setupPage);
        QCOMPARE(form->pages->currentWidget(), form->moveListPage);
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        settle();
        QVERIFY(form->core().game.setupMode);
        QTest::mouseClick(form->setupPage->pieces[1], Qt::LeftButton);
        click(sq("e5"));
        QVERIFY(form->core().game.ratedGame == game::RatedState::None);
        // The menu again ends it.
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        settle();
        QVERIFY(!form->core().game.setupMode);
        QVERIFY(!form->setupPage->group->isVisible());
        QCOMPARE(form->pages->currentWidget(), form->moveListPage);
        QVERIFY(testsupport::waitUntilIdle(*form));
    }

    // The dialog the window uses by default can be driven like any other.
    void theDefaultDialogAnswersWithTheChosenFile() {
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath("game.dam"), "x"));
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QCOMPARE(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
            dialog->selectFile("game.dam");
            static_cast<QDialog*>(dialog)->accept();  // as the OK button does
        });
        const ui::FileAnswer a = ui::runFileDialog(nullptr, {false, dir.path(), {"Fichiers Tavolex (*.dam)"}, "dam"});
        QCOMPARE(QFileInfo(a.path).canonicalFilePath(), QFileInfo(dir.filePath("game.dam")).canonicalFilePath());
        QCOMPARE(a.filter, QString("Fichiers Tavolex (*.dam)"));
    }

    // Pictures for people to look at, when asked for.
    void screenshots() {
        const QByteArray dir = qgetenv("TAVOLEX_SCREENSHOTS");
        if (dir.isEmpty()) QSKIP("TAVOLEX_SCREENSHOTS not set");
        start();
        playOpening(4);
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        settle();
        QTest::mouseClick(form->setupPage->pieces[4], Qt::LeftButton);
        click(sq("e5"));
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/setup_page.png"));
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        settle();
        const QString path = folder->file("two.txt");
        QVERIFY(writeAll(path, "Ana-Bia  2-0\r\n 1.c3-d4 f6-g5\r\n\r\nCaio-Davi\r\n 1.a3-b4 b6-a5\r\n"));
        answers << ui::FileAnswer{path, ""};
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        settle();
        QListWidget* list = form->fileCommands().gameLines;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/import_chooser.png"));
        QTest::mouseClick(form->findChild<QPushButton*>("ListeCancel"), Qt::LeftButton);
        settle();
        answers << ui::FileAnswer{folder->file("Problemes/03.dam"), ""};
        QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
        settle();
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/problem.png"));
    }
};

QTEST_MAIN(FilesTest)
#include "files_uitest.moc"
