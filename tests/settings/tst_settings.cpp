#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

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

    void malformedFileGivesDefaultsAndIsLeftAlone() {
        if (test::onWindows)
            QSKIP("the Windows store is the registry, which has no file to break");
        TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        QDir().mkpath(QFileInfo(store.fileName()).absolutePath());
        const QByteArray garbage("[Settings\nFBDrive=\"D:\n\x01\x02[[[=\n");
        {
            QFile file(store.fileName());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        GamePaths paths;
        paths.readFrom(store);
        QCOMPARE(paths.gFBDrive, QString("C:"));
        QVERIFY(captureSwitchOn(store, keys::CapPlans));
        QFile file(store.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
