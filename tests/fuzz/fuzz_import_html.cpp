// The HTML reader on any bytes: tidy UTF-8, with no script's body in it.

#include "import/html_text.h"
#include "tests/fuzz/import_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string input = fuzz::shown(bytes);
    ImportedText text;
    text.text = htmlText(bytes);
    text.leftOut = text.text.empty() ? "no text" : "";
    fuzz::checkText(text, input);
    // A script's body never reaches the text: a page reads the same without it.
    FUZZ_CHECK(htmlText("<p>a</p><script>zqxjv</script>" + std::string(bytes)) ==
                   htmlText("<p>a</p>" + std::string(bytes)),
               input);
    return 0;
}
