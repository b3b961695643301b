// The PDF reader on any bytes: one tidy UTF-8 text, or a reason; never a crash.

#include "import/pdf_text.h"
#include "tests/fuzz/import_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    fuzz::checkReader([&](const TextSink& sink) { return readPdf(bytes, ImportOptions{}, sink); },
                      fuzz::shown(bytes.substr(0, 256)));
    return 0;
}
