#include "record/run_record.h"

#include <map>
#include <set>

#include "record/record_syntax.h"

namespace pelmora {

using record_syntax::digitCounts;

namespace {

void compareStability(const std::string& name, const RecordedStability& was,
                      const RecordedStability& is, int resamples,
                      std::vector<std::string>& differences) {
    if (!is.notMeasured.empty()) {
        differences.push_back(name + ": could not be resampled now (" + is.notMeasured + ")");
        return;
    }
    if (!was.notMeasured.empty()) {
        differences.push_back(name + ": was not measured for the record (" + was.notMeasured +
                              "), now resampled");
        return;
    }
    if (was.tooShort != is.tooShort) {
        differences.push_back(name + (was.tooShort ? ": was too short to resample, now resampled"
                                                   : ": was resampled, now too short to resample"));
        return;
    }
    if (was.codeKept != is.codeKept) {
        differences.push_back(name + ": the whole code held in " + std::to_string(was.codeKept) +
                              " of " + std::to_string(resamples) + " resamples, now in " +
                              std::to_string(is.codeKept));
    }
    for (std::size_t k = 0; k < was.digits.size(); ++k) {
        if (was.digits[k] != is.digits[k]) {
            differences.push_back(name + ": digit " + std::to_string(k + 1) + " resampled as " +
                                  digitCounts(was.digits[k]) + ", now as " +
                                  digitCounts(is.digits[k]));
        }
    }
}

}  // namespace

Verification verifyRun(const RunRecord& recorded, const RunRecord& now, NameStyle style) {
    Verification v;
    if (recorded.version != now.version) {
        v.note = "The record was made by Pelmora " + recorded.version + "; this is Pelmora " +
                 now.version + ".";
    }
    if (recorded.resamples > 0 && recorded.seedingRule != now.seedingRule) {
        v.note += std::string(v.note.empty() ? "" : "\n") +
                  "The record's resamples were drawn by another rule (" + recorded.seedingRule +
                  "); the stability figures cannot agree.";
    }
    const auto named = [style](const RecordedFile& f) {
        return shownName(displayText(f.nameBytes), style);
    };
    std::map<std::string, const RecordedFile*> current;
    for (const RecordedFile& f : now.files) {
        current.emplace(f.nameBytes, &f);
    }
    std::map<std::string, const RecordedFile*> earlier;
    for (const RecordedFile& was : recorded.files) {
        earlier.emplace(was.nameBytes, &was);
        const auto found = current.find(was.nameBytes);
        if (found == current.end()) {
            v.differences.push_back(named(was) + ": missing from the folder");
            continue;
        }
        const RecordedFile& is = *found->second;
        if (was.unreadable || is.unreadable) {
            if (was.unreadable && !is.unreadable) {
                v.differences.push_back(named(was) + ": was left out as unreadable (" + was.reason +
                                        "), is now read");
            } else if (!was.unreadable && is.unreadable) {
                v.differences.push_back(named(was) + ": is now unreadable (" + is.reason + ")");
            }
            continue;
        }
        if (was.byteSize != is.byteSize || was.sha256 != is.sha256) {
            v.differences.push_back(named(was) + ": content changed (" +
                                    std::to_string(was.byteSize) + " bytes, now " +
                                    std::to_string(is.byteSize) + " bytes; SHA-256 differs)");
        }
        if (was.encoding != is.encoding) {
            v.differences.push_back(named(was) + ": encoding was " + was.encoding + ", now " +
                                    is.encoding);
        }
        if (was.code != is.code) {
            v.differences.push_back(named(was) + ": code was " + was.code + ", now " + is.code);
        }
        // A text not resampled now is named even when the record could not resample it either.
        if (was.stability && is.stability &&
            (*was.stability != *is.stability || !is.stability->notMeasured.empty())) {
            compareStability(named(was), *was.stability, *is.stability, recorded.resamples,
                             v.differences);
        }
    }
    v.stabilityCompared = recorded.resamples > 0 && now.resamples > 0;
    for (const RecordedFile& is : now.files) {
        if (!earlier.count(is.nameBytes)) {
            v.differences.push_back(named(is) + ": new file, not in the record");
        }
    }
    return v;
}

std::string verificationText(const Verification& v, std::size_t fileCount) {
    std::string out = v.recordWithoutEndLine
                          ? "The record has no end line (it was written before records had one), "
                            "so it cannot show that it is whole.\n"
                          : "";
    out += v.note.empty() ? "" : v.note + "\n";
    if (v.unchanged()) {
        return out + "Unchanged: " + std::to_string(fileCount) +
               (fileCount == 1 ? " file" : " files") + ", every file and code" +
               (v.stabilityCompared ? " and every stability figure" : "") + " as recorded.\n";
    }
    out += "Changed since the record:\n";
    for (const std::string& d : v.differences) {
        out += d + "\n";
    }
    return out;
}

}  // namespace pelmora
