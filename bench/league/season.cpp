#include "season.h"

#include "zipwriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

huddlex::test::ZipEntry entry(const QString& name, const QByteArray& data) {
    huddlex::test::ZipEntry e;
    e.name = name.toUtf8();
    e.data = data;
    return e;
}

} // namespace

void Season::write(const QString& dir) const {
    QRandomGenerator random(1998);
    const QByteArray header = QByteArray("FBPRO PLAY FILE v2 ").leftJustified(128, '\0');
    const char* folders[] = {"OFF/RUN", "OFF/PASS", "DEF/BLITZ", "DEF/ZONE", "SPECIAL"};
    QList<QByteArray> plays;
    QStringList paths;
    QList<huddlex::test::ZipEntry> pool;
    for (int i = 0; i < poolPlays; ++i) {
        QByteArray play;
        if (i % 4 != 0) { // a family member: a few bytes of the family's first play changed
            play = plays[i - i % 4];
            for (int k = 0; k < 4; ++k)
                play[random.bounded(128, int(play.size()))] = char(random.bounded(256));
        } else {
            play = header;
            const int size = random.bounded(1024, 4 * 1024 + 1);
            while (play.size() < size)
                play += char(random.bounded(256));
        }
        plays << play;
        paths << QStringLiteral("%1/PLAY%2.ply").arg(QLatin1String(folders[i % 5])).arg(i);
        pool.append(entry("VPNFL/" + paths.last(), play));
    }
    writeFile(dir + "/pool.zip", huddlex::test::MakeZip(pool));

    const char* planNames[] = {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"};
    QList<QByteArray> modified;
    for (int week = 1; week <= weeks; ++week) {
        for (int game = 1; game <= teams / 2; ++game) {
            QList<huddlex::test::ZipEntry> entries;
            QList<int> named;
            for (const char* plan : planNames) {
                QByteArray text = "\"Game plan\",1998\r\n";
                for (int k = 0; k < 60; ++k) {
                    const int pick = random.bounded(poolPlays);
                    named << pick;
                    text += "\"VPNFL\\" + paths[pick].toLatin1().replace('/', '\\') + "\"," +
                            QByteArray::number(k) + "\r\n";
                }
                if (random.generateDouble() < gapPlanShare)
                    text += "\"VPNFL\\OFF\\RUN\\GONE.ply\",99\r\n";
                entries.append(entry(QStringLiteral("Xferbox/%1").arg(plan), text));
            }
            for (int n = 0; n < playsPerGame; ++n) {
                QByteArray play = plays[named[random.bounded(int(named.size()))]];
                if (random.generateDouble() < modifiedShare) {
                    // A coach runs his modified plays again in later games.
                    if (!modified.isEmpty() && random.bounded(4) == 0) {
                        play = modified[random.bounded(int(modified.size()))];
                    } else {
                        for (int k = 0; k < 3; ++k)
                            play[random.bounded(128, int(play.size()))] ^= 0x41;
                        modified << play;
                    }
                }
                entries.append(entry(QStringLiteral("Xferbox/FBplay%1.ply").arg(n), play));
            }
            writeFile(QStringLiteral("%1/season/week%2/game%3.zip")
                          .arg(dir)
                          .arg(week, 2, 10, QLatin1Char('0'))
                          .arg(game, 2, 10, QLatin1Char('0')),
                      huddlex::test::MakeZip(entries));
        }
    }
}
