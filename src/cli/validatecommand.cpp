#include "cli/validatecommand.h"

#include "cli/binaryoutput.h"
#include "cli/leaguecommand.h"
#include "cli/reportoutput.h"
#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "playlog/playlog.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace huddlex {

namespace {

const char Usage[] =
    "Usage: huddlex-validate [--play-folder NAME] [--update-log] [--report json|csv] GAME_FOLDER\n"
    "       huddlex-validate --pool POOL [--play-folder NAME] [--report json|csv|html] GAME...\n"
    "\n"
    "Identifies the plays captured in GAME_FOLDER\\Xferbox by comparing them with the play\n"
    "files that the captured game plans name, and prints one line per play:\n"
    "FBplayN.ply, a tab, and the play path or \"Unknown Play\"; then \"K Unknown Plays\".\n"
    "\n"
    "  GAME_FOLDER          the game folder, the one that holds Xferbox and play.log\n"
    "  --play-folder NAME   the main play folder that plan paths begin with (default VPNFL;\n"
    "                       may be empty)\n"
    "  --update-log         then rebuild FBplay.log in GAME_FOLDER from play.log\n"
    "  --report json|csv    print the validation report instead of the lines: what every\n"
    "                       play is, and how an unknown one differs from the nearest play\n"
    "  --help               show this text\n"
    "\n"
    "Exit status (when several apply, the highest):\n"
    "  0  the plans and the capture folder were read and every play was identified\n"
    "  1  at least one play is unknown\n"
    "  2  usage error, or GAME_FOLDER does not exist\n"
    "  3  --update-log could not rebuild FBplay.log\n"
    "  4  the game plans, the capture folder or a play file the plans name could not be\n"
    "     read (missing, access denied, read error): the plays listed were not checked\n"
    "     against the plans\n"
    "  5  the results could not be written to standard output\n"
    "\n"
    "With --pool, checks a league's games against its play pool (a folder or a .zip that\n"
    "holds the main play folder or is it). Each GAME is a game folder, a capture folder or a\n"
    "zip holding either; a folder of games stands for every zip and game folder in it. Every\n"
    "captured play is identified against the pool, the plans' paths the pool lacks are listed\n"
    "as plan gaps, and unknown plays seen in several games are listed once. Archives are read\n"
    "in place. --report html writes one page for any browser. Exit status:\n"
    "  0  every play identified, no plan gap\n"
    "  1  unknown plays or plan gaps\n"
    "  2  usage error, or POOL does not exist\n"
    "  4  a game, a plan, the pool or something in them could not be read (the other games\n"
    "     are still checked and reported)\n"
    "  5  the results could not be written to standard output\n";

// Messages that the window shows in boxes go to standard error, one per line.
class StreamNotifier final : public Notifier {
public:
    explicit StreamNotifier(std::FILE* stream) : stream_(stream) {}
    void showMessage(const QString& text) override {
        std::fprintf(stream_, "%s\n", text.toLocal8Bit().constData());
    }

private:
    std::FILE* stream_;
};

// Messages name host paths while the command runs: its user gave a host folder, and the
// drive letter it is reached by exists only inside the command.
class HostPathsInMessages {
public:
    HostPathsInMessages() { fs::setMessagePaths(fs::MessagePaths::Host); }
    ~HostPathsInMessages() { fs::setMessagePaths(fs::MessagePaths::Windows); }
    HostPathsInMessages(const HostPathsInMessages&) = delete;
    HostPathsInMessages& operator=(const HostPathsInMessages&) = delete;
};

} // namespace

bool writeOut(std::FILE* out, std::FILE* err, const QByteArray& bytes) {
    errno = 0;
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    const bool ok =
        written == static_cast<size_t>(bytes.size()) && std::fflush(out) == 0 && !std::ferror(out);
    if (!ok) {
        const int cause = errno;
        std::fprintf(err,
                     "huddlex-validate: the results could not be written to standard output%s%s\n",
                     cause ? ": " : "", cause ? std::strerror(cause) : "");
    }
    return ok;
}

namespace {

// A drive letter the machine does not use otherwise, for GAME_FOLDER.
QChar spareDrive() {
    const QStringList used = fs::DriveMap::drives();
    for (char letter = 'y'; letter > 'c'; --letter) {
        if (!used.contains(QString(QLatin1Char(letter)) + QLatin1Char(':'))) {
            return QLatin1Char(letter);
        }
    }
    return QLatin1Char('y'); // the pin wins over the prefix's own entry anyway
}

int usageError(std::FILE* err, const QString& problem) {
    std::fprintf(err, "huddlex-validate: %s\n\n%s", problem.toLocal8Bit().constData(), Usage);
    return UsageError;
}

} // namespace

