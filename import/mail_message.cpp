#include "import/mail_message.h"

#include <fcntl.h>
#include <gmime/gmime.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

#include "import/html_text.h"
#include "import/reply_quotes.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

// Parts nested deeper than this are not searched: a hostile message may nest without end.
constexpr int kDeepestPart = 32;

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

template <typename T>
struct Unref {
    void operator()(T* object) const { g_object_unref(object); }
};
template <typename T>
using Owned = std::unique_ptr<T, Unref<T>>;

struct GFree {
    void operator()(char* s) const { g_free(s); }
};
using GString = std::unique_ptr<char, GFree>;

std::string taken(char* s) {
    const GString owned(s);
    return owned ? std::string(owned.get()) : std::string();
}

struct Parts {
    GMimeTextPart* plain = nullptr;
    GMimeTextPart* html = nullptr;
    std::vector<std::string> attachments;  // their file names, or their content types
};

bool isAttachment(GMimeObject* part) {
    GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(part);
    return disposition != nullptr && g_mime_content_disposition_is_attachment(disposition);
}

std::string attachmentName(GMimeObject* part) {
    if (GMIME_IS_PART(part)) {
        if (const char* name = g_mime_part_get_filename(GMIME_PART(part))) {
            return name;
        }
    }
    return taken(g_mime_content_type_get_mime_type(g_mime_object_get_content_type(part)));
}

void findParts(GMimeObject* part, int depth, Parts& parts) {
    if (part == nullptr || depth > kDeepestPart) {
        return;
    }
    if (GMIME_IS_MULTIPART(part)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(part);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i) {
            findParts(g_mime_multipart_get_part(multipart, i), depth + 1, parts);
        }
        return;
    }
    GMimeContentType* type = g_mime_object_get_content_type(part);
    if (GMIME_IS_TEXT_PART(part) && !isAttachment(part)) {
        GMimeTextPart** slot = g_mime_content_type_is_type(type, "text", "plain")  ? &parts.plain
                               : g_mime_content_type_is_type(type, "text", "html") ? &parts.html
                                                                                   : nullptr;
        if (slot != nullptr && *slot == nullptr) {
            *slot = GMIME_TEXT_PART(part);
            return;
        }
    }
    parts.attachments.push_back(attachmentName(part));
}

std::string partText(GMimeTextPart* part) {
    std::string text = taken(g_mime_text_part_get_text(part));
    return isValidUtf8(text) ? text : decodeText(std::move(text)).text;
}

std::string senderOf(GMimeMessage* message) {
    InternetAddressList* from = g_mime_message_get_from(message);
    if (from == nullptr || internet_address_list_length(from) == 0) {
        return {};
    }
    return displayText(taken(internet_address_list_to_string(from, nullptr, FALSE)));
}

std::string dateOf(GMimeMessage* message) {
    GDateTime* date = g_mime_message_get_date(message);
    return date == nullptr ? std::string() : taken(g_date_time_format(date, "%Y-%m-%d"));
}

ImportedText messageText(GMimeMessage* message, const ImportOptions& options) {
    Parts parts;
    findParts(g_mime_message_get_mime_part(message), 0, parts);
    ImportedText out;
    out.author = senderOf(message);
    out.date = dateOf(message);
    for (const std::string& name : parts.attachments) {
        out.warnings.push_back("attachment not imported: " + displayText(name));
    }
    if (parts.plain == nullptr && parts.html == nullptr) {
        out.leftOut = "the message has no text part";
        return out;
    }
    const std::string body =
        parts.plain != nullptr ? partText(parts.plain) : htmlText(partText(parts.html));
    AuthorsLines own = authorsLines(body, options.keepEverything);
    out.text = std::move(own.text);
    out.removals = std::move(own.removals);
    if (out.text.empty()) {
        out.leftOut = out.removals.empty() ? "the message's text is empty"
                                           : "the message holds nothing but what it quotes";
    }
    return out;
}

}  // namespace

bool looksLikeMailbox(std::string_view bytes) {
    return bytes.starts_with("From ");
}

std::optional<Error> readMailMessage(std::string_view bytes, const ImportOptions& options,
                                     const TextSink& sink) {
    initialiseOnce();
    if (looksLikeMailbox(bytes)) {  // the separator line of a message saved from a mailbox
        bytes.remove_prefix(std::min(bytes.find('\n') + 1, bytes.size()));
    }
    Owned<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
    Owned<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) {
        return unconvertible("not an e-mail message: its headers cannot be read");
    }
    ImportedText text = messageText(message.get(), options);
    if (!text.leftOut.empty()) {
        return unconvertible(text.leftOut);
    }
    sink(std::move(text));
    return std::nullopt;
}

std::optional<Error> readMailbox(const std::filesystem::path& file, const ImportOptions& options,
                                 const TextSink& sink, const CancelToken* cancel) {
    initialiseOnce();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return unconvertible("the mailbox cannot be opened");
    }
    Owned<GMimeStream> stream(g_mime_stream_fs_new(fd));  // closes the descriptor
    char start[5] = {};
    if (g_mime_stream_read(stream.get(), start, sizeof start) != sizeof start ||
        !looksLikeMailbox(std::string_view(start, sizeof start))) {
        return unconvertible("not an mbox mailbox: it does not start with a \"From \" line");
    }
    g_mime_stream_reset(stream.get());
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MBOX);
    int number = 0;
    while (!g_mime_parser_eos(parser.get())) {
        if (cancel != nullptr && cancel->cancelled()) {
            return cancelledError("The import");
        }
        Owned<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
        if (!message) {
            break;
        }
        ImportedText text = messageText(message.get(), options);
        ++number;
        text.part = "message " + std::to_string(number);
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%04d", number);
        text.suffix = suffix;
        sink(std::move(text));
    }
    if (number == 0) {
        return unconvertible("the mailbox holds no message");
    }
    return std::nullopt;
}

std::string mailLibrary() {
    return "GMime " + std::to_string(gmime_major_version) + "." +
           std::to_string(gmime_minor_version) + "." + std::to_string(gmime_micro_version);
}

}  // namespace pelmora
