#include "league/leaguewriters.h"
#include "validate/fbplan.h"

namespace huddlex::league {

namespace {

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

QByteArray gameBlock(const LeagueGame& game) {
    QByteArray out = "Game " + utf8(game.game) + '\n';
    if (!game.checked()) {
        for (const QString& line : game.error.split(QLatin1Char('\n')))
            out += "Not checked: " + utf8(line) + '\n';
    } else {
        qint64 unknown = 0;
        for (qsizetype i = 0; i < game.outcomes.size(); ++i) {
            const QString& outcome = game.outcomes[i];
            unknown += outcome == UnknownPlay ? 1 : 0;
            // As the one-game command prints them: the plan's bytes, one character each.
            out += QStringLiteral("FBplay%1.ply\t").arg(i).toLatin1() + outcome.toLatin1() + '\n';
        }
        out += QByteArray::number(unknown) + " Unknown Plays\n";
        for (const GamePlan& plan : game.plans) {
            for (const QString& gap : plan.gaps)
                out += "Plan gap\t" + utf8(plan.summary.file) + '\t' + utf8(gap) + '\n';
        }
    }
    for (const QString& problem : game.problems) {
        for (const QString& line : problem.split(QLatin1Char('\n')))
            out += "Not read: " + utf8(line) + '\n';
    }
    return out;
}

} // namespace

QByteArray LeagueText(const LeagueResult& result) {
    const PoolSummary& pool = result.pool;
    QByteArray out = "Pool " + utf8(pool.path) + ": ";
    if (!pool.error.isEmpty()) {
        out += "not read: " + utf8(pool.error) + '\n';
    } else {
        out += (pool.holdsPlayFolder ? "holds the main play folder " : "is the main play folder ") +
               utf8(pool.playFolder) + ", " + QByteArray::number(pool.plays) + " play files\n";
    }
    for (const QString& problem : pool.problems)
        out += "Not read: " + utf8(problem) + '\n';
    for (const LeagueGame& game : result.games)
        out += '\n' + gameBlock(game);
    if (!result.repeated.isEmpty())
        out += '\n';
    for (const RepeatedPlay& play : result.repeated) {
        out += "Repeated unknown play\t" + play.sha256 + '\t' + utf8(VerdictName(play.verdict)) +
               '\t' + QByteArray::number(play.games.size()) + " games\t" +
               utf8(play.games.join(QStringLiteral(", "))) + '\n';
    }
    const qint64 checked = result.gamesChecked();
    out +=
        QStringLiteral("\n%1 games, %2 checked%3: %4 Unknown Plays, %5 plan gaps, %6 repeated "
                       "unknown plays%7\n")
            .arg(result.games.size())
            .arg(checked)
            .arg(checked < result.games.size()
                     ? QStringLiteral(", %1 not checked").arg(result.games.size() - checked)
                     : QString())
            .arg(result.unknown())
            .arg(result.gaps())
            .arg(result.repeated.size())
            .arg(result.cancelled ? QStringLiteral(" (stopped before the last game)") : QString())
            .toUtf8();
    return out;
}

} // namespace huddlex::league
