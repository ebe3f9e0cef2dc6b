#include "fakegame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace huddlex::fakegame {

namespace {

const QString kPlayTemp = QStringLiteral("FBPlay~.tmp");
const QString kPlayLog = QStringLiteral("play.log");
constexpr int kPlaysPerSide = 8;
constexpr int kHeaderSize = 32;

// splitmix64: the same numbers on every platform, unlike std distributions.
class Rng {
public:
    explicit Rng(quint64 seed) : s_(seed) {}
    quint64 next() {
        quint64 z = (s_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }

private:
    quint64 s_;
};

quint64 hashOf(const QString& text) {
    quint64 h = 1469598103934665603ULL; // FNV-1a
    for (QChar c : text) {
        h ^= c.unicode();
        h *= 1099511628211ULL;
    }
    return h;
}

// Filler that a field reader takes as part of a field: no comma, quote, line end, Ctrl-Z
// or letters and digits that could spell a play path.
char fillerByte(Rng& rng) {
    static const QByteArray allowed = [] {
        QByteArray a;
        for (int b = 0x01; b <= 0x08; ++b)
            a.append(char(b));
        for (int b = 0x80; b <= 0xFF; ++b)
            a.append(char(b));
        return a;
    }();
    return allowed.at(rng.below(int(allowed.size())));
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

bool writeWhole(const QString& path, const QByteArray& data, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
        return false;
    }
    return true;
}

bool appendLine(const QString& path, const QByteArray& line, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(line + "\r\n") < 0) {
        setError(error, QStringLiteral("cannot append to %1: %2").arg(path, f.errorString()));
        return false;
    }
    return true;
}

} // namespace

FakeGame::FakeGame(Options options) : o_(std::move(options)) {
    Rng rng(o_.seed);
    const QStringList offense{QStringLiteral("Run"), QStringLiteral("Pass"),
                              QStringLiteral("Screen"), QStringLiteral("Draw")};
    const QStringList defense{QStringLiteral("Blitz"), QStringLiteral("Zone"),
                              QStringLiteral("Man"), QStringLiteral("Goal")};
    for (const auto& [side, kinds] : {std::pair{QStringLiteral("Offense"), offense},
                                      std::pair{QStringLiteral("Defense"), defense}}) {
        for (int i = 0; i < kPlaysPerSide; ++i) {
            const int number = 10 * (i / 4) + 1 + rng.below(9);
            library_ << o_.playFolder + '\\' + side + '\\' + kinds[i % 4] +
                            QString::number(number) + QStringLiteral(".ply");
        }
    }
}

QStringList FakeGame::library() const {
    return library_;
}

QByteArray FakeGame::playBytes(const QString& playPath) const {
    // The header is the same for every play of the library, as in a real play set.
    QByteArray bytes("FBPRO PLAY\x1a\x02\x00\x01", 14);
    bytes.append(QByteArray(kHeaderSize - bytes.size(), '\0'));
    Rng rng(o_.seed ^ hashOf(playPath));
    const int body = 2048 + rng.below(3072);
    for (int i = 0; i < body; ++i)
        bytes.append(char(rng.next() & 0xFF));
    return bytes;
}

QStringList FakeGame::planTempNames() {
    return {QStringLiteral("FBOff1~.pln"), QStringLiteral("FBDef1~.pln"),
            QStringLiteral("FBOff2~.pln"), QStringLiteral("FBDef2~.pln")};
}

QStringList FakeGame::planPlays(int index) const {
    // Offense plans split the offense plays, defense plans the defense plays, shuffled by seed.
    const bool defensePlan = index % 2 == 1;
    QStringList side = library_.mid(defensePlan ? kPlaysPerSide : 0, kPlaysPerSide);
    Rng rng(o_.seed * 31 + (defensePlan ? 7 : 3));
    for (int i = int(side.size()) - 1; i > 0; --i)
        side.swapItemsAt(i, rng.below(i + 1));
    const int half = kPlaysPerSide / 2;
    return side.mid(index < 2 ? 0 : half, half);
}

QString FakeGame::hostPath(const QString& relative) const {
    return QDir(o_.gameFolder).filePath(QString(relative).replace('\\', '/'));
}

bool FakeGame::init(QString* error) {
    for (const QString& play : library_) {
        const QString path = hostPath(play);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            setError(error, QStringLiteral("cannot create the folder of %1").arg(path));
            return false;
        }
        if (!writeWhole(path, playBytes(play), error))
            return false;
    }
    return writeWhole(hostPath(kPlayLog), "FBPro play log\r\n", error);
}

bool FakeGame::writePlans(int pair, QString* error) {
    const QStringList names = planTempNames();
    for (int index = 0; index < 4; ++index) {
        if (pair != 0 && index / 2 != pair - 1)
            continue;
        Rng rng(o_.seed + 1000 + quint64(index));
        QByteArray text;
        for (int i = 0; i < 40; ++i)
            text.append(fillerByte(rng));
        text.append("\r\n");
        for (const QString& play : planPlays(index)) {
            const int filler = 8 + rng.below(12);
            for (int i = 0; i < filler; ++i)
                text.append(fillerByte(rng));
            text.append(',').append(play.toLatin1()).append("\r\n");
        }
        if (!writeWhole(hostPath(names[index]), text, error))
            return false;
    }
    return true;
}

int FakeGame::playsSoFar() const {
    QFile log(hostPath(kPlayLog));
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count("FBPlay~"));
}

QString FakeGame::nextPlayPath() const {
    QStringList named;
    for (int index = 0; index < 4; ++index)
        named << planPlays(index);
    Rng rng(o_.seed * 7919 + quint64(playsSoFar()));
    return named[rng.below(int(named.size()))];
}

std::optional<WrittenPlay> FakeGame::writePlay(bool unknown, QString* error) {
    WrittenPlay play;
    play.number = playsSoFar();
    const QString source = nextPlayPath();
    play.bytes = playBytes(source);
    if (unknown)
        play.bytes[kHeaderSize + play.number % 64] =
            char(play.bytes[kHeaderSize + play.number % 64] ^ 0x5A);
    else
        play.playPath = source;

    const QString path = hostPath(kPlayTemp);
    const QFileInfo before(path);
    QDateTime modified = QDateTime::currentDateTime();
    // Later than the last play even when two are written within one clock step.
    if (before.exists() && modified <= before.lastModified())
        modified = before.lastModified().addMSecs(1);
    if (!writeWhole(path, play.bytes, error))
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) ||
        !f.setFileTime(modified, QFileDevice::FileModificationTime)) {
        setError(error, QStringLiteral("cannot set the time of %1: %2").arg(path, f.errorString()));
        return std::nullopt;
    }
    f.close();
    play.modified = QFileInfo(path).lastModified();

    const QByteArray line = QStringLiteral("Q1  Play %1  FBPlay~ gain of %2")
                                .arg(play.number + 1)
                                .arg(play.number % 7)
                                .toLatin1();
    if (!appendLine(hostPath(kPlayLog), line, error))
        return std::nullopt;
    return play;
}

} // namespace huddlex::fakegame
