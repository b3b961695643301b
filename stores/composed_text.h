#pragma once
// A text field whose text is made, piece by piece, from literal texts and from the lines of
// pair lists: the report and the two pair-list fields hold millions of pair lines, which are
// written out only when someone reads them. It reads exactly as the text it stands for.
// Copies share their pieces.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "stores/pair_list.h"

namespace pelmora {

class ComposedText {
public:
    // Which strengths a piece of pair lines lists.
    using Strengths = std::array<bool, 16>;
    static Strengths allStrengths();
    // How a name is written into a pair line; null writes it as it is.
    using NameWriter = std::function<std::string(std::string_view)>;

    ComposedText() = default;
    explicit ComposedText(std::string text) { append(std::move(text)); }

    void append(std::string text);
    // The line of every pair of `pairs` whose strength is among `strengths`, each followed by
    // CR LF.
    void appendPairLines(const PairList& pairs, const Strengths& strengths = allStrengths());
    // One line per entry: its name, then its rest as written, then CR LF.
    void appendNamedLines(std::vector<std::pair<std::string, std::string>> lines);
    void append(const ComposedText& other);
    void setText(std::string text);
    void clear();

    std::uint64_t size() const { return bytes_; }
    bool empty() const { return bytes_ == 0; }
    // The whole text; for texts that fit comfortably in memory.
    std::string text() const;
    // The text in order, in pieces of about `piece` bytes.
    void forEachPiece(const std::function<void(std::string_view)>& visit,
                      const NameWriter& names = nullptr, std::size_t piece = 1 << 16) const;

    // Lines are the text split after each LF; a text not ending in LF has a last, unfinished
    // line. Each line is given with its line end.
    std::int64_t lineCount() const;
    std::string line(std::int64_t k) const;
    // Line `from` and every line after it, in order, until `visit` returns false: for reading
    // many lines from the middle without seeking to each one.
    void forEachLine(std::int64_t from, const std::function<bool(std::string_view)>& visit) const;
    // The pair whose line is line k, when the line is one of pair lines; nothing otherwise.
    std::optional<PairList::Pair> pairAtLine(std::int64_t k) const;

    // Whether the two are copies of one text (and so read the same), without reading either.
    bool sharesPieces(const ComposedText& other) const { return pieces_ == other.pieces_; }

    bool operator==(const std::string& text) const;

    struct Piece;  // a literal text, or lines made on demand

private:
    void add(std::shared_ptr<const Piece> piece);
    // The piece holding the start of line k, and which of its segments that line begins with.
    std::pair<std::size_t, std::int64_t> locate(std::int64_t k) const;

    std::vector<std::shared_ptr<const Piece>> pieces_;
    std::vector<std::int64_t> lineStart_;  // first line of each piece
    std::uint64_t bytes_ = 0;
    std::int64_t lines_ = 0;  // lines that end in LF, over all pieces
    bool openLine_ = false;   // the text does not end in LF
};

}  // namespace pelmora
