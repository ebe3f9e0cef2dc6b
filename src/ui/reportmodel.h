#pragma once

#include "report/validationreport.h"

#include <QAbstractTableModel>
#include <memory>

namespace huddlex::ui {

// The validation report as a table: one row per captured play, with its number, play name,
// verdict in words and the plans that named it. Rows whose outcome is "Unknown Play" are drawn
// red, as the unknown-plays list is, and carry UnknownRole for a filter.
class ReportModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Play, VerdictColumn, NamedBy, ColumnCount };
    static constexpr int UnknownRole = Qt::UserRole + 1; // "1" for an unknown play, else "0"

    using QAbstractTableModel::QAbstractTableModel;

    void setReport(std::shared_ptr<const ValidationReport> report);
    const ValidationReport* report() const { return report_.get(); }
    const PlayEntry* entry(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const ValidationReport> report_;
};

} // namespace huddlex::ui
