#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelmora::cli {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;

}  // namespace

Output::Output(int fd)
    : fd_(fd), names_(::isatty(fd) == 1 ? NameStyle::Escaped : NameStyle::Exact) {
    buffer_.reserve(kBufferBytes);
}

Output::~Output() {
    flush();
}

Output& Output::raw(std::string_view bytes) {
    if (pendingCr_) {
        pendingCr_ = false;
        buffer_.push_back('\r');
    }
    if (buffer_.size() + bytes.size() > kBufferBytes) {
        flush();
        if (bytes.size() > kBufferBytes) {
            buffer_.assign(bytes);
            flush();
            return *this;
        }
    }
    buffer_.append(bytes);
    return *this;
}

Output& Output::text(std::string_view text) {
    if (ends_ == LineEnds::CrLf) {
        return raw(text);
    }
    std::size_t start = 0;
    if (pendingCr_ && !text.empty()) {
        pendingCr_ = false;
        if (text.front() != '\n') {
            raw("\r");
        }
    }
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            raw(text.substr(start));
            break;
        }
        raw(text.substr(start, cr - start));
        if (cr + 1 == text.size()) {
            pendingCr_ = true;  // the LF may come with the next text
            break;
        }
        if (text[cr + 1] != '\n') {
            raw("\r");
        }
        start = cr + 1;
    }
    return *this;
}

bool Output::flush() {
    if (pendingCr_ && ends_ == LineEnds::Lf) {
        // Nothing followed: it was a CR of its own.
        pendingCr_ = false;
        buffer_.push_back('\r');
    }
    std::size_t done = 0;
    while (error_ == 0 && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    return error_ == 0;
}

std::string Output::errorText() const {
    return std::strerror(error_);
}

}  // namespace pelmora::cli
