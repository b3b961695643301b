#include "app/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "evidence/sha256.h"

namespace pelmora {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F; the undefined five keep their own value (C1).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at the start of `s` (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    const unsigned char lead = b(0);
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return cont(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!cont(1) || !cont(2)) {
            return 0;
        }
        const bool overlong = lead == 0xE0 && b(1) < 0xA0;
        const bool surrogate = lead == 0xED && b(1) >= 0xA0;
        return overlong || surrogate ? 0 : 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) {
            return 0;
        }
        const bool overlong = lead == 0xF0 && b(1) < 0x90;
        const bool tooHigh = lead == 0xF4 && b(1) >= 0x90;
        return overlong || tooHigh ? 0 : 4;
    }
    return 0;
}

struct Utf8Scan {
    bool valid = true;
    bool multiByte = false;
};

Utf8Scan scanUtf8(std::string_view s) {
    Utf8Scan scan;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8SequenceLength(s.substr(i));
        if (n == 0) {
            scan.valid = false;
            return scan;
        }
        scan.multiByte = scan.multiByte || n > 1;
        i += n;
    }
    return scan;
}

std::string repairUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8SequenceLength(s.substr(i));
        if (n == 0) {
            appendUtf8(out, kReplacement);
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string decodeWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (const char ch : s) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out += ch;
        } else if (byte < 0xA0) {
            appendUtf8(out, kWindows1252High[byte - 0x80]);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

std::string decodeUtf16(std::string_view s, bool bigEndian) {
    std::string out;
    out.reserve(s.size());
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto hi = static_cast<unsigned char>(s[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(s[bigEndian ? i + 1 : i]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < s.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (i < s.size()) {
        appendUtf8(out, kReplacement);  // a stray last byte
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

InputProblem problemFor(int error, std::string_view displayName) {
    InputProblem::Code code = InputProblem::Code::ReadFailed;
    if (error == ENOENT || error == ENOTDIR) {
        code = InputProblem::Code::NotFound;
    } else if (error == EACCES || error == EPERM) {
        code = InputProblem::Code::PermissionDenied;
    }
    std::string reason = std::generic_category().message(error);
    std::string message = "Could not read \"" + std::string(displayName) + "\": " + reason + ".";
    return InputProblem{code, std::move(message), std::move(reason)};
}

// Closes the descriptor on every way out.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

}  // namespace

const char* encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "ASCII";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf16LE:
            return "UTF-16LE";
        case TextEncoding::Utf16BE:
            return "UTF-16BE";
        case TextEncoding::Windows1252:
            return "Windows-1252";
    }
    return "";
}

DecodedText decodeText(std::string_view bytes) {
    DecodedText out;
    out.byteSize = bytes.size();
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        out.hadByteOrderMark = true;
        out.encoding = TextEncoding::Utf8;
        out.text = repairUtf8(bytes.substr(3));
    } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        out.hadByteOrderMark = true;
        out.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        out.text = decodeUtf16(bytes.substr(2), bigEndian);
    } else if (const Utf8Scan scan = scanUtf8(bytes); scan.valid) {
        out.encoding = scan.multiByte ? TextEncoding::Utf8 : TextEncoding::Ascii;
        out.text = std::string(bytes);
    } else {
        out.encoding = TextEncoding::Windows1252;
        out.text = decodeWindows1252(bytes);
    }
    return out;
}

std::string displayText(std::string_view bytes) {
    return scanUtf8(bytes).valid ? std::string(bytes) : decodeWindows1252(bytes);
}

Result<DecodedText> readTextFile(const std::filesystem::path& path, std::string_view displayName) {
    // Non-blocking, so that a pipe put in the file's place cannot hang the run.
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        return problemFor(errno, displayName);
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        return problemFor(errno, displayName);
    }
    if (S_ISDIR(info.st_mode)) {
        return problemFor(EISDIR, displayName);
    }
    if (!S_ISREG(info.st_mode)) {
        std::string reason = "Not a regular file";
        return InputProblem{InputProblem::Code::ReadFailed,
                            "Could not read \"" + std::string(displayName) + "\": " + reason + ".",
                            reason};
    }
    const auto tooLarge = [&] {
        std::string reason = "File too large (over 64 MiB)";
        return InputProblem{InputProblem::Code::TooLarge,
                            "Left out \"" + std::string(displayName) + "\": " + reason + ".",
                            reason};
    };
    if (static_cast<std::uint64_t>(info.st_size) > kMaxTextFileBytes) {
        return tooLarge();
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return problemFor(errno, displayName);
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxTextFileBytes) {
            return tooLarge();  // the file grew while it was read
        }
    }
    DecodedText decoded = decodeText(bytes);
    decoded.sha256 = sha256Hex(bytes);
    return decoded;
}

}  // namespace pelmora
