#pragma once
// The author pair columns of the main form: caption k and value list k make column k.
// Thousands of authors make millions of columns, so a caption is kept as the two author lists
// it was written from, and a value the run gives as a strength; both read as their texts.

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "stores/list_store.h"
#include "stores/number_text.h"

namespace pelmora {

class AuthorPairCaptions {
public:
    explicit AuthorPairCaptions(std::string designed) : designed_(std::move(designed)) {}

    std::size_t size() const { return size_; }
    // Creates columns up to `columns`; never removes one.
    void grow(std::size_t columns) { size_ = std::max(size_, columns); }

    // Captions column k, for every k below first.count() * second.count(), as entry
    // k / second.count() of `first`, one space, entry k % second.count() of `second`.
    void writeCaptions(const ListStore& first, const ListStore& second);
    // Whether the last captions written were those of these two lists, over all their columns.
    bool lastWrittenFrom(const ListStore& first, const ListStore& second) const;

    std::string text(std::size_t k) const;

private:
    // Captions written by one press, over columns 0 to columns - 1.
    struct Writing {
        ListStore first, second;
        std::size_t columns;
    };
    std::string designed_;  // of column 0 until captions are written
    std::size_t size_ = 1;
    std::vector<Writing> writings_;  // oldest first, each over fewer columns than the one before
};

class AuthorPairValues {
public:
    std::size_t size() const { return start_.size() - 1; }
    void grow(std::size_t columns);

    int count(std::size_t k) const;
    // How many columns hold a value.
    std::size_t filledColumns() const;
    bool empty(std::size_t k) const { return count(k) == 0; }
    // The texts of column k's values, in order.
    ListStore column(std::size_t k) const;
    void append(std::size_t k, std::string text);

    // Appends in bulk: `each(add)` calls add(column, strength) for every value in order, and
    // does the same on every call (it is called twice, to count and then to place).
    template <class Each>
    void appendStrengths(Each each);

    // Calls f(number) for each value of column k in order: a strength as itself, a text as
    // the decimal number it reads as.
    template <class F>
    void forEachNumber(std::size_t k, F f) const;

private:
    // Column k's strengths are strengths_[start_[k] .. start_[k + 1]), unless it has texts.
    std::vector<std::uint32_t> start_{0, 0};
    std::vector<std::uint8_t> strengths_;
    // Columns given a text: all their values, as texts, in order.
    std::unordered_map<std::size_t, ListStore> texts_;

    const ListStore* textsOf(std::size_t k) const;
    void placeCounted(std::vector<std::uint32_t>& added);
};

template <class Each>
void AuthorPairValues::appendStrengths(Each each) {
    const std::size_t columns = size();
    std::vector<std::uint32_t> added(columns + 1, 0);
    each([&](std::size_t k, [[maybe_unused]] int strength) {
        assert(k < columns && strength >= 0 && strength < 256);
        if (texts_.empty() || !texts_.count(k)) {
            ++added[k];
        }
    });
    placeCounted(added);
    // `added` now holds each column's next free place.
    each([&](std::size_t k, int strength) {
        if (!texts_.empty()) {
            if (const auto t = texts_.find(k); t != texts_.end()) {
                t->second.append(intText(strength));
                return;
            }
        }
        strengths_[added[k]++] = static_cast<std::uint8_t>(strength);
    });
}

template <class F>
void AuthorPairValues::forEachNumber(std::size_t k, F f) const {
    if (const ListStore* texts = textsOf(k)) {
        for (const std::string& t : texts->items()) {
            f(decimalParse(t));
        }
        return;
    }
    for (std::uint32_t i = start_[k]; i < start_[k + 1]; ++i) {
        f(static_cast<double>(strengths_[i]));
    }
}

}  // namespace pelmora
