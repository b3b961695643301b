// Any bytes opened as a case file: refused with a message and left as they were, or read whole
// (details, folder, texts, metadata, options, runs, log) without a crash; a log whose chain is
// said to be whole holds entries that each seal the one before, and a case that takes a new
// entry still reads.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "casefile/case_file.h"
#include "tests/fuzz/support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <typename T>
void readOrSay(const Result<T>& read, std::string_view what) {
    FUZZ_CHECK(read.ok() || !read.error().message.empty(), std::string(what) + " failed silently");
}

void readWhole(const CaseFile& file) {
    readOrSay(file.details(), "details");
    readOrSay(file.folder(), "folder");
    readOrSay(file.texts(), "texts");
    readOrSay(file.options(), "options");
    readOrSay(file.runs(), "runs");
    const Result<Metadata> metadata = file.metadata();
    readOrSay(metadata, "metadata");
    if (metadata.ok()) {
        (void)metadataCsv(metadata.value());
    }
    const Result<std::vector<AuditEntry>> log = file.log();
    const Result<std::optional<std::string>> tampered = file.tampering();
    readOrSay(log, "log");
    readOrSay(tampered, "tampering");
    if (log.ok() && tampered.ok() && !tampered.value()) {
        std::string previous = kFirstPrevious;
        for (const AuditEntry& e : log.value()) {
            FUZZ_CHECK(e.previous == previous && e.hash == entryHash(e),
                       "entry " + std::to_string(e.sequence) + " breaks a chain said whole");
            previous = e.hash;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const test::TempFolder scratch;
    const std::filesystem::path path = scratch.path() / "input.pelmora";
    std::filesystem::remove(path);
    const std::string bytes(bytesOf(data, size));
    std::ofstream(path, std::ios::binary) << bytes;
    {
        const Result<CaseFile> readOnly = CaseFile::open(path, false);
        if (!readOnly.ok()) {
            FUZZ_CHECK(!readOnly.error().message.empty(), shown(bytes.substr(0, 64)));
            FUZZ_CHECK(contentsOf(path) == bytes, "a refused case file was written");
            return 0;
        }
        readWhole(readOnly.value());
    }
    Result<CaseFile> writable = CaseFile::open(path);
    FUZZ_CHECK(writable.ok(), "opens to read but not to write");
    if (!writable.value().logAction(AuditAction::Opened, "by the fuzzer")) {
        readWhole(writable.value());
    }
    return 0;
}
