#include "exports/run_texts.h"

namespace pelmora {

void writeReport(const RunResult& run, NameStyle style,
                 const std::function<void(std::string_view)>& visit) {
    ComposedText::NameWriter names;
    if (style != NameStyle::Exact) {
        names = [style](std::string_view name) { return shownName(name, style); };
    }
    run.report.forEachPiece(visit, names);
}

std::string typesShown(const RunResult& run, NameStyle style) {
    if (style == NameStyle::Exact) {
        return run.types;
    }
    std::string out;
    for (const TextRecord& t : run.texts) {
        out += t.code + "\t" + shownName(t.name, style) + "\r\n";
    }
    return out;
}

std::vector<TableRow> typesTable(const RunResult& run, NameStyle style) {
    std::vector<TableRow> rows{{"code", "name"}};
    for (const TextRecord& t : run.texts) {
        rows.push_back({t.code, shownName(t.name, style)});
    }
    return rows;
}

ColumnKinds typesColumnKinds() {
    return {{CellKind::Code, CellKind::Text}};
}

}  // namespace pelmora
