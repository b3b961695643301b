#include "ui/matrix_model.h"

#include <QBrush>
#include <QFont>

#include "explanation/digit_evidence.h"
#include "ui/matrix_image.h"
#include "ui/stability_marks.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

QString nameAndCode(const TextRecord& t) {
    return toQt(t.name) + QStringLiteral(", code ") + toQt(t.code);
}

// The strength comes first: a tooltip whose first line looks like markup is shown as rich
// text, and a file name may well look like markup.
QString pairToolTip(const TextRecord& first, const TextRecord& second,
                    const std::optional<RunPair>& pair) {
    QString head;
    if (!pair) {
        head = QStringLiteral("No pair listed");
    } else {
        head = QStringLiteral("Strength %1 of 5").arg(pair->strength);
        QStringList flags;
        if (pair->minimal) {
            flags.append(QStringLiteral("minimal"));
        }
        if (pair->significant) {
            flags.append(QStringLiteral("off the norm"));
        }
        if (!flags.isEmpty()) {
            head += QStringLiteral(": ") + flags.join(QStringLiteral(", "));
        }
    }
    QString tip = head + u'\n' + nameAndCode(first) + u'\n' + nameAndCode(second);
    if (pair) {
        tip += u'\n' + toQt(pairEvidenceText(explainPair(first, second, pair->strength)));
    }
    return tip;
}

// The stability lines of a tooltip: the pair's, then each text's.
QString stabilityToolTip(const RunResult& run, const RunStability& stability,
                         const std::vector<const TextRecord*>& texts,
                         const std::optional<RunPair>& pair) {
    QString tip;
    if (pair) {
        tip += QStringLiteral("\nStability: ") +
               toQt(pairStabilityText(stability.pair(run, *pair), stability.options.resamples));
    }
    for (const TextRecord* t : texts) {
        if (const TextStability* s = stability.of(t->position)) {
            tip += u'\n' + toQt(t->name + ": " + textStabilitySummary(*s));
        }
    }
    return tip;
}

}  // namespace

MatrixModel::MatrixModel(QObject* parent) : QAbstractTableModel(parent) {}

void MatrixModel::setRun(std::shared_ptr<const RunResult> run) {
    beginResetModel();
    run_ = std::move(run);
    stability_.reset();
    order_ = {};
    endResetModel();
}

void MatrixModel::setOrder(RoleOrder order) {
    if (order.positions == order_.positions && order.roles == order_.roles) {
        return;  // a view reset for nothing would lose its place
    }
    beginResetModel();
    order_ = order.positions.size() == static_cast<std::size_t>(rowCount()) ? std::move(order)
                                                                            : RoleOrder{};
    endResetModel();
}

int MatrixModel::positionAt(int section) const {
    return order_.positions.empty() ? section : order_.positions[static_cast<std::size_t>(section)];
}

std::optional<Role> MatrixModel::roleAt(int section) const {
    const auto at = static_cast<std::size_t>(section);
    return at < order_.roles.size() ? std::optional<Role>(order_.roles[at]) : std::nullopt;
}

bool MatrixModel::beginsBlock(int section) const {
    const auto at = static_cast<std::size_t>(section);
    return !order_.roles.empty() && at > 0 && at < order_.roles.size() &&
           order_.roles[at] != order_.roles[at - 1];
}

void MatrixModel::setStability(const std::shared_ptr<const RunResult>& of,
                               std::shared_ptr<const RunStability> stability) {
    if (of != run_ || stability == stability_) {
        return;
    }
    stability_ = std::move(stability);
    const int n = rowCount();
    if (n > 0) {
        emit dataChanged(index(0, 0), index(n - 1, n - 1));
        emit headerDataChanged(Qt::Horizontal, 0, n - 1);
        emit headerDataChanged(Qt::Vertical, 0, n - 1);
    }
}

int MatrixModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !run_ ? 0 : static_cast<int>(run_->texts.size());
}

int MatrixModel::columnCount(const QModelIndex& parent) const {
    return rowCount(parent);
}

QVariant MatrixModel::data(const QModelIndex& index, int role) const {
    if (!run_ || !index.isValid()) {
        return {};
    }
    if (role == BlockEdgeRole) {
        return (beginsBlock(index.row()) ? kTopEdge : 0) |
               (beginsBlock(index.column()) ? kLeftEdge : 0);
    }
    return pairData(positionAt(index.row()), positionAt(index.column()), role);
}

