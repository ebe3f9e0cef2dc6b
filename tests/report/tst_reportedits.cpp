#include "report/editbounds.h"
#include "report/editscript.h"
#include "reportrig.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

using Setup = std::function<void(ReportRig&)>;

namespace {

// The definition restated: Levenshtein distance on bytes, row by row.
qint64 levenshtein(QByteArrayView a, QByteArrayView b) {
    std::vector<qint64> row(size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), qint64(0));
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qint64 diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qint64 above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j) - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// Whether `edits` align the two as a script must: every byte of each once, in order, and the
// bytes it leaves alone equal.
bool aligns(const QList<EditRun>& edits, QByteArrayView play, QByteArrayView nearest) {
    qint64 at = 0, nearestAt = 0;
    for (const AlignedColumn& column : AlignedColumns(edits, play.size(), nearest.size())) {
        if ((column.play >= 0 && column.play != at++) ||
            (column.nearest >= 0 && column.nearest != nearestAt++))
            return false;
        if (!column.edited &&
            (column.play < 0 || column.nearest < 0 || play[column.play] != nearest[column.nearest]))
            return false;
    }
    return at == play.size() && nearestAt == nearest.size();
}

// A play made from `from` by a few random runs of each kind, or now and then unrelated.
QByteArray edited(QRandomGenerator& random, QByteArray from, int round) {
    if (random.bounded(8) == 0)
        return playBytes(int(random.bounded(int(from.size()) + 50)), -round);
    for (int run = int(random.bounded(5)); run > 0; --run) {
        const int at = int(random.bounded(int(from.size()) + 1));
        const int n = 1 + int(random.bounded(12));
        switch (random.bounded(3)) {
        case 0:
            from = inserted(from, at, n, round * 7 + run);
            break;
        case 1:
            from = removed(from, at, n);
            break;
        default:
            for (int i = at; i < std::min<int>(at + n, int(from.size())); ++i)
                from[i] = char(from[i] ^ 0x5a);
        }
    }
    return from;
}

} // namespace

class ReportEditsTest : public QObject {
    Q_OBJECT
private slots:
    // Distances, scripts and lower bounds against the definition, on plays edited at random:
    // short ones, and long ones that the anchored script splits into pieces.
    void scriptsAndBoundsFollowTheDefinition() {
        QRandomGenerator random(21);
        for (int round = 0; round < 400; ++round) {
            const int size =
                round % 8 == 0 ? 600 + int(random.bounded(900)) : int(random.bounded(200));
            const QByteArray nearest = playBytes(size, round);
            const QByteArray play = edited(random, nearest, round);
            const qint64 distance = levenshtein(play, nearest);
            const qint64 limit = random.bounded(qint64(60));
            QCOMPARE(EditDistance(play, nearest, limit), distance <= limit ? distance : -1);

            const QList<EditRun> shortest = ShortestScript(play, nearest, distance);
            QVERIFY(aligns(shortest, play, nearest));
            QCOMPARE(ScriptCost(shortest), distance);
            const QList<EditRun> anchored = AnchoredScript(play, nearest);
            QVERIFY(aligns(anchored, play, nearest));
            QVERIFY(ScriptCost(anchored) >= distance);

            QVERIFY(CountsBound(CountBytes(play), CountBytes(nearest)) <= distance);
            PairSet pairs;
            pairs.fill(nearest);
            QVERIFY(MissingPairs(play, pairs, distance) <= distance);
        }
    }

    // Families of plays edited from one another: what the report traces by edits is the first
    // of the library plays nearest by the definition, within a quarter of the play.
    void theSearchFindsTheFirstNearestPlay() {
        QRandomGenerator random(1998);
        for (int round = 0; round < 25; ++round) {
            ReportRig rig;
            const QByteArray base = playBytes(80 + int(random.bounded(300)), round);
            QList<QByteArray> library;
            for (int f = 0; f < 6; ++f) {
                library << edited(random, base, round * 10 + f);
                rig.file(QString("VPNFL/P%1.ply").arg(f), library.back());
            }
            QList<QByteArray> captured;
            for (int n = 0; n < 4; ++n) {
                captured << edited(random, library[random.bounded(6)], round * 10 + n);
                rig.capture(n, captured.back());
            }
            const ValidationReport report = rig.report();
            for (const PlayEntry& play : report.plays) {
                if (play.verdict != Verdict::Unknown && play.edits.isEmpty())
                    continue; // decided position by position
                const QByteArray& bytes = captured[play.capture];
                qint64 best = -1;
                int nearest = -1;
                for (int f = 0; f < library.size(); ++f) {
                    const qint64 d = levenshtein(bytes, library[f]);
                    if (4 * d <= bytes.size() && (best < 0 || d < best)) {
                        best = d;
                        nearest = f;
                    }
                }
                QCOMPARE(brief(play),
                         nearest < 0
                             ? QString("unknown")
                             : QString("modified VPNFL\\P%1.ply %2").arg(nearest).arg(best));
            }
        }
    }

