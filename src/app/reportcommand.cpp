#include "app/reportcommand.h"

#include "help/helpplacement.h"
#include "report/validationreport.h"
#include "ui/mainwindow.h"

#include <QScreen>

namespace huddlex {

ReportCommand::ReportCommand(ui::MainWindow& main, ui::ReportWindow::Seams seams)
    : main_(main), seams_(std::move(seams)) {}

ReportCommand::~ReportCommand() {
    delete window_.data();
}

void ReportCommand::runFinished(std::shared_ptr<const ReportInput> run) {
    run_ = std::move(run);
    passRun();
}

void ReportCommand::passRun() {
    if (window_ && run_)
        window_->setReportSource([run = run_] { return BuildReport(*run); });
}

void ReportCommand::Open() {
    if (!window_) {
        // No parent: a window of its own in the taskbar, not one held above the tiny main one.
        window_ = new ui::ReportWindow(seams_);
        // Closing the main window ends the program, so this one must not keep it alive.
        QObject::connect(&main_, &ui::MainWindow::unloading, window_.data(), &QWidget::close);
        passRun();
        // Beside the main window as help is, so neither covers it. Not shown yet, the window
        // has no frame: it will get one like the main window's.
        if (const QScreen* screen = main_.screen()) {
            const QRect owner = main_.frameGeometry();
            const QSize decoration = owner.size() - main_.size();
            window_->move(help::placeBeside(screen->availableGeometry(), owner,
                                            window_->size() + decoration));
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace huddlex
