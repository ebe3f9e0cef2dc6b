#include "ui/reportmodel.h"

#include "report/reportwords.h"

#include <QColor>

namespace huddlex::ui {

void ReportModel::setReport(std::shared_ptr<const ValidationReport> report) {
    beginResetModel();
    report_ = std::move(report);
    endResetModel();
}

const PlayEntry* ReportModel::entry(int row) const {
    if (!report_ || row < 0 || row >= report_->plays.size())
        return nullptr;
    return &report_->plays[row];
}

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !report_ ? 0 : int(report_->plays.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    const PlayEntry* play = entry(index.row());
    if (!play)
        return {};
    const bool unknown = play->isUnknownOutcome();
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Number:
            return QVariant::fromValue(play->capture); // sorts as a number
        case Play:
            return unknown ? play->outcome : PlayName(play->outcome);
        case VerdictColumn:
            return VerdictInWords(*play);
        case NamedBy:
            return play->namedBy.join(QStringLiteral(", "));
        }
        break;
    case Qt::ToolTipRole:
        switch (index.column()) {
        case Number:
            return play->file;
        case Play:
            return play->outcome;
        case VerdictColumn:
            if (play->verdict == Verdict::NotInPlans)
                return play->match;
            if (play->verdict == Verdict::Modified)
                return play->nearest;
            break;
        }
        break;
    case Qt::ForegroundRole:
        if (unknown)
            return QColor(255, 0, 0);
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == Number)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case UnknownRole:
        return unknown ? QStringLiteral("1") : QStringLiteral("0");
    }
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return QStringLiteral("No.");
    case Play:
        return QStringLiteral("Play");
    case VerdictColumn:
        return QStringLiteral("Verdict");
    case NamedBy:
        return QStringLiteral("Named by");
    }
    return {};
}

} // namespace huddlex::ui
