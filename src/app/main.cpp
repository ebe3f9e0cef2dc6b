#include "app/maincontroller.h"
#include "app/platformsetup.h"
#include "capture/qttimerfactory.h"
#include "settings/settingsstore.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    huddlex::prepareForPlatform();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(huddlex::programIcon(QStringLiteral("huddlex")));
    // Lets the desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.huddlex.Huddlex"));

    huddlex::NativeSettingsStore store;
    huddlex::QtTimerFactory timers;
    huddlex::MainController controller(store, timers);
    controller.Form_Load();
    controller.window().show();
    return QApplication::exec();
}
