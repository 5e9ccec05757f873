// Players, new games and analysis driven as a person drives them: menu
// items and shortcuts, tabs, list lines, radio buttons and OK buttons
// clicked, and what the window then shows and what is on disk.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "pdf_text.h"
#include "program_copy.h"
#include "rules/board.h"
#include "ui/flat_board.h"
#include "ui/form4.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

using testsupport::readAll;
using testsupport::writeAll;

}  // namespace

class PlayersTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;
    QList<ui::FileAnswer> answers;
    testsupport::BoxCatcher boxes;  // error boxes answered, their texts kept

    static void settle() { testsupport::settle(); }

    // The window after "Damier 2D jaune", with the roll the build ships
    // (or the one given) and the engine's data files.
    void start(const QByteArray& points = {}) {
        form.reset();
        folder = testsupport::copyProgramFolder();
        const QString build = QString::fromLocal8Bit(TAVOLEX_PROGRAM_DIR);
        QDir dir(build);
        for (const QString& f : dir.entryList({"*.bib", "*.dat"}, QDir::Files))
            QFile::copy(build + "/" + f, folder->file(f));
        if (!points.isEmpty()) {
            QFile::remove(folder->file("points.dat"));
            QVERIFY(writeAll(folder->file("points.dat"), points));
        }
        answers.clear();
        boxes.texts.clear();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->setFileDialog(
            [this](const ui::FileRequest&) { return answers.isEmpty() ? ui::FileAnswer{} : answers.takeFirst(); });
        QVERIFY(testsupport::openFlatBoard(*form));
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('|')));
    }

    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    void click(QWidget* w) { testsupport::clickWidget(w); }
    void clickTab(QWidget* page) {
        QTabBar* bar = form->playerCommands().newGame->pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->tabRect(form->playerCommands().newGame->pages->indexOf(page)).center());
        settle();
    }
    void clickLine(QListWidget* list, const QString& text) {
        QVERIFY2(testsupport::clickListLine(list, text), qPrintable(text));
    }
    void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void newGame() {
        QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
        settle();
        QVERIFY(form->playerCommands().newGame->pages->isVisible());
    }
    void play(const char* from, const char* to) { QVERIFY(testsupport::playByClicks(*form, from, to)); }

