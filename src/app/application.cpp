#include "app/application.h"

#include "help/programinfo.h"
#include "ui/icons.h"

#include <QApplication>

namespace huddlex {

void configureApplication() {
    // The name, not the display name: a display name would be appended to every window
    // caption on X11 ("Settings — Huddlex"), and the designed captions stand alone. Message
    // boxes take applicationDisplayName(), which falls back to this.
    QCoreApplication::setApplicationName(applicationTitle());
    QApplication::setWindowIcon(programIcon(QStringLiteral("huddlex")));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.huddlex.Huddlex"));
}

} // namespace huddlex
