#include "report/nearestplay.h"
#include "reportrig.h"

#include <QRandomGenerator>
#include <QSysInfo>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// The definitions, restated position by position: the differing positions below the shorter
// length, their maximal runs, then the length difference as a run of its own.
struct ByHand {
    qint64 differing = 0;
    QList<ByteRange> runs;
};
ByHand byHand(const QByteArray& a, const QByteArray& b) {
    ByHand result;
    const qsizetype shorter = std::min(a.size(), b.size());
    for (qsizetype i = 0, j = 0; i < shorter; i = std::max(j, i + 1)) {
        for (j = i; j < shorter && a[j] != b[j]; ++j) {
        }
        if (j > i) {
            result.runs.append({i, j - 1});
            result.differing += j - i;
        }
    }
    if (a.size() != b.size())
        result.runs.append({shorter, std::max(a.size(), b.size()) - 1});
    return result;
}

// A sparse file of `size` bytes: a hole, but for `data` written at `at`.
bool makeSparse(const QString& host, qint64 size, qint64 at = -1, const QByteArray& data = {}) {
    QDir().mkpath(QFileInfo(host).path());
    QFile file(host);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        return false;
    return at < 0 || (file.seek(at) && file.write(data) == data.size());
}

constexpr qint64 kGB = qint64(1) << 30;

} // namespace

class ReportSearchTest : public QObject {
    Q_OBJECT
private slots:
    void distanceAndRangesFollowTheDefinition() {
        QRandomGenerator random(11);
        for (int round = 0; round < 2000; ++round) {
            QByteArray a = playBytes(int(random.bounded(300)), round);
            QByteArray b = a;
            // Some edits, sometimes a cut or a tail, sometimes a different play altogether.
            const int edits = int(random.bounded(20));
            for (int e = 0; e < edits && !b.isEmpty(); ++e)
                b[random.bounded(int(b.size()))] = char(random.bounded(256));
            if (random.bounded(3) == 0)
                b.truncate(random.bounded(int(b.size()) + 1));
            if (random.bounded(3) == 0)
                b += playBytes(int(random.bounded(70)), -round);
            if (random.bounded(10) == 0)
                b = playBytes(int(random.bounded(300)), round + 9999);

            const ByHand expected = byHand(a, b);
            QCOMPARE(PlayDistance(a, b), expected.differing + std::abs(a.size() - b.size()));
            const qint64 limit = random.bounded(100);
            QCOMPARE(CountDiffering(a, b, limit), std::min(expected.differing, limit));
            QCOMPARE(DifferingRanges(a, b.left(a.size()), b.size()), expected.runs);
        }
    }

    void eachFileIsReadOnceAndNoFurtherThanCompared() {
        ReportRig rig;
        for (int i = 0; i < 10; ++i) {
            rig.file(QString("VPNFL/Long/L%1.ply").arg(i), playBytes(4000, i));
            rig.file(QString("VPNFL/Short/S%1.ply").arg(i), playBytes(100, 100 + i));
        }
        // Named three times in two spellings: one file, one candidate.
        rig.plans("VPNFL\\Long\\L3.ply,VPNFL\\long\\l3.ply", "", "VPNFL\\Long\\L3.ply", "");
        for (int n = 0; n < 3; ++n)
            rig.capture(n, playBytes(200, 500 + n)); // unlike anything: every play searches all
        const ValidationReport report = rig.report();
        QCOMPARE(briefs(report), QStringList({"unknown", "unknown", "unknown"}));
        QCOMPARE(report.counts.candidateFiles, 1);
        // The long files are read only as far as the plays reach, to see whether a play begins
        // them; the short ones are too short for that and too far in length to be near.
        const SearchCounts& search = report.counts.search;
        QCOMPARE(QList<qint64>({search.filesRead, search.bytesRead, search.filesSkipped}),
                 QList<qint64>({10, 10 * 200, 10}));
        // Identification reads L3 once of its own; the report once more, and nothing twice.
        for (int i = 0; i < 10; ++i) {
            const QString host = rig.game.hostFile(QString("VPNFL/Long/L%1.ply").arg(i));
            QCOMPARE(rig.reads.value(host), i == 3 ? 2 : 1);
            QVERIFY(!rig.reads.contains(rig.game.hostFile(QString("VPNFL/Short/S%1.ply").arg(i))));
        }
    }

    void filesFarFromTheBestSoFarAreNeverRead() {
        ReportRig rig;
        const QByteArray origin = playBytes(1000, 42);
        rig.file("VPNFL/A/Origin.ply", origin);
        for (int i = 0; i < 20; ++i) // near in length at first, far once the origin is found
            rig.file(QString("VPNFL/B/Other%1.ply").arg(i), playBytes(990, i));
        rig.capture(0, changed(origin, {5}));
        const ValidationReport report = rig.report();
        QCOMPARE(brief(report.plays[0]), QString("modified VPNFL\\A\\Origin.ply 1"));
        QCOMPARE(report.counts.search.filesRead, 1);
        QCOMPARE(report.counts.search.filesSkipped, 20);
    }

    void unreadableLibraryFilesAreCountedAndLeftOut() {
        ReportRig rig;
        const QByteArray play = playBytes(300, 7);
        rig.file("VPNFL/A/First.ply", play);
        rig.file("VPNFL/B/Second.ply", play + "more");
        rig.capture(0, play);
        rig.denied << rig.game.hostFile("VPNFL/A/First.ply");
        const ValidationReport report = rig.report();
        QCOMPARE(report.counts.search.readFailures, 1);
        QCOMPARE(brief(report.plays[0]), QString("not-in-plans VPNFL\\B\\Second.ply"));
    }

