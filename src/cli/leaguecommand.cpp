#include "cli/leaguecommand.h"

#include "cli/binaryoutput.h"
#include "cli/terminal.h"
#include "cli/validatecommand.h"
#include "league/leaguecheck.h"
#include "league/leaguewriters.h"

#include <QFileInfo>

namespace huddlex {

namespace {

// "Checking 3 of 255: week03/team07.zip" over itself on a terminal; cleared at the end.
class TerminalProgress {
public:
    explicit TerminalProgress(std::FILE* err) : err_(isTerminal(err) ? err : nullptr) {}

    void operator()(int done, int total, const QString& game) {
        if (!err_)
            return;
        const QByteArray line = done < total ? QStringLiteral("Checking %1 of %2: %3")
                                                   .arg(done + 1)
                                                   .arg(total)
                                                   .arg(game)
                                                   .toLocal8Bit()
                                             : QByteArray();
        std::fprintf(err_, "\r%-*s\r%s", int(shown_), "", line.left(160).constData());
        std::fflush(err_);
        shown_ = std::min<qsizetype>(line.size(), 160);
    }

private:
    std::FILE* err_;
    qsizetype shown_ = 0;
};

} // namespace

int runLeagueCommand(const LeagueArguments& arguments, std::FILE* out, std::FILE* err,
                     const std::function<int(const QString& problem)>& usage) {
    const QString& format = arguments.report;
    if (!format.isEmpty() && format != QLatin1String("json") && format != QLatin1String("csv") &&
        format != QLatin1String("html"))
        return usage(QStringLiteral("--report takes json, csv or html."));
    if (arguments.games.isEmpty())
        return usage(QStringLiteral("GAME is missing: name the games to check against the pool."));
    if (!QFileInfo::exists(arguments.pool)) {
        std::fprintf(err, "huddlex-validate: the pool %s does not exist.\n",
                     arguments.pool.toLocal8Bit().constData());
        return UsageError;
    }

    TerminalProgress progress(err);
    const league::LeagueCheck check(arguments.pool, arguments.playFolder, arguments.games);
    const league::LeagueResult result =
        check.run([&](int done, int total, const QString& game) { progress(done, total, game); });
    // What could not be read goes to standard error as well, where a script sees it.
    if (!result.pool.error.isEmpty())
        std::fprintf(err, "huddlex-validate: %s\n", result.pool.error.toLocal8Bit().constData());
    for (const league::LeagueGame& game : result.games) {
        if (!game.checked())
            std::fprintf(err, "huddlex-validate: %s: %s\n", game.game.toLocal8Bit().constData(),
                         game.error.toLocal8Bit().constData());
    }

    QByteArray output;
    if (format.isEmpty()) {
        output = league::LeagueText(result);
    } else {
        useBinaryOutput(out);
        output = format == QLatin1String("json")  ? league::LeagueJson(result)
                 : format == QLatin1String("csv") ? league::LeagueCsv(result)
                                                  : league::LeagueHtml(result);
    }
    if (!writeOut(out, err, output))
        return OutputFailed;
    return int(result.status());
}

} // namespace huddlex
