#include "ui/reportwindow.h"

#include "fs/filesystem.h"
#include "report/reportwriters.h"
#include "ui/bytescomparison.h"
#include "ui/contextids.h"
#include "ui/icons.h"
#include "ui/messagebox.h"
#include "ui/reportmodel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace huddlex::ui {

namespace {

std::optional<ExportTarget> askWithDialog(QWidget* parent) {
    const QString csv = QStringLiteral("CSV files (*.csv)");
    const QString json = QStringLiteral("JSON files (*.json)");
    QString chosen = csv;
    QString path =
        QFileDialog::getSaveFileName(parent, QStringLiteral("Export Report"),
                                     QDir::home().filePath(QStringLiteral("huddlex-report.csv")),
                                     csv + QStringLiteral(";;") + json, &chosen);
    if (path.isEmpty())
        return std::nullopt;
    const bool named = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
                       path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    if (!named)
        path += chosen == json ? QStringLiteral(".json") : QStringLiteral(".csv");
    return ExportTarget{path, path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)};
}

QString hint() {
    return QStringLiteral("<p>Choose a play to see what it is. For a modified play, its "
                          "differing bytes appear here beside the nearest play's.</p>");
}

} // namespace

ReportWindow::ReportWindow(QWidget* parent) : ReportWindow(Seams{}, parent) {}

