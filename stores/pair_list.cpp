#include "stores/pair_list.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <mutex>
#include <unordered_map>

namespace pelmora {

// A roster is one gathering of texts, in order; each comparison either extends the current
// roster or starts a new one. The pair (i, j) of a roster is stored once, in row i, as four
// bits. A block is one comparison: the pairs of the roster's first m texts, row by row.
struct PairList::Impl {
    struct Row {
        std::vector<std::uint8_t> nibbles;  // strengths of (i, i+1), (i, i+2), ...
        std::uint32_t size = 0;
        std::uint32_t listed = 0;             // how many of them have a line
        std::vector<std::uint32_t> sameText;  // offsets of the pairs of one text with itself

        int strength(std::uint32_t t) const { return (nibbles[t >> 1] >> ((t & 1) * 4)) & 0xF; }
        void push(int s) {
            if ((size & 1) == 0) {
                nibbles.push_back(static_cast<std::uint8_t>(s));
            } else {
                nibbles.back() = static_cast<std::uint8_t>(nibbles.back() | (s << 4));
            }
            ++size;
        }
    };
    struct Roster {
        std::vector<std::string> codes, names, keys;
        std::vector<int> codeId, keyId;
        std::unordered_map<std::string, int> codeIds, keyIds;
        std::vector<std::uint8_t> strengthOf;  // [id * width + id]
        int width = 0;
        std::vector<Row> rows;
        std::int64_t listed = 0;
    };
    struct Block {
        int roster;
        int m;
        std::int64_t start;  // position of the block's first line in the list
        std::int64_t lines;
        // Position of each row's first line within the block (m + 1 entries), when known.
        std::shared_ptr<const std::vector<std::int64_t>> rowStart;
    };

    std::optional<int> below;
    std::vector<Roster> rosters;
    std::vector<Block> blocks;
    std::int64_t total = 0;

    // Row starts of a block computed for random access; one block at a time.
    mutable std::mutex cacheMutex;
    mutable std::size_t cachedBlock = static_cast<std::size_t>(-1);
    mutable std::shared_ptr<const std::vector<std::int64_t>> cachedRowStart;

    Impl() = default;
    Impl(const Impl& o) : below(o.below), rosters(o.rosters), blocks(o.blocks), total(o.total) {}

    bool listedAt(const Row& row, std::uint32_t t) const {
        if (below && row.strength(t) >= *below) {
            return false;
        }
        return !std::binary_search(row.sameText.begin(), row.sameText.end(), t);
    }

    // Lines of row i among the roster's first m texts.
    std::int64_t rowLines(const Roster& r, int i, int m) const {
        const Row& row = r.rows[static_cast<std::size_t>(i)];
        const auto limit = static_cast<std::uint32_t>(std::max(0, m - i - 1));
        if (limit >= row.size) {
            return row.listed;
        }
        std::int64_t n = 0;
        for (std::uint32_t t = 0; t < limit; ++t) {
            n += listedAt(row, t) ? 1 : 0;
        }
        return n;
    }

    std::shared_ptr<const std::vector<std::int64_t>> rowStarts(const Block& b) const {
        auto starts = std::make_shared<std::vector<std::int64_t>>();
        starts->reserve(static_cast<std::size_t>(b.m) + 1);
        const Roster& r = rosters[static_cast<std::size_t>(b.roster)];
        std::int64_t sum = 0;
        for (int i = 0; i < b.m; ++i) {
            starts->push_back(sum);
            sum += rowLines(r, i, b.m);
        }
        starts->push_back(sum);
        return starts;
    }

    std::shared_ptr<const std::vector<std::int64_t>> rowStartsOf(std::size_t b) const {
        if (blocks[b].rowStart) {
            return blocks[b].rowStart;
        }
        std::lock_guard<std::mutex> lock(cacheMutex);
        if (cachedBlock != b || !cachedRowStart) {
            cachedRowStart = rowStarts(blocks[b]);
            cachedBlock = b;
        }
        return cachedRowStart;
    }

    static int intern(std::unordered_map<std::string, int>& ids, const std::string& s) {
        return ids.emplace(s, static_cast<int>(ids.size())).first->second;
    }

    // Adds the strengths of the newest distinct code with every one before it.
    static void widen(Roster& r, const std::vector<std::string>& distinct, StrengthRule strength) {
        const auto w = distinct.size();
        std::vector<std::uint8_t> table(w * w);
        for (std::size_t a = 0; a < w; ++a) {
            for (std::size_t b = 0; b < w; ++b) {
                int s = 0;
                if (a + 1 < w && b + 1 < w) {
                    s = r.strengthOf[a * (w - 1) + b];
                } else {
                    s = strength(distinct[a], distinct[b]);
                    assert(s >= 0 && s < 16);
                }
                table[a * w + b] = static_cast<std::uint8_t>(s);
            }
        }
        r.strengthOf = std::move(table);
        r.width = static_cast<int>(w);
    }

