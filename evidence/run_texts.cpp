#include "evidence/run_texts.h"

#include "app/report.h"
#include "forms/form2.h"

namespace pelmora {

std::string reportShown(const RunResult& run, NameStyle style) {
    if (style == NameStyle::Exact) {
        return run.report;
    }
    std::string all, minimal, significant;
    const auto line = [&](const RunPair& p) {
        return shownName(run.texts[static_cast<std::size_t>(p.first)].name, style) + "-" +
               shownName(run.texts[static_cast<std::size_t>(p.second)].name, style) + "\t" +
               std::to_string(p.strength) + "\r\n";
    };
    run.pairs.forEach([&](const RunPair& p) {
        all += line(p);
        minimal += p.minimal ? line(p) : "";
        significant += p.significant ? line(p) : "";
    });
    std::vector<SkippedFile> leftOut = run.leftOut;
    for (SkippedFile& file : leftOut) {
        file.name = shownName(file.name, style);
    }
    return Form2::kReportHeader + reportText(ReportContent{all, minimal, run.mean, run.stDev,
                                                           significant, &leftOut});
}

std::string typesShown(const RunResult& run, NameStyle style) {
    if (style == NameStyle::Exact) {
        return run.types;
    }
    std::string out;
    for (const TextRecord& t : run.texts) {
        out += t.code + "\t" + shownName(t.name, style) + "\r\n";
    }
    return out;
}

}  // namespace pelmora
