#include "fs/namecase.h"

namespace huddlex::fs::detail {

std::optional<QString> pickIgnoringCase(const QString& wanted, const QStringList& names) {
    const QString key = caseKey(wanted);
    std::optional<QString> first;
    for (const QString& name : names) {
        if (name == wanted)
            return name;
        if ((!first || name < *first) && caseKey(name) == key)
            first = name;
    }
    return first;
}

} // namespace huddlex::fs::detail
