// The run record's parser: any bytes are read or refused with a message, never a crash, and a
// record it reads is written back to a text that reads as the same record and writes the same.

#include <cstdint>
#include <string>

#include "evidence/run_record.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

// Everything a record holds; the one place that knows its fields.
std::string fieldsOf(const RunRecord& r) {
    std::string out = shown(r.version) + "|" + shown(r.created) + "|" + shown(r.folder) + "|" +
                      std::to_string(r.resamples) + "|" + std::to_string(r.blockWords) + "|" +
                      shown(r.seedingRule) + "\n";
    for (const RecordedFile& f : r.files) {
        out += shown(f.nameBytes) + "|" + (f.unreadable ? "unreadable " + shown(f.reason) : "") +
               "|" + std::to_string(f.byteSize) + "|" + shown(f.sha256) + "|" + shown(f.encoding) +
               "|" + shown(f.code);
        if (f.stability) {
            out += "|" + std::string(f.stability->tooShort ? "too short" : "") + " " +
                   std::to_string(f.stability->codeKept);
            for (const auto& digit : f.stability->digits) {
                for (const int n : digit) {
                    out += " " + std::to_string(n);
                }
            }
        }
        out += "\n";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = bytesOf(data, size);
    const Result<RunRecord> read = parseRecord(text);
    if (!read.ok()) {
        FUZZ_CHECK(!read.error().message.empty(), shown(text));
        return 0;
    }
    const std::string written = recordText(read.value());
    const Result<RunRecord> again = parseRecord(written);
    FUZZ_CHECK(again.ok(), shown(text) + "\nwritten as\n" + shown(written) +
                               "\nis refused: " + (again.ok() ? "" : again.error().message));
    const std::string before = fieldsOf(read.value()), after = fieldsOf(again.value());
    FUZZ_CHECK(before == after, shown(text) + "\nreads as\n" + before +
                                    "but written and read "
                                    "again as\n" +
                                    after);
    FUZZ_CHECK(recordText(again.value()) == written, shown(written));
    return 0;
}
