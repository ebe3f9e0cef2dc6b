#include "reportrig.h"

#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

using Setup = std::function<void(ReportRig&)>;

// The report's definitions on small hand-made game folders: one row per example, each play's
// verdict in brief.
class ReportVerdictsTest : public QObject {
    Q_OBJECT
private slots:
    void verdicts_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("expected");
        const QByteArray c = playBytes(500, 12), blitz = playBytes(400, 3);

        // XDef1 is read after XOff1, so the load's growing text holds Draw3 for it too; only a
        // plan's own fields count. XDef2 names Draw3 in other letters.
        QTest::newRow("identified: named by each plan's own fields") << Setup([](ReportRig& rig) {
            rig.file("VPNFL/Off/Draw3.ply", playBytes(300, 1));
            rig.file("VPNFL/Off/Sweep.ply", playBytes(300, 2));
            rig.plans("\"VPNFL\\Off\\Draw3.ply\",1\r\n", "\"VPNFL\\Off\\Sweep.ply\"\r\n", "",
                      "VPNFL\\OFF\\draw3.ply\r\n");
            rig.capture(0, playBytes(300, 1));
            rig.capture(1, playBytes(300, 2));
        }) << QStringList{"identified Off1 Def2", "identified Def1"};
        QTest::newRow("missing: a gap, or unreadable; empty") << Setup([](ReportRig& rig) {
            rig.capture(0, "");
            rig.capture(2, "unreadable");
            rig.capture(3, "fine, but unknown");
            rig.denied << rig.game.capturedHost("FBplay2.ply");
        }) << QStringList{"empty", "missing", "missing", "unknown"};
        // Library order ignores case first (a < B although 'B' < 'a' as bytes). Hidden entries,
        // other extensions and folders outside the play folder would come first if they counted.
        QTest::newRow("not in the plans: the first library file the whole play begins")
            << Setup([blitz](ReportRig& rig) {
                   rig.file("VPNFL/Named.ply", playBytes(400, 4));
                   rig.plans("VPNFL\\Named.ply", "", "", "");
                   rig.file("VPNFL/B/Blitz.ply", blitz);
                   rig.file("VPNFL/a/Blitz.ply", blitz + "longer");
                   rig.file("VPNFL/.hidden/Blitz.ply", blitz);
                   rig.file("VPNFL/.Blitz.ply", blitz);
                   rig.file("VPNFL/A.plyx", blitz);
                   rig.file("LIB/Blitz.ply", blitz);
                   rig.file("VPNFL/Deep/er/Still.PLY", playBytes(50, 5));
                   rig.capture(0, blitz.left(100));
                   rig.capture(1, blitz);
                   rig.capture(2, playBytes(50, 5));  // extension in capitals, two folders down
                   rig.capture(3, blitz + "longer!"); // longer than every copy: not a prefix
               })
            << QStringList{"not-in-plans VPNFL\\a\\Blitz.ply", "not-in-plans VPNFL\\a\\Blitz.ply",
                           "not-in-plans VPNFL\\Deep\\er\\Still.PLY",
                           "modified VPNFL\\a\\Blitz.ply 1"};
        if (!test::onWindows) // where names equal but for case are one file
            QTest::newRow("library order falls back to the bytes for names equal but for case")
                << Setup([blitz](ReportRig& rig) {
                       rig.file("VPNFL/x.ply", blitz);
                       rig.file("VPNFL/X.ply", blitz);
                       rig.capture(0, blitz);
                       rig.capture(1, changed(blitz, {7}));
                   })
                << QStringList{"not-in-plans VPNFL\\X.ply", "modified VPNFL\\X.ply 1"};
        QTest::newRow("the capture folder is never library") << Setup([](ReportRig& rig) {
            rig.store.write(keys::FBPlayFolder, QString()); // the whole game folder is
            rig.file("Plays/Other.ply", playBytes(200, 7));
            rig.capture(0, playBytes(200, 8));
            rig.capture(1, playBytes(200, 8)); // the same unknown play twice
            rig.capture(2, playBytes(200, 7));
        }) << QStringList{"unknown", "unknown", "not-in-plans Plays\\Other.ply"};
        // The same play three times: in the library twice, and once outside it but named.
        QTest::newRow("ties go to the candidates before the library")
            << Setup([c](ReportRig& rig) {
                   rig.file("VPNFL/B/Copy.ply", c);
                   rig.file("VPNFL/A/Copy.ply", c);
                   rig.file("VPNFLX/Far.ply", c);
                   rig.file("VPNFL/Z/Named.ply", changed(c, {1}));
                   rig.plans("VPNFL\\Z\\NAMED.ply", "", "VPNFLX\\Far.ply", "");
                   rig.capture(0, changed(c, {100, 200})); // 2 from the copies, 3 from Named
                   rig.capture(1, changed(c, {1, 100}));   // 1 from Named, 2 from the copies
                   rig.capture(2, changed(c, {100}));      // Far (named) ties the copies
               })
            << QStringList{"modified VPNFLX\\Far.ply 2", "modified VPNFL\\Z\\NAMED.ply 1",
                           "modified VPNFLX\\Far.ply 1"};
        QTest::newRow("ties in the library go to library order") << Setup([c](ReportRig& rig) {
            rig.file("VPNFL/b.ply", c);
            rig.file("VPNFL/A.ply", c);
            rig.capture(0, changed(c, {7}));
        }) << QStringList{"modified VPNFL\\A.ply 1"};
        QTest::newRow("entries with . or .. parts name nothing") << Setup([c](ReportRig& rig) {
            rig.file("Secret/Real.ply", c);
            rig.file("VPNFL/Off/Keep.ply", playBytes(300, 15));
            rig.plans("VPNFL\\..\\Secret\\Real.ply,VPNFL\\.\\Off\\Keep.ply", "", "", "");
            rig.capture(0, changed(c, {3}));
            rig.capture(1, playBytes(300, 15));
        }) << QStringList{"unknown", "not-in-plans VPNFL\\Off\\Keep.ply"};
        // A play it might be could not be read: no verdict on what could be.
        QTest::newRow("unchecked: a named play file could not be read")
            << Setup([c](ReportRig& rig) {
                   rig.file("VPNFL/Off/Locked.ply", c);
                   rig.file("VPNFL/Off/Open.ply", playBytes(300, 16));
                   rig.plans("VPNFL\\Off\\Locked.ply,VPNFL\\Off\\Open.ply", "", "", "");
                   rig.denied << rig.game.hostFile("VPNFL/Off/Locked.ply");
                   rig.capture(0, c);
                   rig.capture(1, playBytes(300, 16));
                   rig.capture(2, "");
               })
            << QStringList{"unchecked C:\\Sierra\\FBPro97\\VPNFL\\Off\\Locked.ply",
                           "identified Off1", "empty"};
    }
    void verdicts() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, expected);
        ReportRig rig;
        setup(rig);
        const ValidationReport report = rig.report();
        QCOMPARE(briefs(report), expected);
        qint64 unknown = 0;
        for (const PlayEntry& play : report.plays) {
            unknown += play.verdict != Verdict::Identified;
            QCOMPARE(play.outcome == "Unknown Play", play.verdict != Verdict::Identified);
            QCOMPARE(play.bytes.has_value(), play.verdict != Verdict::Missing);
            QCOMPARE(play.file, QString("FBplay%1.ply").arg(play.capture));
        }
        QCOMPARE(report.unknown, unknown);
    }

    // A report describes the files its run compared: one that changed since (another size or
    // time, or there now where it was not) is marked, and the report says so.
    void filesChangedSinceTheRunAreMarked_data() {
        QTest::addColumn<Setup>("change");
        QTest::addColumn<QStringList>("changed"); // below the game folder
        QTest::newRow("nothing") << Setup([](ReportRig&) {}) << QStringList{};
        QTest::newRow("a capture rewritten")
            << Setup([](ReportRig& rig) { rig.capture(0, playBytes(301, 1)); })
            << QStringList{"Xferbox\\FBplay0.ply"};
        QTest::newRow("a gap filled") << Setup([](ReportRig& rig) { rig.capture(1, "new"); })
                                      << QStringList{"Xferbox\\FBplay1.ply"};
        QTest::newRow("a named play file touched") << Setup([](ReportRig& rig) {
            rig.game.setModified("VPNFL/Draw3.ply", QDateTime::currentDateTime().addDays(1));
        }) << QStringList{"VPNFL\\Draw3.ply"};
    }
    void filesChangedSinceTheRunAreMarked() {
        QFETCH(Setup, change);
        QFETCH(QStringList, changed);
        ReportRig rig;
        rig.file("VPNFL/Draw3.ply", playBytes(300, 1));
        rig.plans("VPNFL\\Draw3.ply", "", "", "");
        rig.capture(0, playBytes(300, 1));
        rig.capture(2, "unknown");
        const ReportInput run = rig.run();
        change(rig);
        const ValidationReport report = rig.build(run);
        QStringList below;
        for (const QString& path : report.changedSinceRun)
            below << path.mid(QString("C:\\Sierra\\FBPro97\\").size());
        QCOMPARE(below, changed);
        for (const PlayEntry& play : report.plays)
            QCOMPARE(play.changedSinceRun, changed.contains("Xferbox\\" + play.file));
    }

    void plansSayWhatTheRunReadAndHowManyPlaysTheyName() {
        ReportRig rig;
        rig.plans("VPNFL\\A.ply,VPNFL\\B.ply", "VPNFL\\C.ply", "", "VPNFL\\D.ply");
        rig.game.remove("Xferbox/XOff2.pln"); // the load stops there: Def2 is not read
        rig.capture(0, "x");
        QStringList plans;
        for (const PlanSummary& plan : rig.report().plans)
            plans << QString("%1 %2 %3 %4")
                         .arg(plan.slot, plan.file)
                         .arg(plan.loaded)
                         .arg(plan.playsNamed);
        QCOMPARE(plans, QStringList({"Off1 XOff1.pln 1 2", "Off2 XOff2.pln 0 0",
                                     "Def1 XDef1.pln 1 1", "Def2 XDef2.pln 0 0"}));
    }

    void modifiedPlaysAndTheirRanges_data() {
        QTest::addColumn<QByteArray>("captured");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<ByteRange>>("ranges");
        const QByteArray c = playBytes(400, 9);
        const QString near = "modified VPNFL\\Off\\Draw3.ply ";
        QTest::newRow("bytes changed")
            << changed(c, {5, 6, 7, 20}) << near + "4" << QList<ByteRange>{{5, 7}, {20, 20}};
        // 133 of 533 bytes is within a quarter, 134 of 534 is not.
        QTest::newRow("extended to the limit")
            << c + playBytes(133, 10) << near + "133" << QList<ByteRange>{{400, 532}};
        QTest::newRow("extended past a quarter")
            << c + playBytes(134, 10) << "unknown" << QList<ByteRange>{};
        QTest::newRow("shortened and changed")
            << changed(c.left(380), {0}) << near + "21" << QList<ByteRange>{{0, 0}, {380, 399}};
        QTest::newRow("shortened too far")
            << changed(c.left(300), {0}) << "unknown" << QList<ByteRange>{};
        // The length difference stays a run of its own, even right after a changed byte.
        QTest::newRow("last byte changed, then extended")
            << changed(c, {399}) + "ab" << near + "3" << QList<ByteRange>{{399, 399}, {400, 401}};
        QTest::newRow("unlike anything") << playBytes(400, 11) << "unknown" << QList<ByteRange>{};
    }
    void modifiedPlaysAndTheirRanges() {
        QFETCH(QByteArray, captured);
        QFETCH(QString, expected);
        QFETCH(QList<ByteRange>, ranges);
        const QByteArray library = playBytes(400, 9);
        ReportRig rig;
        rig.file("VPNFL/Off/Draw3.ply", library);
        rig.capture(0, captured);
        const PlayEntry play = rig.report().plays.at(0);
        QCOMPARE(brief(play), expected);
        QCOMPARE(play.ranges, ranges);
        if (play.verdict == Verdict::Modified) {
            QCOMPARE(play.nearestBytes, library.size());
            QCOMPARE(play.content, captured);
            QCOMPARE(play.nearestContent, library.left(captured.size()));
        }
    }

    // A version folder without its last backslash: the game folder's last name runs on into
    // the names after it (C:\Sierra\FB + VPNFL), for the library as for plan entries.
    void aGameFolderWithoutItsLastBackslash() {
        ReportRig rig;
        rig.store.write(keys::FBVer, "\\Sierra\\FB");
        const QByteArray draw = playBytes(500, 41), blitz = playBytes(500, 42);
        rig.env.writeFile("Sierra/FBVPNFL/Off/Draw3.ply", draw);
        rig.env.writeFile("Sierra/FBVPNFL/Def/Blitz.ply", blitz);
        rig.env.writeFile("Sierra/FBXferbox/XOff1.pln", "VPNFL\\OFF\\Draw3.ply");
        for (const char* plan : {"XDef1", "XOff2", "XDef2"})
            rig.env.writeFile(QString("Sierra/FBXferbox/%1.pln").arg(plan), "");
        rig.env.writeFile("Sierra/FBXferbox/FBplay0.ply", changed(draw, {9}));
        rig.env.writeFile("Sierra/FBXferbox/FBplay1.ply", blitz);
        rig.env.writeFile("Sierra/FBXferbox/FBplay2.ply", draw);
        const ValidationReport report = rig.report();
        QCOMPARE(briefs(report),
                 QStringList({"modified VPNFL\\OFF\\Draw3.ply 1",
                              "not-in-plans VPNFL\\Def\\Blitz.ply", "identified Off1"}));
        // The named file and the library's Draw3 are one file.
        const SearchCounts& search = report.counts.search;
        QCOMPARE(search.filesRead + search.filesSkipped, 2);
    }
};

QTEST_GUILESS_MAIN(ReportVerdictsTest)
#include "tst_reportverdicts.moc"
