#include "analysis/pattern_counter.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <deque>
#include <map>
#include <memory>

#include "stores/text_ops.h"

namespace pelmora {

namespace {

// The trie of the folded patterns by byte class, -1 where there is no edge, and the patterns
// ending in each state.
struct Trie {
    std::vector<std::int32_t> edges;
    std::vector<std::vector<std::int32_t>> own;
};

Trie trieOf(const std::vector<std::string>& distinct, const unsigned char* foldedClass,
            std::size_t C) {
    Trie trie{std::vector<std::int32_t>(C, -1), std::vector<std::vector<std::int32_t>>(1)};
    for (std::size_t id = 0; id < distinct.size(); ++id) {
        std::int32_t s = 0;
        for (char c : distinct[id]) {
            const std::size_t slot =
                static_cast<std::size_t>(s) * C + foldedClass[static_cast<unsigned char>(c)];
            if (trie.edges[slot] < 0) {
                trie.edges[slot] = static_cast<std::int32_t>(trie.own.size());
                trie.own.emplace_back();
                trie.edges.resize(trie.edges.size() + C, -1);
            }
            s = trie.edges[slot];
        }
        trie.own[static_cast<std::size_t>(s)].push_back(static_cast<std::int32_t>(id));
    }
    return trie;
}

// Breadth-first: failure links, full transitions and the outputs of each state.
void linkStates(const Trie& trie, std::size_t C, std::vector<std::int32_t>& next,
                std::vector<std::vector<std::int32_t>>& out) {
    const std::size_t states = trie.own.size();
    next.assign(states * C, 0);
    out.assign(states, {});
    std::vector<std::int32_t> fail(states, 0);
    std::deque<std::int32_t> queue;
    for (std::size_t c = 0; c < C; ++c) {
        const std::int32_t t = trie.edges[c];
        if (t >= 0) {
            next[c] = t;
            queue.push_back(t);
        }
    }
    out[0] = trie.own[0];
    while (!queue.empty()) {
        const auto s = static_cast<std::size_t>(queue.front());
        queue.pop_front();
        const auto f = static_cast<std::size_t>(fail[s]);
        out[s] = trie.own[s];
        out[s].insert(out[s].end(), out[f].begin(), out[f].end());
        for (std::size_t c = 0; c < C; ++c) {
            const std::int32_t t = trie.edges[s * C + c];
            if (t >= 0) {
                fail[static_cast<std::size_t>(t)] = next[f * C + c];
                next[s * C + c] = t;
                queue.push_back(t);
            } else {
                next[s * C + c] = next[f * C + c];
            }
        }
    }
}

// A text may be counted in pieces cut at spaces when no pattern holds a space inside it and
// none is spaces alone.
bool countableInPieces(const std::vector<std::string>& distinct) {
    return std::all_of(distinct.begin(), distinct.end(), [](const std::string& p) {
        const std::size_t first = p.find_first_not_of(' ');
        const std::size_t last = p.find_last_not_of(' ');
        return first != std::string::npos && first <= 1 && p.size() - last <= 2 &&
               p.find(' ', first) > last;
    });
}

}  // namespace

// An Aho-Corasick automaton over ASCII-folded bytes. An occurrence of a pattern is counted
// only when it starts at or after the end of that pattern's previous counted occurrence,
// which is exactly left-to-right non-overlapping counting, self-overlapping patterns
// (" the " in " the the ") included.
PatternCounter::PatternCounter(std::vector<std::string> patterns) : patterns_(std::move(patterns)) {
    std::map<std::string, int> distinctIds;
    std::vector<std::string> distinct;
    for (const std::string& pattern : patterns_) {
        if (pattern.empty()) {
            distinctOf_.push_back(-1);
            continue;
        }
        const std::string folded = toLowerAscii(pattern);
        auto [it, added] = distinctIds.emplace(folded, static_cast<int>(distinct.size()));
        if (added) {
            distinct.push_back(folded);
            distinctLength_.push_back(static_cast<std::int64_t>(folded.size()));
        }
        distinctOf_.push_back(it->second);
    }

    unsigned char foldedClass[256] = {};
    for (const std::string& p : distinct) {
        for (char c : p) {
            unsigned char& cls = foldedClass[static_cast<unsigned char>(c)];
            if (cls == 0) {
                assert(classes_ < 256);
                cls = static_cast<unsigned char>(classes_++);
            }
        }
    }
    for (int b = 0; b < 256; ++b) {
        classOf_[b] = foldedClass[static_cast<unsigned char>(foldAscii(static_cast<char>(b)))];
    }

    const auto C = static_cast<std::size_t>(classes_);
    const Trie trie = trieOf(distinct, foldedClass, C);
    const std::size_t states = trie.own.size();
    std::vector<std::int32_t> next;
    std::vector<std::vector<std::int32_t>> out;
    linkStates(trie, C, next, out);
    // Renumber so that the states with outputs come last: the counting loop then tells them
    // by one comparison, and holds each state as its row offset in the table.
    std::vector<std::int32_t> order;
    for (std::size_t s = 0; s < states; ++s) {
        if (out[s].empty()) {
            order.push_back(static_cast<std::int32_t>(s));
        }
    }
    while ((std::size_t{1} << rowShift_) < C) {
        ++rowShift_;
    }
    const std::size_t W = std::size_t{1} << rowShift_;
    firstWithOutput_ = static_cast<std::int32_t>(order.size() * W);
    for (std::size_t s = 0; s < states; ++s) {
        if (!out[s].empty()) {
            order.push_back(static_cast<std::int32_t>(s));
        }
    }
    std::vector<std::int32_t> renamed(states);
    for (std::size_t k = 0; k < states; ++k) {
        renamed[static_cast<std::size_t>(order[k])] = static_cast<std::int32_t>(k * W);
    }
    table_.resize(states * W);
    for (std::size_t k = 0; k < states; ++k) {
        const auto s = static_cast<std::size_t>(order[k]);
        for (std::size_t c = 0; c < C; ++c) {
            table_[k * W + c] = renamed[static_cast<std::size_t>(next[s * C + c])];
        }
        if (!out[s].empty()) {
            outputBegin_.push_back(static_cast<std::int32_t>(outputs_.size()));
            outputs_.insert(outputs_.end(), out[s].begin(), out[s].end());
        }
    }
    outputBegin_.push_back(static_cast<std::int32_t>(outputs_.size()));
    start_ = renamed[0];
    if (table_.size() <= 0x10000) {
        narrow_.assign(table_.begin(), table_.end());
    }
    splittable_ = countableInPieces(distinct);
}

namespace {

struct Tally {
    std::int64_t found = 0;
    std::int64_t lastEnd = 0;  // end of the last counted occurrence
};

// The automaton as the counting loop reads it, over a table of offsets of type T: the narrower
// the table, the more of it stays in the nearest cache.
template <typename T>
struct Automaton {
    const T* table;
    const unsigned char* classOf;
    std::int32_t start, firstWithOutput;
    int rowShift;
    const std::int32_t* outputBegin;
    const std::int32_t* outputs;
    const std::int64_t* length;

