#include "report/report_document.h"

#include "rules/rule_book.h"

namespace pelmora {

void ReportSection::heading(std::string text) {
    ReportBlock b;
    b.kind = ReportBlock::Kind::Heading;
    b.text = std::move(text);
    blocks.push_back(std::move(b));
}

void ReportSection::paragraph(std::string text) {
    ReportBlock b;
    b.text = std::move(text);
    blocks.push_back(std::move(b));
}

void ReportSection::facts(std::vector<std::pair<std::string, std::string>> facts) {
    ReportBlock b;
    b.kind = ReportBlock::Kind::Facts;
    b.facts = std::move(facts);
    blocks.push_back(std::move(b));
}

void ReportSection::table(std::vector<std::vector<std::string>> rows) {
    ReportBlock b;
    b.kind = ReportBlock::Kind::Table;
    b.table = std::move(rows);
    blocks.push_back(std::move(b));
}

void ReportSection::chart(ReportChart chart) {
    ReportBlock b;
    b.kind = ReportBlock::Kind::Chart;
    b.chart = std::move(chart);
    blocks.push_back(std::move(b));
}

ReportChart strengthBars(std::string title, std::string yLabel) {
    ReportChart chart;
    chart.title = std::move(title);
    chart.xLabel = "strength";
    chart.yLabel = std::move(yLabel);
    for (int strength = 0; strength <= kCodeDigits; ++strength) {
        chart.categories.push_back(std::to_string(strength));
    }
    return chart;
}

std::vector<const ReportChart*> ReportDocument::charts() const {
    std::vector<const ReportChart*> out;
    for (const ReportSection& s : sections) {
        for (const ReportBlock& b : s.blocks) {
            if (b.kind == ReportBlock::Kind::Chart) {
                out.push_back(&b.chart);
            }
        }
    }
    return out;
}

}  // namespace pelmora
