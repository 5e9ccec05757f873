// The opening libraries, position learning and sessions driven through the
// window: the editors reached from "Paramétrage", a line of the game added
// and a library set saved and switched, the learning prompt, learning files
// loaded back, and a session played, analysed, learned and stopped.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <set>

#include "engine/tables.h"
#include "program_copy.h"
#include "rules/board.h"
#include "ui/flat_board.h"
#include "ui/form2.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

using testsupport::readAll;
using testsupport::writeAll;

}  // namespace

class BooksTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;
    QList<ui::FileAnswer> answers;
    QList<ui::FileRequest> requests;
    testsupport::BoxCatcher boxes;  // error boxes answered, their texts kept

    static void settle() { testsupport::settle(); }

    // The window with small libraries of the test's own, or with the ones
    // the build ships.
    void start(bool shippedBooks = false) {
        form.reset();
        folder = testsupport::copyProgramFolder();
        if (!shippedBooks) {
            QFile::remove(folder->file("ouvert_b.ouv"));
            QFile::remove(folder->file("ouvert_n.ouv"));
            QVERIFY(writeAll(folder->file("ouvert_b.ouv"), "23-19 9-13\r\n22-18 10-14\r\n"));
            QVERIFY(writeAll(folder->file("ouvert_n.ouv"), "22-18 10-14\r\n"));
        }
        answers.clear();
        requests.clear();
        boxes.texts.clear();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->setFileDialog([this](const ui::FileRequest& r) {
            requests << r;
            return answers.isEmpty() ? ui::FileAnswer{} : answers.takeFirst();
        });
        QVERIFY(testsupport::openFlatBoard(*form));
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('|')));
    }

    QAction* item(const char* name) const { return form->findChild<QAction*>(name); }
    void click(QWidget* w) { testsupport::clickWidget(w); }
    void clickLine(QListWidget* list, const QString& text) {
        QVERIFY2(testsupport::clickListLine(list, text), qPrintable(text));
    }
    void play(const char* from, const char* to) { QVERIFY(testsupport::playByClicks(*form, from, to)); }
    QStringList lines(QListWidget* list) const {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }

