#include "settings/gamepaths.h"
#include "settings/inifilecheck.h"
#include "settings/settingsstore.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace huddlex;
using huddlex::test::TempEnvironment;

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesTheDefaultFolders() {
        TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        GamePaths paths;
        paths.readFrom(store);
        QCOMPARE(paths.gameFolder(), QString("C:\\Sierra\\FBPro97\\"));
        QCOMPARE(paths.captureFolder(), QString("C:\\Sierra\\FBPro97\\Xferbox"));
        QCOMPARE(paths.captureFile("FBplay3.ply"),
                 QString("C:\\Sierra\\FBPro97\\Xferbox\\FBplay3.ply"));
        QCOMPARE(paths.mainPlayFolder(), QString("C:\\Sierra\\FBPro97\\VPNFL"));
        QVERIFY(captureSwitchOn(store, keys::CapPlans));
        QVERIFY(captureSwitchOn(store, keys::CapPlays));
        QVERIFY(!QFileInfo::exists(store.fileName())); // reading never creates the store
        QCOMPARE(store.read(keys::FBVer), QString());  // no default asked, none given
    }

    void valuesRoundTripAndEmptyStringsStay() {
        TempEnvironment env;
        {
            NativeSettingsStore store(QStringLiteral("huddlex"));
            store.write(keys::FBPlayFolder, QString());
            store.write(keys::FBVer, FBPro98Folder);
            store.write(keys::FBDrive, QStringLiteral("d:"));
        }
        NativeSettingsStore store(QStringLiteral("huddlex"));
        if (!test::onWindows) // on Windows a registry key: see tst_settingslocation
            QVERIFY(store.fileName().startsWith(env.configHome() + "/huddlex/"));
        GamePaths paths;
        paths.readFrom(store);
        QCOMPARE(paths.gFBPlayFolder, QString());
        QCOMPARE(paths.gameFolder(), QString("d:\\Sierra\\FBPro98\\"));
        QCOMPARE(paths.mainPlayFolder(), QString("d:\\Sierra\\FBPro98\\"));
    }

    void captureSwitches_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("one") << "1" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("two") << "2" << false;
        QTest::newRow("not a number") << "yes" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks around") << " 1 " << true;
    }
    void captureSwitches() {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        MemorySettingsStore store;
        store.write(keys::CapPlays, stored);
        QCOMPARE(captureSwitchOn(store, keys::CapPlays), on);
    }

    // Which files read as settings: what Qt writes and hand edits that keep the form do; what
    // makes QSettings run a value on into later lines, or read half a file, does not.
    void wellFormedFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("wellFormed");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("as Qt writes it")
            << QByteArray("[Settings]\nFBDrive=d:\nFBVer=\\\\Sierra\\\\FBPro98\\\\\n") << true;
        QTest::newRow("quoted, with ; and =")
            << QByteArray("[Settings]\nFBPlayFolder=\"a;b=c, d\"\n") << true;
        QTest::newRow("comments, blanks, CR LF, BOM")
            << QByteArray("\xef\xbb\xbf; mine\r\n\r\n  [Settings]  \r\nCapPlans = 0 ; off\r\n")
            << true;
        QTest::newRow("other sections")
            << QByteArray("[General]\nx=1\n[Settings]\nCapPlays=1\n") << true;
        QTest::newRow("escaped quote and non-ASCII")
            << QByteArray("[Settings]\nFBPlayFolder=Sp\\\"iel \xc3\xa4\n") << true;
        QTest::newRow("quote runs into the next lines")
            << QByteArray("[Settings]\nFBDrive=\"D:\n[[[=\n") << false;
        QTest::newRow("section never closed") << QByteArray("[Settings\nFBDrive=D:\n") << false;
        QTest::newRow("bad line inside [Settings]")
            << QByteArray("[Settings]\nFBDrive=D:\ngarbage\nFBVer=x\n") << false;
        QTest::newRow("value without a key") << QByteArray("[Settings]\n=D:\n") << false;
        QTest::newRow("backslash continues the line")
            << QByteArray("[Settings]\nFBDrive=D:\\\nFBVer=x\n") << false;
        QTest::newRow("control characters")
            << QByteArray("[Settings]\nFBDrive=D:\x01\x02\n") << false;
        QTest::newRow("not UTF-8") << QByteArray("[Settings]\nFBPlayFolder=\xff\xfe\n") << false;
    }
    void wellFormedFiles() {
        QFETCH(QByteArray, file);
        QTEST(isWellFormedIni(file), "wellFormed");
    }

    // Whatever a value holds, the file Qt writes for it reads as well formed.
    void whatQtWritesIsWellFormed() {
        if (test::onWindows)
            QSKIP("the Windows store is the registry, which has no file to break");
        TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        const QStringList values{
            "",          "C:",    "\\Sierra\\FBPro97\\", " lead", "a;b",    "q\"uo", "x=y",
            "new\nline", "tab\t", "\u00e4\u4e2d",        "[s]",   "@Inval", "\\",    "\"",
            "\r"};
        for (int i = 0; i < values.size(); ++i)
            store.write(QStringLiteral("Key%1").arg(i), values[i]);
        QFile file(store.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(isWellFormedIni(file.readAll()));
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(store.read(QStringLiteral("Key%1").arg(i)), values[i]);
        QVERIFY(!store.isMalformed());
    }

    // Qt reports a broken file only to its first reader; every read here, by any store of the
    // process, gives the defaults, and reading writes nothing.
    void malformedFileGivesDefaultsToEveryRead() {
        if (test::onWindows)
            QSKIP("the Windows store is the registry, which has no file to break");
        TempEnvironment env;
        const QByteArray garbage("[Settings]\nFBDrive=\"D:\n\x01\x02[[[=\nCapPlans=0\n");
        const QString fileName = writeSettingsFile(garbage);
        for (int round = 0; round < 3; ++round) {
            NativeSettingsStore store(QStringLiteral("huddlex"));
            GamePaths paths;
            paths.readFrom(store);
            QCOMPARE(paths.gFBDrive, QString("C:"));
            QVERIFY(captureSwitchOn(store, keys::CapPlans));
            QVERIFY(!store.contains(keys::CapPlans));
            QCOMPARE(store.read(keys::FBVer), QString());
        }
        QCOMPARE(TempEnvironment::readHostFile(fileName), garbage);
        QVERIFY(!QFileInfo::exists(fileName + ".bad"));
    }

    // The first change keeps the malformed file beside the new one, whole; an earlier one kept
    // aside is never replaced; a file mended by hand is read again.
    void aChangeKeepsTheMalformedFileAside() {
        if (test::onWindows)
            QSKIP("the Windows store is the registry, which has no file to break");
        TempEnvironment env;
        const QByteArray garbage("[Settings\nFBDrive=Q:\nFBPlayFolder=MyPlays\n");
        const QString fileName = writeSettingsFile(garbage);
        writeHostFile(fileName + ".bad", "from an earlier session");
        NativeSettingsStore store(QStringLiteral("huddlex"));
        QCOMPARE(store.read(keys::FBPlayFolder, defaults::FBPlayFolder), QString("VPNFL"));

        store.write(keys::FBVer, FBPro98Folder);
        QCOMPARE(TempEnvironment::readHostFile(fileName + ".bad2"), garbage);
        QCOMPARE(TempEnvironment::readHostFile(fileName + ".bad"), "from an earlier session");
        QVERIFY(!store.isMalformed());
        QCOMPARE(store.read(keys::FBVer), FBPro98Folder);
        QCOMPARE(store.read(keys::FBDrive, defaults::FBDrive), QString("C:"));
        QCOMPARE(store.read(keys::FBPlayFolder, defaults::FBPlayFolder), QString("VPNFL"));
        store.write(keys::CapPlans, "0");
        QVERIFY(!QFileInfo::exists(fileName + ".bad3"));
        QCOMPARE(NativeSettingsStore(QStringLiteral("huddlex")).read(keys::CapPlans), "0");

        writeHostFile(fileName, "[Settings]\nFBPlayFolder=Mended\n");
        QCOMPARE(store.read(keys::FBPlayFolder), QString("Mended"));
    }

    // A value the store cannot keep stays in use for the session and is tried again with the
    // next change; the native store says why it could not write.
    void unsavedValuesStayInUse() {
        MemorySettingsStore store;
        SettingsInUse settings(store);
        store.failWrites = QStringLiteral("the disk is full");
        QCOMPARE(settings.write(keys::FBVer, FBPro98Folder), store.failWrites);
        QCOMPARE(settings.read(keys::FBVer), FBPro98Folder);
        QVERIFY(settings.contains(keys::FBVer) && !store.contains(keys::FBVer));
        QCOMPARE(settings.notSaved(), store.failWrites);
        store.failWrites.reset();
        QCOMPARE(settings.write(keys::FBDrive, "D:"), std::nullopt);
        QCOMPARE(store.values(),
                 (QMap<QString, QString>{{keys::FBDrive, "D:"}, {keys::FBVer, FBPro98Folder}}));
        QCOMPARE(settings.notSaved(), std::nullopt);
    }
    void nativeStoreSaysWhenItCannotWrite() {
        TempEnvironment env;
        if (test::onWindows)
            QSKIP("the registry takes every write here");
        // Its folder is a file: nothing can be written there, whoever runs the test.
        writeHostFile(env.configHome() + "/huddlex", "not a folder");
        const SettingsStore::WriteFailure failure =
            NativeSettingsStore(QStringLiteral("huddlex")).write(keys::FBDrive, "D:");
        QVERIFY(failure && failure->contains("could not be saved"));
    }

private:
    static void writeHostFile(const QString& fileName, const QByteArray& data) {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }
    static QString writeSettingsFile(const QByteArray& data) {
        const QString fileName = NativeSettingsStore(QStringLiteral("huddlex")).fileName();
        writeHostFile(fileName, data);
        return fileName;
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
