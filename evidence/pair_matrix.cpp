#include "evidence/pair_matrix.h"

namespace pelmora {

void forEachMatrixRow(const RunResult& run, NameStyle style,
                      const std::function<void(const TableRow&)>& visit) {
    const int n = static_cast<int>(run.texts.size());
    TableRow header{""};
    for (const TextRecord& t : run.texts) {
        header.push_back(shownName(t.name, style));
    }
    visit(header);
    TableRow row;
    for (int i = 0; i < n; ++i) {
        row.clear();
        row.push_back(shownName(run.texts[static_cast<std::size_t>(i)].name, style));
        for (int j = 0; j < n; ++j) {
            const std::optional<RunPair> p = run.pairs.between(i, j);
            row.push_back(p ? std::to_string(p->strength) + (p->significant ? "*" : "")
                            : std::string());
        }
        visit(row);
    }
    visit({""});  // an empty line, read back as one empty field
    visit({"Arithmetic Mean", run.mean});
    visit({"Sample Standard Deviation", run.stDev});
    visit({"* significantly different from the norm for this group of texts"});
}

std::vector<TableRow> matrixTable(const RunResult& run, NameStyle style) {
    std::vector<TableRow> rows;
    forEachMatrixRow(run, style, [&](const TableRow& row) { rows.push_back(row); });
    return rows;
}

}  // namespace pelmora
