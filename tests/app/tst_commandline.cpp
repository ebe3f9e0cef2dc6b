// huddlex's command line: --wine-prefix for one session, --help, and a clear word on anything
// else; parsed, and once through the real program.
#include "app/commandline.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace huddlex;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("prefix"); // "<dir>" for the scratch folder
        QTest::addColumn<QString>("error");  // the start of the message; "" for none
        QTest::newRow("nothing") << QStringList{} << false << ""
                                 << "";
        QTest::newRow("--help") << QStringList{"--help"} << true << ""
                                << "";
        QTest::newRow("-h beside an unknown option") << QStringList{"-x", "-h"} << true << ""
                                                     << "Unknown";
        QTest::newRow("--wine-prefix DIR")
            << QStringList{"--wine-prefix", "<dir>"} << false << "<dir>"
            << "";
        QTest::newRow("--wine-prefix=DIR/")
            << QStringList{"--wine-prefix=<dir>/sub/.."} << false << "<dir>"
            << "";
        QTest::newRow("relative DIR") << QStringList{"--wine-prefix", "."} << false << "<dir>"
                                      << "";
        QTest::newRow("no DIR") << QStringList{"--wine-prefix"} << false << ""
                                << "Missing value after '--wine-prefix'";
        QTest::newRow("DIR missing") << QStringList{"--wine-prefix", "<dir>/none"} << false << ""
                                     << "--wine-prefix: the folder";
        QTest::newRow("DIR is a file") << QStringList{"--wine-prefix", "<dir>/file"} << false << ""
                                       << "--wine-prefix: the folder";
        QTest::newRow("unknown option") << QStringList{"--prefix", "x"} << false << ""
                                        << "Unknown option 'prefix'";
        QTest::newRow("a file name") << QStringList{"game.pln"} << false << ""
                                     << "Unexpected argument \"game.pln\"";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, prefix);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/sub");
        QFile file(dir.path() + "/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QStringList withProgram{"huddlex"};
        for (QString argument : arguments)
            withProgram << argument.replace("<dir>", dir.path());
        const CommandLine command = parseCommandLine(withProgram);
        QDir::setCurrent(previous);
        QTEST(command.help, "help");
        QCOMPARE(command.winePrefix, QString(prefix).replace("<dir>", dir.path()));
        QVERIFY2(error.isEmpty() ? command.error.isEmpty() : command.error.startsWith(error),
                 qPrintable(command.error));
    }

    // Help goes to standard output with status 0; a problem to standard error with status 2;
    // otherwise the window opens.
    void answer() {
        QTemporaryFile out, err;
        QVERIFY(out.open() && err.open());
        std::FILE* outStream = std::fopen(qPrintable(out.fileName()), "w+");
        std::FILE* errStream = std::fopen(qPrintable(err.fileName()), "w+");
        QCOMPARE(answerCommandLine({}, outStream, errStream), std::nullopt);
        QCOMPARE(answerCommandLine({true, {}, {}}, outStream, errStream), 0);
        QCOMPARE(answerCommandLine({false, {}, "Unknown option 'x'."}, outStream, errStream), 2);
        std::fclose(outStream);
        std::fclose(errStream);
        QVERIFY(out.readAll().startsWith("Usage: huddlex [--wine-prefix DIR]\n"));
        QVERIFY(err.readAll().startsWith("huddlex: Unknown option 'x'.\n\nUsage: huddlex"));
    }

    // The program itself: --help needs no display, a wrong option ends it with a clear word.
    void theProgram() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        QProcess help;
        help.setProcessEnvironment(environment);
        help.start(HUDDLEX_PATH, {"--help"});
        QVERIFY(help.waitForFinished(60000));
        QCOMPARE(help.exitStatus(), QProcess::NormalExit);
        QCOMPARE(help.exitCode(), 0);
        QVERIFY(help.readAllStandardOutput().contains("--wine-prefix DIR"));

        QProcess wrong;
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        wrong.setProcessEnvironment(environment);
        wrong.start(HUDDLEX_PATH, {"-platform", "offscreen", "--wine-prefx", "/tmp"});
        QVERIFY(wrong.waitForFinished(60000));
        QCOMPARE(wrong.exitStatus(), QProcess::NormalExit);
        QCOMPARE(wrong.exitCode(), 2);
        // Qt's own -platform was taken by Qt; the slip is named.
        QVERIFY(wrong.readAllStandardError().contains("huddlex: Unknown option 'wine-prefx'.\n"));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
