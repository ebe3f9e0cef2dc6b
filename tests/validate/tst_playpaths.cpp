#include "validate/fbplan.h"
#include "validate/planreader.h"
#include "validate/playpathlist.h"

#include <QtTest>

using namespace huddlex;

namespace {

// The literal rule: every start position, each followed by a search for the end marker.
QStringList literalExtract(const QByteArray& text, const QByteArray& start, const QByteArray& end) {
    QStringList list;
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        if (pos + start.size() <= text.size() && text.mid(pos, start.size()) == start) {
            const qsizetype len = PlayPathLength(text, pos + start.size(), end.size(), pos, end);
            if (len > 0)
                list << QString::fromLatin1(text.mid(pos, len));
            pos += start.size();
        }
    }
    return list;
}

} // namespace

class PlayPathsTest : public QObject {
    Q_OBJECT
private slots:
    void extractsPaths_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no start marker")
            << QByteArray("hello.ply world") << QByteArray("VPNFL") << QStringList{};
        QTest::newRow("no .ply after the marker")
            << QByteArray("a.ply VPNFL\\X") << QByteArray("VPNFL") << QStringList{};
        QTest::newRow("one path") << QByteArray("xxVPNFL\\OFF\\A.plyyy") << QByteArray("VPNFL")
                                  << QStringList{"VPNFL\\OFF\\A.ply"};
        QTest::newRow("joined fields")
            << QByteArray("VPNFL\\A.plyVPNFL\\B.ply") << QByteArray("VPNFL")
            << QStringList{"VPNFL\\A.ply", "VPNFL\\B.ply"};
        QTest::newRow("letter case differs")
            << QByteArray("vpnfl\\A.ply VPNFL\\B.PLY") << QByteArray("VPNFL") << QStringList{};
        QTest::newRow("marker inside a path")
            << QByteArray("VPNFL\\VPNFL\\C.ply") << QByteArray("VPNFL")
            << QStringList{"VPNFL\\VPNFL\\C.ply", "VPNFL\\C.ply"};
        QTest::newRow("byte after a marker is never a start")
            << QByteArray("AAA.ply") << QByteArray("A") << QStringList{"AAA.ply", "A.ply"};
        QTest::newRow("path reaches over anything to the first .ply")
            << QByteArray("VPNFL\\x\r\ny .ply.ply") << QByteArray("VPNFL")
            << QStringList{"VPNFL\\x\r\ny .ply"};
        QTest::newRow("empty marker starts at every position")
            << QByteArray("ab.plyc") << QByteArray("") << QStringList{"ab.ply", "b.ply", ".ply"};
        QTest::newRow("empty text") << QByteArray() << QByteArray("") << QStringList{};
        QTest::newRow("high bytes kept") << QByteArray("VPNFL\\\xe9\xff.ply") << QByteArray("VPNFL")
                                         << QStringList{QString::fromLatin1("VPNFL\\\xe9\xff.ply")};
    }
    void extractsPaths() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, start);
        QFETCH(QStringList, expected);
        QCOMPARE(ExtractPlayPaths(text, start, ".ply").toStringList(), expected);
        QCOMPARE(literalExtract(text, start, ".ply"), expected);
    }

    // The one-pass extraction agrees with the literal rule on texts full of near misses.
    void agreesWithTheLiteralRule() {
        QRandomGenerator random(7);
        const char alphabet[] = "VPNF\\.plyx";
        for (int round = 0; round < 300; ++round) {
            QByteArray text;
            const int length = random.bounded(60);
            for (int i = 0; i < length; ++i)
                text += alphabet[random.bounded(int(sizeof alphabet - 1))];
            for (const QByteArray& start :
                 {QByteArray("VPNFL"), QByteArray("V"), QByteArray(), QByteArray("pl")}) {
                QCOMPARE(ExtractPlayPaths(text, start, ".ply").toStringList(),
                         literalExtract(text, start, ".ply"));
            }
        }
    }

    void findsTheEndOfAPath_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("searchPos");
        QTest::addColumn<int>("pathPos");
        QTest::addColumn<int>("expected");
        QTest::newRow("through the end marker") << QByteArray("VPNFL\\A.ply") << 5 << 0 << 11;
        QTest::newRow("none") << QByteArray("VPNFL\\A.pl") << 5 << 0 << 0;
        QTest::newRow("search past the end") << QByteArray("VPNFL") << 5 << 0 << 0;
        QTest::newRow("end marker at the very end") << QByteArray("x.ply") << 0 << 0 << 5;
    }
    void findsTheEndOfAPath() {
        QFETCH(QByteArray, text);
        QFETCH(int, searchPos);
        QFETCH(int, pathPos);
        QFETCH(int, expected);
        QCOMPARE(PlayPathLength(text, searchPos, 4, pathPos, ".ply"), qsizetype(expected));
    }

    void fieldsLoseOnlyTheirSeparators_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("commas and line ends")
            << QByteArray("a,b\r\nc\nd\re,") << QByteArray("abcde");
        QTest::newRow("quotes, blanks and control bytes kept")
            << QByteArray("\"q\", x\t\x1a\xff") << QByteArray("\"q\" x\t\x1a\xff");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void fieldsLoseOnlyTheirSeparators() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        QByteArray planText("old");
        AppendPlanFields(planText, file);
        QCOMPARE(planText, QByteArray("old") + text);
    }

    void joinsThePlanListsInBlockOrder() {
        FBPlan plan;
        QByteArray text = "VPNFL\\A.ply";
        plan.SetOff1Plays(text, "VPNFL", ".ply");
        QVERIFY(!plan.gPlayFiles);
        text += "VPNFL\\B.ply";
        plan.SetDef1Plays(text, "VPNFL", ".ply");
        text += "VPNFL\\C.ply";
        plan.SetOff2Plays(text, "VPNFL", ".ply");
        QVERIFY(!plan.gPlayFiles); // only the last plan rebuilds the candidates
        text += "VPNFL\\D.ply";
        plan.SetDef2Plays(text, "VPNFL", ".ply");
        const QString a = "VPNFL\\A.ply", b = "VPNFL\\B.ply", c = "VPNFL\\C.ply",
                      d = "VPNFL\\D.ply";
        QCOMPARE(plan.gOff1Plays->toStringList(), (QStringList{a}));
        QCOMPARE(plan.gDef1Plays->toStringList(), (QStringList{a, b}));
        QCOMPARE(plan.gOff2Plays->toStringList(), (QStringList{a, b, c}));
        QCOMPARE(plan.gDef2Plays->toStringList(), (QStringList{a, b, c, d}));
        QCOMPARE(plan.gPlayFiles->toStringList(), (QStringList{a, a, b, c, a, b, a, b, c, d}));
        QCOMPARE(plan.gPlayFiles->entry(5), b);
        QCOMPARE(plan.gPlayFiles->at(9), QByteArrayView("VPNFL\\D.ply"));
    }

    // An empty marker on a long text makes about one path per byte; they share the text, so
    // this stays small (16 bytes per path would already be 16 MB here, strings far more).
    void emptyMarkerPathsShareTheText() {
        QByteArray text;
        while (text.size() < 1'000'000)
            text += "VPNFL\\OFFENSE\\RUN" + QByteArray::number(text.size()) + ".ply,";
        QByteArray fields;
        AppendPlanFields(fields, text);
        const PlayPathList list = ExtractPlayPaths(fields, "", ".ply");
        QVERIFY(list.size() > 900'000);
        QCOMPARE(list.at(0), QByteArrayView("VPNFL\\OFFENSE\\RUN0.ply"));
        QCOMPARE(list.at(1), QByteArrayView("PNFL\\OFFENSE\\RUN0.ply"));
    }
};

QTEST_APPLESS_MAIN(PlayPathsTest)
#include "tst_playpaths.moc"
