#include "league/leaguehtml.h"

#include "league/leaguewriters.h"
#include "report/reportwords.h"

namespace huddlex::league {

using html::text;

namespace {

QString count(qint64 n, const QString& one, const QString& many, bool bad) {
    const QString words = QStringLiteral("%1 %2").arg(CountInWords(n), n == 1 ? one : many);
    return bad && n > 0 ? QStringLiteral("<span class=\"bad\">%1</span>").arg(words) : words;
}

QString cell(qint64 n, bool bad) {
    return QStringLiteral("<td class=\"n%1\">%2</td>")
        .arg(bad && n > 0 ? QStringLiteral(" bad") : QString(), CountInWords(n));
}

QString poolLine(const PoolSummary& pool) {
    QString out = QStringLiteral("<p>Pool <code>%1</code>: ").arg(text(pool.path));
    if (!pool.error.isEmpty())
        return out +
               QStringLiteral("<span class=\"bad\">not read: %1</span></p>").arg(text(pool.error));
    return out + QStringLiteral("%1 the main play folder <b>%2</b>, %3 play files</p>")
                     .arg(pool.holdsPlayFolder ? QStringLiteral("holds") : QStringLiteral("is"),
                          text(pool.playFolder), CountInWords(pool.plays));
}

QString problemList(const QStringList& problems) {
    if (problems.isEmpty())
        return {};
    QString out = QStringLiteral("<h3>Not read</h3><ul class=\"problems\">");
    for (const QString& problem : problems)
        out += QStringLiteral("<li>%1</li>").arg(text(problem));
    return out + QStringLiteral("</ul>");
}

QString gamesTable(const LeagueResult& result) {
    QString out = QStringLiteral(
        "<table class=\"games\"><thead><tr><th>Game</th><th class=\"n\">Plays</th>"
        "<th class=\"n\">Unknown</th><th class=\"n\">Plan gaps</th><th>State</th></tr></thead>"
        "<tbody>");
    for (qsizetype i = 0; i < result.games.size(); ++i) {
        const LeagueGame& game = result.games[i];
        const bool flagged =
            !game.checked() || game.unknown > 0 || game.gaps() > 0 || !game.problems.isEmpty();
        const QString state =
            !game.checked() ? QStringLiteral("<span class=\"bad\">not checked</span>")
            : !game.problems.isEmpty()
                ? QStringLiteral("<span class=\"bad\">checked, not all read</span>")
                : QStringLiteral("<span class=\"ok\">checked</span>");
        out += QStringLiteral("<tr%1><td><a href=\"#game%2\">%3</a></td>%4%5%6<td>%7</td></tr>")
                   .arg(flagged ? QStringLiteral(" class=\"flag\"") : QString())
                   .arg(i + 1)
                   .arg(text(game.game), cell(game.plays.size(), false), cell(game.unknown, true),
                        cell(game.gaps(), true), state);
    }
    return out + QStringLiteral("</tbody></table>");
}

QString repeatedTable(const QList<RepeatedPlay>& repeated) {
    QString out = QStringLiteral("<h2>Unknown plays in more than one game</h2>");
    if (repeated.isEmpty())
        return out + QStringLiteral("<p class=\"ok\">None.</p>");
    out += QStringLiteral("<table><thead><tr><th>SHA-256</th><th class=\"n\">Bytes</th>"
                          "<th>Verdict</th><th>Games</th></tr></thead><tbody>");
    for (const RepeatedPlay& play : repeated) {
        out += QStringLiteral(
                   "<tr class=\"unknown\"><td class=\"sha\">%1</td>%2<td class=\"verdict\">%3"
                   "</td><td>%4</td></tr>")
                   .arg(QString::fromLatin1(play.sha256), cell(play.bytes, false),
                        VerdictName(play.verdict), text(play.games.join(QStringLiteral(", "))));
    }
    return out + QStringLiteral("</tbody></table>");
}

QString plansTable(const QList<GamePlan>& plans) {
    QString out = QStringLiteral("<h3>Plans</h3><table><thead><tr><th>Plan</th><th>File</th>"
                                 "<th class=\"n\">Plays named</th><th>Gaps: plays the pool lacks"
                                 "</th></tr></thead><tbody>");
    for (const GamePlan& plan : plans) {
        QString gaps = QStringLiteral("<span class=\"ok\">none</span>");
        if (!plan.gaps.isEmpty()) {
            gaps = QStringLiteral("<ul class=\"gaps\">");
            for (const QString& gap : plan.gaps)
                gaps += QStringLiteral("<li><code>%1</code></li>").arg(text(gap));
            gaps += QStringLiteral("</ul>");
        }
        out += QStringLiteral("<tr%1><td>%2</td><td>%3</td>%4<td>%5</td></tr>")
                   .arg(plan.gaps.isEmpty() ? QString() : QStringLiteral(" class=\"flag\""),
                        plan.summary.slot, plan.summary.file, cell(plan.summary.playsNamed, false),
                        gaps);
    }
    return out + QStringLiteral("</tbody></table>");
}

QString playsTable(const QList<PlayEntry>& plays) {
    QString out = QStringLiteral("<h3>Plays</h3><table><thead><tr><th class=\"n\">#</th>"
                                 "<th>File</th><th class=\"n\">Bytes</th><th>Play</th></tr>"
                                 "</thead><tbody>");
    for (const PlayEntry& play : plays) {
        const bool unknown = play.isUnknownOutcome();
        out += QStringLiteral("<tr%1><td class=\"n\">%2</td><td>%3</td><td class=\"n\">%4</td>"
                              "<td class=\"verdict\">%5</td></tr>")
                   .arg(unknown ? QStringLiteral(" class=\"unknown\"") : QString())
                   .arg(play.capture)
                   .arg(text(play.file), play.bytes ? CountInWords(*play.bytes) : QString(),
                        text(unknown ? VerdictInWords(play) : play.outcome));
    }
    out += QStringLiteral("</tbody></table>");
    for (const PlayEntry& play : plays) {
        if (play.verdict == Verdict::Modified)
            out +=
                QStringLiteral("<h3>%1: %2</h3>").arg(text(play.file), text(VerdictInWords(play))) +
                html::modifiedBytes(play);
    }
    return out;
}

QString gameSection(const LeagueGame& game, qsizetype index) {
    QString out = QStringLiteral("<section class=\"game\" id=\"game%1\"><h2>%2</h2>")
                      .arg(index + 1)
                      .arg(text(game.game));
    if (!game.checked())
        return out +
               QStringLiteral("<p class=\"error\">Not checked: %1</p>").arg(text(game.error)) +
               problemList(game.problems) + QStringLiteral("</section>");
    out +=
        QStringLiteral("<p class=\"where\">Captured files: <code>%1</code>. %2, %3.</p>")
            .arg(text(game.captureFolder),
                 count(game.unknown, QStringLiteral("unknown play"),
                       QStringLiteral("unknown plays"), true),
                 count(game.gaps(), QStringLiteral("plan gap"), QStringLiteral("plan gaps"), true));
    return out + problemList(game.problems) + plansTable(game.plans) + playsTable(game.plays) +
           QStringLiteral("</section>");
}

} // namespace

QByteArray LeagueHtml(const LeagueResult& result) {
    const qint64 checked = result.gamesChecked();
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width\">"
                       "<title>League check: %1 games</title><style>%2</style></head>"
                       "<body><h1>League check</h1>")
            .arg(result.games.size())
            .arg(html::style());
    page += poolLine(result.pool) + problemList(result.pool.problems);
    page +=
        QStringLiteral("<p>%1 games, %2 checked%3: %4, %5, %6.%7</p>")
            .arg(result.games.size())
            .arg(checked)
            .arg(
                checked < result.games.size()
                    ? QStringLiteral(", <span class=\"bad\">%1 not checked</span>")
                          .arg(result.games.size() - checked)
                    : QString(),
                count(result.unknown(), QStringLiteral("unknown play"),
                      QStringLiteral("unknown plays"), true),
                count(result.gaps(), QStringLiteral("plan gap"), QStringLiteral("plan gaps"), true),
                count(result.repeated.size(), QStringLiteral("unknown play in several games"),
                      QStringLiteral("unknown plays in several games"), true),
                result.cancelled ? QStringLiteral(" Stopped before the last game.") : QString());
    page += QStringLiteral("<h2>Games</h2>") + gamesTable(result) + repeatedTable(result.repeated);
    for (qsizetype i = 0; i < result.games.size(); ++i)
        page += gameSection(result.games[i], i);
    page += QStringLiteral("</body></html>\n");
    return page.toUtf8();
}

} // namespace huddlex::league
