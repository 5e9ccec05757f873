// The main window driven as a person drives it: real mouse clicks at pixel
// positions of the board, keys and menu items, and checks of what is drawn
// (pixels of pictures and frames) and shown (move list, panels, labels).

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "program_copy.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "ui/flat_board.h"
#include "window_parts.h"

namespace {

using rules::Square;

Square sq(const char* name) { return *rules::parseSquareName(name); }

QColor colour(rules::FrameColour c) { return ui::frameColour(c); }

QImage picture(const char* name) {
    return QImage(QString::fromLatin1(TAVOLEX_PROGRAM_DIR "/Images1/") + QString::fromLatin1(name));
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ui::TForm1> form;
    std::unique_ptr<testsupport::ProgramCopy> folder;
    std::vector<QImage> held;  // the board as shown at each hold of an animation
    bool ponderMarkAtStart = false;

    // The window after "Damier 2D jaune", two people playing.
    void start(bool twoPeople = true) {
        form.reset();
        folder = testsupport::copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        held.clear();
        form->setHoldFunction([this](int) { held.push_back(shown()); });
        form->setClockFunction([] { return std::int64_t{86400}; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // The engine plays at its weakest level and does not think on the
        // person's time, which would last until the next click.
        QAction* ponder = form->findChild<QAction*>("Rflexionsurtempsadverse1");
        ponderMarkAtStart = ponder->isChecked();
        if (ponderMarkAtStart) ponder->trigger();
        QPushButton* flat = form->findChild<QPushButton*>("Intro2D");
        QVERIFY(flat);
        QTest::mouseClick(flat, Qt::LeftButton);
        settle();
        form->findChild<QAction*>("Dbutant1")->trigger();
        if (twoPeople) form->menus().twoPeople->trigger();
        settle();
    }
    void setUp(const char* fen) {
        const rules::Position p = *rules::parseFen(fen).position;
        form->installPosition(p.board, p.side);
        settle();
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Until the engine has answered and its move is shown.
    void waitForEngine() {
        QVERIFY(QTest::qWaitFor([this] { return form->idle(); }, 60000));
    }

    QImage shown() const { return form->flatBoard->designImage(); }
    QPoint corner(Square s) const { return form->flatBoard->squareCorner(s); }

    // A press in the middle of square s as the view shows it.
    void click(Square s) {
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, form->flatBoard->squareArea(s).center());
        settle();
    }
    void click(const char* name) { click(sq(name)); }
    void play(const char* from, const char* to) {
        const int before = form->core().game.record.plyCounter;
        click(from);
        if (form->core().game.record.plyCounter == before) click(to);
        QCOMPARE(int(form->core().game.record.plyCounter), before + 1);
    }

    // The frame of square s: both outlines in the colour.
    void expectFrame(Square s, QColor c, const QImage& image) {
        const QPoint p = corner(s);
        QCOMPARE(image.pixelColor(p), c);
        QCOMPARE(image.pixelColor(p + QPoint(59, 59)), c);
        QCOMPARE(image.pixelColor(p + QPoint(1, 30)), c);
        QCOMPARE(image.pixelColor(p + QPoint(58, 30)), c);
    }
    void expectNoFrame(Square s, const QImage& image) {
        const QPoint p = corner(s);
        for (QColor c :
             {colour(rules::FrameColour::Red), colour(rules::FrameColour::Blue), colour(rules::FrameColour::Magenta)})
            QVERIFY(image.pixelColor(p + QPoint(0, 30)) != c);
    }
    // Square s shows the given picture (compared at a few of its pixels off the frame lines).
    bool shows(Square s, const char* pictureName, const QImage& image) const {
        const QImage pic = picture(pictureName);
        const QPoint p = corner(s);
        for (QPoint d : {QPoint(30, 30), QPoint(20, 25), QPoint(40, 38), QPoint(10, 50)})
            if (image.pixelColor(p + d) != pic.pixelColor(d)) return false;
        return true;
    }
    QStringList moveLines() const {
        QStringList lines;
        for (int i = 0; i < form->moveListPage->moves->count(); ++i)
            lines << form->moveListPage->moves->item(i)->text();
        return lines;
    }

private slots:
    void startPanelShowsOnlyHelpUntilABoardIsChosen() {
        folder = testsupport::copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->findChild<QAction*>("Rflexionsurtempsadverse1")->setChecked(false);
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Tavolex 3D, le jeu"));
        QVERIFY(form->startPanel->isVisible());
        QVERIFY(form->menus().help->menuAction()->isVisible());
        QVERIFY(!form->menus().file->menuAction()->isVisible());
        // The window fits the screen.
        const QRect room = form->screen()->availableGeometry();
        QVERIFY2(form->frameGeometry().width() <= room.width() && form->frameGeometry().height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                .arg(form->frameGeometry().width())
                                .arg(form->frameGeometry().height())
                                .arg(room.width())
                                .arg(room.height())));
        for (const char* name : {"Button5", "Button6", "Button7", "Button2", "Button8", "Button1A", "IntroClassique"})
            QVERIFY(form->findChild<QPushButton*>(name));

        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        QVERIFY(!form->startPanel->isVisible());
        for (QMenu* m : {form->menus().file, form->menus().edit, form->menus().view, form->menus().options})
            QVERIFY(m->menuAction()->isVisible());
        QVERIFY(!form->menus().alphabeticalNumbers->isVisible());
        QVERIFY(form->menus().styles[0]->isChecked());
        QVERIFY(!form->menus().blindPlay->isEnabled());

        // The starting position, square 1 (b8) at (79, 25) and 29 (a1) at (19, 445).
        QCOMPARE(corner(1), QPoint(79, 25));
        QCOMPARE(corner(29), QPoint(19, 445));
        const QImage image = shown();
        QVERIFY(shows(1, "1pna.bmp", image));
        QVERIFY(shows(29, "1pba.BMP", image));
        QVERIFY(shows(15, "1pva.bmp", image));
        QCOMPARE(form->whitePanel->count->text(), QString(" 12"));
        QCOMPARE(form->blackPanel->count->text(), QString(" 12"));
        QVERIFY(form->blackPanel->y() < form->pages->y());  // Black on top, White below the pages
        QVERIFY(form->whitePanel->y() > form->pages->y());
        // The outlines round the board.
        QCOMPARE(image.pixelColor(7, 300), QColor(Qt::white));
        QCOMPARE(image.pixelColor(6, 300), QColor(128, 128, 128));
    }

    void menusHoldTheWholeCommandTable() {
        start(false);
        struct Item {
            const char* name;
            const char* caption;
            const char* key;
            bool checked;
            bool enabled;
        };
        const Item items[] = {
            {"Nouveau2", "Nouveau", "Ctrl+N", false, true},
            {"Humaincontrehumain1", "Humain contre humain", "Ctrl+H", false, true},
            {"Ordinateurcontreordinateur1", "Ordinateur contre ordinateur", "Ctrl+C", false, true},
            {"Sauver1", "Sauver", "Ctrl+S", false, true},
            {"Problmes1", "Leçons, exercices et problèmes", "Ctrl+L", false, true},
            {"Editerlimagefichierbmp1", "Editer l'image (fichier Bitmap)", "Ctrl+E", false, true},
            {"Quitter1", "Quitter", "Alt+X", false, true},
            {"Reprendrecoups1", "Reprendre coups", "F1", false, true},
            {"Avancercoups1", "Avancer coups", "F2", false, true},
            {"Reveniraudebut1", "Revenir au début", "Ctrl+F1", false, true},
            {"Allerlafin1", "Aller à la fin", "Ctrl+F2", false, true},
            {"Inverserdamier1", "Inverser damier", "F3", false, true},
            {"Inverserlesjoueurs1", "Inverser les joueurs", "F4", false, true},
            {"Dbutant1", "0 : Néophyte", "", true, true},
            {"Niveau05", "5 : Excellence", "", false, true},
            {"N7longlong1", "7 : long, long", "", false, true},
            {"Bibliothquesactives1", "Bibliothèques actives", "", true, true},
            {"Ouverturespourlesblancs1", "Ouvertures pour les blancs", "", false, true},
            {"Lancerunesession1", "Lancer une session", "", false, true},
            {"Arrterlasession1", "Arrêter la session", "", false, false},
            {"Numeroterlescases1", "Numéroter les cases", "", false, true},
            {"Rflexionsurtempsadverse1", "Réflexion sur temps adverse", "", false, true},  // ticked at start, see below
            {"Arretrflexionparclicsouris1", "Arret réflexion par clic souris", "", true, true},
            {"Commentaires1", "Autres", "", true, true},
            {"Pause2", "Pause", "", false, true},
            {"Dcomposerlesprises1", "Décomposer les prises", "", true, true},
            {"Bipchaquecoup2", "Bip à chaque coup", "", true, true},
            {"N15Mo1", "1,5Mo", "", true, true},
            {"Franais1", "Français", "", true, true},
        };
        QVERIFY(ponderMarkAtStart);
        for (const Item& it : items) {
            QAction* a = form->findChild<QAction*>(it.name);
            QVERIFY2(a, it.name);
            QCOMPARE(a->text(), QString::fromUtf8(it.caption));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(it.key)));
            QCOMPARE(a->isChecked(), it.checked);
            QCOMPARE(a->isEnabled(), it.enabled);
        }
        // Items that exist but are never shown.
        for (const char* name : {"OuvrirunfichierVOG1", "Naturemortelarglejeu1"}) {
            QAction* a = form->findChild<QAction*>(name);
            QVERIFY2(a && !a->isVisible(), name);
        }
        int menus = 0;
        for (QAction* a : form->menuBar()->actions()) menus += a->isVisible() ? 1 : 0;
        QCOMPARE(menus, 10);

        // Closing is refused during a rated game; "Quitter" closes otherwise.
        form->core().game.ratedGame = game::RatedState::InProgress;
        form->close();
        QVERIFY(form->isVisible());
        form->core().game.ratedGame = game::RatedState::None;
        form->menus().quit->trigger();
        QVERIFY(!form->isVisible());
    }

