#include "support/tempenvironment.h"

#include "fs/drivemap.h"
#include "support/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

namespace huddlex::test {

TempEnvironment::TempEnvironment()
    : oldHome_(qgetenv("HOME")), oldXdg_(qgetenv("XDG_CONFIG_HOME")),
      oldPrefix_(qgetenv("WINEPREFIX")) {
    QDir().mkpath(driveC());
    QDir().mkpath(configHome());
    qputenv("HOME", root().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("WINEPREFIX", (root() + QStringLiteral("/wine")).toLocal8Bit());
    // QSettings caches the config folder on first use, so point it there explicitly too.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
    fs::DriveMap::setWinePrefix(QString()); // no prefix chosen: WINEPREFIX above is the one
    enterScratchProfile(driveC());
}

static void restore(const char* name, const QByteArray& value) {
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

TempEnvironment::~TempEnvironment() {
    leaveScratchProfile();
    fs::DriveMap::setWinePrefix(QString());
    restore("HOME", oldHome_);
    restore("XDG_CONFIG_HOME", oldXdg_);
    restore("WINEPREFIX", oldPrefix_);
}

QString TempEnvironment::makeDirs(const QString& belowC) const {
    const QString path = hostPath(belowC);
    QDir().mkpath(path);
    return path;
}

QString TempEnvironment::writeFile(const QString& belowC, const QByteArray& data) const {
    const QString path = hostPath(belowC);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray TempEnvironment::readHostFile(const QString& hostPath) {
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TempEnvironment::makeWinePrefix(const QString& hostPath, const QStringList& gameFolders) {
    QDir().mkpath(hostPath + QStringLiteral("/drive_c"));
    QFile registry(hostPath + QStringLiteral("/system.reg"));
    if (!registry.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(registry.fileName()));
    for (const QString& folder : gameFolders)
        QDir().mkpath(hostPath + QStringLiteral("/drive_c/") + folder);
    return hostPath;
}

} // namespace huddlex::test
