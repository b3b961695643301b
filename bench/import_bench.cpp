// Import of 1,000 e-mails in one mbox (each a generated text of 5 to 20 KiB with a quoted
// reply and a signature) and of 200 Word documents (the LibreOffice letter of the tests),
// into a fresh folder each time. Prints the seconds, texts per second and the peak memory.
// BM_ImportLargeMailbox reads a mailbox of about 256 MB, which is streamed: run alone
// (--benchmark_filter=Large), its peak memory stays a small part of the file's size.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "bench/support/corpus.h"
#include "import/importer.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

constexpr int kMessages = 1000, kDocuments = 200;

fs::path benchFolder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("pelmora-import-bench-" + std::to_string(::getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

fs::path mailbox(int messages = kMessages, int paragraphs = 1) {
    const fs::path file = benchFolder("mbox") / "inbox.mbox";
    std::ofstream out(file, std::ios::binary);
    std::mt19937 rng(25);
    for (int i = 0; i < messages; ++i) {
        std::string body;
        for (int p = 0; p < paragraphs; ++p) {
            body += bench::generatedText(rng) + "\n";
        }
        out << "From sender" << i % 7 << "@example.org Fri Dec 11 10:00:00 2026\n"
            << "From: Sender " << i % 7 << " <sender" << i % 7 << "@example.org>\n"
            << "Date: Fri, 11 Dec 2026 10:00:00 +0000\nSubject: message " << i
            << "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=utf-8\n\n"
            << body << "\n> quoted line one\n> quoted line two\n\n"
            << "-- \nSender\n\nOn Thu, 10 Dec 2026, Someone wrote:\n> earlier text\n\n";
    }
    return file;
}

fs::path documents() {
    const fs::path folder = benchFolder("docx");
    for (int i = 0; i < kDocuments; ++i) {
        fs::copy_file(fs::path(PELMORA_SOURCE_DIR) / "tests/data/import/letter.docx",
                      folder / ("letter-" + std::to_string(i) + ".docx"));
    }
    return folder;
}

void importBenchmark(benchmark::State& state, const fs::path& source, int expected) {
    double seconds = 0;
    std::size_t written = 0;
    for (auto _ : state) {
        ImportRequest request;
        request.sources = {source};
        request.destination = benchFolder("out");
        const auto start = std::chrono::steady_clock::now();
        const Result<ImportReport> report = importSources(request);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        written = report.ok() ? report.value().written.size() : 0;
    }
    if (written != static_cast<std::size_t>(expected)) {
        state.SkipWithError("not every text was written");
    }
    state.counters["texts"] = static_cast<double>(written);
    state.counters["seconds"] = seconds;
    state.counters["texts_per_s"] = static_cast<double>(written) / seconds;
    state.counters["peak_MiB"] = bench::peakMemoryMiB();
    fs::remove_all(benchFolder("out").parent_path());
}

void BM_ImportMailbox(benchmark::State& state) {
    importBenchmark(state, mailbox(), kMessages);
}
BENCHMARK(BM_ImportMailbox)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportWordDocuments(benchmark::State& state) {
    importBenchmark(state, documents(), kDocuments);
}
BENCHMARK(BM_ImportWordDocuments)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr int kLargeMessages = 2000, kLargeParagraphs = 10;

void BM_ImportLargeMailbox(benchmark::State& state) {
    const fs::path file = mailbox(kLargeMessages, kLargeParagraphs);
    state.counters["mbox_MiB"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
    importBenchmark(state, file, kLargeMessages);
}
BENCHMARK(BM_ImportLargeMailbox)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pelmora
