#include "ui/table_rows.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <queue>

#include "ui/text_bridge.h"

namespace pelmora {

void RowsModel::setRows(std::vector<TableRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1;
}

int RowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || rows_.empty() ? 0 : static_cast<int>(rows_.front().size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != SortRole) || !index.isValid()) {
        return {};
    }
    const TableRow& row = rows_[static_cast<std::size_t>(index.row()) + 1];
    const auto column = static_cast<std::size_t>(index.column());
    const QString cell = column < row.size() ? toQt(row[column]) : QString();
    if (role == SortRole) {
        bool number = false;
        const double value = cell.toDouble(&number);
        return number ? QVariant(value) : QVariant(cell);
    }
    return cell;
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || rows_.empty() || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return toQt(rows_.front()[static_cast<std::size_t>(section)]);
}

QTableView* rowsTable(QWidget* parent, const char* objectName) {
    auto* table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(objectName));
    table->setModel(new RowsModel(table));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    // Rows of one height are never measured, however many there are.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

void showRows(QTableView* table, std::vector<TableRow> rows) {
    auto* model = qobject_cast<RowsModel*>(table->model());
    if (auto* proxy = qobject_cast<QSortFilterProxyModel*>(table->model())) {
        model = qobject_cast<RowsModel*>(proxy->sourceModel());
    }
    Q_ASSERT(model != nullptr);
    model->setRows(std::move(rows));
    fitColumns(table);
}

QSortFilterProxyModel* makeSortable(QTableView* table, int sortRole) {
    auto* proxy = new QSortFilterProxyModel(table);
    proxy->setSourceModel(table->model());
    proxy->setSortRole(sortRole);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy->setFilterKeyColumn(-1);
    table->setModel(proxy);
    table->setSortingEnabled(true);
    table->sortByColumn(-1, Qt::AscendingOrder);  // the model's order until a header is clicked
    return proxy;
}

QLineEdit* filterLine(QWidget* parent, const char* objectName, const QString& placeholder) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QString::fromLatin1(objectName));
    line->setPlaceholderText(placeholder);
    line->setClearButtonEnabled(true);
    return line;
}

QWidget* withFilterLine(QTableView* table, const char* objectName, QWidget* parent) {
    QSortFilterProxyModel* proxy = makeSortable(table);
    auto* box = new QWidget(parent);
    QLineEdit* line = filterLine(box, objectName, QStringLiteral("Rows holding…"));
    QObject::connect(line, &QLineEdit::textChanged, proxy,
                     &QSortFilterProxyModel::setFilterFixedString);
    table->setParent(box);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(line);
    layout->addWidget(table, 1);
    return box;
}

void fitColumns(QTableView* table) {
    const QAbstractItemModel* model = table->model();
    // The widest text is nearly always among the longest: these many are measured, by the
    // view itself, so that fonts, icons and margins count as when it draws them.
    constexpr std::size_t kMeasured = 16;
    const int grid = table->showGrid() ? 1 : 0;
    for (int column = 0; column < model->columnCount(); ++column) {
        // The rows of the longest cells so far, shortest on top.
        std::priority_queue<std::pair<qsizetype, int>, std::vector<std::pair<qsizetype, int>>,
                            std::greater<>>
            longest;
        for (int row = 0; row < model->rowCount(); ++row) {
            const qsizetype length = model->index(row, column).data().toString().size();
            if (longest.size() < kMeasured || length > longest.top().first) {
                longest.emplace(length, row);
                if (longest.size() > kMeasured) {
                    longest.pop();
                }
            }
        }
        int width = table->horizontalHeader()->sectionSizeHint(column);
        for (; !longest.empty(); longest.pop()) {
            const QModelIndex cell = model->index(longest.top().second, column);
            width = std::max(width, table->sizeHintForIndex(cell).width() + grid);
        }
        table->setColumnWidth(column, width);
    }
}

}  // namespace pelmora
