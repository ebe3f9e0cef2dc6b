#pragma once

#include "common/userinterfaces.h"
#include "fs/folder.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "validate/fbplan.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <optional>

namespace huddlex {

inline const QString MissingGamePlan = QStringLiteral("Missing Game Plan");

// Appends the fields of one plan file to the plan text. A field ends at a comma or at a line
// end (CR, LF, or both); the separators are dropped and every other byte is kept as it is.
void AppendPlanFields(QByteArray& planText, QByteArrayView fileBytes);

enum class PlanLoad {
    Complete,    // all four plans read, gPlayFiles rebuilt
    MissingPlan, // a plan file does not exist; "Missing Game Plan" was shown
    Failed,      // any other failure; a message naming it was shown
};

// The plan text of one load and where each plan file's fields lie in it, in reading order
// (XOff1, XDef1, XOff2, XDef2), for the validation report. It shares the text with the plan
// lists, so keeping it costs nothing of its own.
struct PlanFields {
    QByteArray text;
    std::array<qsizetype, 5> start{}; // file k's fields are text[start[k], start[k + 1])
    int filesRead = 0;                // the load read the first `filesRead` files whole

    // The fields of file k (reading order) as that file alone gives them; nothing when the load
    // did not read it.
    std::optional<QByteArrayView> file(int k) const {
        if (k >= filesRead)
            return std::nullopt;
        return QByteArrayView(text).sliced(start[k], start[k + 1] - start[k]);
    }
};

// Re-reads FBDrive, FBPlayFolder and FBVer into `paths`, then reads the captured plans
// XOff1, XDef1, XOff2 and XDef2 in that order into one growing plan text, setting each plan's
// list as its file is read. A load that stops early leaves the later lists and gPlayFiles as
// they were. Shows at most one message per load. With `fields`, also says where each file's
// fields lie in the plan text.
PlanLoad ReadGamePlans(GamePaths& paths, const SettingsStore& store, FBPlan& plan,
                       Notifier& notifier, PlanFields* fields = nullptr);

// The load itself, from the captured plans of `captureFolder` (each name found by the case
// rules), with `startMarker` as the main play folder's name.
PlanLoad ReadPlanFiles(const fs::Result<fs::Folder>& captureFolder, QByteArrayView startMarker,
                       FBPlan& plan, Notifier& notifier, PlanFields* fields = nullptr);

} // namespace huddlex
