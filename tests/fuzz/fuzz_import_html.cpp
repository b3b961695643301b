// The HTML reader on any bytes: tidy UTF-8 that holds no markup the page spelled as a tag
// (any "<" left is text the page escaped or wrote bare).

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
    // Script bodies never reach the text: a script of plain letters is dropped.
    const std::string scripted = htmlText("<p>a</p><script>zqxjv</script>" + std::string(bytes));
    FUZZ_CHECK(scripted.find("zqxjv") == std::string::npos || bytes.find("zqxjv") != bytes.npos,
               input);
    return 0;
}
