#include "fs/drivemap.h"
#include "fs/faults.h"
#include "fs/filesystem.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

using namespace huddlex;
using huddlex::test::TempEnvironment;

class FileSystemTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void drivesComeFromTheWinePrefix() {
        TempEnvironment env;
        QCOMPARE(fs::DriveMap::drives(), QStringList{"c:"});
        QCOMPARE(*fs::DriveMap::root('C'), env.driveC());
        // A dosdevices entry wins over drive_c and adds a drive.
        QDir().mkpath(env.root() + "/wine/dosdevices");
        QDir().mkpath(env.root() + "/other");
        QFile::link(env.root() + "/other", env.root() + "/wine/dosdevices/d:");
        QFile::link(env.root() + "/other", env.root() + "/wine/dosdevices/c:");
        QCOMPARE(fs::DriveMap::drives(), (QStringList{"c:", "d:"}));
        QCOMPARE(fs::toHostPath("D:\\x"), env.root() + "/wine/dosdevices/d:/x");
        QVERIFY(!fs::DriveMap::root('q'));
    }

    void resolvesIgnoringCaseAndKeepsTheRestAsWritten() {
        TempEnvironment env;
        env.makeDirs("Sierra/FBPro97/Xferbox");
        QCOMPARE(fs::toHostPath("c:\\SIERRA\\fbpro97\\xferbox\\New\\File.ply"),
                 env.hostPath("Sierra/FBPro97/Xferbox/New/File.ply"));
        QCOMPARE(fs::toHostPath("C:\\Sierra\\\\FBPro97\\"), env.hostPath("Sierra/FBPro97"));
        // An unknown drive never resolves to something that exists.
        QVERIFY(!QFileInfo::exists(fs::toHostPath("Q:\\")));
    }

    void searchReturnsTheOnDiskName() {
        TempEnvironment env;
        env.writeFile("G/FBPLAY~.TMP", "x");
        env.writeFile("G/.hidden.ply", "x");
        env.makeDirs("G/Xferbox");
        QCOMPARE(*fs::findFirst("C:\\G\\FBPlay~.tmp"), QString("FBPLAY~.TMP"));
        QVERIFY(!fs::existsExactly("C:\\G\\FBPlay~.tmp"));
        QVERIFY(fs::existsExactly("C:\\G\\FBPLAY~.TMP"));
        QVERIFY(!fs::findFirst("C:\\G\\*.ply")); // hidden entries are skipped
        QVERIFY(!fs::findFirst("C:\\G\\Xferbox"));
        QVERIFY(fs::existsExactly("C:\\G\\Xferbox", fs::Search::FilesAndFolders));
        QVERIFY(!fs::findFirst("C:\\Missing\\*.*"));
    }

    void listsMatchingFilesSorted() {
        TempEnvironment env;
        for (const char* name : {"FBplay1.ply", "FBplay0.ply", "XOff1.pln", "b.PLY"})
            env.writeFile(QString("X/") + name, "x");
        env.makeDirs("X/dir.ply");
        QCOMPARE(fs::listFiles("C:\\x", "*.ply"),
                 (QStringList{"FBplay0.ply", "FBplay1.ply", "b.PLY"}));
        QVERIFY(fs::listFiles("C:\\none", "*.ply").isEmpty());
        QVERIFY(fs::isFolder("C:\\X\\DIR.PLY"));
        QVERIFY(!fs::isFolder("C:\\x\\b.ply"));
    }

    void copyReplacesAtomically() {
        TempEnvironment env;
        env.writeFile("G/src.tmp", QByteArray(200000, 'a'));
        env.writeFile("G/Xferbox/dst.ply", "old");
        QVERIFY(fs::copyFile("C:\\G\\SRC.tmp", "C:\\G\\xferbox\\dst.ply"));
        QCOMPARE(TempEnvironment::readHostFile(env.hostPath("G/Xferbox/dst.ply")),
                 QByteArray(200000, 'a'));
    }

    void failedCopiesLeaveNothingBehind() {
        TempEnvironment env;
        env.writeFile("G/src.tmp", QByteArray(300000, 'b'));
        env.writeFile("G/Xferbox/keep.ply", "old");

        fs::Status missingSource = fs::copyFile("C:\\G\\gone.tmp", "C:\\G\\Xferbox\\a.ply");
        QCOMPARE(missingSource.kind(), fs::ErrorKind::FileNotFound);
        fs::Status missingFolder = fs::copyFile("C:\\G\\src.tmp", "C:\\G\\Nope\\a.ply");
        QCOMPARE(missingFolder.kind(), fs::ErrorKind::PathNotFound);
        QVERIFY(missingFolder.message().contains("C:\\G\\Nope\\a.ply"));

        // Disk full on the second chunk: the old destination survives untouched.
        int writes = 0;
        fs::faults::setHook([&](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Write && ++writes == 2)
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        fs::Status full = fs::copyFile("C:\\G\\src.tmp", "C:\\G\\Xferbox\\keep.ply");
        QCOMPARE(full.kind(), fs::ErrorKind::DiskFull);
        QCOMPARE(TempEnvironment::readHostFile(env.hostPath("G/Xferbox/keep.ply")),
                 QByteArray("old"));
        QCOMPARE(QDir(env.hostPath("G/Xferbox")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"keep.ply"});
    }

    void readsOnlyRegularFiles() {
        TempEnvironment env;
        env.writeFile("G/play.ply", "abc");
        env.makeDirs("G/folder.ply");
        QVERIFY(::mkfifo(QFile::encodeName(env.hostPath("G/fifo.ply")).constData(), 0600) == 0);
        QCOMPARE(*fs::readFile("C:\\g\\PLAY.ply"), QByteArray("abc"));
        QCOMPARE(fs::readFile("C:\\G\\fifo.ply").kind(), fs::ErrorKind::NotRegularFile);
        QCOMPARE(fs::readFile("C:\\G\\folder.ply").kind(), fs::ErrorKind::NotRegularFile);
        QCOMPARE(fs::readFile("C:\\G\\none.ply").kind(), fs::ErrorKind::FileNotFound);
        QCOMPARE(fs::readFile("C:\\None\\x.ply").kind(), fs::ErrorKind::PathNotFound);
    }

    void makeFolderCreatesOneLevel() {
        TempEnvironment env;
        env.makeDirs("G");
        QVERIFY(fs::makeFolder("C:\\G\\Xferbox"));
        QCOMPARE(fs::makeFolder("C:\\G\\XFERBOX").kind(), fs::ErrorKind::AlreadyExists);
        QCOMPARE(fs::makeFolder("C:\\Missing\\Xferbox").kind(), fs::ErrorKind::PathNotFound);
    }

    void removeMatchingGoesOnPastFailures() {
        TempEnvironment env;
        for (const char* name : {"FBplay0.ply", "XOff1.pln", "locked.ply", ".hidden"})
            env.writeFile(QString("G/Xferbox/") + name, "x");
        env.makeDirs("G/Xferbox/sub");
        fs::faults::setHook([](fs::faults::Op op, const QString& path) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Remove && path.endsWith("locked.ply"))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        fs::DeleteReport report = fs::removeMatching("C:\\G\\Xferbox", "*.*");
        QCOMPARE(report.deleted.size(), 3);
        QCOMPARE(report.failed.size(), 1);
        QVERIFY(report.failed.first().contains("locked.ply"));
        QCOMPARE(QDir(env.hostPath("G/Xferbox")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"locked.ply", "sub"}));
        QVERIFY(fs::removeMatching("C:\\G\\Nothing", "*.*").folderError);
    }

    void modificationTimeFollowsWrites() {
        TempEnvironment env;
        const QString host = env.writeFile("G/FBPlay~.tmp", "1");
        const QDateTime before = *fs::modificationTime("C:\\G\\FBPlay~.tmp");
        QFile file(host);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(before.addSecs(3), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(*fs::modificationTime("C:\\G\\FBPlay~.tmp") > before);
        QCOMPARE(fs::modificationTime("C:\\G\\gone").kind(), fs::ErrorKind::FileNotFound);
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "tst_filesystem.moc"
