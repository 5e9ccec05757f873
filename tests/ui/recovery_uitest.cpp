// The game in progress survives what should never happen: a process killed
// after a few moves is offered its game back at the next start, and a fault
// that reaches the event loop is shown in the error box while the program
// and its game go on.

#include <QAction>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <stdexcept>

#include "program_copy.h"
#include "ui/application.h"
#include "window_driver.h"
#include "window_parts.h"

namespace {

// The flat board, two people playing.
void openTwoPeople(ui::TForm1& form) {
    form.setHoldFunction([](int) {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (QAction* ponder = form.findChild<QAction*>("Rflexionsurtempsadverse1"); ponder->isChecked()) ponder->trigger();
    QTest::mouseClick(form.findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
    testsupport::settle();
    form.menus().twoPeople->trigger();
    testsupport::settle();
}

// The child process: four moves, then killed without a chance to tidy up.
[[noreturn]] void playThenDie(const char* folder) {
    ui::TForm1 form{std::filesystem::path(folder)};
    form.setQuestionFunction([](const QString&) { return false; });
    openTwoPeople(form);
    const char* moves[][2] = {{"c3", "d4"}, {"f6", "g5"}, {"b2", "c3"}, {"g5", "h4"}};
    for (const auto& m : moves) testsupport::playByClicks(form, m[0], m[1]);
    std::raise(SIGKILL);
    std::abort();
}

// Throws when it is sent an event, as a faulty handler would.
class Faulty : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("a handler's fault");
        return QObject::event(e);
    }
};

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void aKilledProgramOffersItsGameBack() {
        auto folder = testsupport::copyProgramFolder();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--play-then-die", QString::fromStdString(folder->path().string())});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        QStringList asked;
        ui::TForm1 form(folder->path());
        form.setQuestionFunction([&asked](const QString& q) {
            asked << q;
            return true;
        });
        openTwoPeople(form);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.front(),
                 QString::fromUtf8("La dernière partie ne s'est pas terminée normalement. La reprendre ?"));
        QCOMPARE(int(form.core().game.record.plyCounter), 4);
        QCOMPARE(form.moveListPage->moves->count(), 2);

        // Ended normally, the next start asks nothing.
        form.quit();
        ui::TForm1 again(folder->path());
        again.setQuestionFunction([&asked](const QString& q) {
            asked << q;
            return true;
        });
        openTwoPeople(again);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(int(again.core().game.record.plyCounter), 4);  // from "last32.dam", written by "Quitter"
    }

    void aDeclinedGameIsNotOfferedAgain() {
        auto folder = testsupport::copyProgramFolder();
        {
            ui::TForm1 form(folder->path());
            form.setQuestionFunction([](const QString&) { return false; });
            openTwoPeople(form);
            QVERIFY(testsupport::playByClicks(form, "c3", "d4"));
        }  // gone without "Quitter": as if killed
        int asked = 0;
        ui::TForm1 declined(folder->path());
        declined.setQuestionFunction([&asked](const QString&) {
            ++asked;
            return false;
        });
        openTwoPeople(declined);
        QCOMPARE(asked, 1);
        QCOMPARE(int(declined.core().game.record.plyCounter), 0);  // the resume file's game instead
        declined.close();
        ui::TForm1 third(folder->path());
        third.setQuestionFunction([&asked](const QString&) {
            ++asked;
            return false;
        });
        openTwoPeople(third);
        QCOMPARE(asked, 1);
    }

    void aFaultReachingTheEventLoopIsShownAndTheGameGoesOn() {
        auto folder = testsupport::copyProgramFolder();
        ui::TForm1 form(folder->path());
        openTwoPeople(form);
        QVERIFY(testsupport::playByClicks(form, "c3", "d4"));
        auto* app = static_cast<ui::Application*>(QCoreApplication::instance());
        app->setFaultHandler([&form](const std::string& what) { form.reportInternalError(what); });
        testsupport::BoxCatcher boxes;
        boxes.start();
        Faulty faulty;
        QEvent user(QEvent::User);
        QCoreApplication::sendEvent(&faulty, &user);
        boxes.stop();
        app->setFaultHandler({});
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.front().startsWith("Erreur interne : a handler's fault"), qPrintable(boxes.texts.front()));
        // The game is there and goes on, and it was kept for a restart.
        QCOMPARE(int(form.core().game.record.plyCounter), 1);
        QVERIFY(testsupport::playByClicks(form, "f6", "g5"));
        QVERIFY(QFile::exists(folder->file("recovery.dam")));
    }
};

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--play-then-die") playThenDie(argv[2]);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recovery_uitest.moc"