    // Table-driven: short games to their end, and the panel's message.
    void shortGamesEndWithTheWinner_data() {
        QTest::addColumn<QString>("fen");
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QString>("message");
        QTest::newRow("White takes the last piece") << "W:Wd4:Bc5" << QStringList{"d4", "b6"} << "Gain des blancs";
        QTest::newRow("Black takes the last piece")
            << "W:Wc3:Ba5" << QStringList{"c3", "b4", "a5", "c3"} << "Gain des noirs";
        // Both sides are blocked after g5-h6; Black, to move, cannot play and
        // has lost, although White could not move either.
        QTest::newRow("both blocked, Black to move")
            << "W:W5,6,7,8,9,10,11,16:B1,2,3,4" << QStringList{"g5", "h6"} << "Gain des blancs";
    }
    void shortGamesEndWithTheWinner() {
        QFETCH(QString, fen);
        QFETCH(QStringList, moves);
        QFETCH(QString, message);
        start();
        setUp(fen.toLatin1().constData());
        for (qsizetype i = 0; i + 1 < moves.size(); i += 2) {
            QVERIFY(!form->endOfGame->isVisible());
            play(moves[i].toLatin1().constData(), moves[i + 1].toLatin1().constData());
        }
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), message);
        QTest::mouseClick(form->findChild<QPushButton*>("BitBtn13"), Qt::LeftButton);
        QVERIFY(!form->endOfGame->isVisible());
    }

    void againstTheComputerTheWinIsThePersons() {
        start(false);
        setUp("W:Wd4:Bc5");
        play("d4", "b6");
        waitForEngine();
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString::fromUtf8("Bravo, vous avez gagné"));
    }

    void theComputerAnswersAndTwoPeopleMayTakeOver() {
        start(false);
        click("c3");
        click("d4");
        waitForEngine();
        // The engine has answered: White is to move again.
        QVERIFY(!form->core().game.engineToMove);
        QCOMPARE(int(form->core().game.record.plyCounter), 2);
        QVERIFY(form->core().game.sideToMove == rules::White);
        QVERIFY(!form->endOfGame->isVisible());
        // Two people take over: the person now moves both sides.
        form->menus().twoPeople->trigger();
        settle();
        rules::RulesState r;
        r.board = form->core().rules.gamePosition;
        QVERIFY(rules::generateRootMoves(r, rules::White) > 0);
        const rules::Move m = r.rootList()[0];
        click(m.from);
        if (form->core().game.record.plyCounter == 2) click(m.to);
        QCOMPARE(int(form->core().game.record.plyCounter), 3);
        QVERIFY(form->core().game.sideToMove == rules::Black);
        waitForEngine();
        QCOMPARE(int(form->core().game.record.plyCounter), 3);  // no answer from the engine
    }

    void aKingsFinalSquareMayBeClickedAtOnce() {
        start();
        setUp("W:WK29:B22,3");  // a king on a1 takes c3 and may stop on d4, e5, f6 or g7
        click("a1");
        QImage image = shown();
        expectFrame(sq("a1"), colour(rules::FrameColour::Red), image);
        for (const char* s : {"d4", "e5", "f6", "g7"}) expectFrame(sq(s), colour(rules::FrameColour::Magenta), image);
        QVERIFY(form->captureLabels[0]->isVisible() && form->captureLabels[1]->isVisible() &&
                form->captureLabels[2]->isVisible());
        click("f6");
        image = shown();
        QCOMPARE(form->core().game.record.plyCounter, std::uint8_t(1));
        QVERIFY(shows(sq("f6"), "1dba.bmp", image));
        QVERIFY(shows(sq("c3"), "1pva.bmp", image));
        QVERIFY(shows(sq("a1"), "1pva.bmp", image));
        for (const char* s : {"d4", "e5", "g7"}) expectNoFrame(sq(s), image);
        QCOMPARE(moveLines(), QStringList{" 1.a1xf6 "});
    }

    void routesThatPartLaterAreClickedSquareBySquare() {
        start();
        // The man on c1 takes d2 and lands on e3 by force; from there it goes
        // round the four men either way and comes back to e3: the routes part
        // at the second landing and meet again at the end, so no final
        // square can be offered and the person clicks c5 or g5.
        setUp("W:W30:B26,18,10,11,19");
        click("c1");
        QImage image = shown();
        expectFrame(sq("c1"), colour(rules::FrameColour::Red), image);
        expectFrame(sq("c5"), colour(rules::FrameColour::Blue), image);
        expectFrame(sq("g5"), colour(rules::FrameColour::Blue), image);
        expectNoFrame(sq("e3"), image);
        QCOMPARE(form->core().game.record.plyCounter, std::uint8_t(0));

        click("c5");
        QCOMPARE(form->core().game.record.plyCounter, std::uint8_t(1));
        // "Décomposer les prises": each landing held in turn, the taken men
        // still standing until the whole move is complete.
        QCOMPARE(held.size(), std::size_t(5));
        const char* landings[] = {"e3", "c5", "e7", "g5", "e3"};
        for (std::size_t k = 0; k < held.size(); ++k) {
            QVERIFY2(shows(sq(landings[k]), "1pba.BMP", held[k]), landings[k]);
            QVERIFY(shows(sq("d4"), "1pna.bmp", held[k]));
        }
        image = shown();
        QVERIFY(shows(sq("e3"), "1pba.BMP", image));
        for (const char* s : {"d2", "d4", "d6", "f6", "f4", "c1"}) QVERIFY2(shows(sq(s), "1pva.bmp", image), s);
        QCOMPARE(moveLines(), QStringList{" 1.c1xe3 "});
        QCOMPARE(form->blackPanel->count->text(), QString("  0"));
    }

    void clickingTheSelectedPieceAgainLetsItGo() {
        start();
        click("c3");
        QImage image = shown();
        expectFrame(sq("c3"), colour(rules::FrameColour::Red), image);
        expectFrame(sq("b4"), colour(rules::FrameColour::Magenta), image);
        expectFrame(sq("d4"), colour(rules::FrameColour::Magenta), image);
        click("e5");  // not a destination: ignored
        QVERIFY(form->core().rules.entry.selectedCode != 0);
        click("c3");
        image = shown();
        QCOMPARE(form->core().rules.entry.selectedCode, std::int16_t(0));
        QVERIFY(shows(sq("c3"), "1pba.BMP", image));
        QVERIFY(shows(sq("b4"), "1pva.bmp", image));
        expectNoFrame(sq("b4"), image);
        expectNoFrame(sq("d4"), image);
        // A man with one move plays it on selection.
        click("a3");
        QCOMPARE(moveLines(), QStringList{" 1.a3-b4 "});
    }

    void theInvertedBoardIsDrawnAndClickedTurnedRound() {
        start();
        QTest::keyClick(form.get(), Qt::Key_F3);
        settle();
        QVERIFY(form->core().game.inverted);
        QCOMPARE(corner(1), QPoint(379, 445));  // where g1 is drawn normally
        QVERIFY(form->whitePanel->y() < form->blackPanel->y());  // White's panel on top
        QImage image = shown();
        QVERIFY(shows(1, "1pna.bmp", image));
        // A press where b8 is normally drawn is on g1 now.
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, form->flatBoard->squareArea(32).center());
        settle();
        QCOMPARE(form->core().rules.entry.selectedCode, std::int16_t(0));  // g1 cannot move
        // c3 is drawn where f6 normally is.
        QTest::mouseClick(form->flatBoard, Qt::LeftButton, {}, QPoint(319 + 30, 145 + 28));
        settle();
        image = shown();
        QCOMPARE(form->core().rules.entry.route[0], sq("c3"));
        expectFrame(sq("c3"), colour(rules::FrameColour::Red), image);
        QCOMPARE(corner(sq("c3")), QPoint(319, 145));
        click("d4");
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 "});
        QVERIFY(shows(sq("d4"), "1pba.BMP", shown()));
    }

    void navigationThroughTheRecord() {
        start();
        play("c3", "d4");
        play("f6", "g5");
        play("g3", "h4");
        QCOMPARE(moveLines(), (QStringList{" 1.c3-d4 f6-g5", " 2.g3-h4 "}));
        QCOMPARE(form->moveListPage->moves->currentRow(), 1);

        QTest::keyClick(form.get(), Qt::Key_F1);
        QTest::keyClick(form.get(), Qt::Key_F1);
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 1);
        QCOMPARE(form->moveListPage->moves->currentRow(), 0);  // the line of the ply shown
        QVERIFY(shows(sq("f6"), "1pna.bmp", shown()));
        QVERIFY(shows(sq("g3"), "1pba.BMP", shown()));
        QTest::keyClick(form.get(), Qt::Key_F2);
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 2);
        QCOMPARE(form->moveListPage->moves->currentRow(), 0);
        QCOMPARE(form->moveListPage->moves->count(), 2);  // the record keeps its later plies
        QVERIFY(shows(sq("g5"), "1pna.bmp", shown()));

        QTest::keyClick(form.get(), Qt::Key_F1, Qt::ControlModifier);
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 0);
        QCOMPARE(form->moveListPage->moves->currentRow(), -1);  // no line before the first ply
        QVERIFY(shows(sq("c3"), "1pba.BMP", shown()));
        QVERIFY(shows(sq("d4"), "1pva.bmp", shown()));
        QTest::keyClick(form.get(), Qt::Key_F2, Qt::ControlModifier);
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 3);
        QCOMPARE(form->moveListPage->moves->currentRow(), 1);  // the selection follows to the end
        QVERIFY(form->core().game.sideToMove == rules::Black);
        QVERIFY(shows(sq("h4"), "1pba.BMP", shown()));

        // A double-click on line 0 with an odd ply counter: the position after ply 1.
        QListWidget* list = form->moveListPage->moves;
        const QRect line0 = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line0.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line0.center());
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 1);
        QVERIFY(shows(sq("d4"), "1pba.BMP", shown()));
        QVERIFY(shows(sq("f6"), "1pna.bmp", shown()));

        // The page's speed buttons do the same as the keys.
        QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton3"), Qt::LeftButton);
        settle();
        QCOMPARE(int(form->core().game.record.plyCounter), 2);

        // A different move from ply 2 cuts the record.
        play("g3", "f4");
        QCOMPARE(moveLines(), (QStringList{" 1.c3-d4 f6-g5", " 2.g3-f4 "}));
        QCOMPARE(form->core().game.record.recordLength, 3);
    }

    void squareNamesAreWrittenOnSilver() {
        start();
        const QPoint c = corner(sq("e5"));
        QVERIFY(shown().pixelColor(c + QPoint(3, 3)) != QColor(192, 192, 192));
        form->menus().numberSquares->trigger();
        settle();
        QCOMPARE(shown().pixelColor(c + QPoint(3, 3)), QColor(192, 192, 192));
    }

    void drawOffersAndTheRefusalNotice() {
        start();
        QTest::mouseClick(form->offerDraw, Qt::LeftButton);  // 24 pieces: always refused
        QVERIFY(form->drawRefused->isVisible());
        QVERIFY(!form->endOfGame->isVisible());
        click("c3");  // any click on the board hides the notice
        QVERIFY(!form->drawRefused->isVisible());
        setUp("W:W21,22:B1,2");
        QTest::mouseClick(form->offerDraw, Qt::LeftButton);
        QVERIFY(form->endOfGame->isVisible());
        QCOMPARE(form->endMessage->text(), QString("Match nul !"));
        // The engine's offer: OK draws, Cancel only hides the panel.
        form->drawOffer->show();
        QTest::mouseClick(form->findChild<QPushButton*>("Annul_nul"), Qt::LeftButton);
        QVERIFY(!form->drawOffer->isVisible());
        QVERIFY(form->core().game.lastResult == game::GameResult::Draw);
    }

    void missingPicturesGiveOneErrorAndAPlainBoard() {
        // A folder with the resume file and nothing else.
        QTemporaryDir empty;
        QVERIFY(QFile::copy(QString::fromLocal8Bit(TAVOLEX_PROGRAM_DIR "/last32.dam"), empty.filePath("last32.dam")));
        QVERIFY(testsupport::copyEngineData(empty.path()));
        form = std::make_unique<ui::TForm1>(std::filesystem::path(empty.path().toStdString()));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->findChild<QAction*>("Rflexionsurtempsadverse1")->setChecked(false);
        QStringList boxes;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + "|" + box->text();
                box->accept();
            }
        });
        closer.start(20);
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        closer.stop();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("Erreur|Impossible d'ouvrir ce fichier"));
        QVERIFY(!form->flatBoard->hasPictures());
        // The plain board still shows the pieces and plays.
        const QImage image = shown();
        QVERIFY(image.pixelColor(corner(1) + QPoint(30, 30)) != image.pixelColor(corner(15) + QPoint(30, 30)));
        form->menus().twoPeople->trigger();
        click("c3");
        click("d4");
        QCOMPARE(moveLines(), QStringList{" 1.c3-d4 "});
    }

    // Pictures for people to look at, when asked for.
    void screenshots() {
        const QByteArray dir = qgetenv("TAVOLEX_SCREENSHOTS");
        if (dir.isEmpty()) QSKIP("TAVOLEX_SCREENSHOTS not set");
        folder = testsupport::copyProgramFolder();
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->findChild<QAction*>("Rflexionsurtempsadverse1")->setChecked(false);
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/start_panel.png"));
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        form->menus().twoPeople->trigger();
        settle();
        const char* game[][2] = {{"c3", "d4"}, {"f6", "g5"}, {"b2", "c3"}, {"g5", "h4"},
                                 {"e3", "f4"}, {"g7", "f6"}, {"d4", "e5"}};
        for (const auto& m : game) play(m[0], m[1]);
        click("f6");  // Black must take e5: the capture labels show, f6 framed
        form->menus().numberSquares->trigger();
        settle();
        click("f6");
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/game.png"));
        // Kings, and a king's capture waiting for its final square.
        setUp("W:WK29,K28,23:B22,K3,2,14");
        form->menus().numberSquares->trigger();
        click("a1");
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/kings.png"));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_uitest.moc"
