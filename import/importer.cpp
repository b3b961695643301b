#include "import/importer.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "app/sha256.h"
#include "files/replacing_file.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "import/source_format.h"
#include "record/run_record.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// A source read whole is refused above this size; an mbox is read as a stream at any size.
constexpr std::uintmax_t kMostSourceBytes = 512ULL << 20;
// The first bytes a source's format is checked against.
constexpr std::size_t kHeadBytes = 4096;
// Room left in a file name for a numbered name's " (12)".
constexpr std::size_t kMostNameBytes = 240;
constexpr std::size_t kMostSuffixBytes = 64;
constexpr std::size_t kReadChunk = 1 << 20;

// Cuts `s` to at most `most` bytes without splitting a UTF-8 sequence.
std::string cutUtf8(std::string s, std::size_t most) {
    if (s.size() <= most) {
        return s;
    }
    std::size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) {
        --end;
    }
    s.resize(end);
    return s;
}

// A part's suffix as a name may hold it: no slash and no control character.
std::string safeSuffix(std::string suffix) {
    for (char& c : suffix) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || u < 0x20 || u == 0x7F) {
            c = '_';
        }
    }
    return cutUtf8(std::move(suffix), kMostSuffixBytes);
}

struct SourceBytes {
    std::string bytes;  // whole, or the head of a streamed source
    std::string sha256;
};

// Hashes the whole file before it is parsed; keeps it whole unless the format is streamed.
Result<SourceBytes> readSourceFile(const fs::path& file, bool keepWhole) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return unconvertible("the file cannot be read");
    }
    SourceBytes source;
    Sha256 digest;
    std::string chunk(kReadChunk, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        digest.add(std::string_view(chunk.data(), got));
        if (keepWhole || source.bytes.size() < kHeadBytes) {
            source.bytes.append(chunk.data(), keepWhole ? got : std::min(got, kHeadBytes));
        }
    }
    if (in.bad()) {
        return unconvertible("the file cannot be read");
    }
    source.sha256 = digest.hex();
    return source;
}

std::string removedText(const std::vector<Removal>& removals) {
    std::string out;
    for (const Removal& r : removals) {
        out += (out.empty() ? "" : "; ") + r.what + " (" + std::to_string(r.lines) +
               (r.lines == 1 ? " line)" : " lines)");
    }
    return out;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : "; ") + item;
    }
    return out;
}

}  // namespace

const TableRow& importLogHeader() {
    static const TableRow kHeader = {
        "time",   "source",  "source SHA-256", "part",    "output",   "output SHA-256",
        "format", "library", "words",          "removed", "warnings", "left out because"};
    return kHeader;
}

namespace {

class Importer {
public:
    Importer(const ImportRequest& request, JobControl* control)
        : request_(request), control_(control), time_(utcTimestamp()) {
        report_.metadata.header = {std::string(Metadata::kFileColumn),
                                   std::string(Metadata::kRoleColumn), "author", "date", "source"};
    }

    // Reads one source and writes its texts; fails only when a text cannot be written.
    std::optional<Error> importFile(const fs::path& file) {
        const std::string source = recordField(fs::absolute(file).string());
        std::string head(kHeadBytes, '\0');
        std::ifstream in(file, std::ios::binary);
        head.resize(static_cast<std::size_t>(in.read(head.data(), kHeadBytes).gcount()));
        std::error_code error;
        const std::uintmax_t size = fs::file_size(file, error);
        if (!in.is_open() || error) {
            leaveOut(source, "", "", "the file cannot be read");
            return std::nullopt;
        }
        const Result<SourceFormat> format = sourceFormat(file, head);
        const bool whole = format.ok() && !isStreamed(format.value()) && size <= kMostSourceBytes;
        Result<SourceBytes> bytes = readSourceFile(file, whole);
        if (!bytes.ok()) {
            leaveOut(source, "", "", bytes.error().message);
        } else if (!format.ok()) {
            leaveOut(source, bytes.value().sha256, "", format.error().message);
        } else if (!whole && !isStreamed(format.value())) {
            leaveOut(source, bytes.value().sha256, formatName(format.value()),
                     "the file is too large to import (more than " +
                         std::to_string(kMostSourceBytes >> 20) + " MiB)");
        } else {
            return convert(file, source, format.value(), std::move(bytes.value()));
        }
        return std::nullopt;
    }

