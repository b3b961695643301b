#include "classify/pair_list.h"

#include <cassert>

namespace pelmora {

// Plain representation: every appended line is kept. To be replaced by the compact one.
struct PairList::Impl {
    Filter filter;
    std::vector<Pair> pairs;
};

PairList::PairList(Filter filter) : impl_(std::make_unique<Impl>(Impl{filter, {}})) {}
PairList::~PairList() = default;
PairList::PairList(const PairList& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
PairList& PairList::operator=(const PairList& other) {
    impl_ = std::make_unique<Impl>(*other.impl_);
    return *this;
}
PairList::PairList(PairList&&) noexcept = default;
PairList& PairList::operator=(PairList&&) noexcept = default;

std::int64_t PairList::count() const { return static_cast<std::int64_t>(impl_->pairs.size()); }

PairList::Pair PairList::pairAt(std::int64_t k) const {
    assert(k >= 0 && k < count());
    return impl_->pairs[static_cast<std::size_t>(k)];
}

std::string PairList::at(std::int64_t k) const {
    const Pair p = pairAt(k);
    return p.firstName + "-" + p.secondName + "\t" + std::to_string(p.strength);
}

std::vector<std::string> PairList::lines() const {
    std::vector<std::string> out;
    for (std::int64_t k = 0; k < count(); ++k) {
        out.push_back(at(k));
    }
    return out;
}

void PairList::appendComparison(const ListStore& codes, const ListStore& names) {
    const int n = codes.count();
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (names.get(i) == names.get(j)) {
                continue;
            }
            const int s = typeCodeStrength(codes.at(i), codes.at(j));
            if (impl_->filter == Filter::Minimal && s >= 3) {
                continue;
            }
            impl_->pairs.push_back(
                Pair{0, i, j, s, std::string(names.get(i)), std::string(names.get(j))});
        }
    }
}

void PairList::clear() { impl_->pairs.clear(); }

void PairList::removeRepeats() {}

int typeCodeStrength(std::string_view a, std::string_view b) {
    int s = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        const char x = k < a.size() ? a[k] : '\0';
        const char y = k < b.size() ? b[k] : '\0';
        s += x == y;
    }
    return s;
}

}  // namespace pelmora
