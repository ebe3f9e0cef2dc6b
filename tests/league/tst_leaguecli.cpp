#include "leaguerig.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run validate(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(HUDDLEX_VALIDATE_PATH), arguments);
    process.waitForFinished(120'000);
    Run run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    // A Windows console program ends its text lines as Windows does; reports are bytes.
    if (test::onWindows) {
        run.err.replace("\r\n", "\n");
        if (!arguments.contains("--report"))
            run.out.replace("\r\n", "\n");
    }
    return run;
}

} // namespace

class LeagueCliTest : public QObject {
    Q_OBJECT
private slots:
    void plainOutput() {
        SampleWeek week;
        const Run run =
            validate({"--pool", week.pool, week.at("a-clean.zip"), week.at("b-findings.zip")});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out),
                 QString("Pool %1: holds the main play folder VPNFL, 2 play files\n"
                         "\n"
                         "Game %2\n"
                         "FBplay0.ply\tVPNFL\\Off\\Draw3.ply\n"
                         "FBplay1.ply\tVPNFL\\Def\\Blitz.ply\n"
                         "0 Unknown Plays\n"
                         "\n"
                         "Game %3\n"
                         "FBplay0.ply\tVPNFL\\Off\\Draw3.ply\n"
                         "FBplay1.ply\tUnknown Play\n"
                         "1 Unknown Plays\n"
                         "Plan gap\tXOff1.pln\tVPNFL\\Off\\Gone.ply\n"
                         "\n"
                         "2 games, 2 checked: 1 Unknown Plays, 1 plan gaps, 0 repeated unknown "
                         "plays\n")
                     .arg(week.pool, week.at("a-clean.zip"), week.at("b-findings.zip")));
    }

    void exitStatus_data() {
        QTest::addColumn<QStringList>("games");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::newRow("clean") << QStringList{"a-clean.zip"} << QStringList{} << 0;
        QTest::newRow("findings") << QStringList{"a-clean.zip", "c-folder"} << QStringList{} << 1;
        QTest::newRow("unreadable game") << QStringList{""} << QStringList{} << 4;
        QTest::newRow("no game") << QStringList{} << QStringList{} << 2;
        QTest::newRow("bad format")
            << QStringList{"a-clean.zip"} << QStringList{"--report", "xml"} << 2;
        QTest::newRow("with --update-log")
            << QStringList{"a-clean.zip"} << QStringList{"--update-log"} << 2;
        QTest::newRow("no pool") << QStringList{"a-clean.zip"} << QStringList{"--pool", "/no/pool"}
                                 << 2;
    }
    void exitStatus() {
        QFETCH(QStringList, games);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        SampleWeek week;
        QStringList arguments =
            options.contains("--pool") ? options : options + QStringList{"--pool", week.pool};
        for (const QString& game : games)
            arguments << (game.isEmpty() ? week.week : week.at(game));
        const Run run = validate(arguments);
        QVERIFY2(run.exitCode == status, run.err.constData());
        QVERIFY(!run.err.contains('\r')); // no progress when standard error is no terminal
    }

    // The JSON is one document; each game's plays are exactly the one-game report's for the
    // same files unpacked into a game folder whose play folder is the pool.
    void json() {
        SampleWeek week;
        const Run run = validate({"--pool", week.pool, "--report", "json", week.week});
        QCOMPARE(run.exitCode, 4);
        QJsonParseError error;
        const QJsonObject doc = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(doc["pool"].toObject()["plays"].toInt(), 2);
        const QJsonArray games = doc["games"].toArray();
        QStringList names, states;
        for (const QJsonValue& game : games) {
            names << game["game"].toString();
            states << game["status"].toString();
        }
        QCOMPARE(names, (QStringList{week.at("a-clean.zip"), week.at("b-findings.zip"),
                                     week.at("c-folder"), week.at("d-broken.zip")}));
        QCOMPARE(states, (QStringList{"checked", "checked", "checked", "error"}));
        QVERIFY(games[3]["error"].toString().contains("it is not a zip archive"));
        QCOMPARE(games[1]["plans"][0]["gaps"].toArray(), QJsonArray{"VPNFL\\Off\\Gone.ply"});
        QCOMPARE(doc["repeated"].toArray().size(), 1);
        QCOMPARE(doc["repeated"][0]["games"].toArray(),
                 (QJsonArray{week.at("b-findings.zip"), week.at("c-folder")}));
        QCOMPARE(doc["repeated"][0]["verdict"].toString(), "modified");

        const QString unpacked = week.env.root() + "/unpacked";
        WriteFiles(unpacked, week.findings);
        WriteFiles(unpacked, week.poolFiles);
        const QJsonObject single =
            QJsonDocument::fromJson(validate({"--report", "json", unpacked}).out).object();
        QCOMPARE(games[1]["plays"].toArray(), single["plays"].toArray());
    }

    // CSV read strictly by Python's reader: a header, one record per play, one per game that
    // could not be checked, every record as wide as the header.
    void csv() {
        const QString python = QStandardPaths::findExecutable("python3");
        if (python.isEmpty() || test::onWindows)
            QSKIP("needs python3 on the host to read the CSV");
        SampleWeek week;
        const Run run = validate({"--pool", week.pool, "--report", "csv", week.week});
        QProcess reader;
        reader.start(python, {"-c", "import csv, io, sys\n"
                                    "rows = list(csv.reader(io.TextIOWrapper(sys.stdin.buffer, "
                                    "encoding='utf-8', newline=''), strict=True))\n"
                                    "print(len(rows), sorted({len(r) for r in rows}), "
                                    "[r[0].rsplit('/', 1)[-1] for r in rows[1:]], rows[2][5], "
                                    "rows[-1][-1][:18])"});
        reader.write(run.out);
        reader.closeWriteChannel();
        QVERIFY(reader.waitForFinished(30'000));
        QCOMPARE(reader.readAllStandardError(), QByteArray());
        QCOMPARE(reader.readAllStandardOutput().trimmed(),
                 QByteArray("7 [14] ['a-clean.zip', 'a-clean.zip', 'b-findings.zip', "
                            "'b-findings.zip', 'c-folder', 'd-broken.zip'] identified Cannot read "
                            "\"/tmp/"));
    }
};

QTEST_GUILESS_MAIN(LeagueCliTest)
#include "tst_leaguecli.moc"
