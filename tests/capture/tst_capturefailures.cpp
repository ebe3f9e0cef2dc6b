// Copies that fail lose nothing: no partial file, nothing counted, the reason shown.
#include "capture/capturedplays.h"
#include "capturerig.h"
#include "fs/faults.h"

#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;
using Id = CaptureEngine::TimerId;

namespace {

enum class Cause { TempGone, NoCaptureFolder, PlainFileXferbox, DiskFull, AccessDenied };

void failWrites(fs::ErrorKind kind, fs::faults::Op op) {
    fs::faults::setHook([kind, op](fs::faults::Op o, const QString&) -> std::optional<fs::Error> {
        if (o == op)
            return fs::Error{kind, QStringLiteral("injected")};
        return std::nullopt;
    });
}

} // namespace

Q_DECLARE_METATYPE(Cause)

class CaptureFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void failedPlayCopyLosesNothing_data() {
        QTest::addColumn<Cause>("cause");
        QTest::newRow("temp file gone") << Cause::TempGone;
        QTest::newRow("capture folder missing") << Cause::NoCaptureFolder;
        QTest::newRow("plain file named Xferbox") << Cause::PlainFileXferbox;
        QTest::newRow("disk full half-way") << Cause::DiskFull;
        QTest::newRow("destination not writable") << Cause::AccessDenied;
    }
    void failedPlayCopyLosesNothing() {
        QFETCH(Cause, cause);
        CaptureRig rig(cause != Cause::NoCaptureFolder && cause != Cause::PlainFileXferbox);
        if (cause == Cause::PlainFileXferbox)
            rig.game.write("Xferbox", "not a folder");

        // One play already captured, so only a newer time counts as a new play.
        rig.engine.setPlayCount(4);
        rig.engine.StartCapture();
        rig.status.setPanelText(2, "Plays: 4");
        rig.game.writePlay("play four", playTime(10));
        rig.clock.advance(1000); // seen
        const auto seen = rig.engine.LastPlayTime();
        QCOMPARE(*seen, playTime(10));

        switch (cause) {
        case Cause::TempGone:
            rig.game.remove("FBPlay~.tmp");
            break;
        case Cause::DiskFull:
            failWrites(fs::ErrorKind::DiskFull, fs::faults::Op::Write);
            break;
        case Cause::AccessDenied:
            failWrites(fs::ErrorKind::AccessDenied, fs::faults::Op::Commit);
            break;
        default:
            break;
        }
        rig.clock.advance(5000); // the copy fails

        QCOMPARE(rig.engine.PlayCount(), 4);
        QCOMPARE(rig.status.panel2, QString("Plays: 4"));
        QCOMPARE(rig.file1.refreshes, 0);
        if (cause == Cause::TempGone) {
            QVERIFY(!rig.engine.LastPlayTime()); // put back, so a rewrite counts as new
        } else {
            // Put back, so the look in the same second takes the play again.
            QVERIFY(rig.enabled(Id::Timer5));
            QCOMPARE(*rig.engine.LastPlayTime(), playTime(10));
        }
        QVERIFY(rig.problems.current.startsWith("Play 4 not captured: "));
        QVERIFY(rig.problems.current.size() > QString("Play 4 not captured: ").size());
        if (cause != Cause::PlainFileXferbox)
            QVERIFY(rig.game.capturedNames().isEmpty()); // no partial file, no temporary

        // The cause goes away while the play is still there: it is taken again, as play 4.
        fs::faults::clearHook();
        if (cause == Cause::PlainFileXferbox)
            rig.game.remove("Xferbox");
        if (cause == Cause::NoCaptureFolder || cause == Cause::PlainFileXferbox)
            rig.game.makeCaptureFolder();
        if (cause == Cause::TempGone)
            rig.game.writePlay("play four", playTime(10));
        rig.clock.advance(6000);
        QCOMPARE(rig.game.capturedNames(), QStringList{"FBplay4.ply"});
        QCOMPARE(rig.game.captured("FBplay4.ply"), QByteArray("play four"));
        QCOMPARE(rig.engine.PlayCount(), 5);
        QCOMPARE(rig.status.panel2, QString("Plays: 5"));
        QVERIFY(rig.problems.current.isEmpty()); // cleared by the successful capture
    }

    void aFailedPlayIsRetriedUntilItGoesThrough() {
        CaptureRig rig;
        rig.engine.StartCapture();
        rig.game.writePlay("zero", playTime(0));
        rig.clock.advance(6000);
        QCOMPARE(rig.engine.PlayCount(), 1);

        failWrites(fs::ErrorKind::DiskFull, fs::faults::Op::Write);
        rig.game.writePlay("one", playTime(1));
        rig.clock.advance(60'000);
        QCOMPARE(rig.engine.PlayCount(), 1);
        QCOMPARE(rig.game.capturedNames(), QStringList{"FBplay0.ply"});
        QVERIFY(rig.problems.shown.size() >= 2); // every attempt says why

        fs::faults::clearHook();
        rig.clock.advance(6000);
        QCOMPARE(rig.game.captured("FBplay1.ply"), QByteArray("one"));
        rig.clock.advance(60'000);
        QCOMPARE(rig.engine.PlayCount(), 2);
        QVERIFY(rig.problems.current.isEmpty());
    }

    // Whatever already holds a capture's name stays as it is, and the play is not lost: it
    // takes the first free number from PlayCount on.
    void aCaptureNeverReplacesAnything_data() {
        QTest::addColumn<QStringList>("present");  // in the capture folder; "/" ends a folder
        QTest::addColumn<QStringList>("captured"); // where two plays in a row go
        QTest::newRow("appeared since start-up")
            << QStringList{"FBplay1.ply"} << QStringList{"FBplay2.ply", "FBplay3.ply"};
        QTest::newRow("in other letter case")
            << QStringList{"fbplay1.PLY"} << QStringList{"FBplay2.ply", "FBplay3.ply"};
        QTest::newRow("a folder of that name")
            << QStringList{"FBplay1.ply/"} << QStringList{"FBplay2.ply", "FBplay3.ply"};
        QTest::newRow("several in a row") << QStringList{"FBplay1.ply", "FBplay2.ply"}
                                          << QStringList{"FBplay3.ply", "FBplay4.ply"};
        QTest::newRow("a stray leaves the number free")
            << QStringList{"FBplay01.ply", "FBplay1.ply.bak"}
            << QStringList{"FBplay1.ply", "FBplay2.ply"};
        QTest::newRow("gap before a taken number")
            << QStringList{"FBplay2.ply"} << QStringList{"FBplay1.ply", "FBplay3.ply"};
    }
    void aCaptureNeverReplacesAnything() {
        QFETCH(QStringList, present);
        QFETCH(QStringList, captured);
        CaptureRig rig;
        for (const QString& name : present) {
            if (name.endsWith('/'))
                QVERIFY(QDir().mkpath(rig.game.capturedHost(name.chopped(1))));
            else
                rig.game.write("Xferbox/" + name, "earlier " + name.toLatin1());
        }
        rig.engine.setPlayCount(1); // what start-up found before the others appeared
        rig.engine.StartCapture();
        rig.game.writePlay("first", playTime(1));
        rig.clock.advance(6000);
        rig.game.writePlay("second", playTime(2));
        rig.clock.advance(6000);

        QCOMPARE(rig.game.captured(captured[0]), QByteArray("first"));
        QCOMPARE(rig.game.captured(captured[1]), QByteArray("second"));
        for (const QString& name : present) {
            if (!name.endsWith('/'))
                QCOMPARE(rig.game.captured(name), "earlier " + name.toLatin1());
        }
        const int next = CapturedPlays::numberOf(captured[1]) + 1;
        QCOMPARE(rig.engine.PlayCount(), next);
        QCOMPARE(rig.status.panel2, QString("Plays: %1").arg(next));
        QVERIFY(rig.problems.shown.isEmpty());
    }

    // Moving the game folder away and back while a copy was pending made a duplicate of the
    // play last captured, and every later name in the play log went one off.
    void aPlayIsCapturedOnce() {
        CaptureRig rig;
        GameFolder fb98(rig.env, "Sierra/FBPro98"); // no capture folder there
        rig.engine.StartCapture();
        rig.game.writePlay("play zero", playTime(0));
        rig.clock.advance(6000);
        QCOMPARE(rig.game.capturedNames(), QStringList{"FBplay0.ply"});

        fb98.writePlay("other game", playTime(50)); // a later time than anything here
        rig.paths.gFBVer = FBPro98Folder;
        rig.clock.advance(6000); // copy on 98 fails; the next look arms it again
        QVERIFY(rig.problems.current.startsWith("Play 1 not captured: "));
        rig.clock.advance(2000);
        QVERIFY(rig.enabled(Id::Timer5));
        rig.paths.gFBVer = FBPro97Folder; // back, while the retry is pending
        rig.clock.advance(10'000);
        QCOMPARE(rig.game.capturedNames(), QStringList{"FBplay0.ply"});
        QCOMPARE(rig.engine.PlayCount(), 1);

        // The watch goes on from this folder's last play, not the other folder's later time.
        rig.game.writePlay("play one", playTime(1));
        rig.clock.advance(6000);
        QCOMPARE(rig.game.capturedNames(), (QStringList{"FBplay0.ply", "FBplay1.ply"}));
        QCOMPARE(rig.game.captured("FBplay1.ply"), QByteArray("play one"));
        QVERIFY(rig.problems.current.isEmpty());
    }

    void command1WithoutATempFileIsReported() {
        CaptureRig rig;
        rig.engine.setPlayCount(2);
        rig.engine.Command1Click();
        rig.clock.advance(5000);
        QCOMPARE(rig.engine.PlayCount(), 2);
        QVERIFY(rig.game.capturedNames().isEmpty());
        QVERIFY(rig.problems.current.startsWith("Play 2 not captured: "));
        QVERIFY(!rig.enabled(Id::Timer5));
        QVERIFY(rig.status.history.isEmpty());
    }

    void failedPlanCopiesAreReportedAndTheChainGoesOn() {
        CaptureRig rig;
        rig.game.write("FBOff1~.pln", "off one"); // its defensive partner never came
        rig.game.write("FBOff2~.pln", "off two");
        rig.game.write("FBDef2~.pln", "def two");
        rig.engine.StartCapture();
        rig.clock.advance(30'000 + 600'000);
        QCOMPARE(rig.game.captured("XOff1.pln"), QByteArray("off one"));
        QVERIFY(!rig.game.hasCaptured("XDef1.pln"));
        QVERIFY(rig.problems.current.startsWith("Game plan XDef1.pln not captured: "));
        QVERIFY(rig.enabled(Id::Timer3));
        QCOMPARE(rig.engine.Plan1Ticks(), 0);

        // The second pair fails as a whole on a full disk: no partial files, still reported.
        failWrites(fs::ErrorKind::DiskFull, fs::faults::Op::Write);
        rig.clock.advance(60'000 + 600'000);
        QCOMPARE(rig.game.capturedNames(), QStringList{"XOff1.pln"});
        QVERIFY(rig.problems.current.contains("XOff2.pln"));
        QVERIFY(rig.problems.current.contains("XDef2.pln"));
        QVERIFY(!rig.enabled(Id::Timer4));
    }
};

QTEST_GUILESS_MAIN(CaptureFailuresTest)
#include "tst_capturefailures.moc"
