#include "report/reportwriters.h"
#include "reportrig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// RFC 4180 read strictly: every record ends in CRLF; a field is plain (no comma, quote, CR or
// LF) or quoted with its quotes doubled. Anything else is not CSV.
std::optional<QList<QStringList>> parseCsv(const QByteArray& text) {
    QList<QStringList> records;
    QStringList record;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        QByteArray field;
        if (text[i] == '"') {
            for (++i;; ++i) {
                if (i >= n)
                    return std::nullopt;
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                field += text[i];
            }
            ++i;
        } else {
            for (; i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n'; ++i) {
                if (text[i] == '"')
                    return std::nullopt;
                field += text[i];
            }
        }
        record << QString::fromUtf8(field);
        if (i < n && text[i] == ',') {
            ++i;
            if (i == n)
                return std::nullopt;
        } else if (i + 1 < n && text[i] == '\r' && text[i + 1] == '\n') {
            i += 2;
            records << record;
            record.clear();
        } else {
            return std::nullopt;
        }
    }
    return records;
}

// A library name that needs quoting: a comma, quotes and a line break where the file system
// allows them; Windows allows only the comma.
const QString oddName = test::onWindows ? QStringLiteral("Run, Left's Two.ply")
                                        : QStringLiteral("Run, \"Left\"\nTwo.ply");

// A game with one play of each verdict, and library names that need quoting.
struct MixedGame : ReportRig {
    QByteArray draw = playBytes(600, 1);
    QByteArray odd = playBytes(300, 2);
    QByteArray cafe = playBytes(300, 3);

