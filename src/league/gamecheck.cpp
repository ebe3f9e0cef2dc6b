#include "league/gamecheck.h"

#include "league/plangaps.h"
#include "report/reportinput.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

namespace huddlex::league {

namespace {

// The plan load's messages, kept for the game instead of shown.
class MessageList final : public Notifier {
public:
    void showMessage(const QString& text) override { messages << text; }
    QStringList messages;
};

} // namespace

LeagueGame CheckGame(const LeaguePool& pool, const GameArgument& argument,
                     RepeatedPlays& repeated) {
    LeagueGame game;
    game.game = argument.given;
    const OpenedSource source = OpenSource(argument.hostPath);
    if (!source.root) {
        game.error = source.error;
        return game;
    }
    const auto failed = [&](const QString& error) {
        game.error = error;
        game.problems = source.problems();
        return game;
    };
    const fs::Result<fs::Folder> capture = FindCaptureFolder(
        *source.root, source.archive ? source.archive->nestedArchives() : QStringList());
    if (!capture)
        return failed(capture.message());
    game.captureFolder = capture->path();

    FBPlan plan;
    MessageList messages;
    PlanFields fields;
    const QByteArray marker = pool.summary.playFolder.toLatin1();
    if (ReadPlanFiles(capture, marker, plan, messages, &fields) != PlanLoad::Complete)
        return failed(messages.messages.join(QLatin1Char('\n')));
    const CapturedPlays plays = CapturedPlays::list(capture);
    if (plays.listError())
        return failed(QStringLiteral("The captured plays could not be read: %1")
                          .arg(plays.listError()->message));

    GamePaths paths;
    paths.gFBPlayFolder = pool.summary.playFolder;
    // The pool's files are found and read once for all games: a file that could not be read
    // is said by the first game that names it, and by the pool.
    const qsizetype unreadableBefore = pool.prefixes->unreadable().size();
    PlayIdentifier identifier(pool.prefixes, plan.gPlayFiles);
    Identification run = IdentifyPlays(identifier, paths, plays);
    game.outcomes = run.outcomes;
    if (const QString unreadable = UnreadableCandidatesText(run.unreadable.mid(unreadableBefore));
        !unreadable.isEmpty())
        game.problems << unreadable;

    ReportInput input =
        RunInput(argument.given, paths, fields, plan.gPlayFiles, plays, std::move(run));
    input.entryRoot = pool.entryRoot;
    input.captureFolder = *capture;
    input.library = pool.library;
    ValidationReport report = BuildReport(input);
    if (const qint64 failedReads = report.counts.search.readFailures; failedReads > 0)
        game.problems << QStringLiteral("%1 play files could not be read; the report leaves them "
                                        "out")
                             .arg(failedReads);
    game.plays = std::move(report.plays);
    game.unknown = report.unknown;
    game.plans = PlanGaps(report.plans, fields, *pool.names, marker);
    repeated.add(game, plays);
    game.problems += source.problems();
    game.status = LeagueGame::Status::Checked;
    return game;
}

} // namespace huddlex::league
