#include "import/pdf_text.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>
#include <poppler/cpp/poppler-version.h>

#include <climits>
#include <ctime>
#include <memory>
#include <mutex>

namespace pelmora {

namespace {

// The library's complaints about a damaged file would go to standard error; the reason a
// file is left out is said once, in the log.
void silenceOnce() {
    static std::once_flag once;
    std::call_once(
        once, [] { poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr); });
}

std::string utf8(const poppler::ustring& text) {
    const poppler::byte_array bytes = text.to_utf8();
    return std::string(bytes.begin(), bytes.end());
}

std::string creationDate(const poppler::document& doc) {
    const std::time_t created = doc.get_creation_date_t();
    if (created <= 0) {
        return {};
    }
    std::tm utc{};
    gmtime_r(&created, &utc);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
    return date;
}

}  // namespace

// A PDF's text layer has nothing this reader removes: the options change nothing.
std::optional<Error> readPdf(std::string_view bytes, const ImportOptions& /*options*/,
                             const TextSink& sink) {
    silenceOnce();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return unconvertible("the PDF is too large to read");
    }
    const std::unique_ptr<poppler::document> doc(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!doc) {
        return unconvertible("the PDF is damaged, or encrypted in a way that cannot be opened");
    }
    if (doc->is_locked()) {
        return unconvertible("the PDF is encrypted: it needs a password");
    }
    std::string text;
    for (int i = 0; i < doc->pages(); ++i) {
        const std::unique_ptr<poppler::page> page(doc->create_page(i));
        if (page) {
            text += utf8(page->text()) + "\n";
        }
    }
    ImportedText out;
    out.text = tidyLines(text);
    if (out.text.empty()) {
        return unconvertible("the PDF has no text layer (its pages are images): it needs OCR");
    }
    if (doc->is_encrypted()) {
        out.warnings.push_back("the PDF is encrypted but opens without a password");
    }
    out.author = utf8(doc->get_author());
    out.date = creationDate(*doc);
    sink(std::move(out));
    return std::nullopt;
}

std::string pdfLibrary() {
    return "poppler " + poppler::version_string();
}

}  // namespace pelmora
