#include "hostilecases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace hostile {

namespace {

const char* const planNames[] = {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"};

void put(const QString& path, const QByteArray& data, qint64 size = -1) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() ||
        (size >= 0 && !file.resize(size)))
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Every letter-case spelling of `word`.
QStringList spellings(const QString& word) {
    QStringList all;
    for (int bits = 0; bits < (1 << word.size()); ++bits) {
        QString spelling;
        for (int k = 0; k < word.size(); ++k)
            spelling += (bits >> k & 1) ? word[k].toLower() : word[k].toUpper();
        all << spelling;
    }
    return all;
}

// A library of 200 plays named by the first plan, the others empty; captured plays n are
// copies of play n % 200.
void captures(const QString& game, const QString& folder, const QString& stem,
              const QString& extension, int count, int step) {
    QByteArray plan;
    QList<QByteArray> plays;
    for (int i = 0; i < 200; ++i) {
        plays << "FBPRO PLAY " + randomBytes(2048, quint32(i));
        put(game + QStringLiteral("/VPNFL/OFF/P%1.ply").arg(i), plays.last());
        plan += QStringLiteral("\"VPNFL\\OFF\\P%1.ply\",%1\r\n").arg(i).toLatin1();
    }
    for (const char* name : planNames)
        put(game + QStringLiteral("/Xferbox/") + QLatin1String(name),
            name == planNames[0] ? plan : "");
    if (folder != QLatin1String("Xferbox"))
        QDir(game).rename(QStringLiteral("Xferbox"), folder);
    for (int n = 0; n < count; ++n)
        put(game + QLatin1Char('/') + folder + QLatin1Char('/') + stem + QString::number(n * step) +
                extension,
            plays[n % 200]);
}

void spellingPlan(const QString& game, bool asOnDisk) {
    for (int i = 1; i <= 2000; ++i)
        put(game + QStringLiteral("/VPNFL/OFFENSE/SHOTGUN/Q%1.ply").arg(i),
            "FBPRO PLAY " + randomBytes(1024, quint32(i)));
    QByteArray plan;
    for (const QString& offense : spellings(QStringLiteral("OFFENSE")))
        for (const QString& shotgun : spellings(QStringLiteral("SHOTGUN")))
            plan += (asOnDisk ? QStringLiteral("VPNFL\\OFFENSE\\SHOTGUN\\Q1.ply\r\n")
                              : QStringLiteral("VPNFL\\%1\\%2\\Q1.ply\r\n").arg(offense, shotgun))
                        .toLatin1();
    for (const char* name : planNames)
        put(game + QStringLiteral("/Xferbox/") + QLatin1String(name),
            name == planNames[0] ? plan : "");
    put(game + QStringLiteral("/Xferbox/FBplay0.ply"), "FBPRO PLAY " + randomBytes(1024, 1));
}

// A big candidate and plays: one equal to it, one a prefix of it, one longer than every
// candidate, one equal to a small candidate. `big` is its size.
void bigFiles(const QString& game, qint64 big) {
    const QByteArray header = "FBPRO PLAY " + randomBytes(8192, 7);
    const QByteArray small = "FBPRO PLAY " + randomBytes(8192, 8);
    put(game + QStringLiteral("/VPNFL/BIG.ply"), header, big);
    put(game + QStringLiteral("/VPNFL/SMALL.ply"), small);
    put(game + QStringLiteral("/Xferbox/XOff1.pln"), "\"VPNFL\\BIG.ply\",\"VPNFL\\SMALL.ply\"\r\n");
    for (const char* name : {"XDef1.pln", "XOff2.pln", "XDef2.pln"})
        put(game + QStringLiteral("/Xferbox/") + QLatin1String(name), "");
    put(game + QStringLiteral("/Xferbox/FBplay0.ply"), header, big);
    put(game + QStringLiteral("/Xferbox/FBplay1.ply"), header.left(4096));
    put(game + QStringLiteral("/Xferbox/FBplay2.ply"), header, big + big / 40);
    put(game + QStringLiteral("/Xferbox/FBplay3.ply"), small);
}

} // namespace

QList<Case> cases() {
    return {
        {QStringLiteral("gaps"), QStringLiteral("contiguous"),
         QStringLiteral("10,000 captured plays numbered 0, 2, ... 19,998")},
        {QStringLiteral("other-case"), QStringLiteral("contiguous"),
         QStringLiteral("10,000 captured plays in XFERBOX\\fbplayN.PLY")},
        {QStringLiteral("spellings"), QStringLiteral("one-spelling"),
         QStringLiteral("one play named in 16,384 spellings, folder of 2,000")},
        {QStringLiteral("sparse-40GB"), QStringLiteral("small-files"),
         QStringLiteral("40 GB sparse plays and candidate")},
    };
}

void write(const QString& name, const QString& game) {
    if (name == QLatin1String("contiguous"))
        captures(game, QStringLiteral("Xferbox"), QStringLiteral("FBplay"), QStringLiteral(".ply"),
                 10000, 1);
    else if (name == QLatin1String("gaps"))
        captures(game, QStringLiteral("Xferbox"), QStringLiteral("FBplay"), QStringLiteral(".ply"),
                 10000, 2);
    else if (name == QLatin1String("other-case"))
        captures(game, QStringLiteral("XFERBOX"), QStringLiteral("fbplay"), QStringLiteral(".PLY"),
                 10000, 1);
    else if (name == QLatin1String("spellings"))
        spellingPlan(game, false);
    else if (name == QLatin1String("one-spelling"))
        spellingPlan(game, true);
    else if (name == QLatin1String("sparse-40GB"))
        bigFiles(game, qint64(40) << 30);
    else if (name == QLatin1String("small-files"))
        bigFiles(game, 16 * 1024);
    else
        qFatal("no case %s", qPrintable(name));
}

} // namespace hostile
