// Timing of the capture engine on the simulated clock.
#include "capturerig.h"

#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;
using Id = CaptureEngine::TimerId;

namespace {
constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
} // namespace

class CaptureTimingTest : public QObject {
    Q_OBJECT
private slots:
    void startReadsTheSwitchesEveryTime_data() {
        QTest::addColumn<QVariant>("capPlans");
        QTest::addColumn<QVariant>("capPlays");
        QTest::addColumn<bool>("timer1");
        QTest::addColumn<bool>("timerPlay");
        QTest::newRow("absent: both on") << QVariant() << QVariant() << true << true;
        QTest::newRow("plays only") << QVariant("0") << QVariant("1") << false << true;
        QTest::newRow("plans only") << QVariant("1") << QVariant("0") << true << false;
        QTest::newRow("both off") << QVariant("0") << QVariant("0") << false << false;
        QTest::newRow("not a number is off") << QVariant("yes") << QVariant("") << false << false;
    }
    void startReadsTheSwitchesEveryTime() {
        QFETCH(QVariant, capPlans);
        QFETCH(QVariant, capPlays);
        QFETCH(bool, timer1);
        QFETCH(bool, timerPlay);
        CaptureRig rig;
        rig.engine.StartCapture(); // with the defaults, before the switches change
        rig.engine.StopCapture();
        if (capPlans.isValid())
            rig.store.write(keys::CapPlans, capPlans.toString());
        if (capPlays.isValid())
            rig.store.write(keys::CapPlays, capPlays.toString());
        rig.engine.StartCapture();
        QCOMPARE(rig.enabled(Id::Timer1), timer1);
        QCOMPARE(rig.enabled(Id::timerPlay), timerPlay);
        for (Id id : {Id::Timer2, Id::Timer3, Id::Timer4, Id::Timer5})
            QVERIFY(!rig.enabled(id));
        QCOMPARE(rig.status.panel1, QString("Status: Running"));

        rig.engine.StopCapture();
        for (Id id : {Id::Timer1, Id::Timer2, Id::Timer3, Id::Timer4, Id::Timer5, Id::timerPlay})
            QVERIFY(!rig.enabled(id));
        QCOMPARE(rig.status.panel1, QString("Status: Stop"));
    }

    void firstPairIsCopiedTenWaitTicksAfterDetection() {
        CaptureRig rig;
        rig.game.writePlans();
        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond - 1);
        QVERIFY(rig.enabled(Id::Timer1));
        rig.clock.advance(1); // first look at 30 s finds it
        QVERIFY(!rig.enabled(Id::Timer1));
        QVERIFY(rig.enabled(Id::Timer2));

        rig.clock.advance(10 * kMinute - 1);
        QCOMPARE(rig.engine.Plan1Ticks(), 9);
        QVERIFY(!rig.game.hasCaptured("XOff1.pln"));
        rig.clock.advance(1);
        QCOMPARE(rig.game.captured("XOff1.pln"), QByteArray("plan FBOff1~.pln"));
        QCOMPARE(rig.game.captured("XDef1.pln"), QByteArray("plan FBDef1~.pln"));
        QVERIFY(!rig.game.hasCaptured("XOff2.pln"));
        QCOMPARE(rig.engine.Plan1Ticks(), 0);
        QVERIFY(!rig.enabled(Id::Timer2));
        QVERIFY(rig.enabled(Id::Timer3));

