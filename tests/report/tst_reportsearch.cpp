#include "fs/faults.h"
#include "report/nearestplay.h"
#include "reportrig.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// The definitions, restated position by position.
qint64 differingBelowShorter(const QByteArray& a, const QByteArray& b) {
    qint64 count = 0;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        count += a[i] != b[i];
    return count;
}

QList<ByteRange> runsByHand(const QByteArray& a, const QByteArray& b) {
    QList<ByteRange> runs;
    const qsizetype shorter = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < shorter; ++i) {
        if (a[i] == b[i])
            continue;
        qsizetype j = i;
        while (j + 1 < shorter && a[j + 1] != b[j + 1])
            ++j;
        runs.append({i, j});
        i = j;
    }
    if (a.size() != b.size())
        runs.append({shorter, std::max(a.size(), b.size()) - 1});
    return runs;
}

// Counts the reads of each host file while a report is built.
struct ReadCounter {
    QHash<QString, int> reads;
    ReadCounter() {
        fs::faults::setHook(
            [this](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
                if (op == fs::faults::Op::Read)
                    ++reads[host];
                return std::nullopt;
            });
    }
    ~ReadCounter() { fs::faults::clearHook(); }
};

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

            const qint64 differing = differingBelowShorter(a, b);
            QCOMPARE(PlayDistance(a, b), differing + std::abs(a.size() - b.size()));
            const qint64 limit = random.bounded(100);
            QCOMPARE(CountDiffering(a, b, limit), std::min(differing, limit));
            QCOMPARE(DifferingRanges(a, b.left(a.size()), b.size()), runsByHand(a, b));
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
        ReadCounter counter;
        const ValidationReport report = rig.report();

        QCOMPARE(report.counts.candidateFiles, 1);
        QCOMPARE(report.counts.libraryFiles, 20);
        // The long files are read only as far as the plays reach, to see whether a play begins
        // them; the short ones are too short for that and too far in length to be near.
        QCOMPARE(report.counts.search.filesRead, 10);
        QCOMPARE(report.counts.search.bytesRead, 10 * 200);
        QCOMPARE(report.counts.search.filesSkipped, 10);
        // Identification reads L3 once of its own; the report once more, and nothing twice.
        for (int i = 0; i < 10; ++i) {
            const QString host = rig.game.hostFile(QString("VPNFL/Long/L%1.ply").arg(i));
            QCOMPARE(counter.reads.value(host), i == 3 ? 2 : 1);
            QCOMPARE(counter.reads.value(rig.game.hostFile(QString("VPNFL/Short/S%1.ply").arg(i))),
                     0);
        }
        for (int n = 0; n < 3; ++n)
            QCOMPARE(report.plays[n].verdict, Verdict::Unknown);
    }

    void filesFarFromTheBestSoFarAreNeverRead() {
        ReportRig rig;
        const QByteArray origin = playBytes(1000, 42);
        rig.file("VPNFL/A/Origin.ply", origin);
        for (int i = 0; i < 20; ++i) // near in length at first, far once the origin is found
            rig.file(QString("VPNFL/B/Other%1.ply").arg(i), playBytes(990, i));
        rig.capture(0, changed(origin, {5}));
        const ValidationReport report = rig.report();
        QCOMPARE(report.plays[0].verdict, Verdict::Modified);
        QCOMPARE(report.plays[0].nearest, QString("VPNFL\\A\\Origin.ply"));
        QCOMPARE(report.counts.search.filesRead, 1);
        QCOMPARE(report.counts.search.filesSkipped, 20);
    }

    void unreadableLibraryFilesAreCountedAndLeftOut() {
        ReportRig rig;
        const QByteArray play = playBytes(300, 7);
        rig.file("VPNFL/A/First.ply", play);
        rig.file("VPNFL/B/Second.ply", play + "more");
        rig.capture(0, play);
        const QString first = rig.game.hostFile("VPNFL/A/First.ply");
        fs::faults::setHook(
            [&](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
                if (op == fs::faults::Op::Read && host == first)
                    return fs::Error{fs::ErrorKind::AccessDenied, {}};
                return std::nullopt;
            });
        const ValidationReport report = rig.report();
        fs::faults::clearHook();
        QCOMPARE(report.counts.search.readFailures, 1);
        QCOMPARE(report.plays[0].match, QString("VPNFL\\B\\Second.ply"));
    }

    void nothingIsScannedWhenEveryPlayIsNamed() {
        ReportRig rig;
        rig.file("VPNFL/A.ply", "play A");
        rig.plans("VPNFL\\A.ply", "", "", "");
        rig.capture(0, "play A");
        ReadCounter counter;
        const ValidationReport report = rig.report();
        QCOMPARE(report.plays[0].verdict, Verdict::Identified);
        QCOMPARE(report.counts.libraryFiles, 0);
        QCOMPARE(report.counts.search.filesRead, 0);
        QCOMPARE(report.counts.capturesRead, 0);
    }
};

QTEST_GUILESS_MAIN(ReportSearchTest)
#include "tst_reportsearch.moc"
