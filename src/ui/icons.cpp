#include "ui/icons.h"

#include <QDir>

// Resources compiled into a static library are linked in only when something refers to them.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace huddlex {

QIcon programIcon(const QString& name) {
    static const bool initialised = (initIconResources(), true);
    Q_UNUSED(initialised);
    QIcon icon;
    const QString prefix = name + QLatin1Char('-');
    for (const QString& file : QDir(QStringLiteral(":/icons")).entryList(QDir::Files)) {
        if (file.startsWith(prefix) && file.endsWith(QLatin1String(".png")))
            icon.addFile(QStringLiteral(":/icons/") + file);
    }
    return icon;
}

} // namespace huddlex
