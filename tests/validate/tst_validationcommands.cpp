#include "app/validationcommands.h"
#include "fs/faults.h"
#include "support/gamefolder.h"
#include "support/recorders.h"
#include "support/simclock.h"
#include "validate/validationrun.h"

#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// The main window's side of the commands, with recorders for the widgets.
struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    GamePaths paths;
    RecordingNotifier notifier;
    RecordingStatus status;
    RecordingProgress progress;
    FolderPlayList file1{"C:\\Sierra\\FBPro97\\Xferbox"};
    RecordingUnknownList lstUnknown;
    SimClock clock;
    GameFolders folders{paths, clock};
    ValidationCommands commands{{folders, store, notifier, status, progress, file1, lstUnknown}};

    Rig() {
        paths.readFrom(store); // as start-up does
        game.makeCaptureFolder();
        folders.check();
        QDir().mkpath(game.hostFile("VPNFL"));
        game.write("VPNFL/A.ply", "play A");
        game.write("VPNFL/B.ply", "play B");
        game.write("Xferbox/XOff1.pln", "VPNFL\\A.ply,VPNFL\\B.ply\r\n");
        for (const char* name : {"XDef1.pln", "XOff2.pln", "XDef2.pln"})
            game.write(QString("Xferbox/") + name, "");
    }
    // Captured plays: A, B, or anything else for an unknown one.
    void capture(const QList<QByteArray>& plays) {
        for (int i = 0; i < plays.size(); ++i)
            game.write(QStringLiteral("Xferbox/FBplay%1.ply").arg(i), plays[i]);
        file1.refresh();
    }
    std::vector<double> barDuringRun() {
        progress.values.clear();
        commands.Validate();
        return progress.values;
    }
};

} // namespace

class ValidationCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void roundsTheStepHalfToEven_data() {
        QTest::addColumn<int>("plays");
        QTest::addColumn<int>("step");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("one") << 1 << 100;
        QTest::newRow("three") << 3 << 33;
        QTest::newRow("six: 16.67") << 6 << 17;
        QTest::newRow("eight: 12.5 to even") << 8 << 12;
        QTest::newRow("forty: 2.5 to even") << 40 << 2;
        QTest::newRow("sixty-six: 1.52") << 66 << 2;
        QTest::newRow("199: 0.503") << 199 << 1;
        QTest::newRow("200: 0.5 to even") << 200 << 0;
        QTest::newRow("far beyond 32,767") << 100'000 << 0;
    }
    void roundsTheStepHalfToEven() {
        QFETCH(int, plays);
        QFETCH(int, step);
        QCOMPARE(ProgressStep(plays), step);
    }

    void barSteps_data() {
        QTest::addColumn<QList<QByteArray>>("plays");
        QTest::addColumn<std::vector<double>>("bar");
        QTest::newRow("three: 33 66 99 then full")
            << QList<QByteArray>{"play A", "play B", "play A"}
            << std::vector<double>{0, 33, 66, 99, 100};
        QTest::newRow("one: full after the play")
            << QList<QByteArray>{"play A"} << std::vector<double>{0, 100};
        QTest::newRow("six: the sixth step is dropped")
            << QList<QByteArray>(6, "play B") << std::vector<double>{0, 17, 34, 51, 68, 85, 100};
        QTest::newRow("none") << QList<QByteArray>{} << std::vector<double>{0, 100};
        QTest::newRow("two hundred: stays at 0 until full")
            << QList<QByteArray>(200, "play A") << std::vector<double>{0, 100};
    }
    void barSteps() {
        QFETCH(QList<QByteArray>, plays);
        QFETCH(std::vector<double>, bar);
        Rig rig;
        rig.capture(plays);
        QCOMPARE(rig.barDuringRun(), bar);
        // A second run starts with the bar empty, not full.
        QCOMPARE(rig.barDuringRun(), bar);
        QVERIFY(!rig.progress.visible);
    }

    void firstRunAllIdentified() {
        Rig rig;
        rig.capture({"play A", "play B", "play"});
        rig.commands.Validate();
        QCOMPARE(rig.status.history,
                 (QStringList{"1:Status: Validating", "2:UK-P: 0", "1:Status: Stop"}));
        QVERIFY(rig.lstUnknown.shown);
        QVERIFY(rig.lstUnknown.entries.isEmpty());
        QCOMPARE(rig.notifier.messages, QStringList{"0 Unknown Plays"});
    }

    // Each run lists only its own unknown plays, so the count and the message agree.
    void unknownPlaysOfThisRunOnly() {
        Rig rig;
        QList<QByteArray> plays(8, "play A");
        plays[7] = "play C";
        rig.capture(plays);
        rig.commands.Validate();
        rig.commands.Validate();
        QCOMPARE(rig.lstUnknown.entries, QStringList{"FBPlay7.ply"});
        QCOMPARE(rig.status.panel2, QString("UK-P: 1"));
        QCOMPARE(rig.notifier.messages, (QStringList{"1 Unknown Plays", "1 Unknown Plays"}));
    }

    // Without plans every play is unknown, after one "Missing Game Plan".
    void missingPlanLeavesNoCandidates() {
        Rig rig;
        rig.game.remove("Xferbox/XDef2.pln");
        rig.capture({"play A", "play B"});
        rig.commands.Validate();
        QCOMPARE(rig.notifier.messages, (QStringList{"Missing Game Plan", "2 Unknown Plays"}));
        QCOMPARE(rig.lstUnknown.entries, (QStringList{"FBPlay0.ply", "FBPlay1.ply"}));
        QCOMPARE(rig.status.panel1, QString("Status: Stop"));
    }

    void updateLogStatusTexts() {
        Rig rig;
        rig.capture({"play B"});
        rig.game.write("play.log", "1st FBPlay~1 run\r\n");
        rig.commands.Validate();
        rig.status.history.clear();
        rig.commands.UpdateLog();
        QCOMPARE(rig.status.history, (QStringList{"1:Status: Working", "2:Creating FBPlay.log",
                                                  "1:Status: Stop", "2:Plays: 1"}));
        QCOMPARE(TempEnvironment::readHostFile(rig.game.hostFile("FBplay.log")),
                 QByteArray("1st B  run\r\n"));
    }

    // A missing number is an unknown play in its own place, so later names stay aligned with
    // the log's references; a stray ".ply" and another letter case shift nothing.
    void gapsAndStraysKeepTheLogAligned() {
        Rig rig;
        rig.game.write("Xferbox/FBplay0.ply", "play A");
        rig.game.write("Xferbox/fbplay2.PLY", "play B");
        rig.game.write("Xferbox/Notes.ply", "play A");
        rig.game.write("play.log", "FBPlay~a\r\nFBPlay~b\r\nFBPlay~c\r\n");
        rig.commands.Validate();
        QCOMPARE(rig.lstUnknown.entries, QStringList{"FBPlay1.ply"});
        QCOMPARE(rig.notifier.messages, QStringList{"1 Unknown Plays"});
        rig.commands.UpdateLog();
        QCOMPARE(TempEnvironment::readHostFile(rig.game.hostFile("FBplay.log")),
                 QByteArray("A \r\nUnknown  \r\nB \r\n"));
    }

    // A capture folder that is there but cannot be listed is said so; it never reads as a
    // clean game, and the last run's outcomes stay for Update Log.
    void unreadableCaptureFolderIsNoCleanGame() {
        Rig rig;
        rig.capture({"play A", "play C"});
        rig.commands.Validate();
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::List)
                return fs::Error{fs::ErrorKind::AccessDenied, "access denied"};
            return std::nullopt;
        });
        rig.commands.Validate();
        fs::faults::clearHook();
        QCOMPARE(rig.notifier.messages.size(), 2);
        QVERIFY(rig.notifier.messages[1].startsWith("The captured plays could not be read: "));
        QVERIFY(rig.notifier.messages[1].contains("access denied"));
        QCOMPARE(rig.lstUnknown.entries, QStringList{"FBPlay1.ply"});
        QVERIFY(!rig.progress.visible);
        QCOMPARE(rig.status.panel1, QString("Status: Stop"));
    }

    // A play file the plans name that cannot be read is named after the count: the play it may
    // be is counted unknown because of this computer, not the opponent.
    void unreadablePlayFileIsNamed() {
        Rig rig;
        rig.capture({"play B"});
        fs::faults::setHook([](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Read && host.endsWith("/VPNFL/B.ply"))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        rig.commands.Validate();
        fs::faults::clearHook();
        QCOMPARE(rig.notifier.messages.size(), 1);
        const QString& message = rig.notifier.messages.first();
        QVERIFY2(message.startsWith("1 Unknown Plays\n\n1 play file that the plans name could not "
                                    "be read:\nCannot read \"C:\\Sierra\\FBPro97\\VPNFL\\B.ply\": "
                                    "access denied\n"),
                 qPrintable(message));
    }

    void updateLogBeforeValidation() {
        Rig rig;
        rig.game.write("play.log", "FBPlay~1\r\n");
        rig.commands.UpdateLog();
        QCOMPARE(rig.notifier.messages, QStringList{"You must Validate Plays first"});
        QCOMPARE(rig.status.panel1, QString("Status: Stop"));
    }

    void viewsFollowTheList() {
        Rig rig;
        rig.capture({"play A", "x"});
        // Before any validation: an empty list over File1.
        rig.commands.ShowUnknownPlays();
        QVERIFY(rig.lstUnknown.shown);
        QCOMPARE(rig.status.panel2, QString("UK-P: 0"));
        rig.commands.ToggleView();
        QVERIFY(!rig.lstUnknown.shown);
        QCOMPARE(rig.status.panel2, QString("Plays: 2"));
        rig.commands.ShowAllPlays();
        QVERIFY(!rig.lstUnknown.shown);
        QCOMPARE(rig.status.panel2, QString("Plays: 2"));
        rig.commands.Validate();
        rig.commands.ToggleView();
        QCOMPARE(rig.status.panel2, QString("Plays: 2"));
        rig.commands.ToggleView();
        QVERIFY(rig.lstUnknown.shown);
        QCOMPARE(rig.status.panel2, QString("UK-P: 1"));
    }
};

QTEST_GUILESS_MAIN(ValidationCommandsTest)
#include "tst_validationcommands.moc"
