#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/folder.h"
#include "fs/foldertree.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QtTest>
#include <algorithm>

using namespace huddlex;
using huddlex::test::TempEnvironment;

namespace {

QStringList paths(const fs::Tree& tree) {
    QStringList found;
    for (const fs::TreeFile& file : tree.files)
        found << file.relativePath;
    found.sort();
    return found;
}

bool linksAreSymbolic() {
    return QSysInfo::kernelType() == QLatin1String("linux");
}

} // namespace

// The tree walk below a folder, sizes without reading, and writes to paths a user chose.
class FolderTreeTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void walksEveryFolderOnceLeavingOutHiddenAndSkipped() {
        TempEnvironment env;
        env.writeFile("G/Lib/Top.ply", "t");
        env.writeFile("G/Lib/Off/Run/Draw.PLY", "d");
        env.writeFile("G/Lib/Off/Run/notes.txt", "n");
        env.writeFile("G/Lib/Off/Run/plyfile", "n");
        env.writeFile("G/Lib/.hidden/In.ply", "h");
        env.writeFile("G/Lib/.Hidden.ply", "h");
        env.writeFile("G/Lib/Xferbox/FBplay0.ply", "c");
        env.writeFile("G/Lib/Locked/Gone.ply", "l");
        env.makeDirs("G/Lib/Empty.ply"); // a folder, whatever its name
        const auto start = fs::Folder::open("C:\\G\\LIB");
        QVERIFY(start);
        // The skipped folder is recognised however it was reached.
        const auto capture = fs::Folder::open("C:\\g\\lib\\XFERBOX");
        QVERIFY(capture);
        fs::faults::setHook([](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::List && host.endsWith("/Locked"))
                return fs::Error{fs::ErrorKind::AccessDenied, {}};
            return std::nullopt;
        });
        fs::TreeWalk walk;
        walk.skip = [&](const fs::Folder& folder) { return folder.isSameFolder(*capture); };
        const fs::Tree tree = fs::listTree(*start, ".ply", walk);
        QCOMPARE(paths(tree), (QStringList{"Off\\Run\\Draw.PLY", "Top.ply"}));
        QCOMPARE(tree.unlistedFolders, 1);
        for (const fs::TreeFile& file : tree.files) // each opens through the folder it was found in
            QCOMPARE(file.folder.openFile(file.name).value().size(), 1);
        QVERIFY(!start->isSameFolder(*capture));
    }

    void linkedFoldersAreNotFollowed() {
        if (!linksAreSymbolic())
            QSKIP("symbolic links are made only on Linux here");
        TempEnvironment env;
        env.writeFile("G/Lib/A/Real.ply", "r");
        env.writeFile("G/Elsewhere/Outside.ply", "o");
        QVERIFY(QFile::link(env.hostPath("G/Lib"), env.hostPath("G/Lib/A/Loop")));
        QVERIFY(QFile::link(env.hostPath("G/Elsewhere"), env.hostPath("G/Lib/Out")));
        QVERIFY(QFile::link(env.hostPath("G/Lib/A/Real.ply"), env.hostPath("G/Lib/Linked.ply")));
        const fs::Tree tree = fs::listTree(*fs::Folder::open("C:\\G\\Lib"), ".ply");
        // A linked file is a file; a linked folder, loop or not, is left alone.
        QCOMPARE(paths(tree), (QStringList{"A\\Real.ply", "Linked.ply"}));
        QCOMPARE(tree.unlistedFolders, 0);
    }

    void sizesWithoutReading() {
        TempEnvironment env;
        env.writeFile("G/Play.ply", "12345");
        env.makeDirs("G/Sub");
        const auto folder = fs::Folder::open("C:\\G");
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Read)
                return fs::Error{fs::ErrorKind::Other, {}};
            return std::nullopt;
        });
        QCOMPARE(*folder->fileSize("Play.ply"), 5);
        QCOMPARE(folder->fileSize("Sub").kind(), fs::ErrorKind::NotRegularFile);
        QCOMPARE(folder->fileSize("None.ply").kind(), fs::ErrorKind::FileNotFound);
        QCOMPARE(folder->entryKind("Play.ply"), fs::Folder::Kind::File);
        QCOMPARE(folder->entryKind("Sub"), fs::Folder::Kind::Folder);
        QCOMPARE(folder->entryKind("play.ply"), std::nullopt); // exact names only
    }

    // A path from a save dialog is the user's own: no letter-case matching, whole or nothing.
    void hostFilesAreWrittenAsNamed() {
        TempEnvironment env;
        const QString folder = env.root() + "/exports";
        QDir().mkpath(folder);
        QFile other(folder + "/report.csv");
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("other") == 5);
        other.close();
        QVERIFY(fs::writeHostFile(folder + "/Report.csv", "new"));
        // On Windows the two names are one file, and the user chose to replace it.
        QCOMPARE(TempEnvironment::readHostFile(folder + "/report.csv"),
                 QByteArray(test::onWindows ? "new" : "other"));
        QCOMPARE(TempEnvironment::readHostFile(folder + "/Report.csv"), QByteArray("new"));

        const fs::Status missing = fs::writeHostFile(folder + "/none/r.csv", "x");
        QCOMPARE(missing.kind(), fs::ErrorKind::PathNotFound);
        QVERIFY(missing.message().contains(QDir::toNativeSeparators(folder + "/none/r.csv")));
        fs::faults::setHook([](fs::faults::Op op, const QString&) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Write)
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        QCOMPARE(fs::writeHostFile(folder + "/Report.csv", "newer").kind(),
                 fs::ErrorKind::DiskFull);
        QCOMPARE(TempEnvironment::readHostFile(folder + "/Report.csv"), QByteArray("new"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
                 test::onWindows ? 1 : 2); // and no temporary file left behind
    }

    void hostFilesReplaceLinks() {
        if (!linksAreSymbolic())
            QSKIP("symbolic links are made only on Linux here");
        TempEnvironment env;
        const QString outside = env.root() + "/outside.txt";
        QFile out(outside);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("keep") == 4);
        out.close();
        QVERIFY(QFile::link(outside, env.root() + "/report.json"));
        QVERIFY(fs::writeHostFile(env.root() + "/report.json", "{}"));
        QCOMPARE(TempEnvironment::readHostFile(outside), QByteArray("keep"));
        QVERIFY(!QFileInfo(env.root() + "/report.json").isSymLink());
    }
};

QTEST_GUILESS_MAIN(FolderTreeTest)
#include "tst_foldertree.moc"
