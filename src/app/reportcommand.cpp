#include "app/reportcommand.h"

#include "report/validationreport.h"
#include "ui/helpplacement.h"
#include "ui/mainwindow.h"

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
    if (!window_)
        return;
    if (run_)
        window_->setReportSource([run = run_] { return BuildReport(*run); });
    else
        window_->clearReport();
}

void ReportCommand::Open() {
    if (!window_) {
        // No parent: a window of its own in the taskbar, not one held above the tiny main one.
        window_ = new ui::ReportWindow(seams_);
        // Closing the main window ends the program, so this one must not keep it alive.
        QObject::connect(&main_, &ui::MainWindow::unloading, window_.data(), &QWidget::close);
        passRun();
        help::moveBeside(*window_, main_); // beside the main window as help is: neither covers it
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace huddlex
