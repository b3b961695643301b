#pragma once
// A list store of pair lines (`lstDogBox`, and `lstDogHouse` for the minimal pairs): earlier
// name, "-", later name, tab, strength digit. Every comparison appends the lines of all pairs
// gathered so far, so the list reads as about N³/6 lines for N texts; it keeps one strength
// of four bits per pair plus the sequence of comparisons, and makes every line on demand.
// Copies share their contents until one of them changes.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stores/list_store.h"

namespace pelmora {

class PairList {
public:
    // The strength of the pair of two type codes, 0 to 15.
    using StrengthRule = int (*)(std::string_view firstCode, std::string_view secondCode);

    struct Pair {
        int roster = 0;  // which gathering of texts the pair belongs to
        int first = 0;   // positions of the two texts in that gathering, first < second
        int second = 0;
        int strength = 0;
    };

    // Lists every pair of different texts; with `below`, only those whose strength is below it.
    explicit PairList(std::optional<int> below = std::nullopt);

    std::int64_t count() const;
    std::string at(std::int64_t k) const;  // the pair line at position k
    Pair pairAt(std::int64_t k) const;
    // Calls `visit` for every listed pair in list order from position `from` on; stops early
    // when it returns false.
    template <class Visit>
    void forEachPair(Visit&& visit, std::int64_t from = 0) const {
        forEachRun(
            [&](std::span<const Pair> run) {
                for (const Pair& p : run) {
                    if (!visit(p)) {
                        return false;
                    }
                }
                return true;
            },
            from);
    }
    // The same, a run of consecutive pairs at a time: a call per pair would cost more than
    // the visit itself.
    void forEachRun(const std::function<bool(std::span<const Pair>)>& visit,
                    std::int64_t from = 0) const;

    // The strength of the pair of texts `first` < `second` of a roster when the list holds
    // its line (in its last comparison of that roster); nothing otherwise.
    std::optional<int> listedStrength(int roster, int first, int second) const;

    int rosterCount() const;
    int rosterSize(int roster) const;
    const std::string& name(int roster, int position) const;
    // The pair line of `pair` appended to `out`, without a line end.
    void appendLine(std::string& out, const Pair& pair) const;
    std::size_t lineLength(const Pair& pair) const;
    // The sum of the line lengths of `run`.
    std::uint64_t linesLength(std::span<const Pair> run) const;
    // The lines of the pairs of `run` whose strength is among `strengths`, each followed by
    // `end`, appended to `out`: for writing millions of lines without a call per line.
    void appendLines(std::string& out, std::span<const Pair> run,
                     const std::array<bool, 16>& strengths, std::string_view end) const;

    // Appends the lines of every pair (i < j) of the gathered texts whose keys differ, in the
    // order (0,1), (0,2), ..., (1,2), ... `keys` tell the texts apart (their exact name bytes),
    // parallel to `codes` and `names`.
    void appendComparison(const ListStore& codes, const ListStore& names,
                          const std::vector<std::string>& keys, StrengthRule strength);
    void clear();
    // Keeps each compared pair once, ordered by its texts' positions; pairs that are
    // different texts stay apart even when their lines read the same. A comparison whose
    // texts do not continue the previous one's (same code and key at every shared position)
    // starts a new gathering, whose texts count as different texts.
    void removeRepeats();

private:
    struct Impl;
    Impl& mutableImpl();
    std::shared_ptr<Impl> impl_;
};

}  // namespace pelmora
