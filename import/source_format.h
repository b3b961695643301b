#pragma once
// Which reader a source goes to: chosen by its extension, then checked against its first
// bytes, so that a file whose extension misleads is left out saying what it holds.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "import/imported_text.h"
#include "jobs/job.h"

namespace pelmora {

enum class SourceFormat { ChatExport, MailMessage, Mailbox, Html, WordDocument, OpenDocument, Pdf };

// "chat export", "e-mail", "mbox", "HTML", "Word document", "OpenDocument text", "PDF".
[[nodiscard]] std::string_view formatName(SourceFormat format);
// The library and version that reads the format; "built in" for the chat reader.
[[nodiscard]] std::string formatLibrary(SourceFormat format);

// The format `file` is taken for, from its extension in any case (.txt, .eml, .mbox, .html,
// .htm, .xhtml, .docx, .odt, .pdf; a file without extension that starts as an mbox), checked
// against `head`, its first bytes. Unconvertible, with the reason, for an unknown extension
// or content that is not what the extension says.
[[nodiscard]] Result<SourceFormat> sourceFormat(const std::filesystem::path& file,
                                                std::string_view head);

// Whether the format is read as a stream from the file rather than from its bytes in memory.
[[nodiscard]] bool isStreamed(SourceFormat format);

// Gives `sink` the texts of a source held in memory (`bytes`) or, when streamed, of `file`.
[[nodiscard]] std::optional<Error> readSource(SourceFormat format,
                                              const std::filesystem::path& file,
                                              std::string_view bytes, const ImportOptions& options,
                                              const TextSink& sink,
                                              const CancelToken* cancel = nullptr);

}  // namespace pelmora