private slots:
    void init() { boxes.start(); }
    void cleanup() {
        boxes.stop();
        form.reset();
    }

    void theGameGoesIntoWhitesBookAndALibrarySetIsSavedAndSwitched() {
        start();
        QCOMPARE(form->core().engine.books.white.size(), std::size_t(2));
        QVERIFY(item("Bibliothquesactives1")->isChecked());
        // Both editors are offered in "Paramétrage".
        for (const char* name : {"Ouverturespourlesblancs1", "Ouverturespourlesnoirs1"}) {
            QVERIFY(item(name)->isVisible());
            QVERIFY(item(name)->isEnabled());
            QVERIFY(form->menus().settings->actions().contains(item(name)));
        }
        item("Humaincontrehumain1")->trigger();
        settle();
        play("c3", "d4");
        play("f6", "g5");

        item("Ouverturespourlesblancs1")->trigger();
        settle();
        ui::TForm2* white = form->bookCommands().whiteEditor;
        QVERIFY(white->isVisible());
        QCOMPARE(white->windowTitle(), QString("White"));
        QCOMPARE(white->Fiche_Ouvertures->title(), QString("Ouvertures (Blancs)"));
        QVERIFY(!white->BitBtn3->isVisible());  // "Construire et enregistrer" has no work: never shown
        QCOMPARE(white->Nouvelle_Ouverture->text(), QString("22-18 11-16 "));
        QCOMPARE(form->bookCommands().blackEditor->Nouvelle_Ouverture->text(), QString("22-18 11-16 "));
        QCOMPARE(lines(white->Liste_Ouvertures), (QStringList{"22-18 10-14", "23-19 9-13"}));

        // "Ajouter" twice gives two lines; "Effacer" takes the selected one away.
        click(white->Valide_Ouverture);
        click(white->Valide_Ouverture);
        QCOMPARE(white->Liste_Ouvertures->count(), 4);
        clickLine(white->Liste_Ouvertures, "23-19 9-13");
        QCOMPARE(white->Nouvelle_Ouverture->text(), QString("23-19 9-13"));
        click(white->Effacer);
        QVERIFY(white->Nouvelle_Ouverture->text().isEmpty());
        QCOMPARE(lines(white->Liste_Ouvertures), (QStringList{"22-18 10-14", "22-18 11-16 ", "22-18 11-16 "}));

        // "Enregistrer" as "test" (no extension typed) in "Parametres".
        answers << ui::FileAnswer{folder->file("Parametres/test"), {}};
        click(white->BitBtn1);
        QVERIFY(!white->isVisible());
        QVERIFY(requests.last().save);
        QCOMPARE(QDir(requests.last().directory).dirName(), QString("Parametres"));
        const std::string book = "22-18 10-14\r\n22-18 11-16 \r\n22-18 11-16 \r\n";
        QCOMPARE(readAll(folder->file("Parametres/test_b.ouv")), book);
        QCOMPARE(readAll(folder->file("ouvert_b.ouv")), book);
        QCOMPARE(readAll(folder->file("Parametres/test_n.ouv")), std::string("22-18 10-14\r\n"));
        QVERIFY(QFile::exists(folder->file("Parametres/test.ovv")));
        QVERIFY(!QFile::exists(folder->file("Parametres/test.ovv.ovv")));
        QCOMPARE(form->core().engine.books.white.size(), std::size_t(3));

        // Cancel discards what was edited.
        item("Ouverturespourlesnoirs1")->trigger();
        settle();
        QVERIFY(form->bookCommands().blackEditor->isVisible());
        click(form->bookCommands().blackEditor->Valide_Ouverture);
        QCOMPARE(form->bookCommands().blackEditor->Liste_Ouvertures->count(), 2);
        click(form->bookCommands().blackEditor->BitBtn2);
        QVERIFY(!form->bookCommands().blackEditor->isVisible());
        QCOMPARE(form->core().engine.books.black.size(), std::size_t(1));

        // Switching to another set makes it the active pair and the default.
        QVERIFY(writeAll(folder->file("Parametres/autre.ovv"), ""));
        QVERIFY(writeAll(folder->file("Parametres/autre_b.ouv"), "21-17 9-13\r\n"));
        QVERIFY(writeAll(folder->file("Parametres/autre_n.ouv"), "24-19 10-15\r\n"));
        answers << ui::FileAnswer{folder->file("Parametres/autre.ovv"), {}};
        item("Changerbibliothqueouvertures1")->trigger();
        settle();
        QCOMPARE(readAll(folder->file("ouvert_n.ouv")), std::string("24-19 10-15\r\n"));
        QCOMPARE(form->core().engine.books.white, engine::BookLines{"21-17 9-13"});
        QCOMPARE(lines(form->bookCommands().whiteEditor->Liste_Ouvertures), QStringList{"21-17 9-13"});
        // A cancelled dialog changes nothing.
        item("Changerbibliothqueouvertures1")->trigger();
        settle();
        QCOMPARE(form->core().engine.books.white, engine::BookLines{"21-17 9-13"});

        // "Bibliothèques actives" flips; the problem page turns the books off.
        item("Bibliothquesactives1")->trigger();
        QVERIFY(!form->core().engine.books.booksActive);
        QVERIFY(!item("Bibliothquesactives1")->isChecked());
        item("Bibliothquesactives1")->trigger();
        QVERIFY(form->core().engine.books.booksActive);
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('|')));
    }

    void aSessionPlaysLearnsAndStopsAndItsFileLoadsBack() {
        start();
        QVERIFY(item("Lancerunesession1")->isEnabled());
        QVERIFY(!item("Arrterlasession1")->isEnabled());
        // Quick games: the search is cut at depth 2 whatever the budget.
        engine::SearchLimits limits;
        limits.depth = 2;
        form->setFixedSearchLimits(limits);
        form->core().engine.books.booksActive = false;
        item("Lancerunesession1")->trigger();
        QVERIFY(!item("Lancerunesession1")->isEnabled());
        QVERIFY(item("Arrterlasession1")->isEnabled());
        QVERIFY(item("Ordinateurcontreordinateur1")->isChecked());
        QVERIFY(!item("Humaincontrehumain1")->isChecked());
        QCOMPARE(form->core().engine.level.levelBudget, 500);

        // Games follow games until one has been learned into the session's file.
        const QString sessionFile = QString::fromStdString(form->core().engine.learning.sessionFile.string());
        QVERIFY(sessionFile.startsWith(folder->file("Parametres/session_")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sessionFile), 240000);
        QVERIFY(!form->endOfGame->isVisible());
        QCOMPARE(QFileInfo(sessionFile).size(), qint64(engine::LearnedFileSize));

        item("Arrterlasession1")->trigger();
        settle();
        QTRY_VERIFY_WITH_TIMEOUT(!form->searching() && !form->analysisRunning(), testsupport::engineWaitMs);
        QVERIFY(item("Lancerunesession1")->isEnabled());
        QVERIFY(!item("Arrterlasession1")->isEnabled());
        QVERIFY(!item("Ordinateurcontreordinateur1")->isChecked());
        QCOMPARE(form->core().engine.level.levelBudget, 500);  // stopping keeps the budget

        // The session's file is the table; "Charger des leçons" loads it back
        // over a table changed since.
        engine::SearchTables& tables = form->core().engine.tables;
        QVERIFY(engine::writeLearningFile(tables, folder->file("Parametres/now.dal").toStdString()));
        const std::string saved = readAll(sessionFile);
        QVERIFY(saved == readAll(folder->file("Parametres/now.dal")));
        engine::learnedForWriting(tables).entries[7] = {123u, 456, 0};
        answers << ui::FileAnswer{sessionFile, {}};
        item("Chargerdesleons1")->trigger();
        settle();
        QCOMPARE(QDir(requests.last().directory).dirName(), QString("Parametres"));
        QVERIFY(engine::writeLearningFile(tables, folder->file("Parametres/now.dal").toStdString()));
        QVERIFY(saved == readAll(folder->file("Parametres/now.dal")));
        // A file that is not there: the error box, the table kept.
        engine::learnedForWriting(tables).entries[7] = {123u, 456, 0};
        answers << ui::FileAnswer{folder->file("Parametres/absent.dal"), {}};
        item("Chargerdesleons1")->trigger();
        QTRY_COMPARE(boxes.texts.size(), 1);
        QCOMPARE(int(tables.learned->entries[7].value), 456);
    }

    // The engine opens from the shipped libraries: with White it plays one
    // of the book's first moves, different ones from game to game, and it
    // answers a book reply with the book's continuation.
    void theEnginePlaysVariedOpeningsFromItsBooks() {
        start(true);
        const engine::BookLines& book = form->core().engine.books.white;
        QVERIFY(book.size() > 100);
        auto token = [](const std::string& line, int k) {
            std::size_t at = 0;
            for (int i = 1; i < k; ++i) at = engine::readBookToken(line, at).next;
            const engine::BookToken t = engine::readBookToken(line, at);
            return std::pair{t.from, t.to};
        };
        auto lastMove = [this] {
            const game::GameRecord& r = form->core().game.record;
            return std::pair<int, int>{r.plies[r.plyCounter].from, r.plies[r.plyCounter].to};
        };
        std::set<std::pair<int, int>> firstMoves;
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            // A training game with the computer on White.
            form->core().engine.random.seed(seed);
            QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
            settle();
            click(form->playerCommands().newGame->engineWhite);
            click(form->playerCommands().newGame->startTraining);
            QTRY_COMPARE_WITH_TIMEOUT(int(form->core().game.record.plyCounter), 1, testsupport::engineWaitMs);
            const auto first = lastMove();
            QVERIFY(std::any_of(book.begin(), book.end(), [&](const std::string& l) { return token(l, 1) == first; }));
            firstMoves.insert(first);
        }
        QVERIFY(firstMoves.size() >= 2);

        // A reply of the book, then the book's answer to it.
        const auto first = lastMove();
        const std::string* line = nullptr;
        for (const std::string& l : book)
            if (token(l, 1) == first) {
                line = &l;
                break;
            }
        QVERIFY(line);
        const auto reply = token(*line, 2);
        play(std::string(rules::squareName(static_cast<rules::Square>(reply.first))).c_str(),
             std::string(rules::squareName(static_cast<rules::Square>(reply.second))).c_str());
        QTRY_COMPARE_WITH_TIMEOUT(int(form->core().game.record.plyCounter), 3, testsupport::engineWaitMs);
        const auto answer = lastMove();
        QVERIFY(std::any_of(book.begin(), book.end(), [&](const std::string& l) {
            return token(l, 1) == first && token(l, 2) == reply && token(l, 3) == answer;
        }));
    }

    void aShortGameIsNotLearned() {
        start();
        item("Humaincontrehumain1")->trigger();
        settle();
        play("c3", "d4");
        play("f6", "g5");
        engine::SearchLimits limits;
        limits.depth = 2;
        form->setFixedSearchLimits(limits);
        item("Analyser1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form->analysisRunning(), testsupport::engineWaitMs);
        form->analysisCommands().end();
        settle();
        QVERIFY(form->bookCommands().learnPrompt->isVisible());
        click(form->findChild<QPushButton*>("Learn_yes"));
        QVERIFY(!form->bookCommands().learnPrompt->isVisible());
        QVERIFY(requests.isEmpty());  // nothing asked, nothing written
        QCOMPARE(int(form->core().game.record.plyCounter), 2);
    }
};

QTEST_MAIN(BooksTest)
#include "books_uitest.moc"
