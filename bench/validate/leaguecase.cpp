#include "leaguecase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>

void LeagueCase::write(const QString& belowGame, const QByteArray& data) const {
    const QString path = gameHost + QLatin1Char('/') + belowGame;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

void LeagueCase::writeLibrary(int playFiles, int plans, int playsPerPlan, int captured,
                              double unknownShare) {
    QRandomGenerator random(1997);
    const QByteArray header = QByteArray("FBPRO PLAY FILE v2 ").leftJustified(128, '\0');
    const char* folders[] = {"OFF\\RUN", "OFF\\PASS", "DEF\\BLITZ", "DEF\\ZONE", "SPECIAL"};
    QStringList library;
    QList<QByteArray> contents;
    for (int i = 0; i < playFiles; ++i) {
        const QString entry =
            QStringLiteral("VPNFL\\%1\\PLAY%2.ply").arg(QLatin1String(folders[i % 5])).arg(i);
        QByteArray content = header;
        const int size = random.bounded(1024, 8 * 1024 + 1);
        while (content.size() < size)
            content += char(random.bounded(256));
        write(QString(entry).replace(QLatin1Char('\\'), QLatin1Char('/')), content);
        library << entry;
        contents << content;
    }

    QList<int> namedIndex;
    for (int p = 0; p < plans; ++p) {
        QByteArray plan = "\"Game plan\",1997\r\n";
        for (int k = 0; k < playsPerPlan; ++k) {
            const int pick = random.bounded(playFiles);
            plan += QStringLiteral("\"%1\",%2\r\n").arg(library[pick]).arg(k).toLatin1();
            if (!namedIndex.contains(pick))
                namedIndex << pick;
        }
        const char* names[] = {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"};
        write(QStringLiteral("Xferbox/%1").arg(QLatin1String(names[p % 4])), plan);
    }
    for (int i : namedIndex)
        named << library[i];

    capturedPlays = captured;
    unknownPlays = 0;
    for (int n = 0; n < captured; ++n) {
        QByteArray play;
        if (random.generateDouble() < unknownShare) {
            play = header + QByteArray::number(n) + "no such play";
            ++unknownPlays;
        } else {
            play = contents[namedIndex[random.bounded(int(namedIndex.size()))]];
        }
        write(QStringLiteral("Xferbox/FBplay%1.ply").arg(n), play);
    }
}

void LeagueCase::writePlayLog(int lines, int markerLines) {
    QByteArray log;
    const int every = std::max(1, lines / std::max(1, markerLines));
    for (int i = 0; i < lines; ++i) {
        if (i % every == 0)
            log += "Q" + QByteArray::number(i % 4 + 1) + " 12:34 FBPlay~ run for 3 yards\r\n";
        else
            log += "Q" + QByteArray::number(i % 4 + 1) + " 12:34 incomplete pass, 2nd and 10\r\n";
    }
    write(QStringLiteral("play.log"), log);
}
