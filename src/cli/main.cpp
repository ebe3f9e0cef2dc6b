// huddlex-validate: identifies the captured plays of a game folder without the window, for
// league commissioners and scripts.

#include "cli/validatecommand.h"

#include <QCoreApplication>
#include <csignal>

namespace {

// A reader of the results that goes away (`huddlex-validate --update-log G | head -1`) must
// not end the command before FBplay.log is rebuilt: the failed write is reported instead.
#ifdef SIGPIPE
void keepRunningWithoutReader() {
    std::signal(SIGPIPE, SIG_IGN);
}
#else
void keepRunningWithoutReader() {}
#endif

} // namespace

int main(int argc, char* argv[]) {
    keepRunningWithoutReader();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("huddlex-validate"));
    return huddlex::runValidateCommand(QCoreApplication::arguments(), stdout, stderr);
}
