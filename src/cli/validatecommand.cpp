#include "cli/validatecommand.h"

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

namespace huddlex {

namespace {

const char Usage[] =
    "Usage: huddlex-validate [--play-folder NAME] [--update-log] [--report json|csv] GAME_FOLDER\n"
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
    "Exit status: 0 every play identified, 1 at least one unknown, 2 usage error or no such\n"
    "GAME_FOLDER, 3 FBplay.log could not be rebuilt.\n";

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
    parser.addOptions({helpOption, playFolderOption, updateLogOption, reportOption});
    if (!parser.parse(arguments)) {
        return usageError(err, parser.errorText());
    }
    if (parser.isSet(helpOption)) {
        std::fputs(Usage, out);
        return AllIdentified;
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
    MemorySettingsStore store;
    store.write(keys::FBDrive, QString(drive.toUpper()) + QLatin1Char(':'));
    store.write(keys::FBVer, QStringLiteral("\\"));
    store.write(keys::FBPlayFolder, parser.value(playFolderOption));

    StreamNotifier notifier(err);
    GamePaths paths;
    FBPlan plan;
    PlanFilesRead planFiles;
    ReadGamePlans(paths, store, plan, notifier, &planFiles);
    const CapturedPlays captures = CapturedPlays::list(paths);
    plan.gPlayResults = IdentifyPlays(plan, paths, captures);

    qint64 unknown = 0;
    QByteArray report;
    for (qsizetype i = 0; i < plan.gPlayResults->size(); ++i) {
        const QString& outcome = plan.gPlayResults->at(i);
        unknown += outcome == UnknownPlay ? 1 : 0;
        // The outcome is the plan's bytes, one character each.
        report += QStringLiteral("FBplay%1.ply\t").arg(i).toLatin1() + outcome.toLatin1() + '\n';
    }
    report += QStringLiteral("%1 Unknown Plays\n").arg(unknown).toLatin1();
    if (reportFormat) {
        PrintReport(*reportFormat,
                    {QFileInfo(gameFolder).absoluteFilePath(), paths, planFiles, plan.gPlayFiles,
                     *plan.gPlayResults, captures},
                    out, err);
    } else {
        std::fwrite(report.constData(), 1, static_cast<size_t>(report.size()), out);
        std::fflush(out);
    }

    if (parser.isSet(updateLogOption)) {
        const PlayLogUpdate update = UpdatePlayLog(paths, plan.gPlayResults, notifier);
        if (update != PlayLogUpdate::Written && update != PlayLogUpdate::Emptied) {
            return PlayLogFailed;
        }
    }
    return unknown > 0 ? SomeUnknown : AllIdentified;
}

} // namespace huddlex
