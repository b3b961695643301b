// The chat export reader on any bytes: tidy UTF-8 texts, one per participant named once, or a
// reason; a text is only ever made when the first line looks like an export's.

#include <set>

#include "import/chat_export.h"
#include "tests/fuzz/import_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string input = fuzz::shown(bytes);
    std::set<std::string> parts;
    for (const bool keep : {false, true}) {
        fuzz::checkReader(
            [&](const TextSink& sink) {
                return readChatExport(bytes, ImportOptions{keep}, [&](ImportedText&& text) {
                    FUZZ_CHECK(keep || parts.insert(text.part).second, input);
                    FUZZ_CHECK(text.suffix == "-" + text.part, input);
                    sink(std::move(text));
                });
            },
            input);
    }
    (void)looksLikeChatExport(bytes);
    return 0;
}
