#include "ui/texts_model.h"

#include <QBrush>
#include <algorithm>
#include <map>

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
        std::map<int, std::vector<std::string>> warned;
        for (const FileQuality& q : quality) {
            if (!q.warnings.empty()) {
                warned[q.position] = q.warnings;
            }
        }
        for (const TextRecord& t : run_->texts) {
            if (!t.inRun) {
                continue;
            }
            // The run marked the digits near a threshold as it went.
            const auto found = warned.find(t.position);
            rows_.push_back({t.position,
                             static_cast<int>(std::count(t.near.begin(), t.near.end(), true)),
                             found != warned.end() ? found->second : std::vector<std::string>{}});
        }
    }
    endResetModel();
}

QString TextsModel::marks(const Row& row) {
    QStringList marks;
    if (row.nearDigits > 0) {
        marks.append(QStringLiteral("near threshold"));
    }
    if (!row.warnings.empty()) {
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
    if (role == NearRole) {
        return row.nearDigits > 0;
    }
    if (role == WarnedRole) {
        return !row.warnings.empty();
    }
    if (role == SortRole) {
        return sortKey(row, index.column());
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
        case WarningsColumn:
            if (role == Qt::DisplayRole) {
                return static_cast<int>(row.warnings.size());
            }
            if (role == Qt::ToolTipRole && !row.warnings.empty()) {
                QStringList lines;
                for (const std::string& w : row.warnings) {
                    lines.append(toQt(w));
                }
                return lines.join(u'\n');
            }
            return {};
        default:
            return {};
    }
}

QVariant TextsModel::sortKey(const Row& row, int column) const {
    const TextRecord& t = run_->texts[static_cast<std::size_t>(row.position)];
    switch (column) {
        case NameColumn:
            return toQt(t.name);
        case CodeColumn:
            return toQt(t.code);
        case MarksColumn:
            return row.nearDigits * 1000 + static_cast<int>(row.warnings.size());
        case StabilityColumn: {
            const TextStability* s = stability_ ? stability_->of(row.position) : nullptr;
            return s != nullptr && s->measured() && !s->tooShort ? s->codeKept : -1.0;
        }
        case WarningsColumn:
            return static_cast<int>(row.warnings.size());
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
        case WarningsColumn:
            return QStringLiteral("Warnings");
        default:
            return {};
    }
}

TextsFilterModel::TextsFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(TextsModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TextsFilterModel::setNamePart(const QString& part) {
    namePart_ = part;
    invalidateFilter();
}

void TextsFilterModel::setShown(Show show) {
    show_ = show;
    invalidateFilter();
}

int TextsFilterModel::positionAt(int row) const {
    const QModelIndex at = index(row, 0);
    return at.isValid() ? at.data(TextsModel::PositionRole).toInt() : -1;
}

bool TextsFilterModel::filterAcceptsRow(int row, const QModelIndex& parent) const {
    if (namePart_.isEmpty() && show_ == Show::Every) {
        return true;
    }
    const QModelIndex at = sourceModel()->index(row, TextsModel::NameColumn, parent);
    if (!namePart_.isEmpty() && !at.data().toString().contains(namePart_, Qt::CaseInsensitive)) {
        return false;
    }
    switch (show_) {
        case Show::NearThreshold:
            return at.data(TextsModel::NearRole).toBool();
        case Show::Warned:
            return at.data(TextsModel::WarnedRole).toBool();
        case Show::Unstable:
            return at.data(TextsModel::UnstableRole).toBool();
        case Show::Every:
            break;
    }
    return true;
}

}  // namespace pelmora
