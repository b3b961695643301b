#include "classify/pair_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "stores/text_ops.h"

namespace pelmora {

namespace {

// The characters (code points) of a code at positions 1 to 5; beyond the end, empty.
struct CodeChars {
    std::string_view at[5];
};

CodeChars codeChars(std::string_view code) {
    CodeChars out;
    std::size_t i = 0;
    for (std::string_view& c : out.at) {
        if (i >= code.size()) {
            break;
        }
        std::size_t end = i + 1;
        while (end < code.size() && (static_cast<unsigned char>(code[end]) & 0xC0) == 0x80) {
            ++end;
        }
        c = code.substr(i, end - i);
        i = end;
    }
    return out;
}

}  // namespace

int typeCodeStrength(std::string_view a, std::string_view b) {
    const CodeChars x = codeChars(a);
    const CodeChars y = codeChars(b);
    int s = 0;
    for (int k = 0; k < 5; ++k) {
        s += equalsIgnoreCase(x.at[k], y.at[k]) ? 1 : 0;
    }
    return s;
}

// A roster is one gathering of texts, in order; each comparison either extends the current
// roster or starts a new one. The pair (i, j) of a roster is stored once, in row i. A block
// is one comparison: the pairs of the roster's first m texts, row by row.
struct PairList::Impl {
    struct Row {
        std::vector<std::uint8_t> strength;  // of the pairs (i, i+1), (i, i+2), ...
        std::vector<std::uint32_t> listed;   // how many of those up to here have a line
    };
    struct Roster {
        std::vector<std::string> codes, names;
        std::vector<Row> rows;
    };
    struct Block {
        int roster;
        int m;
        // Position of each row's first line within the block; m + 1 entries.
        std::shared_ptr<const std::vector<std::int64_t>> rowStart;
        std::int64_t start;  // position of the block's first line in the list
    };

    Filter filter;
    std::vector<Roster> rosters;
    std::vector<Block> blocks;
    std::int64_t total = 0;

    bool listed(const Roster& r, int i, int j) const {
        if (r.names[static_cast<std::size_t>(i)] == r.names[static_cast<std::size_t>(j)]) {
            return false;
        }
        const int s =
            r.rows[static_cast<std::size_t>(i)].strength[static_cast<std::size_t>(j - i - 1)];
        return filter == Filter::All || s < 3;
    }

    // Lines of row i among the roster's first m texts.
    static std::int64_t rowLines(const Roster& r, int i, int m) {
        return m - i - 1 > 0
                   ? r.rows[static_cast<std::size_t>(i)].listed[static_cast<std::size_t>(m - i - 2)]
                   : 0;
    }

    // Makes the last roster hold the gathered texts, extending it when they continue it.
    int rosterFor(const ListStore& codes, const ListStore& names) {
        const int n = codes.count();
        if (!rosters.empty()) {
            const Roster& last = rosters.back();
            const int shared = std::min(n, static_cast<int>(last.codes.size()));
            bool continues = true;
            for (int i = 0; i < shared && continues; ++i) {
                continues = last.codes[static_cast<std::size_t>(i)] == codes.at(i) &&
                            last.names[static_cast<std::size_t>(i)] == names.get(i);
            }
            if (!continues) {
                rosters.emplace_back();
            }
        } else {
            rosters.emplace_back();
        }
        Roster& r = rosters.back();
        for (int j = static_cast<int>(r.codes.size()); j < n; ++j) {
            r.codes.emplace_back(codes.at(j));
            r.names.emplace_back(names.get(j));
            r.rows.emplace_back();
            for (int i = 0; i < j; ++i) {
                Row& row = r.rows[static_cast<std::size_t>(i)];
                row.strength.push_back(static_cast<std::uint8_t>(
                    typeCodeStrength(r.codes[static_cast<std::size_t>(i)], r.codes.back())));
                const std::uint32_t before = row.listed.empty() ? 0 : row.listed.back();
                row.listed.push_back(before + (listed(r, i, j) ? 1 : 0));
            }
        }
        return static_cast<int>(rosters.size()) - 1;
    }