    void add(Roster& r, std::string code, std::string name, std::string key, StrengthRule strength,
             std::vector<std::string>& distinct) {
        const int id = intern(r.codeIds, code);
        if (id == static_cast<int>(distinct.size())) {
            distinct.push_back(code);
            widen(r, distinct, strength);
        }
        const int keyId = intern(r.keyIds, key);
        const int j = static_cast<int>(r.codes.size());
        r.codes.push_back(std::move(code));
        r.names.push_back(std::move(name));
        r.keys.push_back(std::move(key));
        r.codeId.push_back(id);
        r.keyId.push_back(keyId);
        r.rows.emplace_back();
        const std::uint8_t* column = r.strengthOf.data() + id;
        for (int i = 0; i < j; ++i) {
            Row& row = r.rows[static_cast<std::size_t>(i)];
            const int s = column[static_cast<std::size_t>(r.codeId[static_cast<std::size_t>(i)]) *
                                 static_cast<std::size_t>(r.width)];
            const std::uint32_t t = row.size;
            row.push(s);
            if (r.keyId[static_cast<std::size_t>(i)] == keyId) {
                row.sameText.push_back(t);
            } else if (!below || s < *below) {
                ++row.listed;
                ++r.listed;
            }
        }
    }

    // Makes the last roster hold the gathered texts, extending it when they continue it.
    int rosterFor(const ListStore& codes, const ListStore& names,
                  const std::vector<std::string>& keys, StrengthRule strength) {
        const int n = codes.count();
        bool continues = !rosters.empty();
        if (continues) {
            const Roster& last = rosters.back();
            const int shared = std::min(n, static_cast<int>(last.codes.size()));
            for (int i = 0; i < shared && continues; ++i) {
                continues = last.codes[static_cast<std::size_t>(i)] == codes.at(i) &&
                            last.keys[static_cast<std::size_t>(i)] == keys[i];
            }
        }
        if (!continues) {
            rosters.emplace_back();
        }
        Roster& r = rosters.back();
        std::vector<std::string> distinct(r.codeIds.size());
        for (const auto& [code, id] : r.codeIds) {
            distinct[static_cast<std::size_t>(id)] = code;
        }
        for (int j = static_cast<int>(r.codes.size()); j < n; ++j) {
            add(r, codes.at(j), std::string(names.get(j)), keys[static_cast<std::size_t>(j)],
                strength, distinct);
        }
        return static_cast<int>(rosters.size()) - 1;
    }

