// The workbook writer: a small run whose file names are cut from the input at byte 00 is
// written to a workbook, read back as a spreadsheet program reads it, and every sheet that
// names the texts gives each name exactly as the run holds it, as a text cell.

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exports/workbook.h"
#include "stores/text_encoding.h"
#include "tests/fuzz/support.h"
#include "tests/support/run_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/workbook_reader.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;
using Kind = test::WorkbookCell::Kind;

// libFuzzer's timer for slow inputs is a SIGALRM without SA_RESTART, which cuts short the
// reader's reads from Python; held while it reads, it comes when the reading is done.
class AlarmHeld {
public:
    AlarmHeld() {
        sigset_t alarm;
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &alarm, &previous_);
    }
    ~AlarmHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    AlarmHeld(const AlarmHeld&) = delete;
    AlarmHeld& operator=(const AlarmHeld&) = delete;

private:
    sigset_t previous_;
};

// The one call of the writer: the workbook written into a fresh folder and read back.
test::Workbook writtenAndRead(const RunResult& run, const std::string& input) {
    const test::TempFolder folder;
    const std::optional<Error> error = writeWorkbook(run, folder.path() / "run.xlsx", "now");
    FUZZ_CHECK(!error, input + ": " + (error ? error->message : ""));
    const AlarmHeld held;
    return test::readWorkbook(folder.path() / "run.xlsx");
}

std::string cellText(const test::Workbook& book, const std::string& sheet, std::size_t row,
                     std::size_t column) {
    const test::WorkbookCell* c = book.sheets.at(sheet).at(row, column);
    return c == nullptr ? "<no cell>" : c->kind != Kind::Text ? "<not text>" : c->text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kCodes[] = {"01200", "11111", "20220", "11200", "00100", "21212"};
    std::vector<std::string> names;  // as the run holds them
    std::vector<test::BuiltText> texts;
    for (const std::string_view piece : split(bytesOf(data, size), '\0', 6)) {
        // A file name: some bytes, none of them NUL, at most 255, once in a folder.
        const std::string bytes(piece.substr(0, 255));
        if (bytes.empty() || std::any_of(texts.begin(), texts.end(),
                                         [&](const auto& t) { return t.nameBytes == bytes; })) {
            continue;
        }
        names.push_back(displayText(bytes));
        texts.push_back({names.back(), kCodes[texts.size()], "500", TextEncoding::Ascii, 100,
                         std::string(64, 'a'), bytes});
    }
    const std::string input = shown(bytesOf(data, size));
    const test::Workbook book = writtenAndRead(test::runOf(texts), input);
    FUZZ_CHECK(book.problem.empty(), input + ": " + book.problem);

    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string what = input + ", name " + std::to_string(i) + " " + shown(names[i]);
        const auto check = [&](const char* sheet, std::size_t row, std::size_t column) {
            const std::string read = cellText(book, sheet, row, column);
            FUZZ_CHECK(read == names[i], what + " reads back in " + sheet + " as " + shown(read));
        };
        check("Types", i + 1, 1);
        check("Measures", i + 1, 0);
        check("Quality", i + 1, 0);
        check("Matrix", 0, i + 1);
        check("Matrix", i + 1, 0);
    }
    const test::WorkbookSheet& pairs = book.sheets.at("Pairs");
    const std::size_t n = names.size();
    FUZZ_CHECK(pairs.rows.size() == 1 + n * (n - (n > 0 ? 1 : 0)) / 2, input);
    for (std::size_t row = 1; row < pairs.rows.size(); ++row) {
        for (const std::size_t column : {0, 1}) {
            const std::string read = cellText(book, "Pairs", row, column);
            FUZZ_CHECK(std::find(names.begin(), names.end(), read) != names.end(),
                       input + ": pair " + std::to_string(row) + " names " + shown(read));
        }
    }
    return 0;
}
