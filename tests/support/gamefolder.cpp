#include "support/gamefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace huddlex::test {

GameFolder::GameFolder(const TempEnvironment& env, const QString& versionFolder)
    : host_(env.makeDirs(versionFolder)) {}

void GameFolder::makeCaptureFolder() const {
    QDir().mkpath(captureHost());
}

void GameFolder::write(const QString& name, const QByteArray& data,
                       const QDateTime& modified) const {
    QFile file(hostFile(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write test file %s", qPrintable(file.fileName()));
    file.close();
    if (modified.isValid())
        setModified(name, modified);
}

void GameFolder::setModified(const QString& name, const QDateTime& modified) const {
    QFile file(hostFile(name));
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(modified, QFileDevice::FileModificationTime))
        qFatal("cannot set the time of %s", qPrintable(file.fileName()));
}

void GameFolder::remove(const QString& name) const {
    QFile::remove(hostFile(name));
}

void GameFolder::writePlay(const QByteArray& data, const QDateTime& modified) const {
    write(QStringLiteral("FBPlay~.tmp"), data, modified);
}

void GameFolder::writePlans() const {
    for (const char* name : {"FBOff1~.pln", "FBDef1~.pln", "FBOff2~.pln", "FBDef2~.pln"})
        write(QString::fromLatin1(name), QByteArray("plan ") + name);
}

QByteArray GameFolder::captured(const QString& name) const {
    return TempEnvironment::readHostFile(capturedHost(name));
}

bool GameFolder::hasCaptured(const QString& name) const {
    return QFileInfo(capturedHost(name)).isFile();
}

QStringList GameFolder::capturedNames() const {
    return QDir(captureHost()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace huddlex::test
