#include "capture/capturedplays.h"
#include "fs/faults.h"
#include "support/gamefolder.h"

#include <QtTest>

using huddlex::CapturedPlays;
using namespace huddlex;

class CapturedPlaysTest : public QObject {
    Q_OBJECT
private slots:
    // Which names are captures, which number they stand for, and who wins a shared number.
    void numbersFromOneListing_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QStringList>("byNumber"); // name of 0, 1, ...; "" for a gap
        QTest::newRow("empty") << QStringList{} << qint64(0) << QStringList{};
        QTest::newRow("in order") << QStringList{"FBplay0.ply", "FBplay1.ply"} << qint64(2)
                                  << QStringList{"FBplay0.ply", "FBplay1.ply"};
        QTest::newRow("gap") << QStringList{"FBplay0.ply", "FBplay2.ply"} << qint64(3)
                             << QStringList{"FBplay0.ply", "", "FBplay2.ply"};
        QTest::newRow("strays shift nothing")
            << QStringList{"Draw3.ply",    "FBplay.ply",   "FBplay-1.ply",
                           "FBplay01.ply", "FBplay1.plyx", "FBplay1.ply.bak",
                           "FBplay+1.ply", "FBplay 1.ply", "FBplay0.ply"}
            << qint64(1) << QStringList{"FBplay0.ply"};
        QTest::newRow("letter case ignored")
            << QStringList{"FBPLAY1.PLY"} << qint64(2) << QStringList{"", "FBPLAY1.PLY"};
        QTest::newRow("exact spelling wins")
            << QStringList{"FBPLAY0.ply", "FBplay0.ply", "fbplay0.ply"} << qint64(1)
            << QStringList{"FBplay0.ply"};
        QTest::newRow("else the first listed")
            << QStringList{"FBPLAY0.ply", "fbplay0.ply"} << qint64(1) << QStringList{"FBPLAY0.ply"};
        QTest::newRow("largest number")
            << QStringList{"FBplay999999.ply"} << qint64(1'000'000) << QStringList{};
        QTest::newRow("beyond the largest is a stray")
            << QStringList{"FBplay1000000.ply", "FBplay99999999999999999999.ply"} << qint64(0)
            << QStringList{};
    }
    void numbersFromOneListing() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, byNumber);
        const CapturedPlays plays = CapturedPlays::fromNames(names);
        QTEST(plays.count(), "count");
        for (int i = 0; i < byNumber.size(); ++i)
            QCOMPARE(plays.name(i).value_or(QString()), byNumber[i]);
    }

    // A capture folder that cannot be read is told apart from one without plays.
    void unreadableFolderIsTold() {
        test::TempEnvironment env;
        test::GameFolder game(env);
        QDir().mkpath(game.host());
        GamePaths paths{"C:", "\\Sierra\\FBPro97\\", "VPNFL"};
        const CapturedPlays missing = CapturedPlays::list(paths);
        QCOMPARE(missing.count(), 0);
        QCOMPARE(missing.listError()->kind, fs::ErrorKind::PathNotFound);
        QVERIFY(missing.listError()->message.contains("Xferbox"));

        game.makeCaptureFolder();
        game.write("Xferbox/FBplay1.ply", "x");
        QDir().mkpath(game.capturedHost("FBplay4.ply")); // a folder is not a play
        const CapturedPlays read = CapturedPlays::list(paths);
        QVERIFY(!read.listError());
        QCOMPARE(read.count(), 2);
        QVERIFY(read.folder());

        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::List)
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        const CapturedPlays denied = CapturedPlays::list(paths);
        fs::faults::clearHook();
        QCOMPARE(denied.count(), 0);
        QCOMPARE(denied.listError()->kind, fs::ErrorKind::AccessDenied);
    }

    void canonicalNamesReadBack() {
        for (qint64 n : {0, 7, 12, 32767, 999'999})
            QCOMPARE(CapturedPlays::numberOf(CapturedPlays::canonicalName(n)), n);
    }
};

QTEST_GUILESS_MAIN(CapturedPlaysTest)
#include "tst_capturedplays.moc"
