#include "stores/list_store.h"

#include <algorithm>

#include "stores/text_ops.h"

namespace pelmora {

const std::vector<std::string> ListStore::kNone;

std::vector<std::string>& ListStore::own() {
    if (!items_) {
        items_ = std::make_shared<std::vector<std::string>>();
    } else if (items_.use_count() > 1) {
        items_ = std::make_shared<std::vector<std::string>>(*items_);
    }
    return *items_;
}

void ListStore::append(std::string text) {
    std::vector<std::string>& items = own();
    if (order_ == Order::Insertion) {
        items.push_back(std::move(text));
        return;
    }
    // After equal entries, so that entries that compare equal keep their arrival order.
    auto at = std::upper_bound(
        items.begin(), items.end(), text,
        [](const std::string& a, const std::string& b) { return compareIgnoreCase(a, b) < 0; });
    const int pos = static_cast<int>(at - items.begin());
    items.insert(at, std::move(text));
    if (selected_ >= pos) {
        ++selected_;
    }
}

void ListStore::removeAt(int i) {
    assert(i >= 0 && i < count());
    std::vector<std::string>& items = own();
    items.erase(items.begin() + i);
    if (selected_ == i) {
        selected_ = -1;
    } else if (selected_ > i) {
        --selected_;
    }
}

void ListStore::clear() {
    items_.reset();
    selected_ = -1;
}

}  // namespace pelmora
