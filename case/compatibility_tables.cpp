#include "case/compatibility_tables.h"

#include <array>

#include "app/statistics.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

constexpr std::array<std::string_view, 5> kTableNames = {"qk", "kk", "qr", "qq", "matched"};
constexpr std::string_view kAllKnown = "all known texts";

const char* yesNo(bool value) {
    return value ? "yes" : "no";
}

std::string meanText(const std::optional<double>& mean) {
    return mean ? fourDecimalText(*mean) : std::string(kNotAvailable);
}

class TableWriter {
public:
    TableWriter(const RunResult& run, NameStyle style) : run_(run), style_(style) {}

    std::string name(int position) const {
        return shownName(run_.texts[static_cast<std::size_t>(position)].name, style_);
    }

    TableRow pairRow(const TextComparison& c) const {
        return {name(c.first),   name(c.second),   std::to_string(c.strength),
                agreeingText(c), differingText(c), yesNo(c.minimal)};
    }

    void questionedKnown(const Compatibility& compat, std::vector<TableRow>& rows) const {
        rows.push_back(
            {"questioned", "known", "strength", "agreeing", "differing", "minimal", "verdict"});
        for (const auto& known : compat.questionedKnown) {
            for (const KnownComparison& k : known) {
                TableRow row = pairRow(k.pair);
                row.push_back(verdictText(k));
                rows.push_back(std::move(row));
            }
        }
    }

    void knownKnown(const Compatibility& compat, std::vector<TableRow>& rows) const {
        rows.push_back({"known", "mean_strength", "off_type"});
        for (const KnownStanding& k : compat.known.texts) {
            rows.push_back({name(k.known), meanText(k.meanStrength), yesNo(k.offType)});
        }
        rows.push_back({std::string(kAllKnown), meanText(compat.known.meanStrength), ""});
    }

    void questionedReference(const Compatibility& compat, std::vector<TableRow>& rows) const {
        rows.push_back({"questioned", "strength", "reference_texts", "share_at_least"});
        for (const ReferenceDistribution& d : compat.questionedReference) {
            for (int s = 0; s < static_cast<int>(d.atStrength.size()); ++s) {
                const std::optional<double> share = d.shareAtLeast(s);
                rows.push_back({name(d.questioned), std::to_string(s),
                                std::to_string(d.atStrength[static_cast<std::size_t>(s)]),
                                share ? wholePercentText(*share) : std::string(kNotAvailable)});
            }
        }
    }

    void questionedPairs(const Compatibility& compat, std::vector<TableRow>& rows) const {
        rows.push_back(
            {"questioned", "other_questioned", "strength", "agreeing", "differing", "minimal"});
        for (const TextComparison& c : compat.questionedPairs) {
            rows.push_back(pairRow(c));
        }
    }

    void matched(const Compatibility& compat, std::vector<TableRow>& rows) const {
        rows.push_back({"reference"});
        for (int r : compat.matchedReference) {
            rows.push_back({name(r)});
        }
    }

private:
    const RunResult& run_;
    NameStyle style_;
};

}  // namespace

std::string_view caseTableName(CaseTable table) {
    return kTableNames[static_cast<std::size_t>(table)];
}

std::optional<CaseTable> caseTableNamed(std::string_view name) {
    for (std::size_t i = 0; i < kTableNames.size(); ++i) {
        if (kTableNames[i] == name) {
            return static_cast<CaseTable>(i);
        }
    }
    return std::nullopt;
}

std::vector<TableRow> caseTable(const RunResult& run, const Compatibility& compatibility,
                                CaseTable table, NameStyle style) {
    const TableWriter writer(run, style);
    std::vector<TableRow> rows;
    switch (table) {
        case CaseTable::QuestionedKnown:
            writer.questionedKnown(compatibility, rows);
            break;
        case CaseTable::KnownKnown:
            writer.knownKnown(compatibility, rows);
            break;
        case CaseTable::QuestionedReference:
            writer.questionedReference(compatibility, rows);
            break;
        case CaseTable::QuestionedQuestioned:
            writer.questionedPairs(compatibility, rows);
            break;
        case CaseTable::Matched:
            writer.matched(compatibility, rows);
            break;
    }
    return rows;
}

std::vector<std::optional<std::pair<int, int>>> caseTablePairs(const Compatibility& compatibility,
                                                               CaseTable table) {
    std::vector<std::optional<std::pair<int, int>>> rows;
    switch (table) {
        case CaseTable::QuestionedKnown:
            for (const auto& known : compatibility.questionedKnown) {
                for (const KnownComparison& k : known) {
                    rows.emplace_back(std::pair{k.pair.first, k.pair.second});
                }
            }
            break;
        case CaseTable::KnownKnown: {
            const std::vector<KnownStanding>& known = compatibility.known.texts;
            for (std::size_t i = 0; i < known.size(); ++i) {
                if (known.size() > 1) {
                    rows.emplace_back(
                        std::pair{known[i].known, known[(i + 1) % known.size()].known});
                } else {
                    rows.emplace_back();
                }
            }
            rows.emplace_back();  // every known text
            break;
        }
        case CaseTable::QuestionedQuestioned:
            for (const TextComparison& c : compatibility.questionedPairs) {
                rows.emplace_back(std::pair{c.first, c.second});
            }
            break;
        case CaseTable::QuestionedReference:
            rows.resize(compatibility.questionedReference.size() *
                        ReferenceDistribution{}.atStrength.size());
            break;
        case CaseTable::Matched:
            rows.resize(compatibility.matchedReference.size());
            break;
    }
    return rows;
}

void appendStabilityColumn(std::vector<TableRow>& questionedKnown,
                           const Compatibility& compatibility, int resamples) {
    if (questionedKnown.empty()) {
        return;
    }
    auto row = questionedKnown.begin();
    row++->push_back("stability");
    for (const auto& known : compatibility.questionedKnown) {
        for (const KnownComparison& k : known) {
            if (row == questionedKnown.end()) {
                return;
            }
            row++->push_back(
                pairStabilityText(k.pair.stability.value_or(PairStability{}), resamples));
        }
    }
}

std::string agreeingText(const TextComparison& comparison) {
    std::string out;
    for (std::size_t k = 0; k < comparison.agrees.size(); ++k) {
        if (comparison.agrees[k]) {
            out += (out.empty() ? "" : ", ") + std::string(kCategoryNames[k]);
        }
    }
    return out;
}

std::string differingText(const TextComparison& comparison) {
    std::string out;
    for (const DigitDifference& d : comparison.differences) {
        out += out.empty() ? "" : "; ";
        out += std::string(kCategoryNames[static_cast<std::size_t>(d.category)]) + ": " +
               d.firstText + " / " + d.secondText;
        out += d.near ? " (near threshold)" : "";
    }
    return out;
}

}  // namespace pelmora
