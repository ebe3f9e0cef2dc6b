#include "controllerfixture.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace huddlex;
using huddlex::test::ControllerFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunCreatesTheCaptureFolder() {
        ControllerFixture f;
        MainController& c = f.load();
        QVERIFY(QFileInfo(f.game("Xferbox")).isDir());
        QCOMPARE(f.prompts, 0);
        QCOMPARE(c.window().panelText(1), QString("Status: Stop"));
        QCOMPARE(c.window().panelText(2), QString("Plays: 0"));
        QCOMPARE(c.capture().PlayCount(), 0);
        QVERIFY(f.store.values().isEmpty()); // start-up never writes a setting
    }

    void leftoverPlays_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("plays");
        QTest::addColumn<int>("next");
        QTest::addColumn<QStringList>("left");
        const QStringList three{"FBplay0.ply", "FBplay1.ply", "FBplay2.ply"};
        QTest::newRow("three kept") << three << false << 1 << 3 << 3 << three;
        QTest::newRow("plans only, no prompt") << QStringList{"XOff1.pln", "XDef1.pln"} << true << 0
                                               << 0 << 0 << QStringList{"XDef1.pln", "XOff1.pln"};
        QTest::newRow("yes deletes plans too")
            << QStringList{"FBplay0.ply", "XOff1.pln"} << true << 1 << 0 << 0 << QStringList{};
        QTest::newRow("no keeps both") << QStringList{"FBplay0.ply", "XOff1.pln"} << false << 1 << 1
                                       << 1 << QStringList{"FBplay0.ply", "XOff1.pln"};
        // Numbering continues after the highest capture: nothing kept is ever overwritten.
        const QStringList gapAndStray{"FBplay0.ply", "FBplay2.ply", "Notes.ply"};
        QTest::newRow("gap and a stray .ply") << gapAndStray << false << 1 << 3 << 3 << gapAndStray;
        QTest::newRow("other letter case")
            << QStringList{"fbplay4.PLY"} << false << 1 << 1 << 5 << QStringList{"fbplay4.PLY"};
    }
    void leftoverPlays() {
        QFETCH(QStringList, files);
        QFETCH(bool, answerYes);
        ControllerFixture f;
        for (const QString& name : files)
            f.env.writeFile("Sierra/FBPro97/Xferbox/" + name, "x");
        f.answerYes = answerYes;
        MainController& c = f.load();
        QTEST(f.prompts, "prompts");
        QFETCH(int, plays);
        QCOMPARE(c.window().panelText(2), QString("Plays: %1").arg(plays));
        QTEST(c.capture().PlayCount(), "next");
        QTEST(QDir(f.game("Xferbox")).entryList(QDir::Files), "left");
    }

    void staleTempFileIsDeletedOnlyInItsExactCase() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/FBPlay~.tmp", "old play");
        f.load();
        QVERIFY(!QFileInfo::exists(f.game("FBPlay~.tmp")));

        ControllerFixture g;
        g.env.writeFile("Sierra/FBPro97/FBPLAY~.TMP", "old play");
        g.load();
        QVERIFY(QFileInfo::exists(g.game("FBPLAY~.TMP")));
    }

    void missingGameFolderIsSkipped() {
        ControllerFixture f;
        f.store.write(keys::FBVer, "\\Nowhere\\");
        f.env.writeFile("Nowhere-else/FBPlay~.tmp", "x");
        MainController& c = f.load();
        QCOMPARE(f.prompts, 0);
        QCOMPARE(c.window().panelText(2), QString("Plays: 0"));
        QCOMPARE(c.window().File1().folder(), QString());
        QVERIFY(!QFileInfo::exists(f.env.hostPath("Nowhere")));
    }

    void captureFolderInOtherCaseEndsStartUp() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/XFERBOX/FBplay0.ply", "x");
        f.env.writeFile("Sierra/FBPro97/FBPlay~.tmp", "x");
        MainController& c = f.load();
        // The creation failed for a reason other than a missing path: nothing after it ran.
        QCOMPARE(f.prompts, 0);
        QCOMPARE(c.window().panelText(2), QString("Plays: 0"));
        QCOMPARE(c.capture().PlayCount(), 0);
        QVERIFY(QFileInfo::exists(f.game("FBPlay~.tmp")));
    }

    void plainFileNamedXferboxIsAccepted() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox", "not a folder");
        MainController& c = f.load();
        QVERIFY(QFileInfo(f.game("Xferbox")).isFile());
        QCOMPARE(c.window().panelText(2), QString("Plays: 0"));
    }

    void deleteFilesEmptiesTheFolderAndRestartsNumbering() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay0.ply", "x");
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay1.ply", "x");
        MainController& c = f.load();
        QCOMPARE(c.capture().PlayCount(), 2);
        c.mnuEdit_Click(4);
        QCOMPARE(c.capture().PlayCount(), 0);
        QCOMPARE(c.window().File1().count(), 0);
        QCOMPARE(c.window().panelText(2), QString("Plays: 2")); // left as it was
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void deleteFilesReportsWhatStayed() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay0.ply", "x");
        MainController& c = f.load();
        QDir(f.game("Xferbox")).removeRecursively();
        c.mnuEdit_Click(4);
        QCOMPARE(f.notifier.messages.size(), 1);
        QVERIFY(f.notifier.messages.first().contains("Xferbox"));
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
