#include "report/case_report.h"

#include <algorithm>

#include "explanation/captions.h"
#include "report/case_report_parts.h"
#include "stores/number_text.h"
#include "stores/text_encoding.h"
#include "version/version.h"

namespace pelmora {

namespace report {

namespace {

std::string given(const std::string& value) {
    return value.empty() ? "not given" : value;
}

// Whether the stored run read exactly the files of this run, by name, size and SHA-256.
std::vector<std::string> differencesFromLastRun(const ReportFacts& f) {
    const RunRecord now = recordOf(f.run, f.input.created);
    return verifyRun(*f.input.lastRun, now, NameStyle::Escaped).differences;
}

std::string unmaskingSentence(UnmaskingStage stage) {
    switch (stage) {
        case UnmaskingStage::Off:
            return "Sequential unmasking was not used in this case.";
        case UnmaskingStage::Unlocked:
            return "Sequential unmasking is on and the questioned texts are not yet locked: this "
                   "report shows only the questioned texts' own results.";
        case UnmaskingStage::Locked:
            return "Sequential unmasking: the questioned texts were examined and locked before "
                   "the known and reference results were shown; the lock is in the audit log.";
    }
    return {};
}

}  // namespace

std::string reportName(const RunResult& run, int position) {
    return shownName(run.texts[static_cast<std::size_t>(position)].name, NameStyle::Escaped);
}

std::string reportRole(const ReportFacts& f, int position) {
    return std::string(roleName(
        f.input.metadata.roleOf(f.run.texts[static_cast<std::size_t>(position)].nameBytes)));
}

std::string joinedWithAnd(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    }
    return out;
}

ReportSection caseSection(const ReportFacts& f) {
    const CaseDetails& d = f.input.details;
    ReportSection s{"Case and instructions", {}};
    s.facts({{"Case number", given(d.number)},
             {"Examiner", given(d.examiner)},
             {"Question asked", given(d.question)},
             {"Notes", given(d.notes)},
             {"Date of this report", f.input.created},
             {"Case file", displayText(f.input.caseFile)},
             {"Folder of the texts", displayText(f.run.folder.string())}});
    return s;
}

ReportSection itemsSection(const ReportFacts& f) {
    ReportSection s{"Items and their integrity", {}};
    s.paragraph(std::to_string(f.run.analysedCount()) +
                " texts were analysed. Each is identified by the SHA-256 digest of its bytes as "
                "read; a text with the same digest has the same bytes.");
    std::vector<std::vector<std::string>> rows = {
        {"role", "text", "size (bytes)", "encoding", "words", "warnings"}};
    std::vector<std::vector<std::string>> digests = {{"text", "SHA-256"}};
    for (const FileQuality& q : f.run.quality) {
        if (q.position < 0) {
            rows.push_back({"", shownName(q.name, NameStyle::Escaped), "", "", "",
                            "left out: " + joinedWithAnd(q.warnings)});
            continue;
        }
        std::string warnings;
        for (const std::string& w : q.warnings) {
            warnings += (warnings.empty() ? "" : "; ") + w;
        }
        rows.push_back({reportRole(f, q.position), reportName(f.run, q.position), q.size,
                        q.encoding, q.words, warnings});
        digests.push_back({reportName(f.run, q.position),
                           f.run.texts[static_cast<std::size_t>(q.position)].file.sha256});
    }
    s.table(std::move(rows));
    s.table(std::move(digests));
    if (!f.input.lastRun) {
        s.paragraph("The case file holds no earlier run of the folder.");
    } else if (const std::vector<std::string> changed = differencesFromLastRun(f);
               changed.empty()) {
        s.paragraph(
            "The folder holds the same files, by name, size and SHA-256, as the case's "
            "last stored run of " +
            f.input.lastRun->created + ".");
    } else {
        s.paragraph("The folder differs from the case's last stored run of " +
                    f.input.lastRun->created + ": " + joinedWithAnd(changed) + ".");
    }
    if (!f.input.log.empty()) {
        s.paragraph("The case file's audit log holds " + std::to_string(f.input.log.size()) +
                    " entries; its last entry's hash is " + f.input.log.back().hash + ".");
    }
    s.paragraph(f.input.tampering
                    ? "The log's chain of hashes is broken: " + *f.input.tampering + "."
                    : "Each entry of the log carries the hash of the entry before "
                      "it, and the chain is whole.");
    s.paragraph(unmaskingSentence(f.input.unmasking));
    return s;
}

ReportSection methodSection(const ReportFacts& f) {
    ReportSection s{"Method", {}};
    std::vector<std::string> categories(kCategoryNames.begin(), kCategoryNames.end());
    s.paragraph(
        "Each text is read as plain text and its words are counted. The densities of "
        "marker words (occurrences per word of the text) decide the five digits of its "
        "type code, one for each of " +
        joinedWithAnd(categories) + ", by the thresholds below.");
    std::vector<std::vector<std::string>> rows = {{"threshold", "compared with", "value"}};
    for (const ThresholdInfo& t : kThresholds) {
        rows.push_back({t.name, t.measure, fourDecimalText(f.run.rules[t.id])});
    }
    s.table(std::move(rows));
    const StatedConstants c;
    s.paragraph(
        "The strength of a pair of texts is the number of the five digits on which their codes "
        "agree, from 0 to 5 (" +
        strengthKeyText(c) + "). A pair of strength below " + std::to_string(c.minimalBelow) +
        " is a minimal relationship: the texts are not comparable in text type. The mean and the "
        "sample standard deviation of the strengths of all pairs describe the folder; a pair "
        "whose strength lies more than " +
        doubleText(c.significanceAbove) + " standard deviations from the mean is off the norm.");
    s.paragraph(
        "A digit's margin is the smallest move of one of its thresholds that would "
        "change it. A digit is near its threshold when a move of one threshold by at most " +
        doubleText(c.nearMargin) + " would change it. A text of fewer than " +
        std::to_string(c.reliableWords) + " words gives densities that rest on too few words.");
    s.paragraph(
        "Each questioned text is compared with each known text: compatible when all "
        "digits agree, differing in the named categories otherwise, and not comparable "
        "when the pair is a minimal relationship. A known text whose mean strength with "
        "the other known texts is minimal is off-type. A reference text matches the "
        "case when its strength with every questioned text is at least " +
        std::to_string(f.input.level) + ".");
    const RunRecord* last = f.input.lastRun ? &*f.input.lastRun : nullptr;
    if (f.stability && last != nullptr) {
        StatedConstants measured;
        measured.resamples = last->resamples;
        measured.blockWords = last->blockWords;
        s.paragraph("Stability: each text was resampled " + std::to_string(last->resamples) +
                    " times in blocks of " + std::to_string(last->blockWords) + " words; " +
                    unstableKeyText(measured) + ".");
    }
    s.paragraph("Sensitivity: the codes and strengths are worked out again when " +
                sensitivityMovesText(c) + ".");
    s.facts({{"Software", f.input.software}});
    return s;
}

ReportSection limitationsSection(const ReportFacts& f) {
    ReportSection s{"Limitations", {}};
    s.paragraph(
        "The type code describes the type of a text (the register it is written in), "
        "not its author. Texts of one author in different registers can differ in "
        "code, and texts of different authors in one register can share it: a high "
        "strength says that texts are comparable for an authorship comparison, not "
        "that one person wrote them.");
    s.paragraph(
        "The densities count marker words from fixed word lists; other words are not "
        "counted, and every figure rests on the length of its text (see Reliability).");
    std::vector<std::string> missing;
    if (!f.stability) {
        missing.push_back("stability (no resampling is stored for this run)");
    }
    if (!f.validation) {
        missing.push_back("validation (" + f.validationMissing + ")");
    }
    if (!f.visible.known || !f.visible.reference) {
        missing.push_back(
            "the known and reference results (withheld until the questioned "
            "texts are locked)");
    }
    s.paragraph(missing.empty() ? "Every figure this report can give was measured."
                                : "Not measured for this report: " + joinedWithAnd(missing) + ".");
    return s;
}

ReportSection auditSection(const ReportFacts& f) {
    ReportSection s{"Audit log", {}};
    std::vector<std::vector<std::string>> rows = {{"entry", "time", "action", "details", "hash"}};
    for (const AuditEntry& e : f.input.log) {
        rows.push_back(
            {std::to_string(e.sequence), e.time, e.action, displayText(e.details), e.hash});
    }
    s.table(std::move(rows));
    return s;
}

}  // namespace report

