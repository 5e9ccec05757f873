// Whole games in the real window at "5 : Excellence", with real timers, the
// real clock and the real engine: self-play keeps moving within the level's
// time, and clicks during its longer searches never become moves. A few
// minutes of play: labelled slow.

#include <QAction>
#include <QtTest>

#include "play_driver.h"

class PlaySlowTest : public QObject {
    Q_OBJECT

private slots:
    void selfPlayAtExcellenceKeepsMoving() {
        testsupport::PlayDriver d;
        QVERIFY(d.open("Niveau05"));
        const int plies = testsupport::selfPlay(d, 150, 30);
        QVERIFY2(plies >= 30 || d.form->endOfGame->isVisible(), qPrintable(QString("%1 plies").arg(plies)));
    }

    void clicksDuringItsSearchAreNeverMoves() {
        testsupport::PlayDriver d;
        QVERIFY(d.open("Niveau05", false, false));
        testsupport::playAgainstImpatiently(d, 8, 5);
    }
};

QTEST_MAIN(PlaySlowTest)
#include "play_slow_uitest.moc"
