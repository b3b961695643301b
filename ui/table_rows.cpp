#include "ui/table_rows.h"

#include <QTableWidget>

#include "ui/text_bridge.h"

namespace pelmora {

void showRows(QTableWidget* table, const std::vector<TableRow>& rows) {
    table->clear();
    if (rows.empty()) {
        table->setRowCount(0);
        table->setColumnCount(0);
        return;
    }
    table->setRowCount(static_cast<int>(rows.size()) - 1);
    table->setColumnCount(static_cast<int>(rows.front().size()));
    QStringList header;
    for (const std::string& h : rows.front()) {
        header.append(toQt(h));
    }
    table->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            table->setItem(static_cast<int>(r) - 1, static_cast<int>(c),
                           new QTableWidgetItem(toQt(rows[r][c])));
        }
    }
    table->resizeColumnsToContents();
}

}  // namespace pelmora
