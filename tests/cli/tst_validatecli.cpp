#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using huddlex::test::TempEnvironment;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run runCommand(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(HUDDLEX_VALIDATE_PATH), arguments);
    process.waitForFinished(60'000);
    Run run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    // A Windows console program ends its lines as Windows does.
    if (huddlex::test::onWindows) {
        run.out.replace("\r\n", "\n");
        run.err.replace("\r\n", "\n");
    }
    return run;
}

// A game folder outside any Wine drive, written in letter cases that differ from the plans'.
struct League {
    TempEnvironment env;
    QString folder = env.root() + QStringLiteral("/league game");

    League() {
        write("xferbox/xoff1.pln", "\"VPNFL\\OFF\\SWEEP.ply\",\"VPNFL\\DEF\\BLITZ.ply\"\r\n");
        write("xferbox/XDef1.pln", "");
        write("xferbox/XOff2.pln", "LIB\\OTHER.ply\r\n");
        write("xferbox/XDef2.pln", "");
        write("vpnfl/off/sweep.PLY", "sweep bytes");
        write("vpnfl/def/blitz.ply", "blitz bytes");
        write("lib/other.ply", "other bytes");
        write("xferbox/FBplay0.ply", "blitz bytes");
        write("xferbox/FBplay1.ply", "sweep");
    }
    void write(const QString& name, const QByteArray& data) const {
        const QString path = folder + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QByteArray read(const QString& name) const {
        return TempEnvironment::readHostFile(folder + QLatin1Char('/') + name);
    }
};

} // namespace

class ValidateCliTest : public QObject {
    Q_OBJECT
private slots:
    void identifiesEveryCapturedPlay() {
        League league;
        const Run run = runCommand({league.folder});
        QCOMPARE(run.out, QByteArray("FBplay0.ply\tVPNFL\\DEF\\BLITZ.ply\n"
                                     "FBplay1.ply\tVPNFL\\OFF\\SWEEP.ply\n"
                                     "0 Unknown Plays\n"));
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!QFile::exists(league.folder + "/FBplay.log"));
    }

    void playFolderOption_data() {
        QTest::addColumn<QStringList>("option");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("default") << QStringList{}
                                 << QByteArray("FBplay0.ply\tVPNFL\\DEF\\BLITZ.ply\n"
                                               "FBplay1.ply\tUnknown Play\n1 Unknown Plays\n");
        QTest::newRow("another folder")
            << QStringList{"--play-folder", "LIB"}
            << QByteArray("FBplay0.ply\tUnknown Play\nFBplay1.ply\tLIB\\OTHER.ply\n"
                          "1 Unknown Plays\n");
        QTest::newRow("empty marker")
            << QStringList{"--play-folder", ""}
            << QByteArray("FBplay0.ply\tVPNFL\\DEF\\BLITZ.ply\nFBplay1.ply\tLIB\\OTHER.ply\n"
                          "0 Unknown Plays\n");
    }
    void playFolderOption() {
        QFETCH(QStringList, option);
        QFETCH(QByteArray, out);
        League league;
        league.write("xferbox/FBplay1.ply", "other");
        const Run run = runCommand(option + QStringList{league.folder});
        QCOMPARE(run.out, out);
    }

    void unknownPlaysAndMissingPlans() {
        League league;
        QFile::remove(league.folder + "/xferbox/XDef2.pln");
        const Run run = runCommand({league.folder});
        QCOMPARE(run.err, QByteArray("Missing Game Plan\n"));
        QCOMPARE(run.out, QByteArray("FBplay0.ply\tUnknown Play\nFBplay1.ply\tUnknown Play\n"
                                     "2 Unknown Plays\n"));
        QCOMPARE(run.exitCode, 1);
    }

    void updatesThePlayLog() {
        League league;
        league.write("PLAY.LOG", "kick\r\nFBPlay~1 run\r\nFBPlay~2 pass\r\n");
        Run run = runCommand({"--update-log", league.folder});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(league.read("FBplay.log"), QByteArray("kick\r\nBLITZ  run\r\nSWEEP  pass\r\n"));

        QFile::remove(league.folder + "/PLAY.LOG");
        run = runCommand({"--update-log", league.folder});
        QCOMPARE(run.err, QByteArray("The play.log does not exist\n"));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(league.read("FBplay.log"), QByteArray("kick\r\nBLITZ  run\r\nSWEEP  pass\r\n"));
    }

    void usage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("no folder") << QStringList{} << 2;
        QTest::newRow("two folders") << QStringList{"/tmp", "/tmp"} << 2;
        QTest::newRow("unknown option") << QStringList{"--fast", "/tmp"} << 2;
        QTest::newRow("missing folder") << QStringList{"/no/such/game/folder"} << 2;
    }
    void usage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const Run run = runCommand(arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QByteArray text = exitCode == 0 ? run.out : run.err;
        QVERIFY2(text.contains(exitCode == 0 || arguments.size() != 1 || arguments[0] == "--help"
                                   ? "Usage: huddlex-validate"
                                   : "does not exist"),
                 text.constData());
    }
};

QTEST_GUILESS_MAIN(ValidateCliTest)
#include "tst_validatecli.moc"
