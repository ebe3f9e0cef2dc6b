#include "fs/faults.h"
#include "reportrig.h"

#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

const PlayEntry& play(const ValidationReport& report, int number) {
    return report.plays.at(number);
}

} // namespace

// The report's definitions on small hand-made game folders: one group per verdict, then
// ties, letter case and lengths.
class ReportVerdictsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void identifiedPlaysNameTheirOwnPlans() {
        ReportRig rig;
        rig.file("VPNFL/Off/Draw3.ply", playBytes(300, 1));
        rig.file("VPNFL/Off/Sweep.ply", playBytes(300, 2));
        // XDef1 is read after XOff1, so the load's growing text holds Draw3 for it too; only
        // a plan's own fields count. XDef2 names Draw3 in other letters.
        rig.plans("\"VPNFL\\Off\\Draw3.ply\",1\r\n", "\"VPNFL\\Off\\Sweep.ply\"\r\n", "",
                  "VPNFL\\OFF\\draw3.ply\r\n");
        rig.capture(0, playBytes(300, 1));
        rig.capture(1, playBytes(300, 2));
        const ValidationReport report = rig.report();

        QCOMPARE(report.plays.size(), 2);
        QCOMPARE(play(report, 0).verdict, Verdict::Identified);
        QCOMPARE(play(report, 0).outcome, QString("VPNFL\\Off\\Draw3.ply"));
        QCOMPARE(play(report, 0).namedBy, QStringList({"Off1", "Def2"}));
        QCOMPARE(play(report, 0).bytes, std::optional<qint64>(300));
        QCOMPARE(play(report, 1).namedBy, QStringList({"Def1"}));
        QCOMPARE(report.unknown, 0);

