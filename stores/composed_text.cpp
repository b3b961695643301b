#include "stores/composed_text.h"

#include <algorithm>
#include <cassert>

namespace pelmora {

// One piece of the text. Its lines end in LF; segment(j) is the text after its j-th LF (from
// its start for 0) up to and including the next LF, or to its end.
struct ComposedText::Piece {
    virtual ~Piece() = default;
    virtual std::uint64_t bytes() const = 0;
    virtual std::int64_t lineEnds() const = 0;
    virtual bool endsWithLf() const = 0;
    virtual std::string segment(std::int64_t j) const = 0;
    virtual void forEach(const std::function<void(std::string_view)>& visit,
                         const NameWriter& names, std::size_t piece) const = 0;
};

namespace {

using Piece = ComposedText::Piece;
using NameWriter = ComposedText::NameWriter;

class Literal : public Piece {
public:
    explicit Literal(std::string text) : text_(std::move(text)) {
        for (std::size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                after_.push_back(i + 1);
            }
        }
    }
    std::uint64_t bytes() const override { return text_.size(); }
    std::int64_t lineEnds() const override { return static_cast<std::int64_t>(after_.size()); }
    bool endsWithLf() const override { return !text_.empty() && text_.back() == '\n'; }
    std::string segment(std::int64_t j) const override {
        const std::size_t start = j == 0 ? 0 : after_[static_cast<std::size_t>(j - 1)];
        const std::size_t end = static_cast<std::size_t>(j) < after_.size()
                                    ? after_[static_cast<std::size_t>(j)]
                                    : text_.size();
        return text_.substr(start, end - start);
    }
    void forEach(const std::function<void(std::string_view)>& visit, const NameWriter&,
                 std::size_t) const override {
        if (!text_.empty()) {
            visit(text_);
        }
    }

private:
    std::string text_;
    std::vector<std::size_t> after_;  // offset just after each LF
};

// Pieces of whole lines, each ending in CR LF, that write a line from an entry on demand.
class Lines : public Piece {
public:
    bool endsWithLf() const override { return true; }
    std::string segment(std::int64_t j) const override {
        std::string out;
        if (j < lineEnds()) {
            writeLine(out, j, nullptr);
        }
        return out;
    }
    void forEach(const std::function<void(std::string_view)>& visit, const NameWriter& names,
                 std::size_t piece) const override {
        std::string buffer;
        buffer.reserve(piece + 256);
        eachLine(buffer, names, [&] {
            if (buffer.size() >= piece) {
                visit(buffer);
                buffer.clear();
            }
        });
        if (!buffer.empty()) {
            visit(buffer);
        }
    }

protected:
    virtual void writeLine(std::string& out, std::int64_t j, const NameWriter& names) const = 0;
    // Appends every line to `out` in order, calling `written` after each.
    virtual void eachLine(std::string& out, const NameWriter& names,
                          const std::function<void()>& written) const = 0;
};

class PairLines : public Lines {
public:
    // Every this many listed lines the pair list's position is kept, for reading one line.
    static constexpr std::int64_t kStride = 4096;

    PairLines(const PairList& pairs, const ComposedText::Strengths& strengths)
        : pairs_(pairs), strengths_(strengths) {
        all_ = std::all_of(strengths.begin(), strengths.end(), [](bool b) { return b; });
        std::int64_t position = 0;
        pairs_.forEachPair([&](const PairList::Pair& p) {
            if (strengths_[static_cast<std::size_t>(p.strength)]) {
                if (!all_ && lines_ % kStride == 0) {
                    samples_.push_back(position);
                }
                ++lines_;
                bytes_ += pairs_.lineLength(p) + 2;
            }
            ++position;
            return true;
        });
    }
    std::uint64_t bytes() const override { return bytes_; }
    std::int64_t lineEnds() const override { return lines_; }

protected:
    void writeLine(std::string& out, std::int64_t j, const NameWriter& names) const override {
        if (all_) {
            append(out, pairs_.pairAt(j), names);
            return;
        }
        std::int64_t skip = j % kStride;
        pairs_.forEachPair(
            [&](const PairList::Pair& p) {
                if (!strengths_[static_cast<std::size_t>(p.strength)]) {
                    return true;
                }
                if (skip-- > 0) {
                    return true;
                }
                append(out, p, names);
                return false;
            },
            samples_[static_cast<std::size_t>(j / kStride)]);
    }
    void eachLine(std::string& out, const NameWriter& names,
                  const std::function<void()>& written) const override {
        pairs_.forEachPair([&](const PairList::Pair& p) {
            if (strengths_[static_cast<std::size_t>(p.strength)]) {
                append(out, p, names);
                written();
            }
            return true;
        });
    }

private:
    void append(std::string& out, const PairList::Pair& p, const NameWriter& names) const {
        if (names) {
            out += names(pairs_.name(p.roster, p.first));
            out += '-';
            out += names(pairs_.name(p.roster, p.second));
            out += '\t';
            out += static_cast<char>('0' + p.strength);
        } else {
            pairs_.appendLine(out, p);
        }
        out += "\r\n";
    }