    // The patterns ending in state s at byte i of a text, counted unless they overlap.
    void counted(std::int32_t s, std::int64_t i, Tally* tally) const {
        const auto row = static_cast<std::size_t>(s - firstWithOutput) >> rowShift;
        for (std::int32_t k = outputBegin[row]; k < outputBegin[row + 1]; ++k) {
            const auto u = static_cast<std::size_t>(outputs[k]);
            if (i + 1 - length[u] >= tally[u].lastEnd) {
                ++tally[u].found;
                tally[u].lastEnd = i + 1;
            }
        }
    }
};

// One text walked from state s over its bytes [from, to); returns the state reached.
template <typename T>
std::int32_t walk(const Automaton<T>& a, std::string_view text, std::int64_t from, std::int64_t to,
                  std::int32_t s, Tally* tally) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::int64_t i = from; i < to; ++i) {
        s = a.table[s + a.classOf[bytes[i]]];
        if (s >= a.firstWithOutput) {
            a.counted(s, i, tally);
        }
    }
    return s;
}

// Counts four texts at once, one automaton walk each, interleaved byte by byte: each walk waits
// on its own table lookup, so the four overlap instead of queueing. The states are four plain
// variables so that they stay in registers.
template <typename T>
void countFour(const Automaton<T>& a, const std::array<std::string_view, 4>& texts,
               const std::array<Tally*, 4>& tallies) {
    std::int64_t shared = static_cast<std::int64_t>(texts[0].size());
    for (const std::string_view t : texts) {
        shared = std::min(shared, static_cast<std::int64_t>(t.size()));
    }
    const auto* b0 = reinterpret_cast<const unsigned char*>(texts[0].data());
    const auto* b1 = reinterpret_cast<const unsigned char*>(texts[1].data());
    const auto* b2 = reinterpret_cast<const unsigned char*>(texts[2].data());
    const auto* b3 = reinterpret_cast<const unsigned char*>(texts[3].data());
    std::int32_t s0 = a.start, s1 = a.start, s2 = a.start, s3 = a.start;
    const T* table = a.table;
    const unsigned char* classOf = a.classOf;
    const std::int32_t output = a.firstWithOutput;
    for (std::int64_t i = 0; i < shared; ++i) {
        s0 = table[s0 + classOf[b0[i]]];
        s1 = table[s1 + classOf[b1[i]]];
        s2 = table[s2 + classOf[b2[i]]];
        s3 = table[s3 + classOf[b3[i]]];
        if ((s0 >= output) | (s1 >= output) | (s2 >= output) | (s3 >= output)) [[unlikely]] {
            if (s0 >= output) {
                a.counted(s0, i, tallies[0]);
            }
            if (s1 >= output) {
                a.counted(s1, i, tallies[1]);
            }
            if (s2 >= output) {
                a.counted(s2, i, tallies[2]);
            }
            if (s3 >= output) {
                a.counted(s3, i, tallies[3]);
            }
        }
    }
    const std::int32_t states[4] = {s0, s1, s2, s3};
    for (std::size_t k = 0; k < 4; ++k) {
        walk(a, texts[k], shared, static_cast<std::int64_t>(texts[k].size()), states[k],
             tallies[k]);
    }
}

