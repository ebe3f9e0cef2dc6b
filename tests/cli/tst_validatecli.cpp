#include "cli/validatecommand.h"
#include "fs/faults.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>

using namespace huddlex;
using huddlex::test::TempEnvironment;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

enum class Output { Read, DevFull, ReaderGone };

Run runCommand(const QStringList& arguments, Output output = Output::Read) {
    QProcess process;
    if (output == Output::DevFull)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (output == Output::ReaderGone) {
        // A reader that takes one byte and goes; the command's own status comes back on
        // standard error (128 + 13 when SIGPIPE ends it).
        process.start("bash", QStringList{"-c",
                                          "\"$0\" \"$@\" | head -c 1 >/dev/null; "
                                          "echo \"status=${PIPESTATUS[0]}\" >&2",
                                          HUDDLEX_VALIDATE_PATH} +
                                  arguments);
    } else {
        process.start(QStringLiteral(HUDDLEX_VALIDATE_PATH), arguments);
    }
    process.waitForFinished(60'000);
    Run run{process.exitCode(), {}, process.readAllStandardError()};
    if (output == Output::Read)
        run.out = process.readAllStandardOutput();
    // A Windows console program ends its lines as Windows does.
    if (huddlex::test::onWindows) {
        run.out.replace("\r\n", "\n");
        run.err.replace("\r\n", "\n");
    }
    if (output == Output::ReaderGone) {
        const qsizetype at = run.err.lastIndexOf("status=");
        run.exitCode = at < 0 ? -1 : run.err.mid(at + 7).trimmed().toInt();
        run.err.truncate(std::max<qsizetype>(at, 0));
    }
    return run;
}

// The command in this process, where the fs layer's test seam reaches it.
Run runInProcess(const QStringList& arguments) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Run run;
    run.exitCode =
        huddlex::runValidateCommand(QStringList{"huddlex-validate"} + arguments, out, err);
    for (auto [file, bytes] : {std::pair{out, &run.out}, std::pair{err, &run.err}}) {
        std::rewind(file);
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes->append(buffer, qsizetype(n));
        std::fclose(file);
    }
    return run;
}

