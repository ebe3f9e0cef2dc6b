#pragma once

#include "ui/reportwindow.h"

#include <QPointer>
#include <memory>

namespace huddlex {

struct ReportInput;
namespace ui {
class MainWindow;
}

// View, "&Report": the Report window, made on first use, kept in step with the latest
// validation run, and closed with the main window.
class ReportCommand {
public:
    explicit ReportCommand(ui::MainWindow& main, ui::ReportWindow::Seams seams = {});
    ~ReportCommand();

    // A validation run has ended: the window shows its report when it is next looked at. No run
    // (Delete Files took what it explained): the window empties.
    void runFinished(std::shared_ptr<const ReportInput> run);
    // Shows the window beside the main one, or brings it forward.
    void Open();
    // The window, once opened.
    ui::ReportWindow* window() const { return window_; }

private:
    void passRun();

    ui::MainWindow& main_;
    ui::ReportWindow::Seams seams_;
    std::shared_ptr<const ReportInput> run_;
    QPointer<ui::ReportWindow> window_;
};

} // namespace huddlex