bool equalsAsciiFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr std::size_t kStreams = 4;
// Texts shorter than this per stream are walked whole: finding the cuts would cost more.
constexpr std::size_t kStreamBytes = 1024;

// A space at or after `from` where the text may be cut into [.., p] and [p, ..): a space between
// two words that differ in ASCII case folding, so that no occurrence of a pattern with a space
// at both ends ends at p where an occurrence of the same pattern starts. npos when none is
// found before `to`.
std::size_t streamCut(std::string_view text, std::size_t from, std::size_t to) {
    for (std::size_t p = std::max<std::size_t>(from, 1); p + 1 < to; ++p) {
        if (text[p] != ' ' || text[p - 1] == ' ' || text[p + 1] == ' ') {
            continue;
        }
        const std::size_t before = text.rfind(' ', p - 1);
        const std::size_t wordStart = before == std::string_view::npos ? 0 : before + 1;
        std::size_t after = text.find(' ', p + 1);
        after = after == std::string_view::npos ? text.size() : after;
        if (!equalsAsciiFolded(text.substr(wordStart, p - wordStart),
                               text.substr(p + 1, after - p - 1))) {
            return p;
        }
    }
    return std::string_view::npos;
}

template <typename T>
void countAll(const Automaton<T>& a, std::string_view text, bool splittable, Tally* tally,
              std::size_t distinct) {
    if (splittable && text.size() >= kStreams * kStreamBytes) {
        std::array<std::string_view, kStreams> pieces;
        std::size_t begin = 0;
        bool cut = true;
        for (std::size_t k = 0; k + 1 < kStreams && cut; ++k) {
            const std::size_t target = std::max(begin + 1, (k + 1) * text.size() / kStreams);
            // A text without such a space near the target is walked whole.
            const std::size_t p =
                streamCut(text, target, std::min(text.size(), target + kStreamBytes));
            cut = p != std::string_view::npos;
            pieces[k] = text.substr(begin, cut ? p + 1 - begin : 0);
            begin = p;
        }
        if (cut) {
            pieces[kStreams - 1] = text.substr(begin);
            std::vector<Tally> more((kStreams - 1) * distinct);
            std::array<Tally*, kStreams> tallies{tally};
            for (std::size_t k = 1; k < kStreams; ++k) {
                tallies[k] = more.data() + (k - 1) * distinct;
            }
            countFour(a, pieces, tallies);
            for (std::size_t k = 1; k < kStreams; ++k) {
                for (std::size_t u = 0; u < distinct; ++u) {
                    tally[u].found += tallies[k][u].found;
                }
            }
            return;
        }
    }
    walk(a, text, 0, static_cast<std::int64_t>(text.size()), a.start, tally);
}

}  // namespace