    MixedGame() {
        file("VPNFL/Off/Draw3.ply", draw);
        file("VPNFL/Odd/" + oddName, odd);
        file("VPNFL/Odd/Caf\u00e9.ply", cafe);
        plans("\"VPNFL\\Off\\Draw3.ply\"", "", "", "VPNFL\\Off\\Draw3.ply");
        capture(0, draw);                   // identified
        capture(1, odd.left(250));          // not in the plans, a name with , " and a line break
        capture(2, changed(cafe, {9, 10})); // modified
        capture(3, playBytes(300, 4));      // unknown
        capture(4, "");                     // empty; 5 is missing
        capture(6, draw.left(10));          // identified as well
    }
};

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run runValidate(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(HUDDLEX_VALIDATE_PATH), arguments);
    process.waitForFinished(60'000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class ReportFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void jsonParsesBackToTheReport() {
        MixedGame game;
        const ValidationReport report = game.report();
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(ReportJson(report), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject root = document.object();
        QCOMPARE(root.keys(), QStringList({"game_folder", "plans", "plays", "unknown"}));
        QCOMPARE(root["game_folder"].toString(), QString("C:\\Sierra\\FBPro97\\"));
        QCOMPARE(root["unknown"].toInteger(), 5);
        const QJsonArray plans = root["plans"].toArray();
        QCOMPARE(plans.size(), 4);
        QCOMPARE(
            plans[3].toObject(),
            QJsonObject(
                {{"slot", "Def2"}, {"file", "XDef2.pln"}, {"loaded", true}, {"plays_named", 1}}));

        const QJsonArray plays = root["plays"].toArray();
        QCOMPARE(plays.size(), 7);
        const QStringList common{"bytes", "capture", "file", "outcome", "verdict"};
        const QList<QStringList> extra{
            {"named_by"}, {"match"}, {"differing_bytes", "nearest", "nearest_bytes", "ranges"},
            {},           {},        {},
            {"named_by"}};
        const QStringList verdicts{"identified", "not-in-plans", "modified",  "unknown",
                                   "empty",      "missing",      "identified"};
        for (int i = 0; i < plays.size(); ++i) {
            const QJsonObject play = plays[i].toObject();
            QStringList keys = common + extra[i];
            keys.sort();
            QCOMPARE(play.keys(), keys);
            QCOMPARE(play["capture"].toInteger(), i);
            QCOMPARE(play["verdict"].toString(), verdicts[i]);
        }
        QCOMPARE(plays[0].toObject()["named_by"].toArray(), QJsonArray({"Off1", "Def2"}));
        QCOMPARE(plays[0].toObject()["outcome"].toString(), QString("VPNFL\\Off\\Draw3.ply"));
        QCOMPARE(plays[1].toObject()["match"].toString(), "VPNFL\\Odd\\" + oddName);
        QCOMPARE(plays[2].toObject()["nearest"].toString(), QString("VPNFL\\Odd\\Caf\u00e9.ply"));
        QCOMPARE(plays[2].toObject()["ranges"].toArray(), QJsonArray({QJsonArray({9, 10})}));
        QCOMPARE(plays[2].toObject()["differing_bytes"].toInteger(), 2);
        QCOMPARE(plays[2].toObject()["nearest_bytes"].toInteger(), 300);
        QVERIFY(plays[5].toObject()["bytes"].isNull());
        QCOMPARE(plays[5].toObject()["file"].toString(), QString("FBplay5.ply"));
        QCOMPARE(plays[4].toObject()["bytes"].toInteger(), 0);
    }

    void csvParsesBackStrictly() {
        MixedGame game;
        const ValidationReport report = game.report();
        const auto records = parseCsv(ReportCsv(report));
        QVERIFY(records);
        QCOMPARE(records->size(), 8);
        QCOMPARE(records->at(0),
                 QStringList({"capture", "file", "bytes", "outcome", "verdict", "named_by", "match",
                              "nearest", "differing_bytes", "nearest_bytes", "ranges"}));
        QCOMPARE(records->at(1), QStringList({"0", "FBplay0.ply", "600", "VPNFL\\Off\\Draw3.ply",
                                              "identified", "Off1 Def2", "", "", "", "", ""}));
        QCOMPARE(records->at(2)[6], "VPNFL\\Odd\\" + oddName);
        QCOMPARE(records->at(3),
                 QStringList({"2", "FBplay2.ply", "300", "Unknown Play", "modified", "", "",
                              "VPNFL\\Odd\\Caf\u00e9.ply", "2", "300", "9-10"}));
        QCOMPARE(records->at(6), QStringList({"5", "FBplay5.ply", "", "Unknown Play", "missing", "",
                                              "", "", "", "", ""}));
        for (const QStringList& record : *records)
            QCOMPARE(record.size(), 11);
    }

    void theStrictReaderRefusesWhatIsNotCsv() {
        for (const QByteArray& bad :
             {QByteArray("a,b\n"), QByteArray("a\"b\r\n"), QByteArray("\"a\"b\r\n"),
              QByteArray("\"a\r\n"), QByteArray("a,b")})
            QVERIFY2(!parseCsv(bad), bad.constData());
        QCOMPARE(*parseCsv("\"a,\"\"b\"\"\r\n\",\r\n"), QList<QStringList>({{"a,\"b\"\r\n", ""}}));
    }

    void theCommandPrintsTheReport() {
        MixedGame game;
        const QString folder = game.game.host();
        const Run json = runValidate({"--report", "json", folder});
        QCOMPARE(json.exitCode, 1); // unknown plays, as without the report
        QJsonParseError error{};
        const QJsonObject root = QJsonDocument::fromJson(json.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(root["game_folder"].toString(), folder);
        QCOMPARE(root["plays"].toArray().size(), 7);
        QCOMPARE(root["plays"].toArray()[2].toObject()["verdict"].toString(), QString("modified"));

        const Run csv = runValidate({"--report", "csv", "--update-log", folder});
        const auto records = parseCsv(csv.out);
        QVERIFY(records);
        QCOMPARE(records->size(), 8);
        QCOMPARE(csv.exitCode, 3); // no play.log to rebuild FBplay.log from, as without

        // The plain lines stay as they were (text, in the platform's line ends); the report's
        // bytes are the format's own everywhere.
        QVERIFY(!csv.out.contains("\r\r"));
        Run plain = runValidate({folder});
        plain.out.replace("\r\n", "\n");
        QVERIFY(plain.out.startsWith(
            "FBplay0.ply\tVPNFL\\Off\\Draw3.ply\nFBplay1.ply\tUnknown Play\n"));
        QVERIFY(plain.out.endsWith("5 Unknown Plays\n"));
    }

    void allIdentifiedExitsZero() {
        ReportRig rig;
        rig.file("VPNFL/A.ply", "play A");
        rig.plans("VPNFL\\A.ply", "", "", "");
        rig.capture(0, "play A");
        const Run run = runValidate({"--report", "csv", rig.game.host()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
    }

    void anUnknownFormatIsAUsageError() {
        ReportRig rig;
        const Run run = runValidate({"--report", "xml", rig.game.host()});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("--report takes json or csv."));
        QCOMPARE(run.out, QByteArray());
    }

    // Python's own parsers, where Python is installed: json, and csv in strict mode.
    void standardParsersReadBothFormats() {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        MixedGame game;
        const ValidationReport report = game.report();
        const char* check = R"(
import csv, io, json, sys
data = sys.stdin.buffer.read().decode("utf-8")
if sys.argv[1] == "json":
    report = json.loads(data)
    print(len(report["plays"]), report["plays"][1]["match"].count("\n"))
else:
    rows = list(csv.reader(io.StringIO(data, newline=""), strict=True))
    print(len(rows) - 1, rows[2][6].count("\n"))
)";
        for (const char* format : {"json", "csv"}) {
            QProcess process;
            process.start(python, {"-c", QString::fromLatin1(check), QString::fromLatin1(format)});
            process.write(QByteArray(format) == "json" ? ReportJson(report) : ReportCsv(report));
            process.closeWriteChannel();
            QVERIFY(process.waitForFinished(30'000));
            QCOMPARE(process.readAllStandardError(), QByteArray());
            QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("7 1"));
        }
    }
};

QTEST_GUILESS_MAIN(ReportFormatsTest)
#include "tst_reportformats.moc"
