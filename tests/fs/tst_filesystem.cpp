#include "fs/drivemap.h"
#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/folder.h"
#include "fs/inputfile.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

using namespace huddlex;
using huddlex::test::TempEnvironment;

namespace {

// Makes every listing of a folder whose host path ends with `folder` fail as access denied,
// as a folder that can be searched but not read does (mode 311); root ignores the real bits.
void denyListing(const QString& folder) {
    fs::faults::setHook(
        [folder](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::List && host.endsWith(folder, Qt::CaseInsensitive))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
}

// Sets a folder's permission bits for the scope; they are put back so the scratch folder can
// be removed.
struct Permissions {
    QString path;
    Permissions(QString p, mode_t mode) : path(std::move(p)) { ::chmod(qPrintable(path), mode); }
    ~Permissions() { ::chmod(qPrintable(path), 0755); }
};

} // namespace

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
        test::makeHidden(env.writeFile("G/.hidden.ply", "x"));
        env.makeDirs("G/Xferbox");
        QCOMPARE(*fs::findFirst("C:\\G\\FBPlay~.tmp"), QString("FBPLAY~.TMP"));
        // Hidden entries are skipped alike by exact name, by wildcard, on both platforms.
        QVERIFY(!fs::findFirst("C:\\G\\.hidden.ply"));
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

    // Access denied reaches the caller as itself, never as "not found".
    void accessDeniedIsNotNotFound() {
        TempEnvironment env;
        env.writeFile("G/Open/a.ply", "a");
        env.writeFile("G/Locked/b.ply", "b");
        denyListing("/Locked");
        const auto locked = fs::Folder::open("C:\\G\\LOCKED");
        QVERIFY(locked);
        QCOMPARE(locked->listError()->kind, fs::ErrorKind::AccessDenied);
        QVERIFY(locked->entries().empty());
        // Unlisted, a name is taken as written: the exact name still opens.
        QCOMPARE(*locked->lookup("b.ply"), QString("b.ply"));
        QCOMPARE(*locked->openFile("b.ply").value().read(10), QByteArray("b"));
        QVERIFY(fs::Folder::open("C:\\G\\Open")->entries().size() == 1);
        QCOMPARE(fs::Folder::open("C:\\G\\None").kind(), fs::ErrorKind::PathNotFound);
        QCOMPARE(fs::Folder::open("C:\\G\\Open\\a.ply").kind(), fs::ErrorKind::PathNotFound);

        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Read)
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        const auto read = fs::readFile("C:\\G\\Open\\a.ply");
        QCOMPARE(read.kind(), fs::ErrorKind::AccessDenied);
        QVERIFY(read.message().endsWith(": access denied"));

