// The results by role and their reliability: the sections that read the run's figures.

#include "explanation/captions.h"
#include "explanation/digit_evidence.h"
#include "report/case_report_parts.h"
#include "report/validation_charts.h"
#include "stores/number_text.h"
#include "validation/validation_tables.h"

namespace pelmora::report {

namespace {

std::vector<std::vector<std::string>> tableOf(const ReportFacts& f, CaseTable table) {
    return caseTable(f.run, f.compatibility, table, NameStyle::Escaped);
}

// The codes, then each digit's category and margin: the smallest move of one of its
// thresholds that would change it.
void codesTable(ReportSection& s, const ReportFacts& f, const std::vector<int>& positions) {
    std::vector<std::vector<std::string>> codes = {{"role", "text", "code"}};
    std::vector<std::vector<std::string>> digits = {
        {"text", "digit", "category", "margin", "threshold moved"}};
    for (const int p : positions) {
        const TextRecord& t = f.run.texts[static_cast<std::size_t>(p)];
        codes.push_back({reportRole(f, p), reportName(f.run, p), t.code});
        const TextEvidence evidence = explainText(t);
        for (std::size_t k = 0; k < evidence.digits.size(); ++k) {
            const DigitEvidence& d = evidence.digits[k];
            const auto& move = d.decisiveMove;
            digits.push_back({reportName(f.run, p), kCategoryNames[k],
                              d.categoryText.empty() ? std::string("none") : d.categoryText,
                              move ? signedDensity(move->second) : "no move of one changes it",
                              move ? thresholdInfo(move->first).name : ""});
        }
    }
    s.table(std::move(codes));
    s.heading("Each digit and its margin");
    s.table(std::move(digits));
}

ReportChart referenceChart(const ReportFacts& f) {
    ReportChart chart = strengthBars(
        "Reference texts reaching each strength with each questioned text", "reference texts");
    for (const ReferenceDistribution& d : f.compatibility.questionedReference) {
        ReportChart::Series series{reportName(f.run, d.questioned), {}, {}};
        for (const int n : d.atStrength) {
            series.values.push_back(n);
        }
        chart.series.push_back(std::move(series));
    }
    return chart;
}

void knownResults(ReportSection& s, const ReportFacts& f) {
    s.heading("Questioned against known texts");
    s.table(tableOf(f, CaseTable::QuestionedKnown));
    // Each pair once more in a sentence, with where its strength stands among the reference
    // texts: what a reader quotes.
    for (const std::vector<KnownComparison>& row : f.compatibility.questionedKnown) {
        for (const KnownComparison& k : row) {
            const std::string share = shareSentence(k);
            s.paragraph(reportName(f.run, k.pair.first) + " and " +
                        reportName(f.run, k.pair.second) + ", strength " +
                        std::to_string(k.pair.strength) + ": " + verdictText(k) +
                        (share.empty() ? "." : "; " + share + "."));
        }
    }
    s.heading("Known texts among themselves");
    s.table(tableOf(f, CaseTable::KnownKnown));
}

void referenceResults(ReportSection& s, const ReportFacts& f) {
    s.heading("Reference texts against the questioned texts");
    if (f.compatibility.texts.reference.empty()) {
        s.paragraph("The case has no reference texts.");
        return;
    }
    s.chart(referenceChart(f));
    s.table(tableOf(f, CaseTable::QuestionedReference));
    const std::size_t matched = f.compatibility.matchedReference.size();
    s.paragraph(std::to_string(matched) + " of " +
                std::to_string(f.compatibility.texts.reference.size()) +
                " reference texts reach at least " + std::to_string(f.compatibility.level) +
                " with every questioned text" + (matched > 0 ? ":" : "."));
    if (matched > 0) {
        s.table(tableOf(f, CaseTable::Matched));
    }
}

}  // namespace

ReportSection resultsSection(const ReportFacts& f) {
    ReportSection s{"Results", {}};
    const CaseTexts& texts = f.compatibility.texts;
    std::vector<int> shown = texts.questioned;
    if (f.visible.known) {
        shown.insert(shown.end(), texts.known.begin(), texts.known.end());
    }
    s.heading(f.visible.known ? "Codes of the questioned and known texts"
                              : "Codes of the questioned texts");
    codesTable(s, f, shown);
    if (!texts.notAnalysed.empty()) {
        std::vector<std::string> names;
        for (const std::string& n : texts.notAnalysed) {
            names.push_back(shownName(n, NameStyle::Escaped));
        }
        s.paragraph("Given a role but not analysed: " + joinedWithAnd(names) + ".");
    }
    if (texts.questioned.size() > 1) {
        s.heading("Questioned texts among themselves");
        s.table(tableOf(f, CaseTable::QuestionedQuestioned));
    }
    if (!f.visible.known || !f.visible.reference) {
        s.paragraph(
            "The known and reference results are withheld until the questioned texts "
            "are locked.");
        return s;
    }
    knownResults(s, f);
    referenceResults(s, f);
    return s;
}

namespace {

void nearAndWarnings(ReportSection& s, const ReportFacts& f, const std::vector<int>& positions) {
    std::vector<std::vector<std::string>> near = {{"text", "digits near a threshold"}};
    std::vector<std::vector<std::string>> warned = {{"text", "warnings"}};
    for (const int p : positions) {
        const TextRecord& t = f.run.texts[static_cast<std::size_t>(p)];
        std::vector<std::string> digits;
        for (std::size_t k = 0; k < t.near.size(); ++k) {
            if (t.near[k]) {
                digits.push_back(kCategoryNames[k]);
            }
        }
        if (!digits.empty()) {
            near.push_back({reportName(f.run, p), joinedWithAnd(digits)});
        }
        for (const FileQuality& q : f.run.quality) {
            if (q.position == p && !q.warnings.empty()) {
                warned.push_back({reportName(f.run, p), joinedWithAnd(q.warnings)});
            }
        }
    }
    s.heading("Digits near a threshold");
    if (near.size() == 1) {
        s.paragraph("No digit of these texts lies near its threshold.");
    } else {
        s.table(std::move(near));
    }
    s.heading("Input warnings");
    if (warned.size() == 1) {
        s.paragraph("No text of the case has an input warning.");
    } else {
        s.table(std::move(warned));
    }
}

void stabilityPart(ReportSection& s, const ReportFacts& f, const std::vector<int>& positions) {
    s.heading("Stability");
    if (!f.stability) {
        s.paragraph("Stability was not measured for this run.");
        return;
    }
    std::vector<std::vector<std::string>> rows = {{"text", "stability"}};
    for (const int p : positions) {
        const TextStability* t = f.stability->of(p);
        rows.push_back({reportName(f.run, p),
                        t != nullptr ? textStabilitySummary(*t) : std::string("not measured")});
    }
    s.table(std::move(rows));
}

void validationPart(ReportSection& s, const ReportFacts& f) {
    s.heading("Validation on labelled texts");
    if (!f.validation) {
        s.paragraph("Not measured: " + f.validationMissing + ".");
        return;
    }
    const Validation& v = *f.validation;
    s.table(validationTable(v, ValidationTable::Summary));
    if (!v.notAvailable.empty()) {
        s.paragraph("The separation figures are not available: " + v.notAvailable + ".");
        return;
    }
    s.paragraph(validationSentence(v));
    for (ReportChart& chart : validationCharts(v)) {
        s.chart(std::move(chart));
    }
    s.table(validationTable(v, ValidationTable::Labels));
}

}  // namespace

ReportSection reliabilitySection(const ReportFacts& f) {
    ReportSection s{"Reliability", {}};
    const CaseTexts& texts = f.compatibility.texts;
    std::vector<int> shown = texts.questioned;
    if (f.visible.known && f.visible.reference) {
        shown.insert(shown.end(), texts.known.begin(), texts.known.end());
        shown.insert(shown.end(), texts.reference.begin(), texts.reference.end());
    }
    nearAndWarnings(s, f, shown);
    stabilityPart(s, f, shown);
    s.heading("Sensitivity");
    s.paragraph("How many codes and strengths change when " + sensitivityMovesText() + ":");
    s.table(sensitivityTable(f.run, runSensitivity(f.run)));
    validationPart(s, f);
    return s;
}

}  // namespace pelmora::report
