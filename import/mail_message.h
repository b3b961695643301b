#pragma once
// E-mail through a MIME library: one text per message, from its plain-text part or else its
// HTML part made into text; transfer encodings and declared charsets decoded, headers not
// part of the text. The writer's own lines only unless everything is kept (reply_quotes.h).
// The sender and date go with each text; attachments are named in its warnings.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "import/imported_text.h"
#include "jobs/job.h"

namespace pelmora {

// One message (.eml). Fails when it holds no text part.
[[nodiscard]] std::optional<Error> readMailMessage(std::string_view bytes,
                                                   const ImportOptions& options,
                                                   const TextSink& sink);

// Every message of an mbox file, read as a stream so that a mailbox of any size is never held
// whole; each text's part is its message number from 1, its suffix "-0007". A message without
// a text part gives a text left out saying so. Fails when the file does
// not start as an mbox, holds no message, or `cancel` is set (the Cancelled error).
[[nodiscard]] std::optional<Error> readMailbox(const std::filesystem::path& file,
                                               const ImportOptions& options, const TextSink& sink,
                                               const CancelToken* cancel = nullptr);

// Whether `bytes` start as an mbox: with a "From " line.
[[nodiscard]] bool looksLikeMailbox(std::string_view bytes);

// "GMime 3.2.13".
[[nodiscard]] std::string mailLibrary();

}  // namespace pelmora
