#pragma once
// A report document as one self-contained HTML file: its styles inside, print styles for A4,
// each chart's markup given by the caller (inline SVG for a browser, an image reference for
// a renderer that lays the same HTML out).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "report/report_document.h"

namespace pelmora {

using ChartMarkup = std::function<std::string(std::size_t index, const ReportChart& chart)>;

// UTF-8, LF line ends; the same document gives the same bytes.
std::string reportHtml(const ReportDocument& document, const ChartMarkup& chartMarkup);

// `text` with &, <, >, " and ' written as entities.
std::string htmlEscaped(std::string_view text);

}  // namespace pelmora