        // Second pair: first look one minute after the first copy, copied ten minutes later.
        rig.clock.advance(kMinute + 10 * kMinute - 1);
        QVERIFY(!rig.game.hasCaptured("XOff2.pln"));
        rig.clock.advance(1);
        QCOMPARE(rig.game.captured("XOff2.pln"), QByteArray("plan FBOff2~.pln"));
        QCOMPARE(rig.game.captured("XDef2.pln"), QByteArray("plan FBDef2~.pln"));
        for (Id id : {Id::Timer1, Id::Timer2, Id::Timer3, Id::Timer4})
            QVERIFY(!rig.enabled(id)); // the chain is finished
        QVERIFY(rig.problems.shown.isEmpty());
    }

    void secondPairWaitsForTheFirst() {
        CaptureRig rig;
        rig.game.write("FBOff2~.pln", "second");
        rig.game.write("FBDef2~.pln", "second");
        rig.game.write("fboff1~.pln", "wrong case"); // never found
        rig.engine.StartCapture();
        rig.clock.advance(30 * kMinute);
        QVERIFY(rig.enabled(Id::Timer1));
        QVERIFY(!rig.enabled(Id::Timer3));
        QVERIFY(rig.game.capturedNames().isEmpty());
    }

    void stopKeepsTheWaitAndARestartFinishesIt() {
        CaptureRig rig;
        rig.game.writePlans();
        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond + 3 * kMinute);
        QCOMPARE(rig.engine.Plan1Ticks(), 3);
        rig.engine.StopCapture();
        rig.clock.advance(60 * kMinute);
        QCOMPARE(rig.engine.Plan1Ticks(), 3);

        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond + 7 * kMinute - 1);
        QVERIFY(!rig.game.hasCaptured("XOff1.pln"));
        rig.clock.advance(1);
        QVERIFY(rig.game.hasCaptured("XOff1.pln"));
    }

    void secondGameReplacesTheFirstPair() {
        CaptureRig rig;
        rig.game.writePlans();
        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond + 10 * kMinute);
        QVERIFY(rig.game.hasCaptured("XOff1.pln"));
        rig.engine.StopCapture();
        rig.game.write("FBOff1~.pln", "game two");
        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond + 10 * kMinute - 1);
        QCOMPARE(rig.game.captured("XOff1.pln"), QByteArray("plan FBOff1~.pln"));
        rig.clock.advance(1);
        QCOMPARE(rig.game.captured("XOff1.pln"), QByteArray("game two"));
    }

    void playIsCopiedFiveSecondsAfterItWasSeen() {
        CaptureRig rig;
        rig.engine.StartCapture();
        rig.clock.advance(2500);
        rig.game.writePlay("play zero", playTime(0));
        rig.clock.advance(500); // seen at 3 s
        QVERIFY(rig.enabled(Id::Timer5));
        QCOMPARE(*rig.engine.LastPlayTime(), playTime(0));
        rig.clock.advance(5 * kSecond - 1);
        QVERIFY(!rig.game.hasCaptured("FBplay0.ply")); // re-arming each tick did not postpone
        rig.clock.advance(1);
        QCOMPARE(rig.game.captured("FBplay0.ply"), QByteArray("play zero"));
        QCOMPARE(rig.engine.PlayCount(), 1);
        QCOMPARE(rig.status.panel2, QString("Plays: 1"));
        QCOMPARE(rig.file1.count(), 1);
        QVERIFY(!rig.enabled(Id::Timer5));

        // Same time again: not a new play. A later one is.
        rig.game.writePlay("rewritten", playTime(0));
        rig.clock.advance(20 * kSecond);
        QCOMPARE(rig.game.capturedNames(), QStringList{"FBplay0.ply"});
        rig.game.writePlay("play one", playTime(1));
        rig.clock.advance(6 * kSecond);
        QCOMPARE(rig.game.captured("FBplay1.ply"), QByteArray("play one"));
        QCOMPARE(rig.status.panel2, QString("Plays: 2"));
        QCOMPARE(rig.file1.count(), 2);
    }

    void aPendingCopyTakesTheContentItFindsWhenItFires() {
        CaptureRig rig;
        rig.engine.setPlayCount(1);
        rig.engine.StartCapture();
        rig.game.writePlay("first", playTime(0));
        rig.clock.advance(1 * kSecond); // armed; copy due at 6 s
        rig.game.writePlay("second", playTime(2));
        rig.clock.advance(4 * kSecond); // seen as new while pending: schedule kept
        QCOMPARE(*rig.engine.LastPlayTime(), playTime(2));
        rig.clock.advance(1 * kSecond);
        QCOMPARE(rig.game.captured("FBplay1.ply"), QByteArray("second"));
        rig.clock.advance(30 * kSecond);
        QCOMPARE(rig.engine.PlayCount(), 2);
    }

    void numberingFollowsPlayCount_data() {
        QTest::addColumn<int>("start");
        QTest::newRow("kept from an earlier game") << 3;
        QTest::newRow("past 16 bits") << 32767;
    }
    void numberingFollowsPlayCount() {
        QFETCH(int, start);
        CaptureRig rig;
        rig.engine.setPlayCount(start);
        rig.engine.StartCapture();
        rig.game.writePlay("p", playTime(0)); // first sighting: LastPlayTime is empty
        rig.clock.advance(6 * kSecond);
        QVERIFY(rig.game.hasCaptured(QString("FBplay%1.ply").arg(start)));
        QCOMPARE(rig.engine.PlayCount(), start + 1);
        QCOMPARE(rig.status.panel2, QString("Plays: %1").arg(start + 1));
    }

    // After Delete Files the numbering starts again and the first sighting is taken, whatever
    // its time, except the very play taken last, still lying in the game folder.
    void afterDeleteFilesOnlyANewPlayIsTaken_data() {
        QTest::addColumn<int>("secondAfter"); // the temp file's time after Delete Files
        QTest::addColumn<bool>("taken");
        QTest::newRow("the last play, still there") << 0 << false;
        QTest::newRow("a later play") << 9 << true;
        QTest::newRow("an earlier time (first sighting)") << -9 << true;
    }
    void afterDeleteFilesOnlyANewPlayIsTaken() {
        QFETCH(int, secondAfter);
        QFETCH(bool, taken);
        CaptureRig rig;
        rig.engine.StartCapture();
        rig.game.writePlay("p", playTime(0));
        rig.clock.advance(6 * kSecond);
        QFile::remove(rig.game.capturedHost("FBplay0.ply"));
        rig.engine.setPlayCount(0); // what Delete Files does
        rig.game.writePlay("next", playTime(secondAfter));
        rig.clock.advance(60 * kSecond);
        QCOMPARE(rig.game.hasCaptured("FBplay0.ply"), taken);
        QCOMPARE(rig.engine.PlayCount(), taken ? 1 : 0);
    }

    void wrongCaseTempFileIsNeverCaptured() {
        CaptureRig rig;
        rig.game.write("FBPLAY~.TMP", "x", playTime(0));
        rig.engine.StartCapture();
        rig.clock.advance(60 * kSecond);
        QVERIFY(rig.game.capturedNames().isEmpty());
        QVERIFY(!rig.engine.LastPlayTime());
    }

    void stopCancelsAPendingCopy() {
        CaptureRig rig;
        rig.engine.setPlayCount(1);
        rig.engine.StartCapture();
        rig.game.writePlay("p", playTime(0));
        rig.clock.advance(2 * kSecond);
        rig.engine.StopCapture();
        QVERIFY(!rig.enabled(Id::Timer5));
        rig.engine.StartCapture();
        rig.clock.advance(60 * kSecond);
        QVERIFY(rig.game.capturedNames().isEmpty()); // its time was already taken
        QCOMPARE(rig.engine.PlayCount(), 1);
    }

    void command1CopiesTheTempFileAgain() {
        CaptureRig rig;
        rig.engine.StartCapture();
        rig.game.writePlay("p", playTime(0));
        rig.clock.advance(6 * kSecond);
        rig.engine.Command1Click();
        rig.clock.advance(3 * kSecond);
        rig.engine.Command1Click(); // armed already: no postponement
        rig.clock.advance(2 * kSecond);
        QCOMPARE(rig.game.captured("FBplay1.ply"), QByteArray("p"));
        QCOMPARE(rig.engine.PlayCount(), 2);
    }

    void command1WorksWhileStopped() {
        CaptureRig rig;
        rig.game.writePlay("p", playTime(0));
        rig.engine.Command1Click();
        rig.clock.advance(5 * kSecond);
        QVERIFY(rig.game.hasCaptured("FBplay0.ply"));
    }

    void overdueTicksFireOnceAfterABusySpell() {
        CaptureRig rig;
        rig.game.writePlans();
        rig.engine.StartCapture();
        rig.clock.advance(30 * kSecond); // Timer1 found the plan
        rig.game.writePlay("p", playTime(0));
        const int before = rig.clock.tickCount();
        rig.clock.busy(10 * kMinute); // a validation run that would not end
        // timerPlay, Timer2 and the game folder's watch once each, nothing queued up.
        QCOMPARE(rig.clock.tickCount(), before + 3);
        QCOMPARE(rig.engine.Plan1Ticks(), 1);
        QVERIFY(rig.enabled(Id::Timer5));
        rig.clock.advance(5 * kSecond);
        QVERIFY(rig.game.hasCaptured("FBplay0.ply"));
    }

    void aChangedGameFolderAppliesAtTheNextTick() {
        CaptureRig rig;
        GameFolder fb98(rig.env, "Sierra/FBPro98");
        fb98.makeCaptureFolder();
        rig.game.writePlay("97", playTime(0));
        fb98.writePlay("98", playTime(5));
        rig.engine.StartCapture();
        rig.clock.advance(6 * kSecond);
        QCOMPARE(rig.game.captured("FBplay0.ply"), QByteArray("97"));
        rig.paths.gFBVer = FBPro98Folder;
        rig.clock.advance(6 * kSecond);
        QCOMPARE(fb98.captured("FBplay1.ply"), QByteArray("98"));
    }
};

QTEST_GUILESS_MAIN(CaptureTimingTest)
#include "tst_capturetiming.moc"
