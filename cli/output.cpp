#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelmora::cli {

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;

}  // namespace

Output::Output(int fd)
    : fd_(fd),
      names_(::isatty(fd) == 1 ? NameStyle::Escaped : NameStyle::Exact),
      lines_(LineEnds::Lf, [this](std::string_view piece) { raw(piece); }) {
    buffer_.reserve(kBufferBytes);
}

Output::~Output() {
    // A failure shows in the exit status, which end() gave before; here there is no one to tell.
    static_cast<void>(end());
}

bool Output::end() {
    lines_.finish();
    return flush();
}

void Output::setLineEnds(LineEnds ends) {
    lines_ = LineEndWriter(ends, [this](std::string_view piece) { raw(piece); });
}

Output& Output::raw(std::string_view bytes) {
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
    lines_.write(text);
    return *this;
}

bool Output::flush() {
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
