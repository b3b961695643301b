#include "ui/texts_model.h"

#include <QBrush>
#include <algorithm>
#include <set>

#include "ui/stability_marks.h"
#include "ui/text_bridge.h"

namespace pelmora {

TextsModel::TextsModel(QObject* parent) : QAbstractTableModel(parent) {}

void TextsModel::setRun(std::shared_ptr<const RunResult> run,
                        const std::vector<FileQuality>& quality) {
    beginResetModel();
    run_ = std::move(run);
    stability_.reset();
    rows_.clear();
    if (run_) {
        std::set<int> warned;
        for (const FileQuality& q : quality) {
            if (!q.warnings.empty()) {
                warned.insert(q.position);
            }
        }
        for (const TextRecord& t : run_->texts) {
            if (!t.inRun) {
                continue;
            }
            // The run marked the digits near a threshold as it went.
            rows_.push_back({t.position,
                             std::find(t.near.begin(), t.near.end(), true) != t.near.end(),
                             warned.count(t.position) > 0});
        }
    }
    endResetModel();
}

QString TextsModel::marks(const Row& row) {
    QStringList marks;
    if (row.near) {
        marks.append(QStringLiteral("near threshold"));
    }
    if (row.warned) {
        marks.append(QStringLiteral("warning"));
    }
    return marks.join(QStringLiteral(", "));
}

void TextsModel::setStability(const std::shared_ptr<const RunResult>& of,
                              std::shared_ptr<const RunStability> stability) {
    if (of != run_ || stability == stability_) {
        return;
    }
    stability_ = std::move(stability);
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

int TextsModel::positionAt(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].position : -1;
}

int TextsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TextsModel::data(const QModelIndex& index, int role) const {
    if (!run_ || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const TextRecord& t = run_->texts[static_cast<std::size_t>(row.position)];
    const TextStability* stable = stability_ ? stability_->of(row.position) : nullptr;
    if (role == PositionRole) {
        return row.position;
    }
    if (role == UnstableRole) {
        return stable != nullptr && stable->anyUnstable();
    }
    switch (index.column()) {
        case NameColumn:
            return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(toQt(t.name))
                                                                      : QVariant();
        case CodeColumn:
            return role == Qt::DisplayRole ? QVariant(toQt(t.code)) : QVariant();
        case MarksColumn:
            return role == Qt::DisplayRole ? QVariant(marks(row)) : QVariant();
        case StabilityColumn:
            return stabilityData(stable, role);
        default:
            return {};
    }
}

QVariant TextsModel::stabilityData(const TextStability* text, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            // The digits' shares are in the tooltip and the evidence; the list stays narrow.
            return text != nullptr ? toQt(textStabilitySummary(*text, false))
                                   : QStringLiteral("not computed");
        case Qt::ToolTipRole:
            return text != nullptr
                       ? QVariant(shownText(textStabilityReport(*text, stability_->options)))
                       : QVariant();
        case Qt::BackgroundRole:
            return text != nullptr && text->anyUnstable() ? QVariant(QBrush(unstableTint()))
                                                          : QVariant();
        default:
            return {};
    }
}

QVariant TextsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case NameColumn:
            return QStringLiteral("Text");
        case CodeColumn:
            return QStringLiteral("Code");
        case MarksColumn:
            return QStringLiteral("Marks");
        case StabilityColumn:
            return QStringLiteral("Stability");
        default:
            return {};
    }
}

}  // namespace pelmora
