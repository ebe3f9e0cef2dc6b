#include "report/reportwriters.h"
#include "reportrig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// RFC 4180 read strictly: every record ends in CRLF; a field is plain (no comma, quote, CR or
// LF) or quoted with its quotes doubled. Anything else is not CSV.
std::optional<QList<QStringList>> parseCsv(const QByteArray& bytes) {
    static const QRegularExpression field(R"re((?:"((?:[^"]|"")*)"|([^,"\r\n]*))(,|\r\n))re");
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList record;
    for (qsizetype at = 0; at < text.size();) {
        const QRegularExpressionMatch m =
            field.match(text, at, QRegularExpression::NormalMatch,
                        QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return std::nullopt;
        record << (m.capturedStart(1) >= 0 ? m.captured(1).replace("\"\"", "\"") : m.captured(2));
        at = m.capturedEnd();
        if (m.captured(3) == "\r\n")
            records << std::exchange(record, {});
    }
    return record.isEmpty() ? std::optional(records) : std::nullopt;
}

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

// The mixed game's plays as CSV records: JSON must say the same, each verdict with its own keys.
QList<QStringList> mixedRecords() {
    const QString draw = "VPNFL\\Off\\Draw3.ply", unknown = "Unknown Play";
    return {
        {"0", "FBplay0.ply", "600", draw, "identified", "Off1 Def2", "", "", "", "", "", ""},
        {"1", "FBplay1.ply", "250", unknown, "not-in-plans", "", "VPNFL\\Odd\\" + oddName, "", "",
         "", "", ""},
        {"2", "FBplay2.ply", "300", unknown, "modified", "", "", "VPNFL\\Odd\\Caf\u00e9.ply", "4",
         "300", "9-10 12-12 40-40", ""},
        {"3", "FBplay3.ply", "300", unknown, "unknown", "", "", "", "", "", "", ""},
        {"4", "FBplay4.ply", "0", unknown, "empty", "", "", "", "", "", "", ""},
        {"5", "FBplay5.ply", "", unknown, "missing", "", "", "", "", "", "", ""},
        {"6", "FBplay6.ply", "10", draw, "identified", "Off1 Def2", "", "", "", "", "", ""},
        {"7", "FBplay7.ply", "406", unknown, "modified", "", "", "VPNFL\\Def\\Blitz.ply", "", "400",
         "", "insert:200:200:6 change:350:344:1"},
    };
}

const QStringList kColumns{"capture",         "file",          "bytes",  "outcome",
                           "verdict",         "named_by",      "match",  "nearest",
                           "differing_bytes", "nearest_bytes", "ranges", "edits"};

// A play of the JSON report as a CSV record: lists joined as the CSV joins them.
QStringList asRecord(const QJsonObject& play) {
    QStringList record;
    for (const QString& column : kColumns) {
        const QJsonValue value = play[column];
        QStringList parts;
        for (const QJsonValue& part : value.toArray()) {
            const QJsonObject edit = part.toObject();
            parts << (part.isArray() ? QString("%1-%2")
                                           .arg(part.toArray()[0].toInteger())
                                           .arg(part.toArray()[1].toInteger())
                      : part.isObject() ? QString("%1:%2:%3:%4")
                                              .arg(edit["op"].toString())
                                              .arg(edit["at"].toInteger())
                                              .arg(edit["nearest_at"].toInteger())
                                              .arg(edit["bytes"].toInteger())
                                        : part.toString());
        }
        record << (value.isArray()    ? parts.join(' ')
                   : value.isDouble() ? QString::number(value.toInteger())
                                      : value.toString());
    }
    return record;
}

} // namespace

class ReportFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void jsonAndCsvParseBackToTheReport() {
        MixedGame game;
        const ValidationReport report = game.report();
        QJsonParseError error{};
        const QJsonObject root = QJsonDocument::fromJson(ReportJson(report), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(root.keys(), QStringList({"changed_since_run", "game_folder", "plans", "plays",
                                           "unknown", "unreadable"}));
        QCOMPARE(root["game_folder"].toString(), QString("C:\\Sierra\\FBPro97\\"));
        QCOMPARE(root["unknown"].toInteger(), 6);
        const QJsonArray plans = root["plans"].toArray();
        QCOMPARE(plans.size(), 4);
        QCOMPARE(
            plans[3].toObject(),
            QJsonObject(
                {{"slot", "Def2"}, {"file", "XDef2.pln"}, {"loaded", true}, {"plays_named", 1}}));

        const QList<QStringList> expected = mixedRecords();
        const QJsonArray plays = root["plays"].toArray();
        QCOMPARE(plays.size(), expected.size());
        // A play traced by its edits has its own keys: the distance, and the edits.
        const QHash<QString, QStringList> extra{
            {"identified", {"named_by"}},
            {"not-in-plans", {"match"}},
            {"modified", {"nearest", "differing_bytes", "nearest_bytes", "ranges"}},
            {"modified by edits", {"nearest", "nearest_bytes", "edit_distance", "edits"}}};
        for (int i = 0; i < plays.size(); ++i) {
            const QJsonObject play = plays[i].toObject();
            QCOMPARE(asRecord(play), expected[i]);
            const bool byEdits = !expected[i][11].isEmpty();
            QStringList keys = QStringList{"capture", "file", "bytes", "outcome", "verdict"} +
                               extra.value(expected[i][4] + (byEdits ? " by edits" : ""));
            keys.sort();
            QCOMPARE(play.keys(), keys);
        }
        QCOMPARE(plays[7].toObject()["edit_distance"].toInteger(), 7);
        QVERIFY(plays[5].toObject()["bytes"].isNull());

        const auto records = parseCsv(ReportCsv(report));
        QVERIFY(records);
        QCOMPARE(records->value(0), kColumns);
        QCOMPARE(records->mid(1), expected);

        // A line break alone needs quoting too, and JSON escapes it.
        ValidationReport lineBreak = report;
        lineBreak.plays[3].file = "line\nbreak";
        QCOMPARE(parseCsv(ReportCsv(lineBreak))->at(4)[1], lineBreak.plays[3].file);
        const QJsonDocument json = QJsonDocument::fromJson(ReportJson(lineBreak));
        QCOMPARE(json["plays"][3]["file"].toString(), lineBreak.plays[3].file);
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
        ValidationReport report = game.report();
        report.gameFolder = folder; // the command's game folder is the one it is given
        const Run json = runValidate({"--report", "json", folder});
        QCOMPARE(json.exitCode, 1); // unknown plays, as without the report
        QCOMPARE(json.out, ReportJson(report));
        QCOMPARE(json.err, QByteArray());
        const Run csv = runValidate({"--report", "csv", "--update-log", folder});
        QCOMPARE(csv.exitCode, 3);            // no play.log to rebuild FBplay.log from, as without
        QCOMPARE(csv.out, ReportCsv(report)); // the format's own bytes, not text-mode line ends
        Run plain = runValidate({folder});
        plain.out.replace("\r\n", "\n"); // the plain lines stay text, in the platform's line ends
        QVERIFY(plain.out.startsWith(
            "FBplay0.ply\tVPNFL\\Off\\Draw3.ply\nFBplay1.ply\tUnknown Play\n"));
        QVERIFY(plain.out.endsWith("6 Unknown Plays\n"));
    }

    void allIdentifiedExitsZeroAndAnUnknownFormatIsAUsageError() {
        ReportRig rig;
        rig.file("VPNFL/A.ply", "play A");
        rig.plans("VPNFL\\A.ply", "", "", "");
        rig.capture(0, "play A");
        const Run run = runValidate({"--report", "csv", rig.game.host()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        const Run xml = runValidate({"--report", "xml", rig.game.host()});
        QCOMPARE(xml.exitCode, 2);
        QVERIFY(xml.err.contains("--report takes json or csv."));
        QCOMPARE(xml.out, QByteArray());
    }

    // Python's own parsers, json and csv in strict mode, read both formats back.
    void standardParsersReadBothFormats() {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        const ValidationReport report = MixedGame().report();
        const char* check = R"(
import csv, io, json, sys
data = sys.stdin.buffer.read().decode("utf-8")
if sys.argv[1] == "json":
    plays = json.loads(data)["plays"]
    match = plays[1]["match"]
else:
    plays = list(csv.reader(io.StringIO(data, newline=""), strict=True))[1:]
    match = plays[1][6]
print(len(plays), match == sys.argv[2])
)";
        for (const char* format : {"json", "csv"}) {
            QProcess process;
            process.start(python, {"-c", QString::fromLatin1(check), QString::fromLatin1(format),
                                   "VPNFL\\Odd\\" + oddName});
            process.write(QByteArray(format) == "json" ? ReportJson(report) : ReportCsv(report));
            process.closeWriteChannel();
            QVERIFY(process.waitForFinished(30'000));
            QCOMPARE(process.readAllStandardError(), QByteArray());
            QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("8 True"));
        }
    }
};

QTEST_GUILESS_MAIN(ReportFormatsTest)
#include "tst_reportformats.moc"
