#include "stores/list_store.h"

#include <algorithm>

#include "stores/text_ops.h"

namespace pelmora {

void ListStore::append(std::string text) {
    if (order_ == Order::Insertion) {
        items_.push_back(std::move(text));
        return;
    }
    // After equal entries, so that entries that compare equal keep their arrival order.
    auto at = std::upper_bound(items_.begin(), items_.end(), text,
                               [](const std::string& a, const std::string& b) {
                                   return compareIgnoreCase(a, b) < 0;
                               });
    const int pos = static_cast<int>(at - items_.begin());
    items_.insert(at, std::move(text));
    if (selected_ >= pos) {
        ++selected_;
    }
}

void ListStore::removeAt(int i) {
    assert(i >= 0 && i < count());
    items_.erase(items_.begin() + i);
    if (selected_ == i) {
        selected_ = -1;
    } else if (selected_ > i) {
        --selected_;
    }
}

void ListStore::clear() {
    items_.clear();
    selected_ = -1;
}

}  // namespace pelmora
