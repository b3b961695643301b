#pragma once
// The text layer of a PDF, page by page in reading order, through poppler. An encrypted PDF
// that needs a password and one whose pages hold no text (scanned images: it needs OCR) are
// left out with that reason.

#include <optional>
#include <string>
#include <string_view>

#include "import/imported_text.h"

namespace pelmora {

[[nodiscard]] std::optional<Error> readPdf(std::string_view bytes, const ImportOptions& options,
                                           const TextSink& sink);

// "poppler 22.12.0".
[[nodiscard]] std::string pdfLibrary();

}  // namespace pelmora
