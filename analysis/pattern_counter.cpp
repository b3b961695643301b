#include "analysis/pattern_counter.h"

#include <algorithm>
#include <cassert>
#include <deque>
#include <map>
#include <memory>

#include "stores/text_ops.h"

namespace pelmora {

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

    // Trie, -1 where there is no edge.
    const auto C = static_cast<std::size_t>(classes_);
    std::vector<std::int32_t> trie(C, -1);
    std::vector<std::vector<std::int32_t>> own(1);
    for (std::size_t id = 0; id < distinct.size(); ++id) {
        std::int32_t s = 0;
        for (char c : distinct[id]) {
            const std::size_t slot =
                static_cast<std::size_t>(s) * C + foldedClass[static_cast<unsigned char>(c)];
            if (trie[slot] < 0) {
                trie[slot] = static_cast<std::int32_t>(own.size());
                own.emplace_back();
                trie.resize(trie.size() + C, -1);
            }
            s = trie[slot];
        }
        own[static_cast<std::size_t>(s)].push_back(static_cast<std::int32_t>(id));
    }

    // Breadth-first: failure links, full transitions and the outputs of each state.
    const std::size_t states = own.size();
    std::vector<std::int32_t> next(states * C, 0);
    std::vector<std::int32_t> fail(states, 0);
    std::vector<std::vector<std::int32_t>> out(states);
    std::deque<std::int32_t> queue;
    for (std::size_t c = 0; c < C; ++c) {
        const std::int32_t t = trie[c];
        if (t >= 0) {
            next[c] = t;
            queue.push_back(t);
        }
    }
    out[0] = own[0];
    while (!queue.empty()) {
        const auto s = static_cast<std::size_t>(queue.front());
        queue.pop_front();
        const auto f = static_cast<std::size_t>(fail[s]);
        out[s] = own[s];
        out[s].insert(out[s].end(), out[f].begin(), out[f].end());
        for (std::size_t c = 0; c < C; ++c) {
            const std::int32_t t = trie[s * C + c];
            if (t >= 0) {
                fail[static_cast<std::size_t>(t)] = next[f * C + c];
                next[s * C + c] = t;
                queue.push_back(t);
            } else {
                next[s * C + c] = next[f * C + c];
            }
        }
    }
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
}

std::vector<std::int64_t> PatternCounter::count(std::string_view text) const {
    const std::size_t D = distinctLength_.size();
    struct Tally {
        std::int64_t found = 0;
        std::int64_t lastEnd = 0;  // end of the last counted occurrence
    };
    std::vector<Tally> tally(D);
    const std::int32_t* table = table_.data();
    std::int32_t s = start_;
    const auto n = static_cast<std::int64_t>(text.size());
    for (std::int64_t i = 0; i < n; ++i) {
        s = table[s + classOf_[static_cast<unsigned char>(text[i])]];
        if (s < firstWithOutput_) {
            continue;
        }
        const auto row = static_cast<std::size_t>(s - firstWithOutput_) >> rowShift_;
        for (std::int32_t k = outputBegin_[row]; k < outputBegin_[row + 1]; ++k) {
            const auto u = static_cast<std::size_t>(outputs_[static_cast<std::size_t>(k)]);
            if (i + 1 - distinctLength_[u] >= tally[u].lastEnd) {
                ++tally[u].found;
                tally[u].lastEnd = i + 1;
            }
        }
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
                    visit(pattern, static_cast<std::size_t>(begin), static_cast<std::size_t>(i + 1));
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
