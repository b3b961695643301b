#include "exports/pair_matrix.h"

namespace pelmora {

void forEachMatrixRow(const RunResult& run, NameStyle style,
                      const std::function<void(const TableRow&)>& visit) {
    const int n = static_cast<int>(run.texts.size());
    TableRow row{""};
    for (const TextRecord& t : run.texts) {
        row.push_back(shownName(t.name, style));
    }
    visit(row);
    for (int i = 0; i < n; ++i) {
        row[0] = shownName(run.texts[static_cast<std::size_t>(i)].name, style);
        for (int j = 0; j < n; ++j) {
            const std::optional<RunPair> p = run.pairs.between(i, j);
            std::string& cell = row[static_cast<std::size_t>(j) + 1];
            cell.clear();
            if (p) {
                cell += std::to_string(p->strength);
            }
        }
        visit(row);
    }
}

std::vector<TableRow> matrixTable(const RunResult& run, NameStyle style) {
    std::vector<TableRow> rows;
    forEachMatrixRow(run, style, [&](const TableRow& row) { rows.push_back(row); });
    return rows;
}

ColumnKinds matrixColumnKinds() {
    return {{CellKind::Text}, CellKind::Number};
}

}  // namespace pelmora
