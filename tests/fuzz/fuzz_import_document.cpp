// The Word and OpenDocument readers on any bytes (the first byte chooses which): one tidy
// UTF-8 text, or a reason; a damaged or hostile archive never crashes.

#include "import/office_document.h"
#include "tests/fuzz/import_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    if (size < 1) {
        return 0;
    }
    const std::string_view bytes = fuzz::bytesOf(data + 1, size - 1);
    const std::string input = fuzz::shown(fuzz::bytesOf(data, size));
    const bool word = data[0] % 2 == 0;
    fuzz::checkReader(
        [&](const TextSink& sink) {
            return word ? readWordDocument(bytes, ImportOptions{}, sink)
                        : readOpenDocument(bytes, ImportOptions{}, sink);
        },
        input);
    return 0;
}
