#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

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

namespace {

// Buffers going round between the thread that fills them and the one that writes them out, so
// that the memory stays that of a few pieces however long the text.
class BufferRound {
public:
    explicit BufferRound(std::size_t buffers) : spare_(buffers) {}

    std::string takeSpare() { return take(spare_).value(); }
    void giveFull(std::string buffer) { give(full_, std::move(buffer)); }
    // Nothing once the filler has finished and every full buffer has been taken.
    std::optional<std::string> takeFull() { return take(full_); }
    void giveSpare(std::string buffer) { give(spare_, std::move(buffer)); }
    void finish() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
    }

private:
    std::optional<std::string> take(std::deque<std::string>& from) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !from.empty() || (&from == &full_ && finished_); });
        if (from.empty()) {
            return std::nullopt;
        }
        std::string buffer = std::move(from.front());
        from.pop_front();
        return buffer;
    }
    void give(std::deque<std::string>& to, std::string buffer) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            to.push_back(std::move(buffer));
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> spare_, full_;
    bool finished_ = false;
};

}  // namespace

void writeProducedText(Output& out, const TextProducer& produce) {
    BufferRound round(4);
    std::thread producer([&] {
        produce([&](std::string_view piece) {
            std::string buffer = round.takeSpare();
            buffer.assign(piece);
            round.giveFull(std::move(buffer));
        });
        round.finish();
    });
    while (std::optional<std::string> buffer = round.takeFull()) {
        out.text(*buffer);
        round.giveSpare(std::move(*buffer));
    }
    producer.join();
}

}  // namespace pelmora::cli