// Sets a folder's permission bits for the scope.
struct Permissions {
    QString path;
    Permissions(QString p, mode_t mode) : path(std::move(p)) { ::chmod(qPrintable(path), mode); }
    ~Permissions() { ::chmod(qPrintable(path), 0755); }
};

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

    // Plays judged without the plans are listed, but the status says the plans were not read.
    void unknownPlaysAndMissingPlans() {
        League league;
        QFile::remove(league.folder + "/xferbox/XDef2.pln");
        const Run run = runCommand({league.folder});
        QCOMPARE(run.err, QByteArray("Missing Game Plan\n"));
        QCOMPARE(run.out, QByteArray("FBplay0.ply\tUnknown Play\nFBplay1.ply\tUnknown Play\n"
                                     "2 Unknown Plays\n"));
        QCOMPARE(run.exitCode, 4);
    }

    // Exit 0 means the plans and the capture folder were read and every play identified;
    // anything less says what, and messages name host paths.
    void statuses_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // in standard error; "" for none
        QTest::newRow("all identified") << "" << 0 << "";
        QTest::newRow("one unknown") << "unknown" << 1 << "";
        QTest::newRow("no capture folder")
            << "no xferbox" << 4
            << "The captured plays could not be read: Cannot open the folder \"%1/Xferbox\": the "
               "folder does not exist";
        QTest::newRow("capture folder is a file") << "xferbox file" << 4 << "Missing Game Plan";
        QTest::newRow("a folder named FBplay.log")
            << "log folder" << 3
            << "FBplay.log could not be written: Cannot write \"%1/FBplay.log\": it is not an "
               "ordinary file";
        QTest::newRow("plans missing and the log fails: the higher")
            << "no xferbox, log folder" << 4 << "Missing Game Plan";
    }
    void statuses() {
        QFETCH(QString, change);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        League league;
        league.write("play.log", "FBPlay~1\r\n");
        if (change.contains("unknown"))
            league.write("xferbox/FBplay1.ply", "unknown");
        if (change.contains("no xferbox") || change.contains("xferbox file"))
            QDir(league.folder + "/xferbox").removeRecursively();
        if (change.contains("xferbox file"))
            league.write("xferbox", "not a folder");
        if (change.contains("log folder"))
            QDir().mkpath(league.folder + "/FBplay.log");
        if (message.contains("%1"))
            message = QDir::toNativeSeparators(message.arg(league.folder));
        // The report in place of the lines changes no status and no message.
        for (const QStringList& report : {QStringList{}, QStringList{"--report", "json"}}) {
            const Run run = runCommand(report + QStringList{"--update-log", league.folder});
            QCOMPARE(run.exitCode, exitCode);
            QVERIFY2(run.err.contains(message.toLocal8Bit()), run.err.constData());
            if (!huddlex::test::onWindows)                               // host paths have none
                QVERIFY2(!run.err.contains(":\\"), run.err.constData()); // no drive letters
            if (message.isEmpty())
                QCOMPARE(run.err, QByteArray());
            if (!report.isEmpty())
                QVERIFY(run.out.startsWith("{\n  \"game_folder\": "));
        }
    }

    // Results that cannot be written fail the command; the log is rebuilt all the same.
    void unwritableOutput_data() {
        QTest::addColumn<int>("output");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("/dev/full") << int(Output::DevFull) << QStringList{};
        QTest::newRow("reader gone") << int(Output::ReaderGone) << QStringList{};
        QTest::newRow("report to /dev/full")
            << int(Output::DevFull) << QStringList{"--report", "csv"};
        QTest::newRow("report, reader gone")
            << int(Output::ReaderGone) << QStringList{"--report", "json"};
    }
    void unwritableOutput() {
        QFETCH(int, output);
        if (huddlex::test::onWindows)
            QSKIP("no /dev/full and no bash pipe for a Windows program");
        QFETCH(QStringList, report);
        League league;
        QByteArray log;
        for (int i = 0; i < 5000; ++i) { // results well past a pipe's buffer
            league.write(QStringLiteral("xferbox/FBplay%1.ply").arg(i), "blitz bytes");
            log += "FBPlay~1\r\n";
        }
        league.write("play.log", log);
        const Run run =
            runCommand(report + QStringList{"--update-log", league.folder}, Output(output));
        QCOMPARE(run.exitCode, 5);
        QVERIFY2(run.err.startsWith("huddlex-validate: the results could not be written to "
                                    "standard output: "),
                 run.err.constData());
        QCOMPARE(league.read("FBplay.log").count("BLITZ \r\n"), 5000);
    }

    // A capture folder or plans that cannot be read are reported as such, not as missing or
    // empty. Through the fs layer's seam, so this runs as root too.
    void accessDeniedIsReported() {
        League league;
        fs::faults::setHook([](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if ((op == fs::faults::Op::List || op == fs::faults::Op::Read) &&
                host.contains("/xferbox", Qt::CaseInsensitive))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        const Run run = runInProcess({league.folder});
        fs::faults::clearHook();
        QCOMPARE(run.exitCode, 4);
        // Host paths as the platform writes them; a Windows program keeps names as written.
        const QString err = QString::fromLocal8Bit(run.err);
        const QString folder = QDir::toNativeSeparators(league.folder + "/xferbox");
        // The plans are read by their names; where names are found ignoring case without a
        // listing (Windows), the file's read is what is refused, else the folder's listing.
        const QString plans = "The game plans could not be loaded: Cannot read ";
        QVERIFY2(err.contains(plans + "the folder \"" + folder + "\": access denied\n",
                              Qt::CaseInsensitive) ||
                     err.contains(plans + "\"" + folder + QDir::separator() +
                                      "xoff1.pln\": access denied\n",
                                  Qt::CaseInsensitive),
                 run.err.constData());
        QVERIFY2(err.contains("Cannot read the folder \"" + folder + "\": access denied",
                              Qt::CaseInsensitive),
                 run.err.constData());
        QCOMPARE(run.out, QByteArray("0 Unknown Plays\n"));
    }

    // A play file the plans name that cannot be read is named, and the status says the plays
    // were not all checked: no verdict on the opponent.
    void unreadablePlayFileIsNamed() {
        League league;
        fs::faults::setHook([](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Read && host.endsWith("/def/blitz.ply"))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        const Run run = runInProcess({league.folder});
        fs::faults::clearHook();
        QCOMPARE(run.exitCode, 4);
        QVERIFY2(run.err.startsWith("1 play file that the plans name could not be read:\n"),
                 run.err.constData());
        QVERIFY2(run.err.contains("blitz.ply\": access denied"), run.err.constData());
        QVERIFY(run.out.endsWith("1 Unknown Plays\n"));
    }

    // The same with real permissions, where they bind: a capture folder that cannot be opened
    // (mode 000) or searched but not listed (mode 311).
    void accessDeniedOnDisk_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("000") << 0
                             << "The game plans could not be loaded: Cannot read "
                                "\"%1/xferbox/XOff1.pln\": access denied";
        QTest::newRow("311") << 0311
                             << "The captured plays could not be read: Cannot read the folder "
                                "\"%1/xferbox\": access denied";
    }
    void accessDeniedOnDisk() {
        QFETCH(int, mode);
        QFETCH(QString, message);
        if (!huddlex::test::folderPermissionsBind())
            QSKIP("permission bits do not bind here (root, or Windows); accessDeniedIsReported "
                  "covers the path");
        League league;
        const Permissions closed(league.folder + "/xferbox", mode_t(mode));
        const Run run = runCommand({league.folder});
        QCOMPARE(run.exitCode, 4);
        QVERIFY2(run.err.contains(message.arg(league.folder).toLocal8Bit()), run.err.constData());
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
