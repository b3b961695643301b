#pragma once
// A report's content apart from how it is rendered: titled sections of paragraphs, facts,
// tables and charts, all text. Every rendering (HTML, PDF, ODT) is written from one document,
// so that they cannot say different things.

#include <string>
#include <utility>
#include <vector>

namespace pelmora {

// A chart as data: bars of one or more series over categories, or lines through points.
struct ReportChart {
    enum class Kind { Bars, Lines };
    struct Series {
        std::string name;
        std::vector<double> values;                     // bars: one per category
        std::vector<std::pair<double, double>> points;  // lines: x, y
    };
    Kind kind = Kind::Bars;
    std::string title, xLabel, yLabel;
    std::vector<std::string> categories;  // bars: under each group
    std::vector<Series> series;
    bool diagonal = false;    // lines: the chance line from (0, 0) to (1, 1)
    bool unitSquare = false;  // lines: both axes from 0 to 1
};

// Bars over each strength a pair can have, from 0 to the code's digits, with no series yet.
ReportChart strengthBars(std::string title, std::string yLabel);

struct ReportBlock {
    enum class Kind { Heading, Paragraph, Facts, Table, Chart };
    Kind kind = Kind::Paragraph;
    std::string text;                                        // heading, paragraph
    std::vector<std::pair<std::string, std::string>> facts;  // label, value
    std::vector<std::vector<std::string>> table;             // header row first
    ReportChart chart;
};

struct ReportSection {
    std::string title;
    std::vector<ReportBlock> blocks;

    void heading(std::string text);
    void paragraph(std::string text);
    void facts(std::vector<std::pair<std::string, std::string>> facts);
    void table(std::vector<std::vector<std::string>> rows);
    void chart(ReportChart chart);
};

struct ReportDocument {
    std::string title;
    std::string created;  // the one time the document states, UTC
    std::vector<ReportSection> sections;

    // The charts in document order, which renderings number from 0.
    std::vector<const ReportChart*> charts() const;
};

}  // namespace pelmora