    std::size_t blockOf(std::int64_t k) const {
        // The last block starting at or before k; empty blocks share their start with the next.
        const auto it =
            std::upper_bound(blocks.begin(), blocks.end(), k,
                             [](std::int64_t pos, const Block& b) { return pos < b.start; });
        return static_cast<std::size_t>(it - blocks.begin()) - 1;
    }
};

PairList::PairList(std::optional<int> below) : impl_(std::make_shared<Impl>()) {
    impl_->below = below;
}

PairList::Impl& PairList::mutableImpl() {
    if (impl_.use_count() > 1) {
        impl_ = std::make_shared<Impl>(*impl_);
    }
    return *impl_;
}

std::int64_t PairList::count() const {
    return impl_->total;
}

int PairList::rosterCount() const {
    return static_cast<int>(impl_->rosters.size());
}

int PairList::rosterSize(int roster) const {
    return static_cast<int>(impl_->rosters[static_cast<std::size_t>(roster)].codes.size());
}

const std::string& PairList::name(int roster, int position) const {
    return impl_->rosters[static_cast<std::size_t>(roster)]
        .names[static_cast<std::size_t>(position)];
}

std::optional<int> PairList::listedStrength(int roster, int first, int second) const {
    const Impl& d = *impl_;
    int m = 0;
    for (const Impl::Block& b : d.blocks) {
        if (b.roster == roster) {
            m = std::max(m, b.m);
        }
    }
    if (first < 0 || first >= second || second >= m) {
        return std::nullopt;
    }
    const Impl::Row& row =
        d.rosters[static_cast<std::size_t>(roster)].rows[static_cast<std::size_t>(first)];
    const auto t = static_cast<std::uint32_t>(second - first - 1);
    if (!d.listedAt(row, t)) {
        return std::nullopt;
    }
    return row.strength(t);
}

PairList::Pair PairList::pairAt(std::int64_t k) const {
    assert(k >= 0 && k < count());
    const Impl& d = *impl_;
    const std::size_t b = d.blockOf(k);
    const Impl::Block& block = d.blocks[b];
    const std::int64_t inBlock = k - block.start;
    const auto starts = d.rowStartsOf(b);
    const int i = static_cast<int>(std::upper_bound(starts->begin(), starts->end(), inBlock) -
                                   starts->begin()) -
                  1;
    const Impl::Roster& r = d.rosters[static_cast<std::size_t>(block.roster)];
    const Impl::Row& row = r.rows[static_cast<std::size_t>(i)];
    std::int64_t wanted = inBlock - (*starts)[static_cast<std::size_t>(i)];
    std::uint32_t t = 0;
    for (;; ++t) {
        if (d.listedAt(row, t) && wanted-- == 0) {
            break;
        }
    }
    assert(i + 1 + static_cast<int>(t) < block.m);
    return Pair{block.roster, i, i + 1 + static_cast<int>(t), row.strength(t)};
}

void PairList::forEachRun(const std::function<bool(std::span<const Pair>)>& visit,
                          std::int64_t from) const {
    const Impl& d = *impl_;
    if (from >= d.total) {
        return;
    }
    std::size_t b = 0;
    int i = 0;
    std::uint32_t t = 0;
    if (from > 0) {
        // Where the pair at `from` stands: its block, row and place in the row.
        const Pair p = pairAt(from);
        b = d.blockOf(from);
        i = p.first;
        t = static_cast<std::uint32_t>(p.second - p.first - 1);
    }
    constexpr std::size_t kRun = 512;
    std::array<Pair, kRun> run;
    std::size_t filled = 0;
    for (; b < d.blocks.size(); ++b, i = 0, t = 0) {
        const Impl::Block& block = d.blocks[b];
        const Impl::Roster& r = d.rosters[static_cast<std::size_t>(block.roster)];
        for (; i + 1 < block.m; ++i, t = 0) {
            const Impl::Row& row = r.rows[static_cast<std::size_t>(i)];
            const auto limit = static_cast<std::uint32_t>(block.m - i - 1);
            const bool everyOne = !d.below && row.sameText.empty();
            for (; t < limit; ++t) {
                if (everyOne || d.listedAt(row, t)) {
                    run[filled++] =
                        Pair{block.roster, i, i + 1 + static_cast<int>(t), row.strength(t)};
                    if (filled == kRun) {
                        if (!visit(std::span<const Pair>(run.data(), filled))) {
                            return;
                        }
                        filled = 0;
                    }
                }
            }
        }
    }
    if (filled > 0) {
        visit(std::span<const Pair>(run.data(), filled));
    }
}

void PairList::appendLine(std::string& out, const Pair& p) const {
    out.append(name(p.roster, p.first)).append(1, '-').append(name(p.roster, p.second));
    out.append(1, '\t').append(1, static_cast<char>('0' + p.strength));
}

void PairList::appendLines(std::string& out, std::span<const Pair> run,
                           const std::array<bool, 16>& strengths, std::string_view end) const {
    for (const Pair& p : run) {
        if (strengths[static_cast<std::size_t>(p.strength)]) {
            appendLine(out, p);
            out.append(end);
        }
    }
}

std::uint64_t PairList::linesLength(std::span<const Pair> run) const {
    std::uint64_t sum = 0;
    for (const Pair& p : run) {
        sum += lineLength(p);
    }
    return sum;
}

std::size_t PairList::lineLength(const Pair& p) const {
    return name(p.roster, p.first).size() + name(p.roster, p.second).size() + 3;
}

std::string PairList::at(std::int64_t k) const {
    std::string line;
    appendLine(line, pairAt(k));
    return line;
}

void PairList::appendComparison(const ListStore& codes, const ListStore& names,
                                const std::vector<std::string>& keys, StrengthRule strength) {
    assert(static_cast<int>(keys.size()) == codes.count() && names.count() == codes.count());
    Impl& d = mutableImpl();
    const int roster = d.rosterFor(codes, names, keys, strength);
    const Impl::Roster& r = d.rosters[static_cast<std::size_t>(roster)];
    Impl::Block block{roster, codes.count(), d.total, r.listed, nullptr};
    if (block.m < static_cast<int>(r.codes.size())) {
        // Fewer texts than the gathering had: only the pairs among the first m count.
        block.rowStart = d.rowStarts(block);
        block.lines = block.rowStart->back();
    }
    d.blocks.push_back(std::move(block));
    d.total += d.blocks.back().lines;
}

void PairList::clear() {
    const std::optional<int> below = impl_->below;
    impl_ = std::make_shared<Impl>();
    impl_->below = below;
}

void PairList::removeRepeats() {
    Impl& d = mutableImpl();
    // Blocks of one roster are consecutive and each holds the pairs of the roster's first m
    // texts, so the largest block of each roster holds every pair of it exactly once.
    std::vector<Impl::Block> old = std::move(d.blocks);
    d.blocks.clear();
    d.total = 0;
    for (std::size_t b = 0; b < old.size();) {
        std::size_t largest = b;
        std::size_t next = b + 1;
        for (; next < old.size() && old[next].roster == old[b].roster; ++next) {
            if (old[next].m > old[largest].m) {
                largest = next;
            }
        }
        Impl::Block kept = old[largest];
        kept.start = d.total;
        kept.rowStart = d.rowStarts(kept);
        d.total += kept.lines;
        d.blocks.push_back(std::move(kept));
        b = next;
    }
    std::lock_guard<std::mutex> lock(d.cacheMutex);
    d.cachedBlock = static_cast<std::size_t>(-1);
    d.cachedRowStart.reset();
}

}  // namespace pelmora
