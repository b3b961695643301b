#pragma once
// A record of a run that a later run of the same folder can be checked against: program
// version, time, folder, and per file its size, SHA-256, encoding and code, keyed by the
// file's exact name bytes; when asked, each text's stability under resampling as well.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"
#include "stability/stability.h"
#include "stores/error.h"

namespace pelmora {

// Counts of resamples: those giving the whole code, and those giving each digit 0 to 9 at
// each place of the code.
struct RecordedStability {
    bool tooShort = false;
    int codeKept = 0;
    std::array<std::array<int, 10>, 5> digits{};
    std::string notMeasured;  // why the text could not be resampled, or empty

    bool operator==(const RecordedStability&) const = default;
};

struct RecordedFile {
    std::string nameBytes;
    bool unreadable = false;
    std::string reason;  // for an unreadable file
    std::uint64_t byteSize = 0;
    std::string sha256, encoding, code;
    std::optional<RecordedStability> stability;

    bool operator==(const RecordedFile&) const = default;
};

struct RunRecord {
    std::string version;
    std::string created;              // UTC, "2026-12-06T15:40:12Z"
    std::string folder;               // the folder's path bytes
    std::vector<RecordedFile> files;  // analysed files in run order, then those left out
    // Resampling, when the record holds stability: 0 resamples for none.
    int resamples = 0;
    int blockWords = 0;
    std::string seedingRule;

    bool operator==(const RunRecord&) const = default;
};

// With `stability`, every analysed file carries its figures and the record its options.
RunRecord recordOf(const RunResult& run, std::string created,
                   const RunStability* stability = nullptr);

// The current time as RunRecord::created writes it.
std::string utcTimestamp();
// The run's identity: the SHA-256 that closes its record made at the run's start, without
// stability figures; the same for every output of one run.
std::string runDigest(const RunResult& run);

// Line-based UTF-8 text, LF line ends; fields are separated by tabs. Inside a field a
// backslash, tab, CR and LF are escaped, and so is every byte that is not part of valid
// UTF-8 (\xE9), so that any name survives and the record stays UTF-8. The first line names
// the format; the last, "end", the number of lines above it and the SHA-256 of their bytes,
// so that a record cut short or altered is refused.
std::string recordText(const RunRecord& record);
// One field as the record writes it, escaped as above.
std::string recordField(std::string_view field);
// The bytes of a field escaped as above; nothing for a backslash that starts no escape.
std::optional<std::string> recordFieldBytes(std::string_view field);

// The files of a record as a table: header row "name", "size", "SHA-256", "encoding", "code",
// "left out because", each name and reason escaped as in the record's text.
std::vector<TableRow> recordTable(const RunRecord& record);
ColumnKinds recordColumnKinds();

// Every field strictly as recordText writes it; anything else is refused naming the line and
// why: a record cut short, with a wrong end line, not UTF-8 (an error of its own), or not a
// record. A record of the format before records had an end line is read as well, and
// `withoutEndLine` (when given) says so.
Result<RunRecord> parseRecord(std::string_view text, bool* withoutEndLine = nullptr);

struct Verification {
    std::vector<std::string> differences;  // one line each; empty when all is unchanged
    std::string note;                      // a different program version, or empty
    bool stabilityCompared = false;
    bool recordWithoutEndLine = false;  // the record cannot show that it is whole
    bool unchanged() const { return differences.empty(); }
};

// Compares a record with a fresh run of the folder, file by file, by exact name bytes; the
// stability figures too when both hold them. A text that could not be resampled now, or was
// not in the record, is a difference.
Verification verifyRun(const RunRecord& recorded, const RunRecord& now,
                       NameStyle style = NameStyle::Exact);

// What `verify` prints: the notes, then "Unchanged: ..." or the list of differences.
std::string verificationText(const Verification& verification, std::size_t fileCount);

}  // namespace pelmora
