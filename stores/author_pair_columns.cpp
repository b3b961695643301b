#include "stores/author_pair_columns.h"

#include <algorithm>
#include <limits>

namespace pelmora {

namespace {

bool readTheSame(const ListStore& a, const ListStore& b) {
    return a.sharesEntriesWith(b) || a.items() == b.items();
}

}  // namespace

void AuthorPairCaptions::writeCaptions(const ListStore& first, const ListStore& second) {
    const std::size_t columns =
        static_cast<std::size_t>(first.count()) * static_cast<std::size_t>(second.count());
    if (columns == 0) {
        return;
    }
    assert(columns <= size_);
    // Earlier captions stay only on the columns beyond this press's.
    while (!writings_.empty() && writings_.back().columns <= columns) {
        writings_.pop_back();
    }
    writings_.push_back({first, second, columns});
}

bool AuthorPairCaptions::lastWrittenFrom(const ListStore& first, const ListStore& second) const {
    if (writings_.empty()) {
        return false;
    }
    const Writing& w = writings_.back();
    return readTheSame(w.first, first) && readTheSame(w.second, second);
}

std::string AuthorPairCaptions::text(std::size_t k) const {
    assert(k < size_);
    for (auto w = writings_.rbegin(); w != writings_.rend(); ++w) {
        if (k < w->columns) {
            const auto partners = static_cast<std::size_t>(w->second.count());
            const std::string& a = w->first.at(static_cast<int>(k / partners));
            const std::string& b = w->second.at(static_cast<int>(k % partners));
            std::string caption;
            caption.reserve(a.size() + 1 + b.size());
            caption.append(a).append(" ").append(b);
            return caption;
        }
    }
    return k == 0 ? designed_ : std::string();
}

void AuthorPairValues::grow(std::size_t columns) {
    if (columns > size()) {
        start_.resize(columns + 1, start_.back());
    }
}

const ListStore* AuthorPairValues::textsOf(std::size_t k) const {
    if (texts_.empty()) {
        return nullptr;
    }
    const auto t = texts_.find(k);
    return t == texts_.end() ? nullptr : &t->second;
}

int AuthorPairValues::count(std::size_t k) const {
    assert(k < size());
    if (const ListStore* texts = textsOf(k)) {
        return texts->count();
    }
    return static_cast<int>(start_[k + 1] - start_[k]);
}

ListStore AuthorPairValues::column(std::size_t k) const {
    assert(k < size());
    if (const ListStore* texts = textsOf(k)) {
        return *texts;
    }
    ListStore list;
    for (std::uint32_t i = start_[k]; i < start_[k + 1]; ++i) {
        list.append(intText(strengths_[i]));
    }
    return list;
}

void AuthorPairValues::append(std::size_t k, std::string text) {
    assert(k < size());
    auto [t, added] = texts_.try_emplace(k);
    if (added) {
        // The column's strengths become texts, so that its values stay in order.
        for (std::uint32_t i = start_[k]; i < start_[k + 1]; ++i) {
            t->second.append(intText(strengths_[i]));
        }
    }
    t->second.append(std::move(text));
}

std::size_t AuthorPairValues::filledColumns() const {
    std::size_t filled = 0;
    for (std::size_t k = 0; k < size(); ++k) {
        filled += start_[k + 1] != start_[k] && !textsOf(k);
    }
    for (const auto& [k, texts] : texts_) {
        filled += !texts.empty();
    }
    return filled;
}

void AuthorPairValues::placeCounted(std::vector<std::uint32_t>& added) {
    const std::size_t columns = size();
    std::uint64_t total = strengths_.size();
    for (std::size_t k = 0; k < columns; ++k) {
        total += added[k];
    }
    assert(total <= std::numeric_limits<std::uint32_t>::max());
    std::vector<std::uint8_t> strengths(static_cast<std::size_t>(total));
    // The new starts are written over the old ones, each old one read before.
    std::uint32_t at = 0;
    std::uint32_t oldBegin = start_[0];
    for (std::size_t k = 0; k < columns; ++k) {
        const std::uint32_t oldEnd = start_[k + 1];
        start_[k] = at;
        std::copy(strengths_.begin() + oldBegin, strengths_.begin() + oldEnd,
                  strengths.begin() + at);
        at += oldEnd - oldBegin;
        oldBegin = oldEnd;
        const std::uint32_t more = added[k];
        added[k] = at;
        at += more;
    }
    start_[columns] = at;
    strengths_ = std::move(strengths);
}

}  // namespace pelmora