std::vector<std::int64_t> PatternCounter::count(std::string_view text) const {
    const std::size_t distinct = distinctLength_.size();
    std::vector<Tally> tally(distinct);
    if (!narrow_.empty()) {
        const Automaton<std::uint16_t> a{narrow_.data(),  classOf_,
                                         start_,          firstWithOutput_,
                                         rowShift_,       outputBegin_.data(),
                                         outputs_.data(), distinctLength_.data()};
        countAll(a, text, splittable_, tally.data(), distinct);
    } else {
        const Automaton<std::int32_t> a{table_.data(),   classOf_,
                                        start_,          firstWithOutput_,
                                        rowShift_,       outputBegin_.data(),
                                        outputs_.data(), distinctLength_.data()};
        countAll(a, text, splittable_, tally.data(), distinct);
    }
    std::vector<std::int64_t> counts;
    counts.reserve(patterns_.size());
    for (int id : distinctOf_) {
        counts.push_back(id < 0 ? 0 : tally[static_cast<std::size_t>(id)].found);
    }
    return counts;
}

void PatternCounter::find(
    std::string_view text,
    const std::function<void(int pattern, std::size_t start, std::size_t end)>& visit) const {
    std::vector<std::vector<int>> indices(distinctLength_.size());
    for (std::size_t i = 0; i < distinctOf_.size(); ++i) {
        if (distinctOf_[i] >= 0) {
            indices[static_cast<std::size_t>(distinctOf_[i])].push_back(static_cast<int>(i));
        }
    }
    std::vector<std::int64_t> lastEnd(distinctLength_.size(), 0);
    std::int32_t s = start_;
    const auto n = static_cast<std::int64_t>(text.size());
    for (std::int64_t i = 0; i < n; ++i) {
        s = table_[static_cast<std::size_t>(s) + classOf_[static_cast<unsigned char>(text[i])]];
        if (s < firstWithOutput_) {
            continue;
        }
        const auto row = static_cast<std::size_t>(s - firstWithOutput_) >> rowShift_;
        for (std::int32_t k = outputBegin_[row]; k < outputBegin_[row + 1]; ++k) {
            const auto u = static_cast<std::size_t>(outputs_[static_cast<std::size_t>(k)]);
            const std::int64_t begin = i + 1 - distinctLength_[u];
            if (begin >= lastEnd[u]) {
                lastEnd[u] = i + 1;
                for (const int pattern : indices[u]) {
                    visit(pattern, static_cast<std::size_t>(begin),
                          static_cast<std::size_t>(i + 1));
                }
            }
        }
    }
}

const PatternCounter& PatternCounter::forPatterns(const std::vector<std::string>& patterns) {
    // Building costs about as much as counting a few kilobytes, and a batch run asks for the
    // same few pattern lists for every text.
    constexpr std::size_t kKept = 4;
    thread_local std::vector<std::unique_ptr<PatternCounter>> kept;
    auto hit = std::find_if(kept.begin(), kept.end(),
                            [&](const auto& c) { return c->patterns() == patterns; });
    if (hit == kept.end()) {
        if (kept.size() == kKept) {
            kept.pop_back();
        }
        kept.insert(kept.begin(), std::make_unique<PatternCounter>(patterns));
        return *kept.front();
    }
    std::rotate(kept.begin(), hit, hit + 1);
    return *kept.front();
}

}  // namespace pelmora
