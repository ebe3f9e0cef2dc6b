#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The one rule by which a name written in any letter case finds an entry of a folder, as
// Windows and Wine find it. A host that keeps names apart by case may hold several such
// entries: the exact name wins, else the first in code-unit order.
namespace huddlex::fs::detail {

// The form two names share when they differ in letter case only.
inline QString caseKey(const QString& name) {
    return name.toCaseFolded();
}

// The entry of `names` that `wanted` stands for by that rule; nothing when none matches.
std::optional<QString> pickIgnoringCase(const QString& wanted, const QStringList& names);

} // namespace huddlex::fs::detail