    // Both searches try every file: one that cannot be read is counted once, and left out.
    void anUnreadableFileIsCountedOnceAndLeftOut() {
        ReportRig rig;
        const QByteArray a = playBytes(400, 1);
        rig.file("VPNFL/A.ply", a);
        rig.file("VPNFL/B.ply", changed(a, {7}));
        rig.capture(0, inserted(a, 100, 6));
        rig.denied << rig.game.hostFile("VPNFL/A.ply");
        const ValidationReport report = rig.report();
        QCOMPARE(
            editsBrief(report.plays[0]),
            QString("Modified B: 6 bytes inserted, 1 changed | change 7 7 1, insert 100 100 6"));
        QCOMPARE(report.counts.search.readFailures, 1);
        QCOMPARE(report.counts.edits.readFailures, 1);
        QCOMPARE(report.counts.unreadableFiles(), 1);
    }

    // One row per kind of edit; each play's verdict in words and its edits.
    void edits_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("expected");
        const QByteArray a = playBytes(400, 1), b = playBytes(300, 2);
        QTest::newRow("inserted at the start, in the middle; at the end is an extension")
            << Setup([a](ReportRig& rig) {
                   rig.file("VPNFL/A.ply", a);
                   rig.capture(0, inserted(a, 0, 6));
                   rig.capture(1, inserted(a, 200, 1));
                   rig.capture(2, a + "sixsix");
               })
            << QStringList{"Modified A: 6 bytes inserted | insert 0 0 6",
                           "Modified A: 1 byte inserted | insert 200 200 1",
                           "Modified A: 6 of 406 bytes differ"};
        QTest::newRow("removed at the start, in the middle; at the end the start of a play")
            << Setup([a](ReportRig& rig) {
                   rig.file("VPNFL/A.ply", a);
                   rig.capture(0, removed(a, 0, 6));
                   rig.capture(1, removed(a, 200, 1));
                   rig.capture(2, a.left(394));
               })
            << QStringList{"Modified A: 6 bytes removed | delete 0 0 6",
                           "Modified A: 1 byte removed | delete 200 200 1", "Not in the plans: A"};
        QTest::newRow("changed in place stays position by position; several kinds at once")
            << Setup([a](ReportRig& rig) {
                   rig.file("VPNFL/A.ply", a);
                   rig.capture(0, changed(a, {5, 200}));
                   rig.capture(1, changed(removed(inserted(a, 50, 3), 153, 4), {299, 390}));
               })
            << QStringList{"Modified A: 2 of 400 bytes differ",
                           "Modified A: 3 bytes inserted, 4 removed, 2 changed | insert 50 50 3, "
                           "delete 153 150 4, change 299 300 1, change 390 391 1"};
        // 100 bytes put into 300 make 400: 4 x 100 <= 400. One more is beyond.
        QTest::newRow("within the bound, and one byte beyond it") << Setup([b](ReportRig& rig) {
            rig.file("VPNFL/B.ply", b);
            rig.capture(0, inserted(b, 150, 100));
            rig.capture(1, inserted(b, 150, 101));
        }) << QStringList{"Modified B: 100 bytes inserted | insert 150 150 100", "Unknown"};
        const QByteArray c = playBytes(300, 3);
        QTest::newRow("the nearest wins; ties go to the plans' files, then to library order")
            << Setup([a, b, c](ReportRig& rig) {
                   rig.file("VPNFL/A/Farther.ply", changed(a, {10, 20}));
                   rig.file("VPNFL/B/Nearer.ply", a);
                   rig.file("VPNFL/C/Twin1.ply", b);
                   rig.file("VPNFL/D/Twin0.ply", b);
                   rig.file("VPNFL/0/Same.ply", c);
                   rig.file("VPNFL/E/Named.ply", c);
                   rig.plans("VPNFL\\E\\Named.ply", "", "", "");
                   rig.capture(0, inserted(a, 100, 6));
                   rig.capture(1, inserted(b, 100, 5));
                   rig.capture(2, inserted(c, 100, 6));
               })
            << QStringList{"Modified Nearer: 6 bytes inserted | insert 100 100 6",
                           "Modified Twin1: 5 bytes inserted | insert 100 100 5",
                           "Modified Named: 6 bytes inserted | insert 100 100 6"};
        // Longer than the report holds: compared position by position only.
        const QByteArray big = playBytes(int(EditSearch::kMaxPlayBytes), 4);
        QTest::newRow("a play longer than the report holds") << Setup([big](ReportRig& rig) {
            rig.file("VPNFL/Big.ply", big);
            rig.capture(0, inserted(big, 1000, 6));
            rig.capture(1, removed(big, 1000, 6));
        }) << QStringList{"Unknown", "Modified Big: 6 bytes removed | delete 1000 1000 6"};
    }
    void edits() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, expected);
        ReportRig rig;
        setup(rig);
        const ValidationReport report = rig.report();
        QStringList got;
        for (const PlayEntry& play : report.plays) {
            got << editsBrief(play);
            if (!play.edits.isEmpty()) {
                QVERIFY(aligns(play.edits, play.content, play.nearestContent));
                QCOMPARE(play.editDistance, ScriptCost(play.edits));
                QCOMPARE(play.nearestBytes, play.nearestContent.size());
            }
        }
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(ReportEditsTest)
#include "tst_reportedits.moc"
