#pragma once

#include <QIcon>
#include <QString>

namespace huddlex {

// One of the program's icons ("huddlex", "start", "stop", "validate", "view", "log",
// "help") with every size the build rendered from its SVG source, so it looks the same on
// every platform and at every scale, and needs no SVG support at run time.
QIcon programIcon(const QString& name);

} // namespace huddlex
