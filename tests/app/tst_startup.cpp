#include "app/reportcommand.h"
#include "controllerfixture.h"
#include "fs/faults.h"
#include "support/gamefolder.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace huddlex;
using huddlex::test::ControllerFixture;
using huddlex::test::GameFolder;
using huddlex::test::TempEnvironment;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunCreatesTheCaptureFolder() {
        ControllerFixture f;
        MainController& c = f.load();
        QVERIFY(QFileInfo(f.game("Xferbox")).isDir());
        QCOMPARE(f.prompts, 0);
        QCOMPARE(c.window().StatusBar1().panelText(1), QString("Status: Stop"));
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: 0"));
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
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: %1").arg(plays));
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
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: 0"));
        QCOMPARE(c.window().File1().folder(), QString());
        QVERIFY(!QFileInfo::exists(f.env.hostPath("Nowhere")));
    }

    // Another tool or an earlier game left "XFERBOX": it is the capture folder, as on Windows.
    // Start-up goes on, and the next capture lands in it after the plays kept there.
    void captureFolderInOtherCaseIsTheCaptureFolder() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/XFERBOX/FBplay0.ply", "earlier game");
        f.env.writeFile("Sierra/FBPro97/FBPlay~.tmp", "x");
        MainController& c = f.load();
        QCOMPARE(f.prompts, 1);
        QCOMPARE(c.window().File1().count(), 1);
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: 1"));
        QCOMPARE(c.capture().PlayCount(), 1);
        QVERIFY(!QFileInfo::exists(f.game("FBPlay~.tmp")));
        QVERIFY(!QFileInfo::exists(f.game("Xferbox"))); // no second folder beside it

        GameFolder(f.env).writePlay("new play", QDateTime::currentDateTime());
        c.mnuFile_Click(1);
        f.clock.advance(6000);
        QCOMPARE(TempEnvironment::readHostFile(f.game("XFERBOX/FBplay0.ply")), "earlier game");
        QCOMPARE(TempEnvironment::readHostFile(f.game("XFERBOX/FBplay1.ply")), "new play");
    }

    // Plays kept at the prompt with a gap and a stray ".ply": the next capture comes after the
    // highest, and nothing kept is touched.
    void captureAfterGapsAndStrays() {
        ControllerFixture f;
        const QStringList kept{"FBplay0.ply", "FBplay2.ply", "Notes.ply", "fbplay4.PLY"};
        for (const QString& name : kept)
            f.env.writeFile("Sierra/FBPro97/Xferbox/" + name, name.toLatin1());
        MainController& c = f.load();
        QCOMPARE(c.capture().PlayCount(), 5);
        GameFolder(f.env).writePlay("new play", QDateTime::currentDateTime());
        c.mnuFile_Click(1);
        f.clock.advance(6000);
        QCOMPARE(TempEnvironment::readHostFile(f.game("Xferbox/FBplay5.ply")), "new play");
        for (const QString& name : kept)
            QCOMPARE(TempEnvironment::readHostFile(f.game("Xferbox/" + name)), name.toLatin1());
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: 6"));
    }

    // Delete Files could not delete everything: numbering restarts at 0 but passes over what
    // stayed, so the file left behind is neither replaced nor the new play lost.
    void captureAfterADeleteThatLeftAFile() {
        ControllerFixture f;
        for (const char* name : {"FBplay0.ply", "FBplay1.ply"})
            f.env.writeFile(QString("Sierra/FBPro97/Xferbox/") + name, name);
        MainController& c = f.load();
        fs::faults::setHook([](fs::faults::Op op, const QString& path) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Remove && path.endsWith("FBplay1.ply"))
                return fs::Error{fs::ErrorKind::AccessDenied, "in use"};
            return std::nullopt;
        });
        c.mnuEdit_Click(4);
        fs::faults::clearHook();
        QCOMPARE(f.notifier.messages.size(), 1); // told what stayed
        GameFolder game(f.env);
        c.mnuFile_Click(1);
        game.writePlay("new zero", QDateTime::currentDateTime().addSecs(-10));
        f.clock.advance(6000);
        game.writePlay("new one", QDateTime::currentDateTime());
        f.clock.advance(6000);
        QCOMPARE(TempEnvironment::readHostFile(f.game("Xferbox/FBplay0.ply")), "new zero");
        QCOMPARE(TempEnvironment::readHostFile(f.game("Xferbox/FBplay1.ply")), "FBplay1.ply");
        QCOMPARE(TempEnvironment::readHostFile(f.game("Xferbox/FBplay2.ply")), "new one");
        QCOMPARE(c.capture().PlayCount(), 3);
    }

    void plainFileNamedXferboxIsAccepted() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox", "not a folder");
        MainController& c = f.load();
        QVERIFY(QFileInfo(f.game("Xferbox")).isFile());
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("Plays: 0"));
    }

    void deleteFilesEmptiesTheFolderAndRestartsNumbering() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay0.ply", "x");
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay1.ply", "x");
        MainController& c = f.load();
        QCOMPARE(c.capture().PlayCount(), 2);
        c.mnuEdit_Click(1);
        c.report().Open();
        QVERIFY(c.report().window()->report());
        const qsizetype messages = f.notifier.messages.size();
        c.mnuEdit_Click(4);
        QCOMPARE(c.capture().PlayCount(), 0);
        QCOMPARE(c.window().File1().count(), 0);
        QCOMPARE(c.window().StatusBar1().panelText(2), QString("UK-P: 2")); // left as it was
        QCOMPARE(f.notifier.messages.size(), messages);
        QVERIFY(!c.report().window()->report()); // what it explained is gone
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
