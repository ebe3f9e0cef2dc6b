#pragma once

#include "support/tempenvironment.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace huddlex::test {

// A game folder on drive C: of a TempEnvironment, by default the one the default settings
// name (C:\Sierra\FBPro97\), with helpers for the files the game writes and capture makes.
class GameFolder {
public:
    explicit GameFolder(const TempEnvironment& env,
                        const QString& versionFolder = QStringLiteral("Sierra/FBPro97"));

    QString host() const { return host_; }
    QString hostFile(const QString& name) const { return host_ + QLatin1Char('/') + name; }
    QString captureHost() const { return hostFile(QStringLiteral("Xferbox")); }
    QString capturedHost(const QString& name) const {
        return captureHost() + QLatin1Char('/') + name;
    }

    void makeCaptureFolder() const;
    // Writes a file of the game folder; with `modified` valid its modification time is set.
    void write(const QString& name, const QByteArray& data, const QDateTime& modified = {}) const;
    void setModified(const QString& name, const QDateTime& modified) const;
    void remove(const QString& name) const;

    // The play temp file "FBPlay~.tmp" with the given content and modification time.
    void writePlay(const QByteArray& data, const QDateTime& modified) const;
    // The four plan temp files, each with a content of its own ("plan FBOff1~.pln" ...).
    void writePlans() const;

    QByteArray captured(const QString& name) const;
    bool hasCaptured(const QString& name) const;
    // On-disk names in the capture folder, sorted; hidden temporaries included.
    QStringList capturedNames() const;

private:
    QString host_;
};

} // namespace huddlex::test
