#include "exports/pairs_table.h"

namespace pelmora {

void forEachPairsRow(const RunResult& run, NameStyle style,
                     const std::function<bool(const TableRow&)>& visit) {
    TableRow row{"text 1", "text 2", "strength", "minimal", "significant"};
    if (!visit(row)) {
        return;
    }
    const auto nameOf = [&](int position) {
        return shownName(run.texts[static_cast<std::size_t>(position)].name, style);
    };
    run.pairs.forEachWhile([&](const RunPair& p) {
        row[0] = nameOf(p.first);
        row[1] = nameOf(p.second);
        row[2] = std::to_string(p.strength);
        row[3] = p.minimal ? "yes" : "no";
        row[4] = p.significant ? "yes" : "no";
        return visit(row);
    });
}

std::vector<TableRow> pairsTable(const RunResult& run, NameStyle style) {
    std::vector<TableRow> rows;
    forEachPairsRow(run, style, [&](const TableRow& row) {
        rows.push_back(row);
        return true;
    });
    return rows;
}

ColumnKinds pairsColumnKinds() {
    return {{CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Text, CellKind::Text}};
}

}  // namespace pelmora
