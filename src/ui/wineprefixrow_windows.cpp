#include "ui/wineprefixrow.h"

namespace huddlex::ui {

// A Windows program uses the system's own drives: there is no prefix to choose.
int addWinePrefixRow(QWidget&, SettingsStore&, int, QWidget*, PrefixSources,
                     std::function<void(const std::optional<QString>&)>) {
    return 0;
}

} // namespace huddlex::ui
