#include "validate/planreader.h"

#include "fs/filesystem.h"
#include "fs/inputfile.h"

#include <algorithm>

namespace huddlex {

void AppendPlanFields(QByteArray& planText, QByteArrayView fileBytes) {
    planText.reserve(planText.size() + fileBytes.size());
    const char* p = fileBytes.data();
    const char* const end = p + fileBytes.size();
    while (p < end) {
        const char* run = p;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') {
            ++p;
        }
        planText.append(run, p - run);
        if (p < end) {
            ++p; // the separator
        }
    }
}

namespace {

using Setter = void (FBPlan::*)(const QByteArray&, QByteArrayView, QByteArrayView);

struct PlanFile {
    QString name;
    Setter setter;
};

constexpr qint64 kPlanChunkBytes = 1 << 20;

// A game plan takes a few kilobytes. A file that would carry the plan text past this is no
// game's, and reading it would hold the window for minutes and gigabytes.
constexpr qint64 kPlanTextLimit = qint64(16) << 20;

bool isMissing(fs::ErrorKind kind) {
    return kind == fs::ErrorKind::FileNotFound || kind == fs::ErrorKind::PathNotFound;
}

QString loadFailure(const QString& reason) {
    return QStringLiteral("The game plans could not be loaded: %1").arg(reason);
}

} // namespace

PlanLoad ReadGamePlans(GamePaths& paths, const SettingsStore& store, FBPlan& plan,
                       Notifier& notifier, PlanFields* fields) {
    paths.readFrom(store);
    return ReadPlanFiles(fs::Folder::open(paths.captureFolder()), paths.gFBPlayFolder.toLatin1(),
                         plan, notifier, fields);
}

PlanLoad ReadPlanFiles(const fs::Result<fs::Folder>& captureFolder, QByteArrayView startMarker,
                       FBPlan& plan, Notifier& notifier, PlanFields* fields) {
    if (fields)
        *fields = {};
    const QByteArrayView endMarker = ".ply";
    const PlanFile plans[] = {
        {QStringLiteral("XOff1.pln"), &FBPlan::SetOff1Plays},
        {QStringLiteral("XDef1.pln"), &FBPlan::SetDef1Plays},
        {QStringLiteral("XOff2.pln"), &FBPlan::SetOff2Plays},
        {QStringLiteral("XDef2.pln"), &FBPlan::SetDef2Plays},
    };

    QByteArray planText;
    for (size_t slot = 0; slot < std::size(plans); ++slot) {
        const PlanFile& planFile = plans[slot];
        const std::optional<QString> onDisk =
            captureFolder ? captureFolder->lookup(planFile.name) : std::nullopt;
        const QString path =
            captureFolder ? captureFolder->childPath(onDisk.value_or(planFile.name)) : QString();
        fs::Result<fs::InputFile> file =
            !captureFolder ? fs::Result<fs::InputFile>(captureFolder.error())
            : onDisk       ? captureFolder->openFile(*onDisk)
                           : fs::Result<fs::InputFile>(fs::Error{fs::ErrorKind::FileNotFound, {}});
        // A folder that cannot be listed cannot say that a plan is missing: its error is the
        // reason, not the opponent.
        if (!file && isMissing(file.kind()) && captureFolder && captureFolder->listError())
            file = *captureFolder->listError();
        if (!file) {
            if (isMissing(file.kind())) {
                notifier.showMessage(MissingGamePlan);
                return PlanLoad::MissingPlan;
            }
            notifier.showMessage(loadFailure(file.message()));
            return PlanLoad::Failed;
        }
        // The size settles the limit before a byte is read; the fields then go into the plan
        // text a chunk at a time, so the file is never held beside it.
        fs::InputFile& in = file.value();
        if (planText.size() + in.size() > std::min(kPlanTextLimit, kMaxPlanTextBytes)) {
            notifier.showMessage(
                loadFailure(QStringLiteral("%1 makes the plan text larger than 16 MB.")
                                .arg(fs::shownPath(path))));
            return PlanLoad::Failed;
        }
        planText.reserve(planText.size() + static_cast<qsizetype>(in.size()));
        for (qint64 done = 0; done < in.size();) {
            fs::Result<QByteArray> chunk = in.read(kPlanChunkBytes);
            if (!chunk || chunk->isEmpty()) {
                notifier.showMessage(
                    loadFailure(chunk ? QStringLiteral("%1 became shorter while it was read.")
                                            .arg(fs::shownPath(path))
                                      : chunk.message()));
                return PlanLoad::Failed;
            }
            done += chunk->size();
            AppendPlanFields(planText, *chunk);
        }
        (plan.*planFile.setter)(planText, startMarker, endMarker);
        if (fields) {
            fields->text = planText; // shared, as the plan list just set shares it
            fields->start[slot + 1] = planText.size();
            fields->filesRead = static_cast<int>(slot) + 1;
        }
    }
    return PlanLoad::Complete;
}

} // namespace huddlex