    PairList pairs_;
    ComposedText::Strengths strengths_;
    bool all_ = false;
    std::int64_t lines_ = 0;
    std::uint64_t bytes_ = 0;
    std::vector<std::int64_t> samples_;
};

class NamedLines : public Lines {
public:
    explicit NamedLines(std::vector<std::pair<std::string, std::string>> lines)
        : lines_(std::move(lines)) {
        for (const auto& [name, rest] : lines_) {
            bytes_ += name.size() + rest.size() + 2;
        }
    }
    std::uint64_t bytes() const override { return bytes_; }
    std::int64_t lineEnds() const override { return static_cast<std::int64_t>(lines_.size()); }

protected:
    void writeLine(std::string& out, std::int64_t j, const NameWriter& names) const override {
        const auto& [name, rest] = lines_[static_cast<std::size_t>(j)];
        out += names ? names(name) : name;
        out += rest;
        out += "\r\n";
    }
    void eachLine(std::string& out, const NameWriter& names,
                  const std::function<void()>& written) const override {
        for (std::size_t j = 0; j < lines_.size(); ++j) {
            writeLine(out, static_cast<std::int64_t>(j), names);
            written();
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> lines_;
    std::uint64_t bytes_ = 0;
};

}  // namespace

ComposedText::Strengths ComposedText::allStrengths() {
    Strengths all;
    all.fill(true);
    return all;
}

void ComposedText::add(std::shared_ptr<const Piece> piece) {
    if (piece->bytes() == 0) {
        return;
    }
    lineStart_.push_back(lines_);
    lines_ += piece->lineEnds();
    bytes_ += piece->bytes();
    openLine_ = !piece->endsWithLf();
    pieces_.push_back(std::move(piece));
}

void ComposedText::append(std::string text) {
    add(std::make_shared<Literal>(std::move(text)));
}

void ComposedText::appendPairLines(const PairList& pairs, const Strengths& strengths) {
    add(std::make_shared<PairLines>(pairs, strengths));
}

void ComposedText::appendNamedLines(std::vector<std::pair<std::string, std::string>> lines) {
    add(std::make_shared<NamedLines>(std::move(lines)));
}

void ComposedText::append(const ComposedText& other) {
    for (const auto& piece : other.pieces_) {
        add(piece);
    }
}

void ComposedText::setText(std::string text) {
    clear();
    append(std::move(text));
}

void ComposedText::clear() {
    *this = ComposedText();
}

std::string ComposedText::text() const {
    std::string out;
    out.reserve(bytes_);
    forEachPiece([&out](std::string_view piece) { out.append(piece); });
    return out;
}

void ComposedText::forEachPiece(const std::function<void(std::string_view)>& visit,
                                const NameWriter& names, std::size_t piece) const {
    for (const auto& p : pieces_) {
        p->forEach(visit, names, piece);
    }
}

std::int64_t ComposedText::lineCount() const {
    return lines_ + (openLine_ ? 1 : 0);
}

std::string ComposedText::line(std::int64_t k) const {
    assert(k >= 0 && k < lineCount());
    // The line starts after the k-th LF of the text: in the piece that holds that LF.
    std::size_t p = 0;
    std::int64_t j = 0;
    if (k > 0) {
        // The first piece whose LFs, with those before it, reach k.
        std::size_t low = 0, high = pieces_.size();
        while (low < high) {
            const std::size_t mid = (low + high) / 2;
            if (lineStart_[mid] + pieces_[mid]->lineEnds() < k) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        p = low;
        j = k - lineStart_[p];
    }
    std::string out = pieces_[p]->segment(j);
    for (++p; (out.empty() || out.back() != '\n') && p < pieces_.size(); ++p) {
        out += pieces_[p]->segment(0);
    }
    return out;
}

bool ComposedText::operator==(const std::string& text) const {
    return bytes_ == text.size() && this->text() == text;
}

}  // namespace pelmora
