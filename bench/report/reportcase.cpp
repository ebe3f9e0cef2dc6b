#include "reportcase.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

QByteArray randomBytes(QRandomGenerator& random, int n) {
    QByteArray bytes(n, '\0');
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

QByteArray readBack(const LeagueCase& league, const QString& entry) {
    QFile file(league.gameHost + QLatin1Char('/') + QString(entry).replace('\\', '/'));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

// `n` bytes changed at distinct random positions.
QByteArray changeBytes(QRandomGenerator& random, QByteArray bytes, int n) {
    QList<int> positions;
    while (positions.size() < std::min<qsizetype>(n, bytes.size())) {
        const int p = random.bounded(int(bytes.size()));
        if (!positions.contains(p))
            positions << p;
    }
    for (int p : positions)
        bytes[p] = char(bytes[p] ^ (1 + random.bounded(255)));
    return bytes;
}

} // namespace

void ReportCase::write(const QString& root) {
    league.root = root;
    league.gameHost = root + QStringLiteral("/wine/drive_c/Sierra/FBPro97");
    QDir().mkpath(root + QStringLiteral("/wine/drive_c"));
    league.writeLibrary(5000, 4, 400, 2000, 0.05);

    QRandomGenerator random(1998);
    const QByteArray header = QByteArray("FBPRO PLAY FILE v2 ").leftJustified(128, '\0');
    QStringList library;
    for (int i = 0; i < 5000; ++i) {
        const char* folders[] = {"OFF\\RUN", "OFF\\PASS", "DEF\\BLITZ", "DEF\\ZONE", "SPECIAL"};
        library
            << QStringLiteral("VPNFL\\%1\\PLAY%2.ply").arg(QLatin1String(folders[i % 5])).arg(i);
    }
    // Families: one formation, eight sets of routes. The routes are a few hundred bytes in
    // the middle, so the members differ from each other in less than a quarter of their bytes.
    for (int f = 0; f < 60; ++f) {
        const QByteArray formation = randomBytes(random, random.bounded(1000, 3000));
        const QByteArray trailer = randomBytes(random, 512);
        for (int r = 0; r < 8; ++r) {
            const QString entry = QStringLiteral("VPNFL\\FAMILY\\F%1\\ROUTE%2.ply").arg(f).arg(r);
            league.write(QString(entry).replace('\\', '/'),
                         header + formation + randomBytes(random, 160) + trailer);
            library << entry;
        }
    }
    QStringList unnamed;
    for (const QString& entry : library) {
        if (!league.named.contains(entry))
            unnamed << entry;
    }

    int next = league.capturedPlays;
    auto capture = [&](const QString& kind, const QString& origin, const QByteArray& bytes) {
        league.write(QStringLiteral("Xferbox/FBplay%1.ply").arg(next), bytes);
        made.append({next++, kind, origin});
    };
    auto anyPlay = [&] { return library[random.bounded(int(library.size()))]; };
    auto familyPlay = [&] {
        const int family = random.bounded(60);
        return QStringLiteral("VPNFL\\FAMILY\\F%1\\ROUTE%2.ply").arg(family).arg(random.bounded(8));
    };
    for (int i = 0; i < 100; ++i) {
        const QString origin = unnamed[random.bounded(int(unnamed.size()))];
        capture(QStringLiteral("unnamed"), origin, readBack(league, origin));
    }
    for (int i = 0; i < 200; ++i) {
        // Half from the families, where a near relative is always close by.
        const QString origin = i % 2 ? anyPlay() : familyPlay();
        capture(QStringLiteral("changed"), origin,
                changeBytes(random, readBack(league, origin), 1 + random.bounded(100)));
    }
    for (int i = 0; i < 50; ++i) {
        const QString origin = i % 2 ? unnamed[random.bounded(int(unnamed.size()))] : anyPlay();
        QByteArray bytes = readBack(league, origin);
        bytes.chop(1 + random.bounded(int(bytes.size()) / 6));
        if (i % 2)
            capture(QStringLiteral("truncated"), origin, bytes); // the start of an unnamed play
        else
            capture(QStringLiteral("truncated-changed"), origin,
                    changeBytes(random, bytes, 1 + random.bounded(10)));
    }
    for (int i = 0; i < 50; ++i) {
        const QString origin = anyPlay();
        QByteArray bytes = readBack(league, origin);
        bytes += randomBytes(random, 1 + random.bounded(int(bytes.size()) / 4));
        capture(QStringLiteral("extended"), origin, bytes);
    }
    for (int i = 0; i < 50; ++i)
        capture(QStringLiteral("random"), QString(),
                header + randomBytes(random, random.bounded(1024, 8 * 1024 + 1) - 128));
    // Bytes inserted or removed in the middle: what follows shifts, so position by position the
    // play is a stranger. 1 to 64 bytes in all, in one run or in several; half from the families.
    for (int i = 0; i < 100; ++i) {
        const bool insert = i % 2 == 0;
        const QString origin = i % 4 < 2 ? familyPlay() : anyPlay();
        QByteArray bytes = readBack(league, origin);
        int left = 1 + random.bounded(64);
        const int runs = i % 3 == 0 ? 1 : 2 + random.bounded(3);
        for (int run = 0; run < runs && left > 0; ++run) {
            const int length = run == runs - 1 ? left : 1 + random.bounded(left);
            left -= length;
            if (insert)
                bytes.insert(random.bounded(int(bytes.size()) + 1), randomBytes(random, length));
            else
                bytes.remove(random.bounded(int(bytes.size()) - length + 1), length);
        }
        capture(insert ? QStringLiteral("inserted") : QStringLiteral("removed"), origin, bytes);
    }
    league.capturedPlays = next;
}

QList<ReportCase::Made> ReportCase::modified() const {
    QList<Made> plays;
    for (const Made& play : made) {
        if (play.kind == QLatin1String("changed") ||
            play.kind == QLatin1String("truncated-changed") ||
            play.kind == QLatin1String("extended"))
            plays << play;
    }
    return plays;
}