    void addBlock(int roster, int m) {
        std::shared_ptr<const std::vector<std::int64_t>> rowStart;
        if (!blocks.empty() && blocks.back().roster == roster && blocks.back().m == m) {
            rowStart = blocks.back().rowStart;  // the same comparison again
        } else {
            auto starts = std::make_shared<std::vector<std::int64_t>>();
            starts->reserve(static_cast<std::size_t>(m) + 1);
            std::int64_t sum = 0;
            const Roster& r = rosters[static_cast<std::size_t>(roster)];
            for (int i = 0; i < m; ++i) {
                starts->push_back(sum);
                sum += rowLines(r, i, m);
            }
            starts->push_back(sum);
            rowStart = std::move(starts);
        }
        const std::int64_t lines = rowStart->back();
        blocks.push_back(Block{roster, m, std::move(rowStart), total});
        total += lines;
    }
};

PairList::PairList(Filter filter) : impl_(std::make_unique<Impl>()) {
    impl_->filter = filter;
}
PairList::~PairList() = default;
PairList::PairList(const PairList& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
PairList& PairList::operator=(const PairList& other) {
    if (this != &other) {
        impl_ = std::make_unique<Impl>(*other.impl_);
    }
    return *this;
}
PairList::PairList(PairList&&) noexcept = default;
PairList& PairList::operator=(PairList&&) noexcept = default;

std::int64_t PairList::count() const {
    return impl_->total;
}

PairList::Pair PairList::pairAt(std::int64_t k) const {
    assert(k >= 0 && k < count());
    const auto& blocks = impl_->blocks;
    // The last block starting at or before k; empty blocks share their start with the next.
    const auto block = std::prev(
        std::upper_bound(blocks.begin(), blocks.end(), k,
                         [](std::int64_t pos, const Impl::Block& b) { return pos < b.start; }));
    const std::int64_t inBlock = k - block->start;
    const std::vector<std::int64_t>& rowStart = *block->rowStart;
    const int i = static_cast<int>(std::upper_bound(rowStart.begin(), rowStart.end(), inBlock) -
                                   rowStart.begin()) -
                  1;
    const auto& r = impl_->rosters[static_cast<std::size_t>(block->roster)];
    const auto& row = r.rows[static_cast<std::size_t>(i)];
    // The first pair of the row after which (inBlock - rowStart[i] + 1) pairs have a line.
    const auto within = static_cast<std::uint32_t>(inBlock - rowStart[static_cast<std::size_t>(i)]);
    const int t = static_cast<int>(std::upper_bound(row.listed.begin(), row.listed.end(), within) -
                                   row.listed.begin());
    const int j = i + 1 + t;
    assert(j < block->m);
    return Pair{block->roster,
                i,
                j,
                row.strength[static_cast<std::size_t>(t)],
                r.names[static_cast<std::size_t>(i)],
                r.names[static_cast<std::size_t>(j)]};
}

std::string PairList::at(std::int64_t k) const {
    const Pair p = pairAt(k);
    return p.firstName + "-" + p.secondName + "\t" + std::to_string(p.strength);
}

std::vector<std::string> PairList::lines() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count()));
    for (std::int64_t k = 0; k < count(); ++k) {
        out.push_back(at(k));
    }
    return out;
}

void PairList::appendComparison(const ListStore& codes, const ListStore& names) {
    const int roster = impl_->rosterFor(codes, names);
    impl_->addBlock(roster, codes.count());
}

void PairList::clear() {
    const Filter filter = impl_->filter;
    impl_ = std::make_unique<Impl>();
    impl_->filter = filter;
}

void PairList::removeRepeats() {
    // Blocks of one roster are consecutive and each holds the pairs of the roster's first m
    // texts, so the largest block of each roster holds every pair of it exactly once.
    std::vector<Impl::Block> old = std::move(impl_->blocks);
    impl_->blocks.clear();
    impl_->total = 0;
    for (std::size_t b = 0; b < old.size();) {
        std::size_t largest = b;
        std::size_t next = b + 1;
        for (; next < old.size() && old[next].roster == old[b].roster; ++next) {
            if (old[next].m > old[largest].m) {
                largest = next;
            }
        }
        Impl::Block kept = old[largest];
        kept.start = impl_->total;
        impl_->total += kept.rowStart->back();
        impl_->blocks.push_back(std::move(kept));
        b = next;
    }
}

}  // namespace pelmora
