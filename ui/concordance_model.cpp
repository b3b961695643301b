#include "ui/concordance_model.h"

#include <QFont>
#include <algorithm>

#include "ui/text_bridge.h"

namespace pelmora {

void ConcordanceModel::setText(std::shared_ptr<const TextOccurrences> text) {
    beginResetModel();
    text_ = std::move(text);
    measures_.clear();
    rows_.clear();
    endResetModel();
}

void ConcordanceModel::list(std::vector<Measure> measures) {
    beginResetModel();
    measures_ = std::move(measures);
    rows_.clear();
    if (text_) {
        const std::vector<Occurrence>& found = text_->occurrences;
        for (std::size_t k = 0; k < found.size(); ++k) {
            if (std::find(measures_.begin(), measures_.end(), found[k].measure) !=
                measures_.end()) {
                rows_.push_back(static_cast<int>(k));
            }
        }
    }
    endResetModel();
}

int ConcordanceModel::occurrenceAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)]
                                                            : -1;
}

int ConcordanceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ConcordanceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ConcordanceModel::data(const QModelIndex& index, int role) const {
    const int k = occurrenceAt(index.row());
    if (!index.isValid() || k < 0) {
        return {};
    }
    const Occurrence& o = text_->occurrences[static_cast<std::size_t>(k)];
    if (role == SortRole) {
        const QString shown = data(index, Qt::DisplayRole).toString().toLower();
        if (index.column() != Left) {
            return shown;
        }
        QStringList words = shown.split(u' ', Qt::SkipEmptyParts);
        std::reverse(words.begin(), words.end());
        return words.join(u' ');
    }
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case Left:
                    return toQt(contextBefore(text_->text, o));
                case Match:
                    return toQt(o.form);
                case Right:
                    return toQt(contextAfter(text_->text, o));
                case MeasureColumn:
                    return QString::fromUtf8(kMeasures[static_cast<std::size_t>(o.measure)].label);
                case Word:
                    return o.insideWord ? toQt(o.word).simplified() : QString();
                default:
                    return {};
            }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (index.column() == Left    ? Qt::AlignRight
                                        : index.column() == Match ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft));
        case Qt::FontRole:
            if (index.column() == Match) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::ToolTipRole:
            return QStringLiteral("%1, characters %2 to %3%4")
                .arg(QString::fromUtf8(kMeasures[static_cast<std::size_t>(o.measure)].label))
                .arg(o.start)
                .arg(o.end)
                .arg(o.insideWord ? QStringLiteral(", inside \"%1\"").arg(toQt(o.word).simplified())
                                  : QString());
        default:
            return {};
    }
}

QVariant ConcordanceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    switch (section) {
        case Left:
            return QStringLiteral("Before");
        case Match:
            return QStringLiteral("Counted");
        case Right:
            return QStringLiteral("After");
        case MeasureColumn:
            return QStringLiteral("Measure");
        case Word:
            return QStringLiteral("Inside the word");
        default:
            return {};
    }
}

}  // namespace pelmora