    ImportReport& report() { return report_; }

    // Logs a source, or a part of one, that gives no text, with the reason; a whole source is
    // named in the summary too.
    void leaveOut(const std::string& source, const std::string& sha, std::string_view format,
                  const std::string& reason, const std::string& part = {}) {
        report_.logRows.push_back({time_, defusedText(source), sha, defusedText(part), "", "",
                                   std::string(format), "", "", "", "", defusedText(reason)});
        if (part.empty()) {
            report_.leftOut.push_back({source, reason});
        }
    }

private:
    std::optional<Error> convert(const fs::path& file, const std::string& source,
                                 SourceFormat format, SourceBytes bytes);
    std::optional<Error> write(const fs::path& file, const std::string& source,
                               const std::string& sourceSha, SourceFormat format,
                               ImportedText&& text);
    std::string freeName(const std::string& baseName, const std::string& suffix) const;

    const ImportRequest& request_;
    JobControl* control_;
    std::string time_;
    ImportReport report_;
};

}  // namespace

namespace {

std::optional<Error> Importer::convert(const fs::path& file, const std::string& source,
                                       SourceFormat format, SourceBytes bytes) {
    std::optional<Error> failed;
    std::vector<std::string> counted;  // the source's own removals, counted once
    const TextSink sink = [&](ImportedText&& text) {
        if (failed) {
            return;
        }
        for (Removal& removal : text.removals) {
            if (removal.ofSource &&
                std::find(counted.begin(), counted.end(), removal.what) == counted.end()) {
                counted.push_back(removal.what);
                addRemoval(report_.removals, removal.what, removal.lines);
            }
        }
        failed = write(file, source, bytes.sha256, format, std::move(text));
    };
    const std::optional<Error> unread =
        readSource(format, file, bytes.bytes, request_.options, sink, &control_->token());
    if (failed) {
        return failed;
    }
    if (unread && isCancelled(*unread)) {
        report_.cancelled = true;
    } else if (unread) {
        leaveOut(source, bytes.sha256, formatName(format), unread->message);
    }
    return std::nullopt;
}

std::optional<Error> Importer::write(const fs::path& file, const std::string& source,
                                     const std::string& sourceSha, SourceFormat format,
                                     ImportedText&& text) {
    if (!text.leftOut.empty()) {
        leaveOut(source, sourceSha, formatName(format), text.leftOut, text.part);
        return std::nullopt;
    }
    const std::string name = freeName(file.filename().string(), safeSuffix(text.suffix));
    const fs::path target = request_.destination / name;
    if (std::optional<Error> failed =
            writeWholeFile(target, [&text](const auto& piece) { piece(text.text); })) {
        return failed;
    }
    report_.written.push_back(name);
    for (const Removal& removal : text.removals) {
        if (!removal.ofSource) {
            addRemoval(report_.removals, removal.what, removal.lines);
        }
    }
    report_.logRows.push_back(
        {time_, defusedText(source), sourceSha, defusedText(text.part),
         defusedText(recordField(name)), sha256Hex(text.text), std::string(formatName(format)),
         formatLibrary(format), std::to_string(wordCount(text.text)),
         defusedText(removedText(text.removals)), defusedText(joined(text.warnings)), ""});
    report_.metadata.rows.push_back(MetadataRow{
        name,
        Role::None,
        {text.author, text.date, source + (text.part.empty() ? "" : " (" + text.part + ")")}});
    return std::nullopt;
}

// The source's name with the part's suffix and .txt; a numbered name when that is taken.
std::string Importer::freeName(const std::string& baseName, const std::string& suffix) const {
    const std::string stem = cutUtf8(baseName, kMostNameBytes - suffix.size()) + suffix;
    std::string name = stem + ".txt";
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(request_.destination / name, error)); ++n) {
        name = stem + " (" + std::to_string(n) + ").txt";
    }
    return name;
}