ReportWindow::ReportWindow(Seams seams, QWidget* parent)
    : QWidget(parent, Qt::Window), seams_(std::move(seams)) {
    if (!seams_.notifier) {
        ownNotifier_ = std::make_unique<MessageBoxNotifier>(this);
        seams_.notifier = ownNotifier_.get();
    }
    if (!seams_.askExportTarget)
        seams_.askExportTarget = askWithDialog;
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Huddlex - Report"));
    setWindowIcon(programIcon(QStringLiteral("huddlex")));
    setProperty(ContextIDs::contextProperty, ContextIDs::frmReport);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setWordWrap(true);

    unknownOnly_ = new QCheckBox(QStringLiteral("Show only &unknown plays"), this);
    unknownOnly_->setObjectName(QStringLiteral("chkUnknownOnly"));
    export_ = new QPushButton(QStringLiteral("&Export..."), this);
    export_->setObjectName(QStringLiteral("cmdExport"));
    export_->setEnabled(false);

    model_ = new ReportModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterRole(ReportModel::UnknownRole);
    proxy_->setFilterKeyColumn(ReportModel::Number);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblPlays"));
    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false); // Tab leaves the table; the arrows move in it
    table_->setWordWrap(false);
    table_->setSortingEnabled(true);
    table_->sortByColumn(ReportModel::Number, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(ReportModel::Number, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ReportModel::Play, QHeaderView::Interactive);
    header->setSectionResizeMode(ReportModel::VerdictColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(ReportModel::NamedBy, QHeaderView::ResizeToContents);
    header->resizeSection(ReportModel::Play,
                          table_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 10);

    auto* copy = new QAction(QStringLiteral("&Copy"), table_);
    copy->setObjectName(QStringLiteral("actCopy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    table_->addAction(copy);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, &ReportWindow::copySelectedRows);

    bytes_ = new QTextBrowser(this);
    bytes_->setObjectName(QStringLiteral("txtBytes"));
    bytes_->setOpenLinks(false);
    bytes_->setHtml(hint());

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(bytes_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    auto* controls = new QHBoxLayout;
    controls->addWidget(unknownOnly_);
    controls->addStretch(1);
    controls->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addLayout(controls);
    layout->addWidget(splitter, 1);

    setTabOrder(unknownOnly_, table_);
    setTabOrder(table_, bytes_);
    setTabOrder(bytes_, export_);

    connect(unknownOnly_, &QCheckBox::toggled, this, [this](bool only) {
        proxy_->setFilterFixedString(only ? QStringLiteral("1") : QString());
    });
    connect(export_, &QPushButton::clicked, this, [this] { exportReport(); });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ReportWindow::showChosenPlay);

    summary_->setText(summary());
    resize(680, 460);
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::setReportSource(std::function<ValidationReport()> build) {
    pending_ = std::move(build);
    if (isVisible())
        buildIfStale();
}

void ReportWindow::clearReport() {
    pending_ = {};
    model_->setReport(nullptr);
    summary_->setText(summary());
    export_->setEnabled(false);
    bytes_->setHtml(hint());
}

const ValidationReport* ReportWindow::report() const {
    return model_->report();
}

void ReportWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    buildIfStale();
}

void ReportWindow::buildIfStale() {
    if (!pending_)
        return;
    const std::function<ValidationReport()> build = std::exchange(pending_, {});
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = std::make_shared<const ValidationReport>(build());
    QApplication::restoreOverrideCursor();
    showReport(std::move(report));
}

void ReportWindow::showReport(std::shared_ptr<const ValidationReport> report) {
    model_->setReport(std::move(report));
    summary_->setText(summary());
    export_->setEnabled(true);
    bytes_->setHtml(hint());
}

void ReportWindow::showChosenPlay() {
    const QModelIndex current = proxy_->mapToSource(table_->currentIndex());
    const PlayEntry* play = model_->entry(current.row());
    bytes_->setHtml(play ? BytesComparisonHtml(*play) : hint());
}

QString ReportWindow::summary() const {
    const ValidationReport* report = model_->report();
    if (!report)
        return QStringLiteral("No validation has run yet. Choose Edit, Validate Plays: this "
                              "report follows the latest run.");
    if (report->plays.isEmpty())
        return QStringLiteral("The latest validation found no captured plays.");
    qint64 counts[kVerdictCount] = {};
    for (const PlayEntry& play : report->plays)
        ++counts[int(play.verdict)];
    const std::pair<Verdict, const char*> kinds[] = {{Verdict::NotInPlans, "not in the plans"},
                                                     {Verdict::Modified, "modified"},
                                                     {Verdict::Unknown, "unlike any play here"},
                                                     {Verdict::Unchecked, "not checked"},
                                                     {Verdict::Empty, "empty"},
                                                     {Verdict::Missing, "missing"}};
    QStringList parts;
    for (const auto& [verdict, words] : kinds) {
        if (counts[int(verdict)] > 0)
            parts << QStringLiteral("%1 %2").arg(counts[int(verdict)]).arg(QLatin1String(words));
    }
    QString text;
    if (const qsizetype changed = report->changedSinceRun.size(); changed > 0)
        text += QStringLiteral("%1 file%2 changed since this validation: validate again to "
                               "explain what is there now. ")
                    .arg(changed)
                    .arg(changed == 1 ? "" : "s");
    text += QStringLiteral("The latest validation: %1 captured play%2, %3 unknown")
                .arg(report->plays.size())
                .arg(report->plays.size() == 1 ? "" : "s")
                .arg(report->unknown);
    if (!parts.isEmpty())
        text += QStringLiteral(" (%1)").arg(parts.join(QStringLiteral(", ")));
    text += QLatin1Char('.');
    if (const qsizetype unreadable = report->unreadable.size(); unreadable > 0)
        text += QStringLiteral(" %1 play file%2 the plans name could not be read, so no unknown "
                               "play is judged.")
                    .arg(unreadable)
                    .arg(unreadable == 1 ? "" : "s");
    if (const qint64 failed = report->counts.unreadableFiles(); failed > 0)
        text += QStringLiteral(" %1 play file%2 could not be read and %3 left out.")
                    .arg(failed)
                    .arg(failed == 1 ? "" : "s")
                    .arg(failed == 1 ? "is" : "are");
    if (const qint64 unlisted = report->counts.unlistedFolders; unlisted > 0)
        text += QStringLiteral(" %1 folder%2 of the play library could not be read.")
                    .arg(unlisted)
                    .arg(unlisted == 1 ? "" : "s");
    return text;
}

bool ReportWindow::exportReport() {
    const ValidationReport* report = model_->report();
    if (!report)
        return false;
    const std::optional<ExportTarget> target = seams_.askExportTarget(this);
    if (!target)
        return false;
    const QByteArray data = target->json ? ReportJson(*report) : ReportCsv(*report);
    if (const fs::Status written = fs::writeHostFile(target->hostPath, data); !written) {
        seams_.notifier->showMessage(
            QStringLiteral("The report was not exported. %1").arg(written.message()));
        return false;
    }
    return true;
}

void ReportWindow::copySelectedRows() {
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < proxy_->columnCount(); ++column)
            cells << proxy_->index(row.row(), column).data().toString();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

} // namespace huddlex::ui
