#pragma once
// The pair lines of a run's comparisons (`lstDogBox`, and `lstDogHouse` for the minimal
// pairs). Every comparison appends the lines of all pairs gathered so far, so the list reads
// as about N³/6 lines for N texts; it is kept as one strength per pair plus the sequence of
// comparisons, so memory and time stay near N²/2 pairs.
//
// A pair line is: earlier name, "-", later name, tab, strength digit.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stores/list_store.h"

namespace pelmora {

class PairList {
public:
    enum class Filter { All, Minimal };  // Minimal keeps the pairs with strength below 3

    struct Pair {
        int roster = 0;  // which gathering of texts the pair belongs to
        int first = 0;   // positions of the two texts in that gathering, first < second
        int second = 0;
        int strength = 0;
        std::string firstName, secondName;
    };

    explicit PairList(Filter filter = Filter::All);
    ~PairList();
    PairList(const PairList&);
    PairList& operator=(const PairList&);
    PairList(PairList&&) noexcept;
    PairList& operator=(PairList&&) noexcept;

    std::int64_t count() const;
    std::string at(std::int64_t k) const;  // the pair line at position k
    Pair pairAt(std::int64_t k) const;
    std::vector<std::string> lines() const;  // every line; for small lists

    // Appends the lines of every pair (i < j) of the gathered texts whose names differ
    // (exact comparison), in the order (0,1), (0,2), ..., (1,2), ...
    void appendComparison(const ListStore& codes, const ListStore& names);
    void clear();
    // Keeps each compared pair once, ordered by its texts' positions; pairs that are
    // different texts stay apart even when their lines read the same. A comparison whose
    // texts do not continue the previous one's (same code and name at every shared position)
    // starts a new gathering, whose texts count as different texts.
    void removeRepeats();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Number of the five code positions at which two type codes agree; a position beyond
// the end of a code reads as the empty text.
int typeCodeStrength(std::string_view a, std::string_view b);

}  // namespace pelmora