QVariant MatrixModel::pairData(int row, int column, int role) const {
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (row == column) {
        return role == Qt::BackgroundRole ? QVariant(QBrush(strengthColour(-1))) : QVariant();
    }
    const std::optional<RunPair> pair = run_->pairs.between(row, column);
    switch (role) {
        case Qt::DisplayRole:
            return pair ? QVariant(pair->strength) : QVariant();
        case Qt::BackgroundRole:
            return QBrush(strengthColour(pair ? pair->strength : -1));
        case Qt::FontRole:
            if (pair && pair->significant) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case SignificantRole:
            return pair && pair->significant;
        case FragileRole:
            return pair && stability_ && stability_->pair(*run_, *pair).fragile;
        case Qt::ToolTipRole: {
            const TextRecord& first = run_->texts[static_cast<std::size_t>(row)];
            const TextRecord& second = run_->texts[static_cast<std::size_t>(column)];
            QString tip = pairToolTip(first, second, pair);
            if (stability_) {
                tip += stabilityToolTip(*run_, *stability_, {&first, &second}, pair);
            }
            return tip;
        }
        default:
            return {};
    }
}

QVariant MatrixModel::headerData(int section, Qt::Orientation, int role) const {
    if (!run_ || section < 0 || section >= static_cast<int>(run_->texts.size())) {
        return {};
    }
    const TextRecord& t = run_->texts[static_cast<std::size_t>(positionAt(section))];
    const TextStability* stable = stability_ ? stability_->of(t.position) : nullptr;
    const bool unstable = stable != nullptr && stable->anyUnstable();
    const std::string_view letter =
        order_.roles.empty() ? "" : roleLetter(order_.roles[static_cast<std::size_t>(section)]);
    switch (role) {
        case Qt::DisplayRole:
            return (letter.empty() ? QString()
                                   : QStringLiteral("[%1] ").arg(toQt(std::string(letter)))) +
                   (unstable ? unstableMark() : QString()) + toQt(t.name);
        case Qt::ToolTipRole:
            return QStringLiteral("Code %1\n%2").arg(toQt(t.code), toQt(t.name)) +
                   (stable != nullptr ? u'\n' + toQt(textStabilitySummary(*stable)) : QString());
        case Qt::BackgroundRole:
            return unstable ? QVariant(QBrush(unstableTint())) : QVariant();
        case UnstableRole:
            return unstable;
        default:
            return {};
    }
}

const MatrixModel* MatrixFilterModel::matrix() const {
    return static_cast<const MatrixModel*>(sourceModel());
}

void MatrixFilterModel::setKept(std::vector<bool> kept, MatrixFilter filter) {
    kept_ = std::move(kept);
    filter_ = std::move(filter);
    invalidate();
}

int MatrixFilterModel::positionAt(int section) const {
    return matrix()->positionAt(mapToSource(index(section, section)).row());
}

bool MatrixFilterModel::keepsSection(int section) const {
    if (kept_.empty()) {
        return true;
    }
    const auto position = static_cast<std::size_t>(matrix()->positionAt(section));
    return position < kept_.size() && kept_[position];
}

bool MatrixFilterModel::filterAcceptsRow(int row, const QModelIndex&) const {
    return keepsSection(row);
}

bool MatrixFilterModel::filterAcceptsColumn(int column, const QModelIndex&) const {
    return keepsSection(column);
}

bool MatrixFilterModel::beginsBlock(int section) const {
    if (section <= 0) {
        return false;
    }
    const std::optional<Role> role = matrix()->roleAt(mapToSource(index(section, 0)).row());
    const std::optional<Role> before = matrix()->roleAt(mapToSource(index(section - 1, 0)).row());
    return role && before && *role != *before;
}

QVariant MatrixFilterModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == MatrixModel::BlockEdgeRole) {
        return (beginsBlock(index.row()) ? MatrixModel::kTopEdge : 0) |
               (beginsBlock(index.column()) ? MatrixModel::kLeftEdge : 0);
    }
    const bool marked = role == Qt::DisplayRole || role == Qt::BackgroundRole ||
                        role == Qt::FontRole || role == MatrixModel::SignificantRole ||
                        role == MatrixModel::FragileRole;
    if (marked && filter_.filtersPairs() && matrix()->run()) {
        const int a = positionAt(index.row()), b = positionAt(index.column());
        const std::optional<RunPair> pair = matrix()->run()->pairs.between(a, b);
        if (pair && !filter_.keeps(*pair)) {
            return role == Qt::BackgroundRole ? QVariant(QBrush(strengthColour(-1))) : QVariant();
        }
    }
    return QSortFilterProxyModel::data(index, role);
}

}  // namespace pelmora
