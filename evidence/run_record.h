#pragma once
// A record of a run that a later run of the same folder can be checked against: program
// version, time, folder, and per file its size, SHA-256, encoding and code.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "evidence/run_snapshot.h"
#include "stores/input_problem.h"

namespace pelmora {

struct RecordedFile {
    std::string name;
    bool unreadable = false;
    std::string reason;  // for an unreadable file
    std::uint64_t byteSize = 0;
    std::string sha256, encoding, code;

    bool operator==(const RecordedFile&) const = default;
};

struct RunRecord {
    std::string version;
    std::string created;  // UTC, "2026-12-06T15:40:12Z"
    std::string folder;
    std::vector<RecordedFile> files;  // analysed files in run order, then those left out
};

RunRecord recordOf(const RunSnapshot& run, std::string created);

// The current time as RunRecord::created writes it.
std::string utcTimestamp();

// Line-based UTF-8 text, LF line ends; fields are separated by tabs and backslash, tab,
// CR and LF inside a field are escaped, so that any file name survives.
std::string recordText(const RunRecord& record);
Result<RunRecord> parseRecord(std::string_view text);

struct Verification {
    std::vector<std::string> differences;  // one line each; empty when all is unchanged
    std::string note;                      // a different program version, or empty
    bool unchanged() const { return differences.empty(); }
};

// Compares a record with a fresh run of the folder, file by file, by name.
Verification verifyRun(const RunRecord& recorded, const RunRecord& now);

// What `verify` prints: the note, then "Unchanged: ..." or the list of differences.
std::string verificationText(const Verification& verification, std::size_t fileCount);

}  // namespace pelmora
