#include "report/reportwriters.h"
#include "reportrig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
        {"0", "FBplay0.ply", "600", draw, "identified", "Off1 Def2", "", "", "", "", ""},
        {"1", "FBplay1.ply", "250", unknown, "not-in-plans", "", "VPNFL\\Odd\\" + oddName, "", "",
         "", ""},
        {"2", "FBplay2.ply", "300", unknown, "modified", "", "", "VPNFL\\Odd\\Caf\u00e9.ply", "3",
         "300", "9-10 40-40"},
        {"3", "FBplay3.ply", "300", unknown, "unknown", "", "", "", "", "", ""},
        {"4", "FBplay4.ply", "0", unknown, "empty", "", "", "", "", "", ""},
        {"5", "FBplay5.ply", "", unknown, "missing", "", "", "", "", "", ""},
        {"6", "FBplay6.ply", "10", draw, "identified", "Off1 Def2", "", "", "", "", ""},
    };
}

const QStringList kColumns{"capture",         "file",          "bytes", "outcome",
                           "verdict",         "named_by",      "match", "nearest",
                           "differing_bytes", "nearest_bytes", "ranges"};

// A play of the JSON report as a CSV record: lists joined as the CSV joins them.
QStringList asRecord(const QJsonObject& play) {
    QStringList record;
    for (const QString& column : kColumns) {
        const QJsonValue value = play[column];
        QStringList parts;
        for (const QJsonValue& part : value.toArray())
            parts << (part.isArray() ? QString("%1-%2")
                                           .arg(part.toArray()[0].toInteger())
                                           .arg(part.toArray()[1].toInteger())
                                     : part.toString());
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
        QCOMPARE(root.keys(), QStringList({"game_folder", "plans", "plays", "unknown"}));
        QCOMPARE(root["game_folder"].toString(), QString("C:\\Sierra\\FBPro97\\"));
        QCOMPARE(root["unknown"].toInteger(), 5);
        const QJsonArray plans = root["plans"].toArray();
        QCOMPARE(plans.size(), 4);
        QCOMPARE(
            plans[3].toObject(),
            QJsonObject(
                {{"slot", "Def2"}, {"file", "XDef2.pln"}, {"loaded", true}, {"plays_named", 1}}));

        const QList<QStringList> expected = mixedRecords();
        const QJsonArray plays = root["plays"].toArray();
        QCOMPARE(plays.size(), expected.size());
        const QHash<QString, QStringList> extra{
            {"identified", {"named_by"}},
            {"not-in-plans", {"match"}},
            {"modified", {"nearest", "differing_bytes", "nearest_bytes", "ranges"}}};
        for (int i = 0; i < plays.size(); ++i) {
            const QJsonObject play = plays[i].toObject();
            QCOMPARE(asRecord(play), expected[i]);
            QStringList keys = QStringList{"capture", "file", "bytes", "outcome", "verdict"} +
                               extra.value(expected[i][4]);
            keys.sort();
            QCOMPARE(play.keys(), keys);
        }
        QVERIFY(plays[5].toObject()["bytes"].isNull());

        const auto records = parseCsv(ReportCsv(report));
        QVERIFY(records);
        QCOMPARE(records->value(0), kColumns);
        QCOMPARE(records->mid(1), expected);
    }

    void theStrictReaderRefusesWhatIsNotCsv() {
        for (const QByteArray& bad :
             {QByteArray("a,b\n"), QByteArray("a\"b\r\n"), QByteArray("\"a\"b\r\n"),
              QByteArray("\"a\r\n"), QByteArray("a,b")})
            QVERIFY2(!parseCsv(bad), bad.constData());
        QCOMPARE(*parseCsv("\"a,\"\"b\"\"\r\n\",\r\n"), QList<QStringList>({{"a,\"b\"\r\n", ""}}));
    }

    // The command's output and exit status: as without the report, 1 for unknown plays and 3
    // for no play.log to rebuild FBplay.log from.
    void theCommandPrintsTheReport_data() {
        QTest::addColumn<bool>("mixed"); // the mixed game, or one whose play is identified
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // "json", "csv", "plain" or "none"
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("json") << true << QStringList{"--report", "json"} << 1 << "json"
                              << QByteArray();
        QTest::newRow("csv with --update-log")
            << true << QStringList{"--report", "csv", "--update-log"} << 3 << "csv"
            << QByteArray("play.log");
        QTest::newRow("no report") << true << QStringList{} << 1 << "plain" << QByteArray();
        QTest::newRow("all identified")
            << false << QStringList{"--report", "csv"} << 0 << "csv" << QByteArray();
        QTest::newRow("an unknown format") << false << QStringList{"--report", "xml"} << 2 << "none"
                                           << QByteArray("--report takes json or csv.");
    }
    void theCommandPrintsTheReport() {
        QFETCH(bool, mixed);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QByteArray, error);
        std::unique_ptr<ReportRig> rig = mixed ? std::make_unique<MixedGame>() : nullptr;
        if (!rig) {
            rig = std::make_unique<ReportRig>();
            rig->file("VPNFL/A.ply", "play A");
            rig->plans("VPNFL\\A.ply", "", "", "");
            rig->capture(0, "play A");
        }
        const QString folder = rig->game.host();
        Run run = runValidate(arguments << folder);
        QCOMPARE(run.exitCode, exitCode);
        if (error.isEmpty())
            QCOMPARE(run.err, QByteArray());
        QVERIFY2(run.err.contains(error), run.err.constData());
        const qsizetype plays = mixed ? 7 : 1;
        if (output == "json") {
            QJsonParseError parsed{};
            const QJsonObject root = QJsonDocument::fromJson(run.out, &parsed).object();
            QCOMPARE(parsed.error, QJsonParseError::NoError);
            QCOMPARE(root["game_folder"].toString(), folder);
            QCOMPARE(root["plays"].toArray().size(), plays);
        } else if (output == "csv") {
            // The format's own bytes everywhere: no text-mode line ends.
            const auto records = parseCsv(run.out);
            QVERIFY(records);
            QCOMPARE(records->size(), plays + 1);
        } else if (output == "plain") {
            // The plain lines stay as they were: text, in the platform's line ends.
            run.out.replace("\r\n", "\n");
            QVERIFY(run.out.startsWith(
                "FBplay0.ply\tVPNFL\\Off\\Draw3.ply\nFBplay1.ply\tUnknown Play\n"));
            QVERIFY(run.out.endsWith("5 Unknown Plays\n"));
        } else {
            QCOMPARE(run.out, QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(ReportFormatsTest)
#include "tst_reportformats.moc"
