#pragma once
// The case report written as HTML (self-contained, charts inline as SVG), PDF (A4, selectable
// text, fonts embedded) or ODT (for editing in a word processor), all from one document.
// A toolkit application must exist: the command line makes one offscreen with
// RenderingApplication.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "jobs/job.h"
#include "report/report_document.h"
#include "stores/error.h"

namespace pelmora {

enum class ReportFormat { Html, Pdf, Odt };

// By the file's extension (.html or .htm, .pdf, .odt, in any case); nothing for any other.
std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file);

// The document as one rendering's bytes. The same document gives the same HTML bytes.
std::string renderedReport(const ReportDocument& document, ReportFormat format);

// Writes the rendering its extension names to `file`, whole or not at all, and gives the
// SHA-256 of the bytes written.
Result<std::string> writeRenderedReport(const ReportDocument& document,
                                        const std::filesystem::path& file,
                                        const CancelToken* cancel = nullptr);

// An offscreen toolkit application for as long as it lives, unless one runs already.
class RenderingApplication {
public:
    RenderingApplication();
    ~RenderingApplication();
    RenderingApplication(const RenderingApplication&) = delete;
    RenderingApplication& operator=(const RenderingApplication&) = delete;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace pelmora
