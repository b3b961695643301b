// The run record's parser: any bytes are read or refused with a message, never a crash, and a
// record it reads is written back to a whole record that reads as the same and writes the same.
// Each input is tried as it is and with a true end line, so that the fuzzer gets to the lines
// above it.

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/sha256.h"
#include "record/run_record.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

// A record the parser takes is written as one that reads back the same and writes the same.
void roundTrip(std::string_view text) {
    const Result<RunRecord> read = parseRecord(text);
    if (!read.ok()) {
        FUZZ_CHECK(!read.error().message.empty(), shown(text));
        return;
    }
    const std::string written = recordText(read.value());
    bool withoutEndLine = true;
    const Result<RunRecord> again = parseRecord(written, &withoutEndLine);
    FUZZ_CHECK(again.ok() && !withoutEndLine,
               shown(text) + "\nwritten as\n" + shown(written) +
                   "\nis refused: " + (again.ok() ? "it has no end line" : again.error().message));
    const std::string rewritten = recordText(again.value());
    FUZZ_CHECK(again.value() == read.value() && rewritten == written,
               shown(text) + "\nwritten as\n" + shown(written) + "\nreads as\n" + shown(rewritten));
}

// The text with a true end line in place of its last line when that is one: without it a
// changed record would seldom get past the SHA-256 it must end with.
std::string sealed(std::string_view text) {
    std::string body(text);
    if (!body.empty() && body.back() != '\n') {
        body += '\n';
    }
    const std::size_t before =
        body.size() < 2 ? std::string::npos : body.rfind('\n', body.size() - 2);
    const std::size_t last = before == std::string::npos ? 0 : before + 1;
    if (body.compare(last, 4, "end\t") == 0) {
        body.resize(last);
    }
    const auto lines = std::count(body.begin(), body.end(), '\n');
    return body + "end\t" + std::to_string(lines) + "\t" + sha256Hex(body) + "\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = bytesOf(data, size);
    roundTrip(text);
    roundTrip(sealed(text));
    return 0;
}
