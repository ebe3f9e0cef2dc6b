#include "app/application.h"
#include "app/commandline.h"
#include "app/maincontroller.h"
#include "app/platformsetup.h"
#include "capture/qttimerfactory.h"
#include "settings/settingsstore.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    huddlex::prepareForPlatform();
    // --help is answered before the window system is reached, so it works without a display.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const huddlex::CommandLine early = huddlex::parseCommandLine(raw); early.help)
        return *huddlex::answerCommandLine(early, stdout, stderr);

    QApplication app(argc, argv);
    huddlex::configureApplication();
    // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
    const huddlex::CommandLine command = huddlex::parseCommandLine(QCoreApplication::arguments());
    if (const auto status = huddlex::answerCommandLine(command, stdout, stderr))
        return *status;

    huddlex::NativeSettingsStore store;
    huddlex::QtTimerFactory timers;
    huddlex::MainController controller(store, timers);
    controller.useWinePrefixForSession(command.winePrefix);
    controller.Form_Load();
    controller.window().show();
    return QApplication::exec();
}