int runValidateCommand(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption playFolderOption(QStringLiteral("play-folder"), QString(),
                                              QStringLiteral("NAME"), defaults::FBPlayFolder);
    const QCommandLineOption updateLogOption(QStringLiteral("update-log"));
    const QCommandLineOption reportOption(QStringLiteral("report"), QString(),
                                          QStringLiteral("FORMAT"));
    const QCommandLineOption poolOption(QStringLiteral("pool"), QString(), QStringLiteral("POOL"));
    parser.addOptions({helpOption, playFolderOption, updateLogOption, reportOption, poolOption});
    if (!parser.parse(arguments)) {
        return usageError(err, parser.errorText());
    }
    if (parser.isSet(helpOption)) {
        return writeOut(out, err, Usage) ? AllIdentified : OutputFailed;
    }
    if (parser.isSet(poolOption)) {
        if (parser.isSet(updateLogOption))
            return usageError(err,
                              QStringLiteral("--update-log is for one game, not with --pool."));
        LeagueArguments league{parser.value(poolOption), parser.value(playFolderOption),
                               parser.value(reportOption), parser.positionalArguments()};
        return runLeagueCommand(league, out, err,
                                [&](const QString& problem) { return usageError(err, problem); });
    }
    const std::optional<ReportFormat> reportFormat =
        parser.isSet(reportOption) ? ParseReportFormat(parser.value(reportOption)) : std::nullopt;
    if (parser.isSet(reportOption) && !reportFormat) {
        return usageError(err, QStringLiteral("--report takes json or csv."));
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        return usageError(err, positional.isEmpty()
                                   ? QStringLiteral("GAME_FOLDER is missing.")
                                   : QStringLiteral("Only one GAME_FOLDER, please."));
    }
    const QString gameFolder = positional.first();
    if (!QFileInfo(gameFolder).isDir()) {
        std::fprintf(err, "huddlex-validate: the game folder %s does not exist.\n",
                     gameFolder.toLocal8Bit().constData());
        return UsageError;
    }

    // GAME_FOLDER becomes the root of a drive of its own, so every path inside it resolves
    // by the same case rules as in the window.
    const QChar drive = spareDrive();
    fs::DriveMap::setOverride(drive, QFileInfo(gameFolder).absoluteFilePath());
    const HostPathsInMessages hostPaths;
    MemorySettingsStore store;
    // A store in memory takes every write.
    (void)store.write(keys::FBDrive, QString(drive.toUpper()) + QLatin1Char(':'));
    (void)store.write(keys::FBVer, QStringLiteral("\\"));
    (void)store.write(keys::FBPlayFolder, parser.value(playFolderOption));

    StreamNotifier notifier(err);
    GamePaths paths;
    FBPlan plan;
    int status = AllIdentified;
    PlanFields planFiles;
    if (ReadGamePlans(paths, store, plan, notifier, &planFiles) != PlanLoad::Complete) {
        status = InputUnreadable; // its message is out
    }
    const CapturedPlays plays = CapturedPlays::list(paths);
    if (plays.listError()) {
        notifier.showMessage(QStringLiteral("The captured plays could not be read: %1")
                                 .arg(plays.listError()->message));
        status = InputUnreadable;
    }
    Identification run = IdentifyPlays(plan, paths, plays);
    plan.gPlayResults = run.outcomes;
    // A play file the plans name that this computer could not read: the plays it might match
    // were not checked, which is no verdict on the opponent.
    if (const QString unreadable = UnreadableCandidatesText(run.unreadable);
        !unreadable.isEmpty()) {
        notifier.showMessage(unreadable);
        status = InputUnreadable;
    }

    qint64 unknown = 0;
    QByteArray report;
    for (qsizetype i = 0; i < plan.gPlayResults->size(); ++i) {
        const QString& outcome = plan.gPlayResults->at(i);
        unknown += outcome == UnknownPlay ? 1 : 0;
        // The outcome is the plan's bytes, one character each.
        report += QStringLiteral("FBplay%1.ply\t").arg(i).toLatin1() + outcome.toLatin1() + '\n';
    }
    report += QStringLiteral("%1 Unknown Plays\n").arg(unknown).toLatin1();
    if (unknown > 0) {
        status = std::max<int>(status, SomeUnknown);
    }
    const auto reportInput = [&] {
        return RunInput(QFileInfo(gameFolder).absoluteFilePath(), paths, planFiles, plan.gPlayFiles,
                        plays, std::move(run));
    };
    if (reportFormat)
        useBinaryOutput(out);
    // A reader that went away does not stop the log update below.
    const bool reported =
        writeOut(out, err, reportFormat ? ReportOutput(*reportFormat, reportInput(), err) : report);

    if (parser.isSet(updateLogOption)) {
        const PlayLogUpdate update = UpdatePlayLog(paths, plan.gPlayResults, notifier);
        if (update != PlayLogUpdate::Written && update != PlayLogUpdate::Emptied) {
            status = std::max<int>(status, PlayLogFailed);
        }
    }
    return reported ? status : OutputFailed;
}

} // namespace huddlex
