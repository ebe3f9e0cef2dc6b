// huddlex-validate: identifies the captured plays of a game folder without the window, for
// league commissioners and scripts.

#include "cli/binaryoutput.h"
#include "cli/validatecommand.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    huddlex::keepRunningWithoutReader();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("huddlex-validate"));
    return huddlex::runValidateCommand(QCoreApplication::arguments(), stdout, stderr);
}
