#include "exports/measures_table.h"

namespace pelmora {

std::vector<TableRow> measuresTable(const RunResult& run, ColumnNames names, NameStyle style) {
    const bool readable = names == ColumnNames::Readable;
    TableRow header{"name", "code", "class"};
    for (const MeasureInfo& m : kMeasures) {
        header.emplace_back(readable ? m.label : m.column);
    }
    for (const char* category :
         {"formality", "personage", "past_tenseness", "obligation_intention", "affect"}) {
        std::string column = category;
        if (readable) {
            for (char& c : column) {
                c = c == '_' ? ' ' : c;
            }
        }
        header.push_back(std::move(column));
    }
    std::vector<TableRow> rows{std::move(header)};
    for (const TextRecord& t : run.texts) {
        if (!t.inRun) {
            continue;
        }
        const TextMeasures& m = t.measures;
        TableRow row{shownName(t.name, style), m.code, m.textClass};
        for (const MeasureInfo& info : kMeasures) {
            row.push_back(t.text(info.id));
        }
        row.insert(row.end(),
                   {m.formality, m.personage, m.pastTenseness, m.obligationIntention, m.affect});
        rows.push_back(std::move(row));
    }
    return rows;
}

ColumnKinds measuresColumnKinds() {
    ColumnKinds kinds{{CellKind::Text, CellKind::Code, CellKind::Text}};
    kinds.first.insert(kinds.first.end(), kMeasures.size(), CellKind::Number);
    return kinds;  // the categories after them are text
}

}  // namespace pelmora
