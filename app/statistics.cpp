#include "app/statistics.h"

#include <cmath>
#include <cstdlib>

#include "rules/rule_book.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

// `strengths(visit)` calls visit(x) for every strength in list order.
template <typename Strengths>
StrengthStatistics statisticsOf(const Strengths& strengths) {
    StrengthStatistics stats;
    std::array<std::int64_t, StrengthStatistics::kValues> ofValue{};
    strengths([&](int x) { ++ofValue[static_cast<std::size_t>(x)]; });
    double sum = 0;  // whole numbers far below 2^53 add exactly in any order
    for (int x = 0; x < StrengthStatistics::kValues; ++x) {
        stats.count += ofValue[static_cast<std::size_t>(x)];
        sum += static_cast<double>(x) * static_cast<double>(ofValue[static_cast<std::size_t>(x)]);
    }
    const std::int64_t n = stats.count;
    if (n == 0) {
        stats.mean = stats.stDev = kNotAvailable;
        return stats;
    }
    stats.mean = fourDecimalText(sum / static_cast<double>(n));
    const auto meanUnits = static_cast<std::int64_t>(std::llround(decimalParse(stats.mean) * 1e4));
    std::array<double, StrengthStatistics::kValues> squareValue{};
    for (int x = 0; x < StrengthStatistics::kValues; ++x) {
        const std::int64_t units = std::llabs(std::int64_t{x} * 10000 - meanUnits);
        stats.deviation[static_cast<std::size_t>(x)] =
            fourDecimalText(static_cast<double>(units) / 1e4);
        stats.square[static_cast<std::size_t>(x)] =
            doubleText(static_cast<double>(units * units) / 1e8);
        squareValue[static_cast<std::size_t>(x)] =
            decimalParse(stats.square[static_cast<std::size_t>(x)]);
    }
    if (n < 2) {
        stats.stDev = kNotAvailable;
        return stats;
    }
    // Doubles do not add associatively, so the squares go in one by one, in list order.
    double squareSum = 0;
    strengths([&](int x) { squareSum += squareValue[static_cast<std::size_t>(x)]; });
    stats.squareSum = squareSum;
    const double variance = decimalParse(fourDecimalText(squareSum / static_cast<double>(n - 1)));
    stats.stDev = fourDecimalText(std::sqrt(variance));
    const double stDev = decimalParse(stats.stDev);
    if (stDev == 0) {
        return stats;
    }
    for (int x = 0; x < StrengthStatistics::kValues; ++x) {
        if (ofValue[static_cast<std::size_t>(x)] == 0) {
            continue;
        }
        const double deviation = decimalParse(stats.deviation[static_cast<std::size_t>(x)]);
        const double quotient = decimalParse(fourDecimalText(deviation / stDev));
        stats.significant[static_cast<std::size_t>(x)] = quotient > RuleBook::kSignificanceAbove;
    }
    return stats;
}

}  // namespace

StrengthStatistics strengthStatistics(const PairList& pairs) {
    // A pair at a time through a function object would cost more than the sums themselves.
    return statisticsOf([&pairs](const auto& visit) {
        pairs.forEachPair([&](const PairList::Pair& p) {
            visit(p.strength);
            return true;
        });
    });
}

StrengthStatistics strengthStatistics(const StrengthSequence& strengths) {
    return statisticsOf(
        [&strengths](const auto& visit) { strengths(std::function<void(int)>(visit)); });
}

}  // namespace pelmora