// The files of a source: itself, or a folder's files but hidden ones, recursively, by name;
// never a file in the destination.
std::vector<fs::path> filesOf(const fs::path& source, const fs::path& destination) {
    std::error_code error;
    if (!fs::is_directory(source, error)) {
        return {source};
    }
    std::vector<fs::path> files;
    const fs::path skipped = fs::weakly_canonical(destination, error);
    if (fs::weakly_canonical(source, error) == skipped) {
        return files;
    }
    for (auto it = fs::recursive_directory_iterator(
             source, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const bool hidden = it->path().filename().string().starts_with(".");
        if (it->is_directory(error) &&
            (hidden || fs::weakly_canonical(it->path(), error) == skipped)) {
            it.disable_recursion_pending();
        } else if (!hidden && it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<Error> appendLog(const fs::path& destination, const std::vector<TableRow>& rows) {
    const fs::path log = destination / kImportLogName;
    std::string text;
    std::error_code error;
    if (fs::exists(log, error)) {
        std::ifstream in(log, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) {
            return saveError(log, "the log cannot be read");
        }
    }
    if (text.empty()) {
        text = std::string(kUtf8ByteOrderMark);
        appendDelimitedRow(text, importLogHeader());
    }
    for (const TableRow& row : rows) {
        appendDelimitedRow(text, row);
    }
    return writeWholeFile(log, [&text](const auto& piece) { piece(text); });
}

}  // namespace

Result<ImportReport> importSources(const ImportRequest& request, JobControl* control) {
    JobControl quiet;
    JobControl& job = control != nullptr ? *control : quiet;
    std::error_code error;
    fs::create_directories(request.destination, error);
    if (!fs::is_directory(request.destination) ||
        ::access(request.destination.c_str(), W_OK | X_OK) != 0) {
        return saveError(request.destination, "the folder cannot be written");
    }
    Importer importer(request, &job);
    std::vector<fs::path> files;
    for (const fs::path& source : request.sources) {
        if (!fs::exists(fs::symlink_status(source, error))) {
            importer.leaveOut(recordField(fs::absolute(source).string()), "", "", "not found");
            continue;
        }
        const std::vector<fs::path> found = filesOf(source, request.destination);
        files.insert(files.end(), found.begin(), found.end());
    }
    std::optional<Error> failed;
    for (std::size_t i = 0; i < files.size() && !failed && !importer.report().cancelled; ++i) {
        job.report(static_cast<std::int64_t>(i), static_cast<std::int64_t>(files.size()),
                   files[i].string());
        if (job.cancelled()) {
            importer.report().cancelled = true;
            break;
        }
        failed = importer.importFile(files[i]);
    }
    const std::optional<Error> unlogged = appendLog(request.destination, importer.report().logRows);
    if (failed || unlogged) {
        return failed ? *failed : *unlogged;
    }
    return std::move(importer.report());
}

std::string importMetadataCsv(const ImportReport& report) {
    return metadataCsv(report.metadata);
}

fs::path freeMetadataPath(const fs::path& destination) {
    const std::string stem(kImportMetadataStem);
    fs::path path = destination / (stem + ".csv");
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(path, error)); ++n) {
        path = destination / (stem + " (" + std::to_string(n) + ").csv");
    }
    return path;
}

std::string leftOutSources(const ImportReport& report) {
    std::string out;
    for (const LeftOutSource& source : report.leftOut) {
        out += (out.empty() ? "" : "\n") + source.source + ": " + source.reason;
    }
    return out;
}

std::string importSummary(const ImportReport& report, std::size_t listed) {
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string out = count(report.written.size(), "text", "texts") + " written.";
    if (report.cancelled) {
        out += " The import was cancelled: the sources left were not read.";
    }
    if (!report.leftOut.empty()) {
        out += "\n\n" + count(report.leftOut.size(), "source", "sources") + " left out:";
        for (std::size_t i = 0; i < report.leftOut.size() && i < listed; ++i) {
            out += "\n" + report.leftOut[i].source + ": " + report.leftOut[i].reason;
        }
        if (report.leftOut.size() > listed) {
            out += "\n… and " + std::to_string(report.leftOut.size() - listed) +
                   " more, each named with its reason in the details and in import-log.csv.";
        }
    }
    if (!report.removals.empty()) {
        out += "\n\nRemoved: " + removedText(report.removals) + ".";
    }
    return out;
}

}  // namespace pelmora
