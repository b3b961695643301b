#include "report/report_html.h"

#include <algorithm>

namespace pelmora {

namespace {

// Plain enough for the renderers that lay HTML out themselves: borders are also given as
// attributes, which they read where they ignore the style sheet.
constexpr std::string_view kStyle =
    "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 10pt; color: #000; }\n"
    "@media screen { body { max-width: 180mm; margin: 1em auto; } }\n"
    "h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 1.5em; } "
    "h3 { font-size: 11pt; }\n"
    "table { border-collapse: collapse; }\n"
    "th, td { border: 1px solid #777; padding: 2px 4px; text-align: left; "
    "vertical-align: top; }\n"
    "th { background: #eee; }\n"
    "p.created { color: #444; }\n"
    "@page { size: A4; margin: 18mm; }\n"
    "@media print { h2 { page-break-after: avoid; } "
    "tr, div.chart { page-break-inside: avoid; } }\n";

// A digest on one line in a fixed-width face, told by style attribute to the renderers that
// read no style sheet.
constexpr const char* kHashCell =
    " style=\"font-family: 'DejaVu Sans Mono', monospace; font-size: 7pt; white-space: nowrap\">";

bool looksLikeHash(std::string_view cell) {
    if (cell.size() != 64) {
        return false;
    }
    for (const char c : cell) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// Each column's share of the width by its longest cell (a digest counts as the space it takes
// in its smaller face), within bounds, so that names are not broken in narrow columns.
std::vector<int> columnPercents(const std::vector<std::vector<std::string>>& rows) {
    std::vector<double> weight(rows.front().size(), 0);
    for (std::size_t c = 0; c < weight.size(); ++c) {
        std::size_t word = 0;  // the header's longest word
        for (std::size_t at = 0; at <= rows[0][c].size();) {
            const std::size_t space = std::min(rows[0][c].find(' ', at), rows[0][c].size());
            word = std::max(word, space - at);
            at = space + 1;
        }
        weight[c] = static_cast<double>(word + 1);  // set in bold
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size() && c < weight.size(); ++c) {
            const std::string& cell = rows[r][c];
            // Longer texts wrap; a digest may not.
            const double length =
                looksLikeHash(cell) ? 48 : std::min(static_cast<double>(cell.size()), 28.0);
            weight[c] = std::max(weight[c], length);
        }
    }
    for (double& w : weight) {
        w += 3;  // the cell's padding
    }
    // Short columns keep what they need; long ones share what is left of a line.
    constexpr double kLine = 90, kShort = 16, kLeast = 12;
    double shortSum = 0, longSum = 0;
    for (const double w : weight) {
        (w <= kShort ? shortSum : longSum) += w;
    }
    if (shortSum + longSum > kLine && longSum > 0) {
        const double scale = std::max(0.0, kLine - shortSum) / longSum;
        for (double& w : weight) {
            w = w <= kShort ? w : std::max(kLeast, w * scale);
        }
    }
    double sum = 0;
    for (const double w : weight) {
        sum += w;
    }
    std::vector<int> out;
    for (const double w : weight) {
        out.push_back(static_cast<int>(w * 100 / sum));
    }
    return out;
}

void writeTable(std::string& out, const std::vector<std::vector<std::string>>& rows) {
    if (rows.empty()) {
        return;
    }
    const std::vector<int> percents = columnPercents(rows);
    out += "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out += "<tr>";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& cell = rows[r][c];
            const char* tag = r == 0 ? "th" : "td";
            out += std::string("<") + tag;
            if (r == 0 && c < percents.size()) {
                out += " width=\"" + std::to_string(percents[c]) + "%\"";
            }
            out += r > 0 && looksLikeHash(cell) ? kHashCell : ">";
            out += htmlEscaped(cell);
            out += std::string("</") + tag + ">";
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

void writeBlock(std::string& out, const ReportBlock& block, std::size_t& chart,
                const ChartMarkup& chartMarkup) {
    switch (block.kind) {
        case ReportBlock::Kind::Heading:
            out += "<h3>" + htmlEscaped(block.text) + "</h3>\n";
            break;
        case ReportBlock::Kind::Paragraph:
            out += "<p>" + htmlEscaped(block.text) + "</p>\n";
            break;
        case ReportBlock::Kind::Facts:
            out += "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
            for (const auto& [label, value] : block.facts) {
                out += "<tr><th>" + htmlEscaped(label) + "</th><td" +
                       (looksLikeHash(value) ? kHashCell : ">") + htmlEscaped(value) +
                       "</td></tr>\n";
            }
            out += "</table>\n";
            break;
        case ReportBlock::Kind::Table:
            writeTable(out, block.table);
            break;
        case ReportBlock::Kind::Chart:
            // The chart names itself in its title.
            out += "<div class=\"chart\">" + chartMarkup(chart++, block.chart) + "</div>\n";
            break;
    }
}

}  // namespace

std::string htmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string reportHtml(const ReportDocument& document, const ChartMarkup& chartMarkup) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        htmlEscaped(document.title) + "</title>\n<style>\n" + std::string(kStyle) +
        "</style>\n</head>\n<body>\n<h1>" + htmlEscaped(document.title) + "</h1>\n" +
        "<p class=\"created\">Created " + htmlEscaped(document.created) + "</p>\n";
    std::size_t chart = 0;
    for (std::size_t s = 0; s < document.sections.size(); ++s) {
        const ReportSection& section = document.sections[s];
        out += "<h2>" + std::to_string(s + 1) + " " + htmlEscaped(section.title) + "</h2>\n";
        for (const ReportBlock& block : section.blocks) {
            writeBlock(out, block, chart, chartMarkup);
        }
    }
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace pelmora