        QCOMPARE(report.plans.size(), 4);
        const QStringList slotNames{"Off1", "Off2", "Def1", "Def2"};
        const QList<qint64> named{1, 0, 1, 1};
        for (int s = 0; s < 4; ++s) {
            QCOMPARE(report.plans[s].slot, slotNames[s]);
            QCOMPARE(report.plans[s].file, QString("X%1.pln").arg(slotNames[s]));
            QVERIFY(report.plans[s].loaded);
            QCOMPARE(report.plans[s].playsNamed, named[s]);
        }
    }

    void planSlotsSayWhichPlansTheRunRead() {
        ReportRig rig;
        rig.game.remove("Xferbox/XOff2.pln");
        rig.capture(0, "x");
        const ValidationReport report = rig.report();
        QList<bool> loaded;
        for (const PlanSummary& plan : report.plans)
            loaded << plan.loaded;
        QCOMPARE(loaded, QList<bool>({true, false, true, false})); // Off1, Off2, Def1, Def2
    }

    void missingAndEmptyPlays() {
        ReportRig rig;
        rig.capture(0, "");
        rig.capture(2, "unreadable");
        rig.capture(3, "fine, but unknown");
        const QString unreadable = rig.game.capturedHost("FBplay2.ply");
        fs::faults::setHook(
            [&](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
                if (op == fs::faults::Op::Read && host == unreadable)
                    return fs::Error{fs::ErrorKind::AccessDenied, "denied"};
                return std::nullopt;
            });
        const ValidationReport report = rig.report();

        QCOMPARE(report.plays.size(), 4);
        QCOMPARE(play(report, 0).verdict, Verdict::Empty);
        QCOMPARE(play(report, 0).bytes, std::optional<qint64>(0));
        QCOMPARE(play(report, 1).verdict, Verdict::Missing); // a gap in the numbers
        QCOMPARE(play(report, 1).file, QString("FBplay1.ply"));
        QCOMPARE(play(report, 1).bytes, std::nullopt);
        QCOMPARE(play(report, 2).verdict, Verdict::Missing); // cannot be read
        QCOMPARE(play(report, 3).verdict, Verdict::Unknown);
        QCOMPARE(report.unknown, 4);
        for (const PlayEntry& entry : report.plays)
            QCOMPARE(entry.outcome, QString("Unknown Play"));
    }

    void notInThePlansIsTheFirstLibraryFileTheWholePlayBegins() {
        ReportRig rig;
        const QByteArray blitz = playBytes(400, 3);
        rig.file("VPNFL/Named.ply", playBytes(400, 4));
        rig.plans("VPNFL\\Named.ply", "", "", "");
        // Library order ignores case first: a < B although 'B' < 'a' as bytes...
        rig.file("VPNFL/B/Blitz.ply", blitz);
        rig.file("VPNFL/a/Blitz.ply", blitz + "longer");
        // ...and falls back to the bytes only for names equal but for case.
        rig.file("VPNFL/Z/x.ply", blitz);
        if (!test::onWindows) // where names equal but for case are one file
            rig.file("VPNFL/Z/X.ply", blitz);
        // Hidden entries, other extensions and folders outside the play folder are not library.
        rig.file("VPNFL/.hidden/Blitz.ply", blitz);
        rig.file("VPNFL/.Blitz.ply", blitz);
        rig.file("VPNFL/Blitz.plyx", blitz);
        rig.file("LIB/Blitz.ply", blitz);
        rig.file("VPNFL/Deep/er/Still.PLY", playBytes(50, 5));

        rig.capture(0, blitz.left(100));   // begins all four library copies
        rig.capture(1, blitz);             // the whole of them
        rig.capture(2, playBytes(50, 5));  // extension in capitals, two folders down
        rig.capture(3, blitz + "longer!"); // longer than every copy: not a prefix
        const ValidationReport report = rig.report();

        QCOMPARE(play(report, 0).verdict, Verdict::NotInPlans);
        QCOMPARE(play(report, 0).match, QString("VPNFL\\a\\Blitz.ply"));
        QCOMPARE(play(report, 1).match, QString("VPNFL\\a\\Blitz.ply"));
        QCOMPARE(play(report, 2).match, QString("VPNFL\\Deep\\er\\Still.PLY"));
        QCOMPARE(play(report, 3).verdict, Verdict::Modified);
        QCOMPARE(play(report, 3).nearest, QString("VPNFL\\a\\Blitz.ply"));
        QCOMPARE(play(report, 3).differingBytes, 1);
        QCOMPARE(report.counts.libraryFiles, test::onWindows ? 5 : 6);
        QVERIFY(play(report, 0).nearest.isEmpty());
    }

    void libraryOrderAmongNamesEqualButForCase() {
        if (test::onWindows)
            QSKIP("names equal but for case are one file on Windows");
        ReportRig rig;
        const QByteArray blitz = playBytes(100, 6);
        rig.file("VPNFL/x.ply", blitz);
        rig.file("VPNFL/X.ply", blitz);
        rig.capture(0, blitz);
        QCOMPARE(play(rig.report(), 0).match, QString("VPNFL\\X.ply"));
    }

    void theCaptureFolderIsNeverLibrary() {
        ReportRig rig;
        rig.store.write(keys::FBPlayFolder, QString()); // the whole game folder is the library
        rig.file("Plays/Other.ply", playBytes(200, 7));
        rig.capture(0, playBytes(200, 8));
        rig.capture(1, playBytes(200, 8)); // the same unknown play twice
        rig.capture(2, playBytes(200, 7));
        const ValidationReport report = rig.report();
        QCOMPARE(play(report, 0).verdict, Verdict::Unknown);
        QCOMPARE(play(report, 1).verdict, Verdict::Unknown);
        QCOMPARE(play(report, 2).match, QString("Plays\\Other.ply"));
    }

    void modifiedPlaysAndTheirRanges_data() {
        QTest::addColumn<QByteArray>("library");
        QTest::addColumn<QByteArray>("captured");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<qint64>("differing");
        QTest::addColumn<QList<ByteRange>>("ranges");
        const QByteArray c = playBytes(400, 9);
        QTest::newRow("bytes changed") << c << changed(c, {5, 6, 7, 20}) << "modified" << qint64(4)
                                       << QList<ByteRange>{{5, 7}, {20, 20}};
        // 133 of 533 bytes is within a quarter, 134 of 534 is not.
        QTest::newRow("extended to the limit") << c << c + playBytes(133, 10) << "modified"
                                               << qint64(133) << QList<ByteRange>{{400, 532}};
        QTest::newRow("extended past a quarter")
            << c << c + playBytes(134, 10) << "unknown" << qint64(0) << QList<ByteRange>{};
        QTest::newRow("shortened and changed")
            << c << changed(c.left(380), {0}) << "modified" << qint64(21)
            << QList<ByteRange>{{0, 0}, {380, 399}};
        QTest::newRow("shortened too far")
            << c << changed(c.left(300), {0}) << "unknown" << qint64(0) << QList<ByteRange>{};
        // The length difference stays a run of its own, even right after a changed byte.
        QTest::newRow("last byte changed, then extended")
            << c << changed(c, {399}) + "ab"
            << "modified" << qint64(3) << QList<ByteRange>{{399, 399}, {400, 401}};
        QTest::newRow("unlike anything")
            << c << playBytes(400, 11) << "unknown" << qint64(0) << QList<ByteRange>{};
    }
    void modifiedPlaysAndTheirRanges() {
        QFETCH(QByteArray, library);
        QFETCH(QByteArray, captured);
        QFETCH(QString, verdict);
        QFETCH(qint64, differing);
        QFETCH(QList<ByteRange>, ranges);
        ReportRig rig;
        rig.file("VPNFL/Off/Draw3.ply", library);
        rig.capture(0, captured);
        const PlayEntry entry = play(rig.report(), 0);
        QCOMPARE(VerdictName(entry.verdict), verdict);
        QCOMPARE(entry.differingBytes, differing);
        QCOMPARE(entry.ranges, ranges);
        if (entry.verdict == Verdict::Modified) {
            QCOMPARE(entry.nearest, QString("VPNFL\\Off\\Draw3.ply"));
            QCOMPARE(entry.nearestBytes, library.size());
            QCOMPARE(entry.content, captured);
            QCOMPARE(entry.nearestContent, library.left(captured.size()));
        }
    }

    void nearestTiesGoToTheCandidatesThenLibraryOrder() {
        ReportRig rig;
        const QByteArray c = playBytes(500, 12);
        // The same play three times: in the library twice, and once outside it but named.
        rig.file("VPNFL/A/Copy.ply", c);
        rig.file("VPNFL/B/Copy.ply", c);
        rig.file("VPNFLX/Far.ply", c);
        rig.file("VPNFL/Z/Named.ply", changed(c, {1}));
        rig.plans("VPNFL\\Z\\NAMED.ply", "", "VPNFLX\\Far.ply", "");
        rig.capture(0, changed(c, {100, 200})); // two from the copies, three from Named
        rig.capture(1, changed(c, {1, 100}));   // one from Named, two from the copies
        rig.capture(2, changed(c, {100}));      // Far.ply (named) ties the library copies
        const ValidationReport report = rig.report();
        QCOMPARE(play(report, 0).nearest, QString("VPNFLX\\Far.ply"));
        QCOMPARE(play(report, 1).nearest, QString("VPNFL\\Z\\NAMED.ply")); // as the plan writes it
        QCOMPARE(play(report, 2).nearest, QString("VPNFLX\\Far.ply"));
        QCOMPARE(play(report, 1).differingBytes, 1);
    }

    void libraryTiesGoToLibraryOrder() {
        ReportRig rig;
        const QByteArray c = playBytes(500, 13);
        rig.file("VPNFL/b.ply", c);
        rig.file("VPNFL/A.ply", c);
        rig.capture(0, changed(c, {7}));
        QCOMPARE(play(rig.report(), 0).nearest, QString("VPNFL\\A.ply"));
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
        QCOMPARE(play(report, 0).nearest, QString("VPNFL\\OFF\\Draw3.ply"));
        QCOMPARE(play(report, 1).match, QString("VPNFL\\Def\\Blitz.ply"));
        QCOMPARE(play(report, 2).namedBy, QStringList{"Off1"});
        QCOMPARE(report.counts.libraryFiles, 2);
        QCOMPARE(report.counts.candidateFiles, 1); // and the same file in the library
        const SearchCounts& search = report.counts.search;
        QCOMPARE(search.filesRead + search.filesSkipped, 2);
    }

    void entriesWithDotsNameNothing() {
        ReportRig rig;
        const QByteArray c = playBytes(300, 14);
        rig.file("Secret/Real.ply", c);
        rig.file("VPNFL/Off/Keep.ply", playBytes(300, 15));
        rig.plans("VPNFL\\..\\Secret\\Real.ply,VPNFL\\.\\Off\\Keep.ply", "", "", "");
        rig.capture(0, changed(c, {3}));
        rig.capture(1, playBytes(300, 15));
        const ValidationReport report = rig.report();
        QCOMPARE(play(report, 0).verdict, Verdict::Unknown);
        QCOMPARE(play(report, 1).verdict, Verdict::NotInPlans); // Keep.ply is named only with "."
    }
};

QTEST_GUILESS_MAIN(ReportVerdictsTest)
#include "tst_reportverdicts.moc"