private slots:
    void init() { boxes.start(); }
    void cleanup() {
        boxes.stop();
        form.reset();
    }

    void theThreePagesStartTheirGames() {
        start();
        newGame();
        QCOMPARE(form->playerCommands().newGame->pages->currentWidget(), form->playerCommands().newGame->training);
        QCOMPARE(form->playerCommands().newGame->trainingRoll->item(0)->text(), QString("Tavolex"));
        QCOMPARE(form->playerCommands().newGame->matchRatings->item(0)->text().trimmed(), QString("2050"));

        // Training with the computer on White: the board turns, names swap.
        click(form->playerCommands().newGame->engineWhite);
        click(form->playerCommands().newGame->startTraining);
        QVERIFY(!form->playerCommands().newGame->pages->isVisible());
        QCOMPARE(form->whitePanel->name->text(), QString("Tavolex"));
        QCOMPARE(form->blackPanel->name->text(), QString("Mister X"));
        QVERIFY(form->core().game.inverted);
        // The computer, on White, makes the first move.
        QTRY_COMPARE_WITH_TIMEOUT(int(form->core().game.record.plyCounter), 1, testsupport::engineWaitMs);
        QCOMPARE(form->mode->text(), QString::fromUtf8("Entraînement"));
        QCOMPARE(form->setupPage->computerColour->text(), QString("Ordinateur blanc"));

        // A name from the list, the computer on Black.
        newGame();
        clickLine(form->playerCommands().newGame->trainingRoll, "Tavolex");
        QCOMPARE(form->playerCommands().newGame->trainingName->text(), QString("Tavolex"));
        type(form->playerCommands().newGame->trainingName, "Lea");
        click(form->playerCommands().newGame->engineBlack);
        click(form->playerCommands().newGame->startTraining);
        QCOMPARE(form->whitePanel->name->text(), QString("Lea"));
        QVERIFY(!form->core().game.inverted);
        QVERIFY(!form->core().game.engineToMove);

        // Two people: the same name twice, or the computer's line, is refused.
        newGame();
        clickTab(form->playerCommands().newGame->twoPeople);
        type(form->playerCommands().newGame->whiteName, "Ana");
        type(form->playerCommands().newGame->blackName, "Ana");
        click(form->playerCommands().newGame->startTwoPeople);
        QVERIFY(form->playerCommands().newGame->pages->isVisible());
        clickLine(form->playerCommands().newGame->blackRoll, "Tavolex");
        QCOMPARE(form->playerCommands().newGame->blackName->text(), QString("Tavolex"));
        click(form->playerCommands().newGame->startTwoPeople);
        QVERIFY(form->playerCommands().newGame->pages->isVisible());
        form->playerCommands().newGame->blackRoll->setCurrentRow(-1);
        type(form->playerCommands().newGame->blackName, "Bia");
        click(form->playerCommands().newGame->startTwoPeople);
        QVERIFY(!form->playerCommands().newGame->pages->isVisible());
        QVERIFY(form->menus().twoPeople->isChecked());
        QCOMPARE(form->blackPanel->name->text(), QString("Bia"));
        play("c3", "d4");
        play("f6", "g5");  // both sides by hand

        // A match without a name does nothing; Cancel closes the page.
        newGame();
        clickTab(form->playerCommands().newGame->match);
        form->playerCommands().newGame->matchName->clear();
        click(form->playerCommands().newGame->startMatch);
        QVERIFY(form->playerCommands().newGame->pages->isVisible());
        click(form->playerCommands().newGame->cancelMatch);
        QVERIFY(!form->playerCommands().newGame->pages->isVisible());
        QCOMPARE(form->blackPanel->name->text(), QString("Bia"));

        // Changing the names.
        item("Changerlesnoms1")->trigger();
        settle();
        QCOMPARE(form->playerCommands().whiteName->text(), QString("Ana"));
        type(form->playerCommands().whiteName, "Carla");
        click(form->findChild<QPushButton*>("OKjoueur"));
        QCOMPARE(form->whitePanel->name->text(), QString("Carla"));
    }

    void aRatedMatchLostByResignationUpdatesPointsDat() {
        start();
        // A new player with 1700.
        item("Match21")->trigger();
        settle();
        QVERIFY(form->playerCommands().newPlayer->isVisible());
        click(form->findChild<QPushButton*>("BitBtn7"));  // no name: the panel stays
        QVERIFY(form->playerCommands().newPlayer->isVisible());
        type(form->playerCommands().newPlayerName, "Mister X");
        click(form->playerCommands().startAt1700);
        click(form->findChild<QPushButton*>("BitBtn7"));
        QVERIFY(!form->playerCommands().newPlayer->isVisible());
        QCOMPARE(readAll(folder->file("joueurs.dat")), std::string("Tavolex\r\nMister X\r\n"));
        QCOMPARE(readAll(folder->file("points.dat")), std::string("2050\r\n1700\r\n"));

        newGame();
        clickTab(form->playerCommands().newGame->match);
        clickLine(form->playerCommands().newGame->matchRoll, "Mister X");
        click(form->playerCommands().newGame->startMatch);
        QVERIFY(!form->playerCommands().newGame->pages->isVisible());
        QCOMPARE(form->mode->text(), QString("Match"));
        QVERIFY(form->resign->isVisible());
        QVERIFY(!form->menus().file->menuAction()->isEnabled());
        QVERIFY(!item("Match21")->isEnabled());
        QVERIFY(!item("Changerlesnoms1")->isEnabled());
        QVERIFY(item("Inverserlesjoueurs1")->isEnabled());
        QVERIFY(!form->menus().analysis->menuAction()->isEnabled());
        QVERIFY(!item("Reprendrecoups1")->isEnabled());
        QVERIFY(form->menus().edit->menuAction()->isEnabled());
        QVERIFY(!form->close());  // closing is refused during a match
        play("c3", "d4");

        click(form->resign);
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString("Vous abandonnez, gain TAVOLEX"));
        QCOMPARE(form->whiteRating->text(), QString::fromUtf8("Mister X passe de 1700 à 1688"));
        QCOMPARE(form->blackRating->text(), QString::fromUtf8("Tavolex passe de 2050 à 2062"));
        QCOMPARE(readAll(folder->file("points.dat")), std::string("2062\r\n1688\r\n"));
        click(form->findChild<QPushButton*>("BitBtn13"));
        QVERIFY(!form->endOfGame->isVisible());
        QVERIFY(form->menus().file->menuAction()->isEnabled());
        QVERIFY(item("Reprendrecoups1")->isEnabled());
        QVERIFY(!form->resign->isVisible());

        // Deleting the player keeps both files aligned; line 0 stays.
        item("Effacerunjoueur1")->trigger();
        settle();
        clickLine(form->playerCommands().deletionRoll, "Tavolex");
        click(form->findChild<QPushButton*>("BitBtn20"));
        QVERIFY(form->playerCommands().deletion->isVisible());
        clickLine(form->playerCommands().deletionRoll, "Mister X");
        QCOMPARE(form->playerCommands().deletedName->text(), QString("Mister X"));
        click(form->findChild<QPushButton*>("BitBtn20"));
        QVERIFY(!form->playerCommands().deletion->isVisible());
        QCOMPARE(readAll(folder->file("joueurs.dat")), std::string("Tavolex\r\n"));
        QCOMPARE(readAll(folder->file("points.dat")), std::string("2062\r\n"));
    }

    void anUnreadableRatingIsRefusedWithAReason() {
        start("oops\r\n");
        newGame();
        clickTab(form->playerCommands().newGame->match);
        type(form->playerCommands().newGame->matchName, "Inconnu");
        click(form->playerCommands().newGame->startMatch);
        QVERIFY(form->playerCommands().newGame->pages->isVisible());
        QVERIFY(form->playerCommands().newGame->matchRefusal->text().contains("Tavolex"));
        QVERIFY(form->core().game.ratedGame == game::RatedState::None);
        // "Ramener Tavolex à 2050" mends it; "Inconnu" then plays rated.
        click(form->playerCommands().newGame->resetEngineRating);
        QCOMPARE(form->playerCommands().newGame->matchRatings->item(0)->text(), QString("2050"));
        QVERIFY(form->playerCommands().newGame->matchName->text().isEmpty());
        type(form->playerCommands().newGame->matchName, "Inconnu");
        click(form->playerCommands().newGame->startMatch);
        QVERIFY(!form->playerCommands().newGame->pages->isVisible());
        QVERIFY(form->core().game.ratedGame == game::RatedState::InProgress);
        QCOMPARE(form->core().game.whiteRating, 1500);
        // Swapping sides ends the rating.
        QTest::keyClick(form.get(), Qt::Key_F4);
        QVERIFY(testsupport::waitUntilIdle(*form));  // the engine has taken the move and played it
        QVERIFY(form->core().game.ratedGame == game::RatedState::None);
        QVERIFY(form->menus().file->menuAction()->isEnabled());
        QVERIFY(!form->resign->isVisible());
    }

    void aGameIsAnalysedSavedAndPrinted() {
        start();
        newGame();
        clickTab(form->playerCommands().newGame->twoPeople);
        type(form->playerCommands().newGame->whiteName, "Ana");
        type(form->playerCommands().newGame->blackName, "Bia");
        click(form->playerCommands().newGame->startTwoPeople);
        const char* moves[][2] = {{"c3", "d4"}, {"f6", "g5"}, {"b2", "c3"}, {"g5", "h4"}};
        for (const auto& m : moves) play(m[0], m[1]);
        engine::SearchLimits limits;
        limits.depth = 2;
        form->setFixedSearchLimits(limits);

        item("Analyser1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form->analysisRunning(), testsupport::engineWaitMs);
        ui::TForm4* f4 = form->analysisCommands().analysisWindow;
        QVERIFY(f4->isVisible());
        QVERIFY(form->analysisCommands().strip->isVisible());
        QCOMPARE(f4->ListBox1->count(), 6);
        QVERIFY(f4->ListBox1->item(0)->text().startsWith(QString::fromUtf8(" 1 Blanc: joué : c3-d4; score : ")));
        QVERIFY(f4->ListBox1->item(3)->text().contains(QString::fromUtf8(" 2 Noir : joué : g5-h4")));
        QVERIFY(f4->ListBox1->item(4)->text().startsWith("+100 gagne un pion"));
        QCOMPARE(form->analysisCommands().stripLines->count(), 4);
        QVERIFY(form->analysisCommands().stripLines->item(0)->text().startsWith(" 1 Blancs: c3-d4; score: "));
        QCOMPARE(f4->Etat->text(), QString::fromUtf8("Analyse terminée"));
        QVERIFY(!item("Analyser1")->isEnabled());
        QVERIFY(item("Terminerlanalyse1")->isEnabled());
        QCOMPARE(int(form->core().game.record.plyCounter), 4);  // where the person was
        // Captures are written with "x", like the move list's.
        QVERIFY(f4->ListBox1->item(0)->text().contains(QRegularExpression("meilleur : [a-h][1-8][-x][a-h][1-8]")));
        // A click on an analysed move shows the position it was played from.
        for (int row : {1, 3, 0}) {
            QTest::mouseClick(f4->ListBox1->viewport(), Qt::LeftButton, {},
                              f4->ListBox1->visualItemRect(f4->ListBox1->item(row)).center());
            QTRY_COMPARE_WITH_TIMEOUT(int(form->core().game.record.plyCounter), row, testsupport::engineWaitMs);
        }
        QTest::mouseClick(f4->ListBox1->viewport(), Qt::LeftButton, {},
                          f4->ListBox1->visualItemRect(f4->ListBox1->item(4)).center());  // the legend: nothing
        QCOMPARE(int(form->core().game.record.plyCounter), 0);
        form->goToEnd();

        // "Editer analyse": the window's lines, CR LF.
        answers << ui::FileAnswer{folder->file("analyse.txt"), "Fichiers texte (*.txt)"};
        click(f4->BitBtn2);
        const std::string saved = readAll(folder->file("analyse.txt"));
        QVERIFY(saved.rfind(" 1 Blanc: jou\xE9 : c3-d4", 0) == 0);  // Latin-1, as the game's texts
        QCOMPARE(int(std::count(saved.begin(), saved.end(), '\n')), 6);

        // "Imprimer analyse", to a PDF.
        const QString pdf = folder->file("analyse.pdf");
        form->setPrintDialog([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        click(f4->BitBtn3);
        const QStringList printed = testsupport::pdfTextLines(pdf);
        QVERIFY2(printed.size() >= 6, qPrintable(printed.join('|')));
        QVERIFY(printed.contains("Ana" + QString(25, ' ') + "Bia"));
        QVERIFY(printed.contains(QString::fromUtf8(engine_legend())));
        QVERIFY(printed.last().contains("g5-h4"));

        // "Fin analyse": the window goes, the learning prompt comes.
        click(f4->BitBtn4);
        QVERIFY(!f4->isVisible());
        QVERIFY(!form->analysisCommands().strip->isVisible());
        QVERIFY(form->bookCommands().learnPrompt->isVisible());
        QVERIFY(item("Analyser1")->isEnabled());
        QVERIFY(!item("Terminerlanalyse1")->isEnabled());
        QVERIFY(form->core().game.sideToMove == rules::White);

        // While the walk runs nothing may move the record.
        // "Terminer l'analyse" while the walk runs stops it at once.
        bool editionOff = false;
        form->goToEnd();
        settle();
        form->core().engine.limits.depth = 30;
        QTimer::singleShot(0, this, [&] {
            editionOff = !form->menus().edit->menuAction()->isEnabled();
            item("Terminerlanalyse1")->trigger();
        });
        item("Analyser1")->trigger();
        settle();
        QVERIFY(!f4->isVisible());
        QVERIFY(form->bookCommands().learnPrompt->isVisible());
        QVERIFY(!form->core().engine.gameAnalysis);
        QVERIFY(form->analysisCommands().stripLines->count() < 4);
        QVERIFY(editionOff);
        QVERIFY(form->menus().edit->menuAction()->isEnabled());
    }

private:
    static const char* engine_legend() {
        return "+100 gagne un pion ; -100 perd un pion ; * en début de ligne indique qu'il y avait un bien meilleur coup";
    }
};

QTEST_MAIN(PlayersTest)
#include "players_uitest.moc"