std::optional<RunStability> recordedStability(const RunRecord& record, const RunResult& run) {
    if (record.resamples <= 0) {
        return std::nullopt;
    }
    RunStability out;
    out.options.resamples = record.resamples;
    out.options.blockWords = record.blockWords;
    for (const TextRecord& t : run.texts) {
        const auto file =
            std::find_if(record.files.begin(), record.files.end(),
                         [&](const RecordedFile& r) { return r.nameBytes == t.nameBytes; });
        if (file == record.files.end() || !file->stability || file->sha256 != t.file.sha256) {
            continue;
        }
        const RecordedStability& r = *file->stability;
        TextStability s;
        s.position = t.position;
        s.tooShort = r.tooShort;
        s.notMeasured = r.notMeasured;
        for (std::size_t k = 0; k < s.digits.size(); ++k) {
            s.digits[k].digit = k < t.code.size() ? t.code[k] : '0';
            s.digits[k].ofDigit = r.digits[k];
            for (const int n : r.digits[k]) {
                s.digits[k].resamples += n;
            }
        }
        s.codeKept = static_cast<double>(r.codeKept) / record.resamples;
        out.texts.push_back(std::move(s));
    }
    return out;
}

Result<CaseReportInput> caseReportInputOf(const CaseFile& file, const RunResult& run,
                                          std::string created) {
    CaseReportInput in;
    in.run = &run;
    in.caseFile = file.file().string();
    const Result<CaseDetails> details = file.details();
    const Result<Metadata> metadata = file.metadata();
    const Result<std::optional<RunRecord>> last = file.lastRun();
    const Result<std::vector<AuditEntry>> log = file.log();
    const Result<std::optional<std::string>> tampering = file.tampering();
    const Result<UnmaskingStage> stage = file.unmasking();
    for (const Error* e :
         {details.ok() ? nullptr : &details.error(), metadata.ok() ? nullptr : &metadata.error(),
          last.ok() ? nullptr : &last.error(), log.ok() ? nullptr : &log.error(),
          tampering.ok() ? nullptr : &tampering.error(), stage.ok() ? nullptr : &stage.error()}) {
        if (e != nullptr) {
            return *e;
        }
    }
    in.details = details.value();
    in.metadata = metadata.value();
    in.lastRun = last.value();
    in.log = log.value();
    in.tampering = tampering.value();
    in.unmasking = stage.value();
    in.software = programVersion();
    in.created = std::move(created);
    return in;
}

