#include "help/helppath.h"

#include <QCoreApplication>
#include <QTest>

using namespace huddlex::help;

class TestHelpPath : public QObject {
    Q_OBJECT
private slots:
    void helpFileBesideFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("windows folder") << "C:\\Games\\Tools"
                                        << "C:\\Games\\Tools\\Huddlex.rcc";
        QTest::newRow("windows drive root") << "C:\\"
                                            << "C:\\Huddlex.rcc";
        QTest::newRow("host folder") << "/opt/huddlex/bin"
                                     << "/opt/huddlex/bin/Huddlex.rcc";
        QTest::newRow("host root") << "/"
                                   << "/Huddlex.rcc";
    }
    void helpFileBesideFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(helpFilePath(folder), expected);
    }

    // Beside the program first, then the installed data folder.
    void looksBesideProgramFirst() {
        const QStringList candidates = helpFileCandidates();
        QVERIFY(candidates.size() >= 1);
        QCOMPARE(candidates.first(), QCoreApplication::applicationDirPath() + "/Huddlex.rcc");
        QCOMPARE(candidates.size(), 2);
        QVERIFY(candidates.last().endsWith("/huddlex/Huddlex.rcc"));
        QVERIFY(candidates.contains(locateHelpFile()));
    }
};

QTEST_GUILESS_MAIN(TestHelpPath)
#include "tst_helppath.moc"
