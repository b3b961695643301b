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
    // Segment j and every one after it; false when `visit` stopped it.
    virtual bool forEachSegment(std::int64_t j,
                                const std::function<bool(std::string_view)>& visit) const = 0;
    virtual void forEach(const std::function<void(std::string_view)>& visit,
                         const NameWriter& names, std::size_t piece) const = 0;
    // The pair whose line is segment j; nothing for a piece of other lines.
    virtual std::optional<PairList::Pair> pairOfLine(std::int64_t) const { return std::nullopt; }
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
    bool forEachSegment(std::int64_t j,
                        const std::function<bool(std::string_view)>& visit) const override {
        const std::string_view text = text_;
        std::size_t start = j == 0 ? 0 : after_[static_cast<std::size_t>(j - 1)];
        for (auto k = static_cast<std::size_t>(j); k < after_.size(); ++k) {
            if (!visit(text.substr(start, after_[k] - start))) {
                return false;
            }
            start = after_[k];
        }
        return start == text.size() || visit(text.substr(start));
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

// Text gathered and given on in pieces of about `piece` bytes.
class PieceBuffer {
public:
    PieceBuffer(const std::function<void(std::string_view)>& visit, std::size_t piece)
        : visit_(visit), piece_(piece) {
        text.reserve(piece + piece / 2);
    }
    // Gives the text on once it has reached a piece.
    void gathered() {
        if (text.size() >= piece_) {
            visit_(text);
            text.clear();
        }
    }
    void finish() {
        if (!text.empty()) {
            visit_(text);
        }
    }

    std::string text;

private:
    const std::function<void(std::string_view)>& visit_;
    std::size_t piece_;
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
    bool forEachSegment(std::int64_t j,
                        const std::function<bool(std::string_view)>& visit) const override {
        std::string line;
        return eachLine(line, nullptr, j, [&] {
            const bool more = visit(line);
            line.clear();
            return more;
        });
    }
    void forEach(const std::function<void(std::string_view)>& visit, const NameWriter& names,
                 std::size_t piece) const override {
        PieceBuffer buffer(visit, piece);
        eachLine(buffer.text, names, 0, [&] {
            buffer.gathered();
            return true;
        });
        buffer.finish();
    }

protected:
    virtual void writeLine(std::string& out, std::int64_t j, const NameWriter& names) const = 0;
    // Appends line `from` and every later one to `out` in order, calling `written` after each
    // until it returns false; false when it did.
    virtual bool eachLine(std::string& out, const NameWriter& names, std::int64_t from,
                          const std::function<bool()>& written) const = 0;
};

class PairLines : public Lines {
public:
    // Every this many listed lines the pair list's position is kept, for reading one line.
    static constexpr std::int64_t kStride = 4096;

    PairLines(const PairList& pairs, const ComposedText::Strengths& strengths)
        : pairs_(pairs), strengths_(strengths) {
        all_ = std::all_of(strengths.begin(), strengths.end(), [](bool b) { return b; });
        if (all_) {
            lines_ = pairs_.count();
            pairs_.forEachRun([&](std::span<const PairList::Pair> run) {
                bytes_ += pairs_.linesLength(run) + 2 * run.size();
                return true;
            });
            return;
        }
        std::int64_t position = 0;
        pairs_.forEachPair([&](const PairList::Pair& p) {
            if (strengths_[static_cast<std::size_t>(p.strength)]) {
                if (lines_ % kStride == 0) {
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
    void forEach(const std::function<void(std::string_view)>& visit, const NameWriter& names,
                 std::size_t piece) const override {
        if (names) {
            Lines::forEach(visit, names, piece);
            return;
        }
        // The whole list as it stands, the common case, a run of pairs at a time.
        PieceBuffer buffer(visit, piece);
        pairs_.forEachRun([&](std::span<const PairList::Pair> run) {
            pairs_.appendLines(buffer.text, run, strengths_, "\r\n");
            buffer.gathered();
            return true;
        });
        buffer.finish();
    }

protected:
    void writeLine(std::string& out, std::int64_t j, const NameWriter& names) const override {
        if (all_) {
            append(out, pairs_.pairAt(j), names);
            return;
        }
        eachLine(out, names, j, [] { return false; });
    }
    bool eachLine(std::string& out, const NameWriter& names, std::int64_t from,
                  const std::function<bool()>& written) const override {
        if (from >= lines_) {
            return true;
        }
        bool stopped = false;
        forEachListed(from, [&](const PairList::Pair& p) {
            append(out, p, names);
            stopped = !written();
            return !stopped;
        });
        return !stopped;
    }

public:
    std::optional<PairList::Pair> pairOfLine(std::int64_t j) const override {
        if (j < 0 || j >= lines_) {
            return std::nullopt;
        }
        if (all_) {
            return pairs_.pairAt(j);
        }
        std::optional<PairList::Pair> found;
        forEachListed(j, [&](const PairList::Pair& p) {
            found = p;
            return false;
        });
        return found;
    }

private:
    // Each listed pair from line `from` on, until `visit` returns false.
    template <class Visit>
    void forEachListed(std::int64_t from, Visit&& visit) const {
        // Without a filter list positions are line numbers; with one, start at the kept
        // position before `from` and skip the listed lines up to it.
        std::int64_t position = from;
        std::int64_t skip = 0;
        if (!all_) {
            position = samples_[static_cast<std::size_t>(from / kStride)];
            skip = from % kStride;
        }
        pairs_.forEachPair(
            [&](const PairList::Pair& p) {
                if (!strengths_[static_cast<std::size_t>(p.strength)] || skip-- > 0) {
                    return true;
                }
                return visit(p);
            },
            position);
    }

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
    bool eachLine(std::string& out, const NameWriter& names, std::int64_t from,
                  const std::function<bool()>& written) const override {
        for (auto j = static_cast<std::size_t>(from); j < lines_.size(); ++j) {
            writeLine(out, static_cast<std::int64_t>(j), names);
            if (!written()) {
                return false;
            }
        }
        return true;
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

std::pair<std::size_t, std::int64_t> ComposedText::locate(std::int64_t k) const {
    // The line starts after the k-th LF of the text: in the piece that holds that LF.
    if (k == 0) {
        return {0, 0};
    }
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
    return {low, k - lineStart_[low]};
}

std::optional<PairList::Pair> ComposedText::pairAtLine(std::int64_t k) const {
    if (k < 0 || k >= lineCount()) {
        return std::nullopt;
    }
    auto [p, j] = locate(k);
    // A line that begins where a piece ends begins in the next piece, when that one ended
    // with its line.
    for (; p < pieces_.size() && j >= pieces_[p]->lineEnds(); ++p, j = 0) {
        if (!pieces_[p]->endsWithLf()) {
            return std::nullopt;
        }
    }
    return p < pieces_.size() ? pieces_[p]->pairOfLine(j) : std::nullopt;
}

std::string ComposedText::line(std::int64_t k) const {
    assert(k >= 0 && k < lineCount());
    auto [p, j] = locate(k);
    std::string out = pieces_[p]->segment(j);
    for (++p; (out.empty() || out.back() != '\n') && p < pieces_.size(); ++p) {
        out += pieces_[p]->segment(0);
    }
    return out;
}

void ComposedText::forEachLine(std::int64_t from,
                               const std::function<bool(std::string_view)>& visit) const {
    if (from < 0 || from >= lineCount()) {
        return;
    }
    auto [p, j] = locate(from);
    std::string open;  // a line that goes on in the next piece
    const auto segment = [&](std::string_view s) {
        const bool ends = s.back() == '\n';
        if (open.empty() && ends) {
            return visit(s);
        }
        open += s;
        if (!ends) {
            return true;
        }
        const bool more = visit(open);
        open.clear();
        return more;
    };
    for (; p < pieces_.size(); ++p, j = 0) {
        if (!pieces_[p]->forEachSegment(j, segment)) {
            return;
        }
    }
    if (!open.empty()) {
        visit(open);
    }
}

bool ComposedText::operator==(const std::string& text) const {
    return bytes_ == text.size() && this->text() == text;
}

}  // namespace pelmora
