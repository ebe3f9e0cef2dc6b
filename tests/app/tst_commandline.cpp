// huddlex's command line: --wine-prefix for one session, --help, and a clear word on anything
// else; parsed, and through the real program (help and errors on their streams, the status).
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
        QTest::newRow("-h beside an unknown option") << QStringList{"-x", "-h"} << true << ""
                                                     << "Unknown option 'x'";
        QTest::newRow("--wine-prefix=DIR/sub/..")
            << QStringList{"--wine-prefix=<dir>/sub/.."} << false << "<dir>"
            << "";
        QTest::newRow("relative DIR") << QStringList{"--wine-prefix", "."} << false << "<dir>"
                                      << "";
        QTest::newRow("no DIR") << QStringList{"--wine-prefix"} << false << ""
                                << "Missing value after '--wine-prefix'";
        QTest::newRow("DIR missing") << QStringList{"--wine-prefix", "<dir>/none"} << false << ""
                                     << "--wine-prefix: the folder";
        QTest::newRow("a file name") << QStringList{"game.pln"} << false << ""
                                     << "Unexpected argument \"game.pln\"";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, prefix);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/sub");
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

    // --help needs no display; a slip ends the program with a word on standard error and 2.
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
        QVERIFY(help.readAllStandardOutput().startsWith("Usage: huddlex [--wine-prefix DIR]\n"));

        QProcess wrong;
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        wrong.setProcessEnvironment(environment);
        // Qt's own -platform is Qt's; the slip after it is named.
        wrong.start(HUDDLEX_PATH, {"-platform", "offscreen", "--wine-prefx", "/tmp"});
        QVERIFY(wrong.waitForFinished(60000));
        QCOMPARE(wrong.exitStatus(), QProcess::NormalExit);
        QCOMPARE(wrong.exitCode(), 2);
        QVERIFY(wrong.readAllStandardError().contains("huddlex: Unknown option 'wine-prefx'.\n"));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
