#include "app/application.h"
#include "app/maincontroller.h"
#include "app/platformsetup.h"
#include "capture/qttimerfactory.h"
#include "settings/settingsstore.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    huddlex::prepareForPlatform();
    QApplication app(argc, argv);
    huddlex::configureApplication();

    huddlex::NativeSettingsStore store;
    huddlex::QtTimerFactory timers;
    huddlex::MainController controller(store, timers);
    controller.Form_Load();
    controller.window().show();
    return QApplication::exec();
}
