#pragma once

#include "common/userinterfaces.h"
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

// The plan files as one load read them, in reading order (XOff1, XDef1, XOff2, XDef2); a file
// the load did not read is absent. Kept for the validation report, at no cost of its own.
using PlanFilesRead = std::array<std::optional<QByteArray>, 4>;

// Re-reads FBDrive, FBPlayFolder and FBVer into `paths`, then reads the captured plans
// XOff1, XDef1, XOff2 and XDef2 in that order into one growing plan text, setting each plan's
// list as its file is read. A load that stops early leaves the later lists and gPlayFiles as
// they were. Shows at most one message per load. With `read`, also hands out each file's bytes.
PlanLoad ReadGamePlans(GamePaths& paths, const SettingsStore& store, FBPlan& plan,
                       Notifier& notifier, PlanFilesRead* read = nullptr);

} // namespace huddlex