        fs::faults::clearHook();
        QCOMPARE(*fs::find("C:\\g\\OPEN\\A.PLY"), QString("a.ply"));
        QCOMPARE(fs::find("C:\\G\\Open\\b.ply").kind(), fs::ErrorKind::FileNotFound);
        QCOMPARE(fs::find("C:\\G\\None\\b.ply").kind(), fs::ErrorKind::PathNotFound);
        QCOMPARE(fs::listFolder("C:\\G\\None", "*").kind(), fs::ErrorKind::PathNotFound);
        QVERIFY(fs::listFolder("C:\\G\\Open", "*.txt")->isEmpty());
    }

    // The same with real permission bits, where they bind.
    void accessDeniedOnDisk() {
        if (!test::folderPermissionsBind())
            QSKIP("permission bits do not bind here (root, or Windows); accessDeniedIsNotNotFound "
                  "covers the path");
        TempEnvironment env;
        env.writeFile("G/Closed/a.ply", "a");
        env.makeDirs("G/Closed/Sub");
        env.writeFile("G/SearchOnly/b.ply", "b");
        const Permissions closed(env.hostPath("G/Closed"), 0);
        const Permissions searchOnly(env.hostPath("G/SearchOnly"), 0311);
        QCOMPARE(fs::readFile("C:\\G\\Closed\\a.ply").kind(), fs::ErrorKind::AccessDenied);
        QCOMPARE(fs::Folder::open("C:\\G\\Closed")->listError()->kind, fs::ErrorKind::AccessDenied);
        QCOMPARE(fs::Folder::open("C:\\G\\Closed\\Sub").kind(), fs::ErrorKind::AccessDenied);
        QCOMPARE(fs::find("C:\\G\\Closed\\*.ply").kind(), fs::ErrorKind::AccessDenied);
        QCOMPARE(fs::listFolder("C:\\G\\Closed", "*").kind(), fs::ErrorKind::AccessDenied);
        QCOMPARE(fs::listFolder("C:\\G\\SearchOnly", "*").kind(), fs::ErrorKind::AccessDenied);
        const auto searchable = fs::Folder::open("C:\\G\\SearchOnly");
        QCOMPARE(searchable->listError()->kind, fs::ErrorKind::AccessDenied);
        QCOMPARE(*fs::readFile("C:\\G\\SearchOnly\\b.ply"), QByteArray("b"));
        const QString readOnly = env.writeFile("G/read-only.log", "kept");
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
        QCOMPARE(fs::writeFile("C:\\G\\read-only.log", "new").kind(), fs::ErrorKind::AccessDenied);
        QCOMPARE(TempEnvironment::readHostFile(readOnly), QByteArray("kept"));
    }

    // Names that differ only in letter case are two files; the exact name wins, then the
    // first in name order.
    void folderLooksUpExactNamesFirst_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        QTest::newRow("exact upper") << "A.ply"
                                     << "A.ply";
        QTest::newRow("exact lower") << "a.ply"
                                     << "a.ply";
        QTest::newRow("other case: first in name order") << "A.PLY"
                                                         << "A.ply";
        QTest::newRow("folder in other case") << "off"
                                              << "OFF";
        QTest::newRow("hidden file") << ".HIDDEN.ply"
                                     << ".hidden.ply";
        QTest::newRow("none") << "b.ply"
                              << "";
    }
    void folderLooksUpExactNamesFirst() {
        QFETCH(QString, name);
        QFETCH(QString, found);
        if (test::onWindows)
            QSKIP("Windows keeps one file per name whatever its letter case");
        TempEnvironment env;
        env.writeFile("G/A.ply", "upper");
        env.writeFile("G/a.ply", "lower");
        env.writeFile("G/.hidden.ply", "hidden");
        env.writeFile("G/OFF/x.ply", "x");
        const auto folder = fs::Folder::open("C:\\g");
        QVERIFY(folder);
        QCOMPARE(folder->lookup(name).value_or(QString()), found);
    }

    // The listing tells regular files from the rest, which are never opened.
    void folderOpensRegularFilesOnly() {
        TempEnvironment env;
        env.writeFile("G/OFF/x.ply", "x");
        const bool fifo = test::makeFifo(env.hostPath("G/fifo.ply"));
        QCOMPARE(fifo, !test::onWindows); // Windows has none
        const auto folder = fs::Folder::open("C:\\G");
        if (fifo)
            QCOMPARE(folder->openFile("fifo.ply").kind(), fs::ErrorKind::NotRegularFile);
        QCOMPARE(folder->openFile("OFF").kind(), fs::ErrorKind::NotRegularFile);
        QCOMPARE(*folder->subfolder("OFF").value().openFile("x.ply").value().read(5),
                 QByteArray("x"));
    }

    // A size from stat, reads of what is asked, and holes reported without skipping data.
    void inputFilesReadWhatIsAsked() {
        TempEnvironment env;
        const QString host = env.writeFile("G/big.ply", "");
        const qint64 size = qint64(3) << 30; // past 32-bit positions
        const qint64 dataAt[] = {qint64(1) << 31, size - 1};
        {
            QFile file(host);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(size));
            for (qint64 at : dataAt) {
                QVERIFY(file.seek(at));
                QVERIFY(file.write("D", 1) == 1);
            }
        }
        auto opened = fs::openFile("C:\\G\\BIG.ply");
        QVERIFY(opened);
        fs::InputFile& in = opened.value();
        QCOMPARE(in.size(), size);
        QCOMPARE(*in.read(16), QByteArray(16, '\0'));
        for (qint64 from : {qint64(0), dataAt[0], dataAt[0] + 1}) {
            const qint64 next = in.dataFrom(from);
            const qint64 firstData = from <= dataAt[0] ? dataAt[0] : dataAt[1];
            QVERIFY2(next >= from && next <= firstData, qPrintable(QString::number(next)));
        }
        QVERIFY(in.seek(dataAt[1]));
        QCOMPARE(*in.read(1000), QByteArray("D")); // never past the end
    }

    // A link at the destination is replaced by the new file; its target is never written.
    void writesReplaceLinks() {
        if (test::onWindows)
            QSKIP("a Windows link is a shortcut file, which is written like any other file");
        TempEnvironment env;
        const QString outside = env.root() + "/outside.txt";
        QFile out(outside);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("keep") == 4);
        out.close();
        env.writeFile("G/src.tmp", "copied");
        env.makeDirs("G");
        for (const char* name : {"written.log", "copied.ply", "removed.log"})
            QVERIFY(QFile::link(outside, env.hostPath(QString("G/") + name)));
        QVERIFY(fs::writeFile("C:\\G\\written.log", "new"));
        QVERIFY(fs::copyFile("C:\\G\\src.tmp", "C:\\G\\copied.ply"));
        QVERIFY(fs::removeFile("C:\\G\\removed.log"));
        QCOMPARE(TempEnvironment::readHostFile(outside), QByteArray("keep"));
        QVERIFY(!QFileInfo(env.hostPath("G/written.log")).isSymLink());
        QCOMPARE(TempEnvironment::readHostFile(env.hostPath("G/written.log")), QByteArray("new"));
        QCOMPARE(TempEnvironment::readHostFile(env.hostPath("G/copied.ply")), QByteArray("copied"));
        QVERIFY(!QFileInfo::exists(env.hostPath("G/removed.log")));
        QCOMPARE(QDir(env.hostPath("G")).entryList(QDir::Files | QDir::Hidden).size(), 3);

        // A failed write leaves the link as it was and no temporary file.
        QVERIFY(QFile::link(outside, env.hostPath("G/failed.log")));
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Commit)
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        QCOMPARE(fs::writeFile("C:\\G\\failed.log", "new").kind(), fs::ErrorKind::DiskFull);
        QVERIFY(QFileInfo(env.hostPath("G/failed.log")).isSymLink());
        QCOMPARE(QDir(env.hostPath("G")).entryList(QDir::Files | QDir::Hidden).size(), 4);
        QCOMPARE(TempEnvironment::readHostFile(outside), QByteArray("keep"));
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
