#include "settings/settingslocation.h"
#include "settings/settingsstore.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

// The Windows rule, compiled here on every platform so a Linux build checks it too.
namespace windowsrule {
using huddlex::SettingsLocation;
#include "settings/settingslocation_windows.cpp"
} // namespace windowsrule

using namespace huddlex;
using huddlex::test::TempEnvironment;

namespace {

const QString windowsOrganisation = QStringLiteral("VB and VBA Program Settings");

// The key QSettings makes of a location and a group on Windows, in the user's branch:
// Software\<organisation>\<application>\<group>.
QString windowsKey(const SettingsLocation& location, const QString& group) {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2\\%3")
        .arg(location.organisation, location.application, group);
}

} // namespace

// Where the settings of a program named <name> live: Linux ~/.config/<name>/<name>.conf,
// Windows HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<name>\Settings.
class SettingsLocationTest : public QObject {
    Q_OBJECT
private slots:
    void windowsKeyIsTheDesignedOne_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("installed name") << "huddlex";
        QTest::newRow("renamed copy") << "Huddlex Test";
    }
    void windowsKeyIsTheDesignedOne() {
        QFETCH(QString, name);
        const SettingsLocation location = windowsrule::huddlex::settingsLocation(name);
        QCOMPARE(location.organisation, windowsOrganisation);
        QCOMPARE(location.application, name);
        QCOMPARE(windowsKey(location, "Settings"),
                 "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\" + name +
                     "\\Settings");
    }

    void thisPlatformsPlace() {
        TempEnvironment env;
        const SettingsLocation location = settingsLocation("huddlex");
        QCOMPARE(location.application, QString("huddlex"));
        NativeSettingsStore store(QStringLiteral("huddlex"));
        if (test::onWindows) {
            QCOMPARE(location.organisation, windowsOrganisation);
            QCOMPARE(
                store.fileName(),
                QString("\\HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\huddlex"));
        } else {
            QCOMPARE(location.organisation, QString("huddlex"));
            QCOMPARE(store.fileName(), env.configHome() + "/huddlex/huddlex.conf");
        }
    }

    // What the store writes is found in that place and nowhere else.
    void writesLandThere() {
        TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        store.write(keys::FBDrive, QStringLiteral("d:"));
        if (test::onWindows) {
            QSettings designed(windowsKey(settingsLocation("huddlex"), "Settings"),
                               QSettings::NativeFormat);
            QCOMPARE(designed.value(keys::FBDrive).toString(), QString("d:"));
            QSettings wrong(QStringLiteral("HKEY_CURRENT_USER\\Software\\huddlex"),
                            QSettings::NativeFormat);
            QVERIFY(wrong.allKeys().isEmpty());
        } else {
            QFile file(env.configHome() + "/huddlex/huddlex.conf");
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("[Settings]\nFBDrive=d:\n"));
        }
        QCOMPARE(NativeSettingsStore(QStringLiteral("huddlex")).read(keys::FBDrive), QString("d:"));
        QCOMPARE(NativeSettingsStore(QStringLiteral("other")).read(keys::FBDrive), QString());
    }
};

QTEST_GUILESS_MAIN(SettingsLocationTest)
#include "tst_settingslocation.moc"