    void nothingIsScannedWhenEveryPlayIsNamed() {
        ReportRig rig;
        rig.file("VPNFL/A.ply", "play A");
        rig.plans("VPNFL\\A.ply", "", "", "");
        rig.capture(0, "play A");
        const ValidationReport report = rig.report();
        QCOMPARE(briefs(report), QStringList{"identified Off1"});
        QCOMPARE(report.counts.libraryFiles, 0); // not even listed
        QCOMPARE(report.counts.capturesRead, 0);
    }

    // A file's size costs nothing: what is read and held is bounded by what the definitions
    // compare, and holes both files share are skipped unread.
    void hugeSparseFilesCostWhatIsCompared_data() {
        QTest::addColumn<qint64>("playSize");
        QTest::addColumn<qint64>("playDataAt"); // "DATA" written there; -1 for none
        QTest::addColumn<qint64>("librarySize");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<ByteRange>>("ranges");
        const qint64 big = 40 * kGB, far = 20 * kGB;
        const QString zeros = "VPNFL\\Huge\\Zeros.ply";
        QTest::newRow("huge play, ordinary library")
            << big << qint64(-1) << qint64(3000) << "unknown" << QList<ByteRange>{};
        QTest::newRow("ordinary play, huge library file")
            << qint64(3000) << qint64(-1) << big << "not-in-plans " + zeros << QList<ByteRange>{};
        QTest::newRow("huge play, the start of a huge library file")
            << big << qint64(-1) << big + 1 << "not-in-plans " + zeros << QList<ByteRange>{};
        QTest::newRow("huge play, a few bytes changed far in")
            << big << far << big << "modified " + zeros + " 4" << QList<ByteRange>{{far, far + 3}};
        QTest::newRow("huge play, changed and a byte longer")
            << big + 1 << far << big << "modified " + zeros + " 5"
            << QList<ByteRange>{{far, far + 3}, {big, big}};
    }
    void hugeSparseFilesCostWhatIsCompared() {
        if (QSysInfo::kernelType() != QLatin1String("linux"))
            QSKIP("sparse files are made only on Linux here");
        QFETCH(qint64, playSize);
        QFETCH(qint64, playDataAt);
        QFETCH(qint64, librarySize);
        QFETCH(QString, expected);
        QFETCH(QList<ByteRange>, ranges);
        ReportRig rig;
        QVERIFY(makeSparse(rig.game.hostFile("VPNFL/Huge/Zeros.ply"), librarySize));
        QVERIFY(makeSparse(rig.game.capturedHost("FBplay0.ply"), playSize, playDataAt, "DATA"));
        const ValidationReport report = rig.report();
        const PlayEntry& play = report.plays.at(0);
        QCOMPARE(brief(play), expected);
        QCOMPARE(play.bytes, std::optional<qint64>(playSize));
        QCOMPARE(play.ranges, ranges);
        QVERIFY(play.content.size() <= PlaySearch::kHeldBytes);
        QVERIFY(play.nearestContent.size() <= PlaySearch::kHeldBytes);
        const SearchCounts& search = report.counts.search;
        QVERIFY2(search.playBytesRead + search.bytesRead < 4 << 20,
                 qPrintable(QString::number(search.playBytesRead)));
    }

    // The report finds files as the run's candidate index does: letter case (an exact name
    // first), Windows-1252 plan bytes, no "/" separators; a file named by candidates and found in
    // the library is one file, read once.
    void entriesNameFilesAsTheRunNamesThem() {
        ReportRig rig;
        const QByteArray draw = playBytes(800, 31), upper = playBytes(800, 32),
                         lower = playBytes(800, 33), quote = playBytes(800, 34),
                         sweep = playBytes(800, 35);
        const QString quoted = QString::fromUtf8("VPNFL\\Off\\Draw\u2019s.ply");
        rig.file("VPNFL/Off/Draw3.ply", draw);
        const bool twins = !test::onWindows; // names equal but for case are one file there
        if (twins)
            rig.file("VPNFL/A.ply", upper);
        rig.file("VPNFL/a.ply", lower);
        rig.file(QString::fromUtf8("VPNFL/Off/Draw\u2019s.ply"), quote);
        rig.file("VPNFL/Off/Sweep.ply", sweep);
        rig.plans("VPNFL\\OFF\\draw3.ply,VPNFL\\a.ply", "VPNFL\\Off\\Draw\x92s.ply", "",
                  "VPNFL/Off/Sweep.ply");
        rig.capture(0, changed(draw, {300}));
        rig.capture(1, changed(lower, {300}));
        rig.capture(2, changed(quote, {300}));
        rig.capture(3, sweep); // named only with "/": not a candidate, so not identified
        rig.capture(4, quote); // named in Windows-1252: identified
        const ValidationReport report = rig.report();
        QCOMPARE(briefs(report),
                 QStringList({"modified VPNFL\\OFF\\draw3.ply 1", "modified VPNFL\\a.ply 1",
                              "modified " + quoted + " 1", "not-in-plans VPNFL\\Off\\Sweep.ply",
                              "identified Def1"}));
        QCOMPARE(report.plays[4].outcome, quoted);
        QCOMPARE(report.counts.candidateFiles, 3);
        QCOMPARE(report.counts.libraryFiles, twins ? 5 : 4);
        const SearchCounts& search = report.counts.search;
        QCOMPARE(search.filesRead + search.filesSkipped + search.readFailures,
                 report.counts.libraryFiles);
    }
};

QTEST_GUILESS_MAIN(ReportSearchTest)
#include "tst_reportsearch.moc"
