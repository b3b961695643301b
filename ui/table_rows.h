#pragma once
// The core's rows in a table view, the first row its header: a model over the rows, so that
// a table of every text of a large run costs no widget item per cell.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "formats/csv.h"

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class QWidget;

namespace pelmora {

class RowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // What a cell sorts by: a number as a number, any other cell as its text.
    static constexpr int SortRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<TableRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TableRow> rows_;  // the header first
};

// A read-only table named `objectName` over a RowsModel of its own.
[[nodiscard]] QTableView* rowsTable(QWidget* parent, const char* objectName);

// Replaces what a rowsTable shows, sortable or not; columns fit their contents.
void showRows(QTableView* table, std::vector<TableRow> rows);

// Puts a proxy between `table` and its model that sorts by `sortRole` when a header is
// clicked (the model's order until then) and filters with the line of withFilterLine.
QSortFilterProxyModel* makeSortable(QTableView* table, int sortRole = RowsModel::SortRole);
// A line for the text a filter looks for, named `objectName`, with a clear button.
[[nodiscard]] QLineEdit* filterLine(QWidget* parent, const char* objectName,
                                    const QString& placeholder);
// `table`, made sortable, under a line named `objectName` that keeps only the rows holding
// its text in any column, ignoring case.
[[nodiscard]] QWidget* withFilterLine(QTableView* table, const char* objectName, QWidget* parent);

// Each column as wide as its widest cell and its header. Only the few longest cells of a
// column are measured, so a table of every text of a large run fits as fast as a small one
// and, unlike a view's own fitting, none of its rows is left out.
void fitColumns(QTableView* table);

}  // namespace pelmora
