#include "exports/chart_figures.h"

#include "stores/number_text.h"

namespace pelmora {

namespace {

// The density each threshold is compared with; the classifiable test reads every line.
bool comparedWith(Threshold id, Measure density) {
    switch (id) {
        case Threshold::Classifiable:
            return density >= Measure::D0 && density <= Measure::D8;
        case Threshold::Contractions:
            return density == Measure::D0;
        case Threshold::PassiveCommonPast:
            return density == Measure::D4;
        case Threshold::PassiveInflections:
        case Threshold::PastInflections:
            return density == Measure::D5;
        case Threshold::DefiniteArticle:
            return density == Measure::D6;
        case Threshold::IndefiniteArticle:
            return density == Measure::D7;
        case Threshold::Obligation:
        case Threshold::StrongObligation:
            return density == Measure::ObligationDensity;
        case Threshold::Affect:
        case Threshold::HighAffect:
            return density == Measure::AffectDensity;
    }
    return false;
}

}  // namespace

std::array<DensityBar, kDensityBars> densityBars(const TextRecord& text, const RuleBook& rules) {
    constexpr std::array<std::pair<Measure, Measure>, kDensityBars> kBars = {{
        {Measure::D0, Measure::Contractions},
        {Measure::D1, Measure::FirstPerson},
        {Measure::D2, Measure::SecondPerson},
        {Measure::D3, Measure::ThirdPerson},
        {Measure::D4, Measure::PastTenseWords},
        {Measure::D5, Measure::PastTenseForms},
        {Measure::D6, Measure::DefiniteArticle},
        {Measure::D7, Measure::IndefiniteArticle},
        {Measure::D8, Measure::It},
        {Measure::ObligationDensity, Measure::ObligationCount},
        {Measure::AffectDensity, Measure::AffectCount},
    }};
    std::array<DensityBar, kDensityBars> bars;
    for (std::size_t i = 0; i < kDensityBars; ++i) {
        const auto [density, count] = kBars[i];
        DensityBar& bar = bars[i];
        bar.density = density;
        bar.count = count;
        bar.value = text.text(density);
        bar.number = text.number(density);
        for (const ThresholdInfo& t : kThresholds) {
            if (comparedWith(t.id, density)) {
                bar.thresholds.push_back({t.id, rules[t.id], doubleText(rules[t.id])});
            }
        }
    }
    return bars;
}

StrengthDistribution strengthDistribution(const RunResult& run) {
    StrengthDistribution d;
    for (int s = 0; s <= kHighestStrength; ++s) {
        d.pairs[static_cast<std::size_t>(s)] =
            run.pairs.strengthCounts()[static_cast<std::size_t>(s)];
        d.significant[static_cast<std::size_t>(s)] = run.pairs.significantStrength(s);
    }
    d.mean = run.meanValue;
    d.stDev = run.stDevValue;
    if (d.mean && d.stDev) {
        const double reach = RuleBook::kSignificanceAbove * *d.stDev;
        d.band = std::make_pair(*d.mean - reach, *d.mean + reach);
    }
    return d;
}

}  // namespace pelmora
