#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace huddlex::test {

// A scratch world for one test: HOME, XDG_CONFIG_HOME and WINEPREFIX point into a
// temporary folder, so the settings store and drive C: are the test's own (on Windows drive
// C: is pinned to the same folder and the settings go to a scratch registry key).
// drive_c is created; the real profile is never touched.
class TempEnvironment {
public:
    TempEnvironment();
    ~TempEnvironment();
    TempEnvironment(const TempEnvironment&) = delete;
    TempEnvironment& operator=(const TempEnvironment&) = delete;

    QString root() const { return dir_.path(); }
    QString driveC() const { return root() + QStringLiteral("/wine/drive_c"); }
    QString configHome() const { return root() + QStringLiteral("/config"); }

    // Host path of a path below drive C:, given with forward slashes ("Sierra/FBPro97").
    QString hostPath(const QString& belowC) const { return driveC() + QLatin1Char('/') + belowC; }

    // Creates folders below drive C: and returns the host path.
    QString makeDirs(const QString& belowC) const;
    // Writes a file below drive C: (folders made as needed) and returns its host path.
    QString writeFile(const QString& belowC, const QByteArray& data) const;
    static QByteArray readHostFile(const QString& hostPath);
    // A Wine prefix at `hostPath` as Wine leaves it (system.reg, drive_c), with `gameFolders`
    // made below drive_c ("Sierra/FBPro97"); returns `hostPath`.
    static QString makeWinePrefix(const QString& hostPath, const QStringList& gameFolders = {});

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldXdg_, oldPrefix_;
};

} // namespace huddlex::test
