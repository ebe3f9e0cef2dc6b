#pragma once

#include "support/gamefolder.h"
#include "validate/fbplan.h"
#include "validate/playidentifier.h"
#include "validate/playpathlist.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

// A game folder with play files and captured plays, for the identification tests.
namespace huddlex::test {

using Files = QList<QPair<QString, QByteArray>>; // path below the game folder, content

struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    GamePaths paths{"C:", "\\Sierra\\FBPro97\\", "VPNFL"};
    std::optional<PlayPathList> playFiles;

    Rig() { game.makeCaptureFolder(); }
    void writeFiles(const Files& files) {
        for (const auto& [path, content] : files) {
            QDir().mkpath(QFileInfo(game.hostFile(path)).path());
            game.write(path, content);
        }
    }
    void setCandidates(const QStringList& entries) {
        QByteArray text;
        for (const QString& e : entries)
            text += e.toLatin1();
        playFiles = ExtractPlayPaths(text, "VPNFL", ".ply");
    }
    void capture(int number, const QByteArray& content) {
        game.write(QStringLiteral("Xferbox/FBplay%1.ply").arg(number), content);
    }
};

QByteArray bytes(int n, char first = 'a') {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char(first + i % 26);
    return b;
}

// The rule itself, on contents in memory: the first candidate that begins with the play.
QString bruteForce(const QStringList& entries, const QHash<QString, QByteArray>& contents,
                   const QByteArray& play) {
    if (play.isEmpty())
        return UnknownPlay;
    for (const QString& e : entries) {
        auto it = contents.constFind(e);
        if (it != contents.constEnd() && it->startsWith(play))
            return e;
    }
    return UnknownPlay;
}

} // namespace huddlex::test
