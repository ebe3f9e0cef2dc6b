#pragma once

#include "common/userinterfaces.h"
#include "report/validationreport.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTextBrowser;

namespace huddlex::ui {

class ReportModel;

// Where an export goes: a host file chosen by the user and the format to write.
struct ExportTarget {
    QString hostPath;
    bool json = false;
};

// `frmReport`: the validation report of the latest run, a normal window beside the main one.
// A table of every captured play (sortable, filterable to the unknown ones, rows copied with
// the usual keys), the chosen play's bytes beside the nearest play's, and Export.
class ReportWindow final : public QWidget {
    Q_OBJECT
public:
    // Ways out to the user; tests answer them, the window has working defaults.
    struct Seams {
        std::function<std::optional<ExportTarget>(QWidget* parent)> askExportTarget;
        Notifier* notifier = nullptr;
    };

    explicit ReportWindow(QWidget* parent = nullptr);
    explicit ReportWindow(Seams seams, QWidget* parent = nullptr);
    ~ReportWindow() override;

    // The latest run's report, built when the window is on show (now, or when next shown),
    // so a validation run costs nothing while nobody looks.
    void setReportSource(std::function<ValidationReport()> build);
    // No run to explain any more (its captured files were deleted): the window says so.
    void clearReport();
    const ValidationReport* report() const;

    // Exports the report through the export dialog; false when nothing was written.
    bool exportReport();
    // Copies the selected rows to the clipboard, tab separated, in the order shown.
    void copySelectedRows();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildIfStale();
    void showReport(std::shared_ptr<const ValidationReport> report);
    void showChosenPlay();
    QString summary() const;

    Seams seams_;
    std::unique_ptr<Notifier> ownNotifier_;
    std::function<ValidationReport()> pending_;
    ReportModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QLabel* summary_ = nullptr;
    QCheckBox* unknownOnly_ = nullptr;
    QPushButton* export_ = nullptr;
    QTableView* table_ = nullptr;
    QTextBrowser* bytes_ = nullptr;
};

} // namespace huddlex::ui
