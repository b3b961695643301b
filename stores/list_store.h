#pragma once
// An ordered list of texts addressed by zero-based position, with one selected entry.
// The sorted variant keeps its entries in case-insensitive text order.

#include <cassert>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelmora {

class ListStore {
public:
    enum class Order { Insertion, Sorted };

    explicit ListStore(Order order = Order::Insertion) : order_(order) {}

    int count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    const std::string& at(int i) const {
        assert(i >= 0 && i < count());
        return items_[static_cast<std::size_t>(i)];
    }
    // Reads beyond either end as the empty text.
    std::string_view get(int i) const {
        return (i >= 0 && i < count()) ? std::string_view(at(i)) : std::string_view{};
    }

    void append(std::string text);
    // Replaces entry i in place; for insertion-ordered lists only.
    void setAt(int i, std::string text) {
        assert(order_ == Order::Insertion && i >= 0 && i < count());
        items_[static_cast<std::size_t>(i)] = std::move(text);
    }
    void removeAt(int i);
    void clear();

    int selected() const { return selected_; }
    void select(int i) {
        assert(i >= -1 && i < count());
        selected_ = i;
    }

    const std::vector<std::string>& items() const { return items_; }

private:
    Order order_;
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace pelmora
