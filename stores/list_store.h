#pragma once
// An ordered list of texts addressed by zero-based position, with one selected entry.
// The sorted variant keeps its entries in case-insensitive text order. Copies share their
// entries until one of them changes, so a list loaded for every text costs one load.

#include <cassert>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelmora {

class ListStore {
public:
    enum class Order { Insertion, Sorted };

    explicit ListStore(Order order = Order::Insertion) : order_(order) {}

    int count() const { return static_cast<int>(items().size()); }
    bool empty() const { return items().empty(); }

    const std::string& at(int i) const {
        assert(i >= 0 && i < count());
        return items()[static_cast<std::size_t>(i)];
    }
    // Reads beyond either end as the empty text.
    std::string_view get(int i) const {
        return (i >= 0 && i < count()) ? std::string_view(at(i)) : std::string_view{};
    }

    void append(std::string text);
    void reserve(int n) { own().reserve(static_cast<std::size_t>(n)); }
    // Replaces entry i in place; for insertion-ordered lists only.
    void setAt(int i, std::string text) {
        assert(order_ == Order::Insertion && i >= 0 && i < count());
        own()[static_cast<std::size_t>(i)] = std::move(text);
    }
    void removeAt(int i);
    void clear();

    int selected() const { return selected_; }
    void select(int i) {
        assert(i >= -1 && i < count());
        selected_ = i;
    }

    const std::vector<std::string>& items() const { return items_ ? *items_ : kNone; }
    // Whether the two share one set of entries, which neither has changed since: then they
    // read the same, without comparing a single entry.
    bool sharesEntriesWith(const ListStore& other) const { return items_ == other.items_; }

private:
    Order order_;
    // The entries, for this list alone to change.
    std::vector<std::string>& own();

    static const std::vector<std::string> kNone;
    std::shared_ptr<std::vector<std::string>> items_;  // none while empty
    int selected_ = -1;
};

}  // namespace pelmora
