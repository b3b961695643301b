#pragma once
// Chat exports of the common phone formats, one text per participant. A message line is
// "[08/12/2026, 14:03:11] Name: text" or "08/12/2026, 14:03 - Name: text" (a 12-hour time
// with AM or PM too); the lines up to the next message line continue it. System lines, which
// no participant wrote, are left out; "<Media omitted>" and the like are removed unless kept.

#include <optional>
#include <string_view>

#include "import/imported_text.h"

namespace pelmora {

// Whether the first line that is not empty is a message line or a system line of an export.
[[nodiscard]] bool looksLikeChatExport(std::string_view bytes);

// Gives `sink` each participant's text, in the order they first write. Bytes that are not
// UTF-8 are read as Windows-1252. Fails when no participant wrote anything.
[[nodiscard]] std::optional<Error> readChatExport(std::string_view bytes,
                                                  const ImportOptions& options,
                                                  const TextSink& sink);

}  // namespace pelmora
