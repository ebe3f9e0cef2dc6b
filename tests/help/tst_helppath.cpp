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
                                        << "C:\\Games\\Tools\\Huddlex.qhc";
        QTest::newRow("windows drive root") << "C:\\"
                                            << "C:\\Huddlex.qhc";
        QTest::newRow("host folder") << "/opt/huddlex/bin"
                                     << "/opt/huddlex/bin/Huddlex.qhc";
        QTest::newRow("host root") << "/"
                                   << "/Huddlex.qhc";
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
        QCOMPARE(candidates.first(), QCoreApplication::applicationDirPath() + "/Huddlex.qhc");
        QCOMPARE(candidates.size(), 2);
        QVERIFY(candidates.last().endsWith("/huddlex/Huddlex.qhc"));
        QVERIFY(candidates.contains(locateHelpFile()));
    }
};

QTEST_GUILESS_MAIN(TestHelpPath)
#include "tst_helppath.moc"
