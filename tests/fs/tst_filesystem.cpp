#include "fs/drivemap.h"
#include "fs/faults.h"
#include "fs/filesystem.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace huddlex;
using huddlex::test::TempEnvironment;

class FileSystemTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void drivesComeFromTheWinePrefix() {
        if (test::onWindows)
            QSKIP("a Windows program has the system's own drives, no Wine prefix");
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

    // A pinned drive letter (the headless command's game folder, the tests' drive C: on
    // Windows) is listed, resolves into its folder, and no path climbs out of it.
    void pinnedDriveStaysInItsFolder() {
        TempEnvironment env;
        const QString folder = env.makeDirs("pinned/Game");
        env.writeFile("outside.ply", "x");
        QVERIFY(!fs::DriveMap::drives().contains("q:"));
        fs::DriveMap::setOverride('Q', env.hostPath("pinned"));
        QVERIFY(fs::DriveMap::drives().contains("q:"));
        QCOMPARE(*fs::DriveMap::root('q'), env.hostPath("pinned"));
        QVERIFY(fs::isFolder("q:\\Game"));
        QCOMPARE(fs::toHostPath("Q:\\Game\\..\\..\\..\\outside.ply"),
                 env.hostPath("pinned/outside.ply"));
        QVERIFY(!fs::readFile("Q:\\..\\outside.ply"));
        fs::DriveMap::setOverride('q', QString());
        QVERIFY(!fs::DriveMap::drives().contains("q:"));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // Each component is found whatever its letter case, as on Windows; what does not exist yet
    // is kept as written.
    void resolvesIgnoringCaseAndKeepsTheRestAsWritten() {
        TempEnvironment env;
        env.makeDirs("Sierra/FBPro97/Xferbox");
        const QString host = fs::toHostPath("c:\\SIERRA\\fbpro97\\xferbox\\New\\File.ply");
        QVERIFY2(host.endsWith("/New/File.ply"), qPrintable(host));
        env.writeFile("Sierra/FBPro97/Xferbox/marker", "m");
        const QString capture = QFileInfo(QFileInfo(host).path()).path();
        QVERIFY2(QFileInfo(capture + "/marker").isFile(), qPrintable(host));
        QVERIFY(fs::writeFile("C:\\sierra\\FBPRO97\\XFERBOX\\File.ply", "x"));
        QCOMPARE(QDir(env.driveC()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"Sierra"});
        QCOMPARE(QDir(env.hostPath("Sierra/FBPro97/Xferbox")).entryList(QDir::Files),
                 (QStringList{"File.ply", "marker"}));
        QVERIFY(QFileInfo(fs::toHostPath("C:\\Sierra\\\\FBPro97\\Xferbox\\marker")).isFile());
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
        QCOMPARE(*fs::readFile("C:\\g\\PLAY.ply"), QByteArray("abc"));
        if (test::makeFifo(env.hostPath("G/fifo.ply")))
            QCOMPARE(fs::readFile("C:\\G\\fifo.ply").kind(), fs::ErrorKind::NotRegularFile);
        else
            QVERIFY(test::onWindows); // Windows has no FIFOs in its file system
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