std::vector<std::string> caseReportSections() {
    return {"Case and instructions",
            "Items and their integrity",
            "Method",
            "Results",
            "Reliability",
            "Limitations",
            "Audit log"};
}

ReportDocument caseReport(const CaseReportInput& input) {
    const RunResult& run = *input.run;
    report::ReportFacts f{input,
                          run,
                          compatibilityOf(run, input.metadata, input.level),
                          visibleResults(input.unmasking),
                          std::nullopt,
                          std::nullopt,
                          {}};
    if (input.lastRun) {
        f.stability = recordedStability(*input.lastRun, run);
    }
    if (const std::optional<Error> e = labelColumnError(input.metadata, input.labelColumn)) {
        f.validationMissing = "the metadata has no column \"" + input.labelColumn + "\"";
    } else if (!f.visible.known || !f.visible.reference) {
        f.validationMissing = "withheld until the questioned texts are locked";
    } else {
        f.validation = validateLabels(run, input.metadata, input.labelColumn,
                                      f.stability ? &*f.stability : nullptr)
                           .value();
    }
    ReportDocument d;
    d.title = "Text type comparison: case report";
    d.created = input.created;
    d.sections = {report::caseSection(f),        report::itemsSection(f),
                  report::methodSection(f),      report::resultsSection(f),
                  report::reliabilitySection(f), report::limitationsSection(f),
                  report::auditSection(f)};
    return d;
}

}  // namespace pelmora
