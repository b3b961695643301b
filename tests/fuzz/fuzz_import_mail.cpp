// The e-mail reader on any bytes, as one message and as an mbox read from a file: tidy UTF-8
// texts numbered from 1 in order, or a reason; a malformed MIME structure never crashes.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "import/mail_message.h"
#include "tests/fuzz/import_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string input = fuzz::shown(bytes);
    fuzz::checkReader(
        [&](const TextSink& sink) { return readMailMessage(bytes, ImportOptions{}, sink); }, input);
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("pelmora-fuzz-mbox-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    int number = 0;
    fuzz::checkReader(
        [&](const TextSink& sink) {
            return readMailbox(file, ImportOptions{}, [&](ImportedText&& text) {
                FUZZ_CHECK(text.part == "message " + std::to_string(++number), input);
                sink(std::move(text));
            });
        },
        input);
    std::filesystem::remove(file);
    return 0;
}
