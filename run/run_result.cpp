#include "run/run_result.h"

#include <cassert>
#include <ctime>

namespace pelmora {

std::string utcTimestampOf(std::int64_t secondsSince1970) {
    const auto time = static_cast<std::time_t>(secondsSince1970);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buf;
}

const std::string& TextRecord::text(Measure m) const {
    return measures.text(m);
}

RunPairs::RunPairs(PairList pairs, std::array<bool, 16> significantStrength)
    : pairs_(std::move(pairs)), significant_(significantStrength) {
    assert(pairs_.rosterCount() <= 1);  // a run clears the lists, then gathers once
    pairs_.forEachPair([this](const PairList::Pair& p) {
        ++counts_[static_cast<std::size_t>(p.strength)];
        return true;
    });
}

RunPair RunPairs::pairOf(const PairList::Pair& p) const {
    return RunPair{p.first, p.second, p.strength, isMinimal(p.strength),
                   significant_[static_cast<std::size_t>(p.strength)]};
}

RunPair RunPairs::at(std::int64_t k) const {
    return pairOf(pairs_.pairAt(k));
}

void RunPairs::forEach(const std::function<void(const RunPair&)>& visit) const {
    pairs_.forEachPair([&](const PairList::Pair& p) {
        visit(pairOf(p));
        return true;
    });
}

void RunPairs::forEachWhile(const std::function<bool(const RunPair&)>& visit) const {
    pairs_.forEachPair([&](const PairList::Pair& p) { return visit(pairOf(p)); });
}

std::optional<RunPair> RunPairs::between(int a, int b) const {
    if (pairs_.rosterCount() == 0 || a == b) {
        return std::nullopt;
    }
    const int first = std::min(a, b), second = std::max(a, b);
    const std::optional<int> s = pairs_.listedStrength(0, first, second);
    if (!s) {
        return std::nullopt;
    }
    return pairOf(PairList::Pair{0, first, second, *s});
}

std::array<bool, 5> nearOf(const std::array<DigitMoves, 5>& decisive) {
    std::array<bool, 5> near{};
    for (std::size_t k = 0; k < near.size(); ++k) {
        near[k] = decisive[k].near != 0;
    }
    return near;
}

int RunResult::analysedCount() const {
    int n = 0;
    for (const TextRecord& t : texts) {
        n += t.inRun ? 1 : 0;
    }
    return n;
}

const TextRecord* RunResult::byNameBytes(std::string_view nameBytes) const {
    for (const TextRecord& t : texts) {
        if (t.nameBytes == nameBytes) {
            return &t;
        }
    }
    return nullptr;
}

std::optional<RunPair> RunResult::reportPairAt(std::int64_t line) const {
    const std::optional<PairList::Pair> listed = report.pairAtLine(line);
    if (!listed || listed->roster != 0) {
        return std::nullopt;
    }
    const std::optional<RunPair> pair = pairs.between(listed->first, listed->second);
    return pair && pair->strength == listed->strength ? pair : std::nullopt;
}

}  // namespace pelmora
