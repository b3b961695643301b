#pragma once
// What every text an import reader makes must be for any input: well-formed UTF-8 with LF
// line ends only, tidy (each line ending in LF, no blank line first or last, none doubled),
// and a failure must be the Unconvertible error with a reason.

#include <optional>
#include <string>
#include <vector>

#include "import/imported_text.h"
#include "tests/fuzz/support.h"

namespace pelmora::fuzz {

inline void checkText(const ImportedText& text, const std::string& input) {
    FUZZ_CHECK(wellFormedUtf8(text.text), input + "\ngave\n" + shown(text.text));
    FUZZ_CHECK(text.text.find('\r') == std::string::npos, input);
    FUZZ_CHECK(text.text.empty() || (text.text.back() == '\n' && text.text.front() != '\n'),
               input + "\ngave\n" + shown(text.text));
    FUZZ_CHECK(text.text.find("\n\n\n") == std::string::npos, input);
    FUZZ_CHECK(!text.text.ends_with("\n\n"), input);
    FUZZ_CHECK(text.text.empty() != text.leftOut.empty(), input);
    for (const Removal& removal : text.removals) {
        FUZZ_CHECK(removal.lines > 0, input);
    }
}

inline void checkOutcome(const std::optional<Error>& error, int texts, const std::string& input) {
    if (error) {
        FUZZ_CHECK(error->code == Error::Code::Unconvertible && !error->message.empty(), input);
    } else {
        FUZZ_CHECK(texts > 0, input);
    }
}

// Reads with `read` and checks every text and the outcome.
template <typename Read>
void checkReader(const Read& read, const std::string& input) {
    int texts = 0;
    const std::optional<Error> error = read([&](ImportedText&& text) {
        checkText(text, input);
        ++texts;
    });
    checkOutcome(error, texts, input);
}

}  // namespace pelmora::fuzz
