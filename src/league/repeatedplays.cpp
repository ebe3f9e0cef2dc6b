#include "league/repeatedplays.h"

#include <QCryptographicHash>
#include <algorithm>

namespace huddlex::league {

namespace {

constexpr qint64 kChunkBytes = 256 * 1024;

// The play's SHA-256 in hex, or why it has none.
fs::Result<QByteArray> sha256Of(fs::InputFile& play, const QString& shown) {
    if (play.size() > RepeatedPlays::kMaxHashedBytes)
        return fs::Error{fs::ErrorKind::Other,
                         QStringLiteral("\"%1\" is %2 bytes long, longer than any play: it is "
                                        "not compared with the other games")
                             .arg(shown)
                             .arg(play.size())};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (qint64 done = 0; done < play.size();) {
        fs::Result<QByteArray> chunk = play.read(kChunkBytes);
        if (!chunk)
            return chunk.error();
        if (chunk->isEmpty())
            return fs::Error{fs::ErrorKind::Other,
                             QStringLiteral("\"%1\" became shorter while it was read").arg(shown)};
        hash.addData(*chunk);
        done += chunk->size();
    }
    return hash.result().toHex();
}

} // namespace

void RepeatedPlays::add(LeagueGame& game, const CapturedPlays& captures) {
    for (const PlayEntry& play : std::as_const(game.plays)) {
        if (play.verdict == Verdict::Identified || play.verdict == Verdict::Missing)
            continue;
        const std::optional<QString> name = captures.name(play.capture);
        if (!name || !captures.folder())
            continue;
        fs::Result<fs::InputFile> file = captures.folder()->openFile(*name);
        fs::Result<QByteArray> sha =
            file ? sha256Of(file.value(), captures.folder()->childPath(*name))
                 : fs::Result<QByteArray>(file.error());
        if (!sha) {
            game.problems << sha.message();
            continue;
        }
        Seen& seen = bySha_[*sha];
        if (seen.play.games.isEmpty()) {
            seen.play = {*sha, file->size(), play.verdict, {}};
            seen.order = bySha_.size();
        }
        if (!seen.play.games.contains(game.game))
            seen.play.games << game.game;
    }
}

QList<RepeatedPlay> RepeatedPlays::list() const {
    std::vector<const Seen*> repeated;
    for (const Seen& seen : bySha_) {
        if (seen.play.games.size() > 1)
            repeated.push_back(&seen);
    }
    std::sort(repeated.begin(), repeated.end(),
              [](const Seen* a, const Seen* b) { return a->order < b->order; });
    QList<RepeatedPlay> plays;
    for (const Seen* seen : repeated)
        plays.append(seen->play);
    return plays;
}

} // namespace huddlex::league
