#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// The game's side of a transferred game, played in a game folder on the host: a play
// library, the four plan temp files, the play temp file and play.log. Deterministic from
// the seed, so a test can rebuild every byte it expects.
namespace huddlex::fakegame {

struct Options {
    QString gameFolder; // host path
    quint32 seed = 1;
    QString playFolder = QStringLiteral("VPNFL"); // the main play folder's name
};

struct WrittenPlay {
    QString playPath;   // e.g. VPNFL\Offense\Run12.ply; empty for a play that matches nothing
    QByteArray bytes;   // what "FBPlay~.tmp" now holds
    QDateTime modified; // its new modification time
    int number = 0;     // 0-based: the how-manieth play of this game
};

class FakeGame {
public:
    explicit FakeGame(Options options);

    // Play paths of the library, relative to the game folder, backslash separated, in a
    // fixed order. Offense plays first.
    QStringList library() const;
    // The bytes of one library play.
    QByteArray playBytes(const QString& playPath) const;
    // The library plays named by plan `index` (0 XOff1, 1 XDef1, 2 XOff2, 3 XDef2).
    QStringList planPlays(int index) const;
    // The four plan temp files' names and captured names, in the same order.
    static QStringList planTempNames();

    // Creates the game folder, the play library and an empty play.log.
    bool init(QString* error = nullptr);
    // Writes the plan temp files of pair 1 or 2 (0: both).
    bool writePlans(int pair = 0, QString* error = nullptr);
    // Writes the next play into "FBPlay~.tmp" with a modification time later than the one it
    // had, and appends its line to play.log. `unknown` alters one byte so it matches nothing.
    std::optional<WrittenPlay> writePlay(bool unknown = false, QString* error = nullptr);

    // The play the next writePlay() sends (for a known play).
    QString nextPlayPath() const;

private:
    QString hostPath(const QString& relative) const;
    int playsSoFar() const;

    Options o_;
    QStringList library_;
};

} // namespace huddlex::fakegame
