#pragma once
// Word (.docx) and OpenDocument (.odt) documents: the body's text in reading order, each
// paragraph a line; deleted revisions and field codes left out, footnotes, endnotes and
// comments removed and counted unless everything is kept (then they follow the body). The
// author and creation date come from the document's properties. The XML is parsed without
// network access and without expanding entities.

#include <optional>
#include <string>
#include <string_view>

#include "import/imported_text.h"

namespace pelmora {

[[nodiscard]] std::optional<Error> readWordDocument(std::string_view bytes,
                                                    const ImportOptions& options,
                                                    const TextSink& sink);
[[nodiscard]] std::optional<Error> readOpenDocument(std::string_view bytes,
                                                    const ImportOptions& options,
                                                    const TextSink& sink);

// "libzip 1.7.3, libxml2 2.9.14".
[[nodiscard]] std::string officeLibrary();

}  // namespace pelmora
