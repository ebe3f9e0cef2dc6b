#include "validate/planreader.h"

#include "fs/filesystem.h"

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

bool isMissing(fs::ErrorKind kind) {
    return kind == fs::ErrorKind::FileNotFound || kind == fs::ErrorKind::PathNotFound;
}

QString loadFailure(const QString& reason) {
    return QStringLiteral("The game plans could not be loaded: %1").arg(reason);
}

} // namespace

PlanLoad ReadGamePlans(GamePaths& paths, const SettingsStore& store, FBPlan& plan,
                       Notifier& notifier, PlanFilesRead* read) {
    if (read)
        *read = {};
    paths.readFrom(store);
    const QByteArray startMarker = paths.gFBPlayFolder.toLatin1();
    const QByteArray endMarker = QByteArrayLiteral(".ply");
    const PlanFile plans[] = {
        {QStringLiteral("XOff1.pln"), &FBPlan::SetOff1Plays},
        {QStringLiteral("XDef1.pln"), &FBPlan::SetDef1Plays},
        {QStringLiteral("XOff2.pln"), &FBPlan::SetOff2Plays},
        {QStringLiteral("XDef2.pln"), &FBPlan::SetDef2Plays},
    };

    QByteArray planText;
    for (size_t slot = 0; slot < std::size(plans); ++slot) {
        const PlanFile& planFile = plans[slot];
        const QString path = paths.captureFile(planFile.name);
        fs::Result<QByteArray> bytes = fs::readFile(path);
        if (!bytes) {
            if (isMissing(bytes.kind())) {
                notifier.showMessage(MissingGamePlan);
                return PlanLoad::MissingPlan;
            }
            notifier.showMessage(loadFailure(bytes.message()));
            return PlanLoad::Failed;
        }
        if (planText.size() + bytes->size() > kMaxPlanTextBytes) {
            notifier.showMessage(
                loadFailure(QStringLiteral("%1 makes the plan text larger than 4 GB.").arg(path)));
            return PlanLoad::Failed;
        }
        if (read)
            (*read)[slot] = *bytes;
        AppendPlanFields(planText, *bytes);
        (plan.*planFile.setter)(planText, startMarker, endMarker);
    }
    return PlanLoad::Complete;
}

} // namespace huddlex
