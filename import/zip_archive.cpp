#include "import/zip_archive.h"

#include <zip.h>

#include "import/imported_text.h"

namespace pelmora {

struct ZipArchive::State {
    zip_t* archive = nullptr;
    ~State() {
        if (archive != nullptr) {
            zip_discard(archive);
        }
    }
};

namespace {

std::string mebibytes(long long bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

// Checks every entry's header against the limits before anything is inflated.
std::optional<Error> checkLimits(zip_t* archive) {
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    if (entries > ZipLimits::kMostEntries) {
        return unconvertible("refused as a possible zip bomb: " + std::to_string(entries) +
                             " entries, more than " + std::to_string(ZipLimits::kMostEntries));
    }
    long long total = 0;
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            (stat.valid & (ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE)) !=
                (ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE)) {
            return unconvertible("the archive is damaged: an entry cannot be read");
        }
        const auto size = static_cast<long long>(stat.size);
        const auto packed = static_cast<long long>(stat.comp_size);
        total += size;
        if (size > ZipLimits::kMostUncompressedBytes || total > ZipLimits::kMostUncompressedBytes) {
            return unconvertible("refused as a possible zip bomb: it unpacks to more than " +
                                 mebibytes(ZipLimits::kMostUncompressedBytes));
        }
        if (size >= ZipLimits::kRatioFromBytes && size > packed * ZipLimits::kMostRatio) {
            return unconvertible("refused as a possible zip bomb: an entry unpacks to more than " +
                                 std::to_string(ZipLimits::kMostRatio) + " times its size");
        }
    }
    return std::nullopt;
}

}  // namespace

ZipArchive::ZipArchive(std::unique_ptr<State> state) : state_(std::move(state)) {}
ZipArchive::ZipArchive(ZipArchive&&) noexcept = default;
ZipArchive& ZipArchive::operator=(ZipArchive&&) noexcept = default;
ZipArchive::~ZipArchive() = default;

Result<ZipArchive> ZipArchive::open(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return unconvertible("the archive cannot be read");
    }
    auto state = std::make_unique<State>();
    state->archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (state->archive == nullptr) {
        zip_source_free(source);
        const bool notZip = zip_error_code_zip(&error) == ZIP_ER_NOZIP;
        zip_error_fini(&error);
        return unconvertible(notZip ? "not a zip archive, or one cut short"
                                    : "the archive is damaged");
    }
    zip_error_fini(&error);
    if (std::optional<Error> refused = checkLimits(state->archive)) {
        return *refused;
    }
    return ZipArchive(std::move(state));
}

bool ZipArchive::has(const std::string& name) const {
    return zip_name_locate(state_->archive, name.c_str(), 0) >= 0;
}

Result<std::optional<std::string>> ZipArchive::read(const std::string& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(state_->archive, name.c_str(), 0, &stat) != 0) {
        return std::optional<std::string>();
    }
    zip_file_t* file = zip_fopen_index(state_->archive, stat.index, 0);
    if (file == nullptr) {
        return unconvertible("the archive is damaged: " + name + " cannot be unpacked");
    }
    // One byte more than the header says, to see an entry that inflates beyond it.
    std::string bytes(static_cast<std::size_t>(stat.size) + 1, '\0');
    const zip_int64_t got = zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
        return unconvertible("the archive is damaged: " + name + " cannot be unpacked");
    }
    bytes.resize(static_cast<std::size_t>(got));
    return std::optional<std::string>(std::move(bytes));
}

std::string ZipArchive::library() {
    return std::string("libzip ") + zip_libzip_version();
}

}  // namespace pelmora
