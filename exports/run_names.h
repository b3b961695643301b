#pragma once
// What names a run's outputs: the default file name of every export, built from the folder's
// (or the case's) name and the run's date, and the caption line of every saved picture with
// the folder, the date and the run's identity.

#include <string>
#include <string_view>

#include "run/run_result.h"

namespace pelmora {

// A file name that is safe on the common file systems: "brown-2026-12-08-workbook.xlsx" from
// `name` (any bytes: a folder's or a case's name), `date` (may be empty), `what` and
// `extension` (".xlsx"). Letters and digits of any script, '_' and '.' stay; every other run
// of characters (spaces, slashes, punctuation, invisible characters and bytes that are not
// UTF-8) becomes one '-'; no dot or dash starts or ends the name's part, which is cut at
// kMostNameBytes, and "pelmora" stands in for a name left empty.
std::string safeFileName(std::string_view name, std::string_view date, std::string_view what,
                         std::string_view extension);
inline constexpr std::size_t kMostNameBytes = 80;

// The last name of a folder's path, whatever slashes end it; empty for the root.
std::string folderName(const std::filesystem::path& folder);
// The run's date in UTC, "2026-12-08".
std::string runDate(const RunResult& run);
// safeFileName of the run's folder and date.
std::string runFileName(const RunResult& run, std::string_view what, std::string_view extension);

// "Folder /home/ann/brown · run of 2026-12-08 14:03 UTC · run record 3f2a9c01d4e5b6a7": the
// folder as text, when the run started, and the first digits of runDigest.
std::string runCaption(const RunResult& run);
inline constexpr std::size_t kCaptionDigestDigits = 16;

}  // namespace pelmora
