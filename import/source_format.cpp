#include "import/source_format.h"

#include <algorithm>
#include <cctype>

#include "import/chat_export.h"
#include "import/html_text.h"
#include "import/mail_message.h"
#include "import/office_document.h"
#include "import/pdf_text.h"

namespace pelmora {

namespace {

constexpr std::string_view kZipStart = "PK\x03\x04";
constexpr std::string_view kPdfStart = "%PDF-";
// A PDF may have bytes before its header; readers look this far for it.
constexpr std::size_t kPdfHeaderWithin = 1024;

bool isPdf(std::string_view head) {
    return head.substr(0, kPdfHeaderWithin).find(kPdfStart) != std::string_view::npos;
}

// What the first bytes say a file is, for the reason a misnamed one is left out.
std::string_view contentKind(std::string_view head) {
    if (head.starts_with(kZipStart)) {
        return "a zip archive";
    }
    if (isPdf(head)) {
        return "a PDF document";
    }
    if (head.starts_with("From ")) {
        return "an mbox mailbox";
    }
    return head.find('\0') != std::string_view::npos ? "binary data" : "text";
}

std::string lowerExtension(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

std::optional<SourceFormat> formatOfExtension(const std::string& ext, std::string_view head) {
    if (ext == ".txt") {
        return SourceFormat::ChatExport;
    }
    if (ext == ".eml") {
        return SourceFormat::MailMessage;
    }
    if (ext == ".mbox" || ext == ".mbx" || (ext.empty() && looksLikeMailbox(head))) {
        return SourceFormat::Mailbox;
    }
    if (ext == ".html" || ext == ".htm" || ext == ".xhtml") {
        return SourceFormat::Html;
    }
    if (ext == ".docx") {
        return SourceFormat::WordDocument;
    }
    if (ext == ".odt") {
        return SourceFormat::OpenDocument;
    }
    if (ext == ".pdf") {
        return SourceFormat::Pdf;
    }
    return std::nullopt;
}

// Whether the first bytes can be those of the format.
bool contentFits(SourceFormat format, std::string_view head) {
    switch (format) {
        case SourceFormat::WordDocument:
        case SourceFormat::OpenDocument:
            return head.starts_with(kZipStart);
        case SourceFormat::Pdf:
            return isPdf(head);
        case SourceFormat::Mailbox:
            return looksLikeMailbox(head);
        case SourceFormat::MailMessage:  // some programs save a message with its "From " line
            return looksLikeMailbox(head) || contentKind(head) == "text";
        default:
            return contentKind(head) == "text";
    }
}

}  // namespace

std::string_view formatName(SourceFormat format) {
    switch (format) {
        case SourceFormat::ChatExport:
            return "chat export";
        case SourceFormat::MailMessage:
            return "e-mail";
        case SourceFormat::Mailbox:
            return "mbox";
        case SourceFormat::Html:
            return "HTML";
        case SourceFormat::WordDocument:
            return "Word document";
        case SourceFormat::OpenDocument:
            return "OpenDocument text";
        case SourceFormat::Pdf:
            return "PDF";
    }
    return {};
}

std::string formatLibrary(SourceFormat format) {
    switch (format) {
        case SourceFormat::ChatExport:
            return "built in";
        case SourceFormat::MailMessage:
        case SourceFormat::Mailbox:
            return mailLibrary();
        case SourceFormat::Html:
            return htmlLibrary();
        case SourceFormat::WordDocument:
        case SourceFormat::OpenDocument:
            return officeLibrary();
        case SourceFormat::Pdf:
            return pdfLibrary();
    }
    return {};
}

Result<SourceFormat> sourceFormat(const std::filesystem::path& file, std::string_view head) {
    const std::string ext = lowerExtension(file);
    const std::optional<SourceFormat> format = formatOfExtension(ext, head);
    if (!format) {
        // No library here reads RTF; a word processor saves it in a format that is read.
        const std::string hint =
            ext == ".rtf" ? " (save the document as .docx, .odt or .pdf and import that)" : "";
        return unconvertible(ext.empty()
                                 ? "unknown format: the file has no extension"
                                 : "unknown format: " + ext + " files are not imported" + hint);
    }
    if (!contentFits(*format, head)) {
        return unconvertible("named " + ext + " (" + std::string(formatName(*format)) +
                             "), but its content is " + std::string(contentKind(head)));
    }
    if (*format == SourceFormat::ChatExport && !looksLikeChatExport(head)) {
        return unconvertible("a .txt file that is not a chat export: it can be analysed as it is");
    }
    return *format;
}

bool isStreamed(SourceFormat format) {
    return format == SourceFormat::Mailbox;
}

std::optional<Error> readSource(SourceFormat format, const std::filesystem::path& file,
                                std::string_view bytes, const ImportOptions& options,
                                const TextSink& sink, const CancelToken* cancel) {
    switch (format) {
        case SourceFormat::ChatExport:
            return readChatExport(bytes, options, sink);
        case SourceFormat::MailMessage:
            return readMailMessage(bytes, options, sink);
        case SourceFormat::Mailbox:
            return readMailbox(file, options, sink, cancel);
        case SourceFormat::Html: {
            ImportedText text;
            text.text = htmlText(bytes);
            if (text.text.empty()) {
                return unconvertible("the page holds no text");
            }
            sink(std::move(text));
            return std::nullopt;
        }
        case SourceFormat::WordDocument:
            return readWordDocument(bytes, options, sink);
        case SourceFormat::OpenDocument:
            return readOpenDocument(bytes, options, sink);
        case SourceFormat::Pdf:
            return readPdf(bytes, options, sink);
    }
    return unconvertible("unknown format");
}

}  // namespace pelmora
