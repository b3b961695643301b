#include "stability/stability.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "analysis/form1_commands.h"
#include "app/file_reader.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// An index below n from the generator's own output, the same on every machine (the standard
// library's distributions are not).
std::uint64_t below(std::mt19937_64& rng, std::uint64_t n) {
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    std::uint64_t x = rng();
    while (x >= limit) {
        x = rng();
    }
    return x % n;
}

// The code the run's pipeline gives a text, measured in a workspace of its own.
std::string codeOf(const std::string& text, const RuleBook& rules) {
    ProgramContext context;
    context.setRules(rules);
    context.jobs = 1;
    Form1& form = context.form1();
    form.Text1.setText(text);
    Form1Commands(context).measureAndClassify();
    std::string code;
    const ValueField* fields[] = {&form.lblFormality, &form.lblPersonage, &form.lblPastTenseness,
                                  &form.lblObligationIntention, &form.lblAffect};
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        if (const auto digit = digitOf(static_cast<Category>(k), fields[k]->text())) {
            code.push_back(*digit);
        }
    }
    return code;
}

bool stopAsked(const StabilityOptions& options) {
    return options.cancel != nullptr && options.cancel->load();
}

}  // namespace

std::string stabilityShare(double x) {
    return fixedText(x, 3);
}

double DigitStability::kept() const {
    const int d = digit >= '0' && digit <= '9' ? digit - '0' : -1;
    return resamples == 0 || d < 0
               ? 0.0
               : static_cast<double>(ofDigit[static_cast<std::size_t>(d)]) / resamples;
}

std::vector<std::pair<std::size_t, std::size_t>> wordBlocks(const std::string& text, int words,
                                                            int* wordCount) {
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i])) {
            ++i;
        }
        if (count % words == 0) {
            blocks.emplace_back(start, i);
        } else {
            blocks.back().second = i;
        }
        ++count;
    }
    if (wordCount != nullptr) {
        *wordCount = count;
    }
    return blocks;
}

std::string resampleText(const std::string& text,
                         const std::vector<std::pair<std::size_t, std::size_t>>& blocks,
                         const std::string& sha256, int k) {
    std::vector<std::uint32_t> seed;
    for (std::size_t i = 0; i + 8 <= sha256.size() && seed.size() < 8; i += 8) {
        seed.push_back(static_cast<std::uint32_t>(std::stoul(sha256.substr(i, 8), nullptr, 16)));
    }
    seed.push_back(static_cast<std::uint32_t>(k));
    std::seed_seq sequence(seed.begin(), seed.end());
    std::mt19937_64 rng(sequence);
    std::string out;
    out.reserve(text.size());
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const auto& [start, end] = blocks[below(rng, blocks.size())];
        if (b > 0) {
            out.push_back(' ');
        }
        out.append(text, start, end - start);
    }
    return out;
}

bool TextStability::anyUnstable() const {
    return std::any_of(digits.begin(), digits.end(),
                       [](const DigitStability& d) { return d.unstable(); });
}

int RunStability::unstableTexts() const {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                          [](const TextStability& t) { return t.anyUnstable(); }));
}

int RunStability::notMeasuredTexts() const {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                          [](const TextStability& t) { return !t.measured(); }));
}

// The texts are in run order, so by position: a window asks for two of them per cell.
const TextStability* RunStability::of(int position) const {
    const auto it = std::lower_bound(texts.begin(), texts.end(), position,
                                     [](const TextStability& t, int p) { return t.position < p; });
    return it != texts.end() && it->position == position ? &*it : nullptr;
}

PairStability RunStability::pair(const RunResult& run, const RunPair& p) const {
    PairStability s;
    const TextStability* a = of(p.first);
    const TextStability* b = of(p.second);
    if (a == nullptr || b == nullptr || a->tooShort || b->tooShort || !a->measured() ||
        !b->measured()) {
        return s;
    }
    const std::size_t n = std::min(a->codes.size(), b->codes.size());
    int sameStrength = 0, sameSide = 0, sameStanding = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const int strength = typeCodeStrength(a->codes[k], b->codes[k]);
        sameStrength += strength == p.strength ? 1 : 0;
        sameSide += isMinimal(strength) == p.minimal ? 1 : 0;
        // Off the norm as the run's statistics judge a strength.
        sameStanding += isMinimal(strength) == p.minimal &&
                                run.pairs.significantStrength(strength) == p.significant
                            ? 1
                            : 0;
    }
    s.known = n > 0;
    s.sameStrength = n > 0 ? static_cast<double>(sameStrength) / static_cast<double>(n) : 0;
    s.sameSide = n > 0 ? static_cast<double>(sameSide) / static_cast<double>(n) : 0;
    s.sameStanding = n > 0 ? static_cast<double>(sameStanding) / static_cast<double>(n) : 0;
    s.fragile = (p.minimal || p.significant) && s.sameStanding < kFirmShare;
    return s;
}

namespace {

// Text `t` resampled as the options say, or not measured and why; none when asked to stop.
std::optional<TextStability> resampledText(const RunResult& run, const TextRecord& t,
                                           const StabilityOptions& options) {
    TextStability s;
    s.position = t.position;
    for (std::size_t k = 0; k < 5; ++k) {
        s.digits[k].digit = k < t.code.size() ? t.code[k] : ' ';
    }
    // The resamples must be of the text the run classified; any other is not measured.
    Result<ReadText> read = readTextFile(run.folder / t.nameBytes, t.nameBytes);
    if (!read.ok()) {
        s.notMeasured = "cannot be read now: " + read.error().reason;
    } else if (read.value().facts.sha256 != t.file.sha256) {
        s.notMeasured = "changed since the run";
    } else {
        const std::string& text = read.value().decoded.text;
        const auto blocks = wordBlocks(text, options.blockWords, &s.words);
        s.tooShort = s.words < 2 * options.blockWords;
        for (int k = 0; k < options.resamples && !s.tooShort; ++k) {
            if (stopAsked(options)) {
                return std::nullopt;
            }
            const std::string code =
                codeOf(resampleText(text, blocks, t.file.sha256, k), run.rules);
            for (std::size_t d = 0; d < 5 && d < code.size(); ++d) {
                if (code[d] >= '0' && code[d] <= '9') {
                    ++s.digits[d].ofDigit[static_cast<std::size_t>(code[d] - '0')];
                }
            }
            s.codeKept += code == t.code ? 1 : 0;
            s.codes.push_back(code);
        }
        for (DigitStability& d : s.digits) {
            d.resamples = s.tooShort ? 0 : options.resamples;
        }
        s.codeKept = s.tooShort || options.resamples == 0 ? 0 : s.codeKept / options.resamples;
    }
    return s;
}

}  // namespace

Result<RunStability> measureStability(const RunResult& run, const StabilityOptions& options,
                                      const std::function<bool(int done, int total)>& progress) {
    RunStability out;
    out.options = options;
    std::vector<const TextRecord*> todo;
    for (const TextRecord& t : run.texts) {
        if (t.inRun) {
            todo.push_back(&t);
        }
    }
    out.texts.resize(todo.size());
    std::mutex mutex;
    std::size_t next = 0;
    int done = 0;
    bool cancelled = false;
    const auto work = [&] {
        for (;;) {
            std::size_t i;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (cancelled || next >= todo.size() || stopAsked(options)) {
                    return;
                }
                i = next++;
            }
            std::optional<TextStability> s = resampledText(run, *todo[i], options);
            if (!s) {
                return;  // the end of measuring says it was cancelled
            }
            std::lock_guard<std::mutex> lock(mutex);
            out.texts[i] = std::move(*s);
            ++done;
            if (progress && !progress(done, static_cast<int>(todo.size()))) {
                cancelled = true;
            }
        }
    };
    const int jobs = std::max(
        1, options.jobs > 0 ? options.jobs : static_cast<int>(std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (int j = 1; j < jobs; ++j) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
    if (cancelled || stopAsked(options)) {
        return Error{Error::Code::Cancelled, "The stability was not measured: cancelled.",
                     "cancelled"};
    }
    return out;
}

std::optional<std::int64_t> fragilePairCount(const RunResult& run, const RunStability& stability,
                                             const std::atomic<bool>* cancel) {
    std::int64_t count = 0;
    bool stopped = false;
    run.pairs.forEach([&](const RunPair& p) {
        stopped = stopped || (cancel != nullptr && cancel->load());
        // Only a minimal or significant pair can be fragile; most pairs are neither.
        if (!stopped && (p.minimal || p.significant) && stability.pair(run, p).fragile) {
            ++count;
        }
    });
    return stopped ? std::nullopt : std::optional<std::int64_t>(count);
}

std::string textStabilitySummary(const TextStability& s, bool digitShares) {
    if (!s.measured()) {
        return "not measured: " + s.notMeasured;
    }
    if (s.tooShort) {
        return "too short to resample";
    }
    std::string out = "code kept " + stabilityShare(s.codeKept);
    std::string unstable;
    for (std::size_t k = 0; k < s.digits.size(); ++k) {
        if (s.digits[k].unstable()) {
            unstable.append(unstable.empty() ? "" : ", ").append(kCategoryNames[k]);
            if (digitShares) {
                unstable.append(" ").append(stabilityShare(s.digits[k].kept()));
            }
        }
    }
    return unstable.empty() ? out : out + "; unstable: " + unstable;
}

std::string textStabilityReport(const TextStability& s, const StabilityOptions& options) {
    const std::string head = "Stability (" + std::to_string(options.resamples) + " resamples of " +
                             std::to_string(options.blockWords) + "-word blocks): ";
    if (!s.measured()) {
        return head + "not measured: " + s.notMeasured + "\n";
    }
    if (s.tooShort) {
        return head + "too short to resample (" + std::to_string(s.words) + " words, fewer than " +
               std::to_string(2 * options.blockWords) + ")\n";
    }
    std::string out = head + "code kept " + stabilityShare(s.codeKept) + "\n";
    for (std::size_t k = 0; k < s.digits.size(); ++k) {
        const DigitStability& d = s.digits[k];
        std::string spread;
        for (std::size_t g = 0; g < d.ofDigit.size(); ++g) {
            if (d.ofDigit[g] > 0) {
                spread += (spread.empty() ? "" : ", ") + std::to_string(g) + ": " +
                          stabilityShare(static_cast<double>(d.ofDigit[g]) / d.resamples);
            }
        }
        out += "  " + std::to_string(k + 1) + " " + kCategoryNames[k] + ": " + d.digit + " kept " +
               stabilityShare(d.kept()) + "; resampled " +
               (spread.empty() ? std::string("no digit") : spread) +
               (d.unstable() ? "  [unstable]" : "") + "\n";
    }
    return out;
}

std::string pairStabilityText(const PairStability& p, int resamples) {
    if (!p.known) {
        return "not known: a text too short to resample, not measured or not in the run";
    }
    return "strength held in " + stabilityShare(p.sameStrength) + ", standing in " +
           stabilityShare(p.sameStanding) + " of " + std::to_string(resamples) + " resamples" +
           (p.fragile ? "; fragile" : "");
}

std::vector<TableRow> stabilityTable(const RunResult& run, const RunStability& stability,
                                     NameStyle style) {
    std::vector<TableRow> rows{{"text", "digit", "category", "kept", "other digits", "unstable"}};
    for (const TextStability& s : stability.texts) {
        const TextRecord& t = run.texts[static_cast<std::size_t>(s.position)];
        for (std::size_t k = 0; k < 5; ++k) {
            const DigitStability& d = s.digits[k];
            TableRow row{shownName(t.name, style), std::string(1, d.digit), kCategoryNames[k]};
            if (!s.measured() || s.tooShort) {
                row.insert(row.end(), {textStabilitySummary(s), "", ""});
            } else {
                std::string others;
                for (std::size_t g = 0; g < d.ofDigit.size(); ++g) {
                    if (d.ofDigit[g] > 0 && static_cast<char>('0' + g) != d.digit) {
                        others += (others.empty() ? "" : ", ") + std::to_string(g) + ": " +
                                  stabilityShare(static_cast<double>(d.ofDigit[g]) / d.resamples);
                    }
                }
                row.insert(row.end(),
                           {stabilityShare(d.kept()), others, d.unstable() ? "yes" : "no"});
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

ColumnKinds stabilityColumnKinds() {
    return {{CellKind::Text, CellKind::Code, CellKind::Text, CellKind::Number}};
}

namespace {

// A pair's strength before and after a move follows from its two texts' codes alone, so
// texts with the same run code and the same moved code form a class, and a pair of classes
// stands for every pair between them. Pairs of texts with the same name bytes are not
// listed; what the classes count stands for the listed pairs when both tallies agree with
// the run's, otherwise the pairs are visited one by one.
struct SensitivityClasses {
    std::vector<std::pair<std::string, std::string>> codes;  // run code, moved code
    std::vector<std::int64_t> size;
    std::vector<int> of;  // text position -> class
};

SensitivityClasses classesOf(const RunResult& run, const std::vector<std::string>& moved) {
    SensitivityClasses c;
    std::map<std::pair<std::string, std::string>, int> ids;
    for (std::size_t k = 0; k < run.texts.size(); ++k) {
        const auto [it, added] = ids.try_emplace({run.texts[k].code, moved[k]}, c.size.size());
        if (added) {
            c.codes.push_back(it->first);
            c.size.push_back(0);
        }
        ++c.size[static_cast<std::size_t>(it->second)];
        c.of.push_back(it->second);
    }
    return c;
}

// Pairs between classes a <= b, by class.
void countClassPairs(const SensitivityClasses& c, std::vector<std::int64_t>& pairs) {
    const std::size_t m = c.size.size();
    pairs.assign(m * m, 0);
    for (std::size_t a = 0; a < m; ++a) {
        pairs[a * m + a] = c.size[a] * (c.size[a] - 1) / 2;
        for (std::size_t b = a + 1; b < m; ++b) {
            pairs[a * m + b] = c.size[a] * c.size[b];
        }
    }
}

// Takes out the pairs of texts that share their name bytes, which no list holds.
void dropSameNamePairs(const RunResult& run, const SensitivityClasses& c,
                       std::vector<std::int64_t>& pairs) {
    std::map<std::string_view, std::vector<int>> byName;
    for (const TextRecord& t : run.texts) {
        byName[t.nameBytes].push_back(t.position);
    }
    const std::size_t m = c.size.size();
    for (const auto& [name, positions] : byName) {
        for (std::size_t i = 0; i < positions.size(); ++i) {
            for (std::size_t j = i + 1; j < positions.size(); ++j) {
                const auto a =
                    static_cast<std::size_t>(c.of[static_cast<std::size_t>(positions[i])]);
                const auto b =
                    static_cast<std::size_t>(c.of[static_cast<std::size_t>(positions[j])]);
                --pairs[std::min(a, b) * m + std::max(a, b)];
            }
        }
    }
}

void tally(SensitivityRow& row, int before, int after, std::int64_t pairs) {
    row.strengthsChanged += after != before ? pairs : 0;
    row.becameMinimal += isMinimal(after) && !isMinimal(before) ? pairs : 0;
    row.ceasedMinimal += !isMinimal(after) && isMinimal(before) ? pairs : 0;
}

// The row's pair figures from the classes; false when they do not stand for the run's pairs.
bool tallyByClasses(const RunResult& run, const std::vector<std::string>& moved,
                    SensitivityRow& row) {
    const SensitivityClasses c = classesOf(run, moved);
    std::vector<std::int64_t> pairs;
    countClassPairs(c, pairs);
    dropSameNamePairs(run, c, pairs);
    const std::size_t m = c.size.size();
    std::array<std::int64_t, 16> strengths{};
    std::int64_t total = 0;
    SensitivityRow counted;
    for (std::size_t a = 0; a < m; ++a) {
        for (std::size_t b = a; b < m; ++b) {
            const std::int64_t n = pairs[a * m + b];
            if (n == 0) {
                continue;
            }
            const int before = typeCodeStrength(c.codes[a].first, c.codes[b].first);
            tally(counted, before, typeCodeStrength(c.codes[a].second, c.codes[b].second), n);
            strengths[static_cast<std::size_t>(before)] += n;
            total += n;
        }
    }
    if (total != run.pairs.count() || strengths != run.pairs.strengthCounts()) {
        return false;
    }
    row.strengthsChanged = counted.strengthsChanged;
    row.becameMinimal = counted.becameMinimal;
    row.ceasedMinimal = counted.ceasedMinimal;
    return true;
}

}  // namespace

std::vector<SensitivityRow> runSensitivity(const RunResult& run,
                                           const std::array<double, 2>& steps) {
    std::vector<SensitivityRow> rows;
    for (const double move : {-steps[1], -steps[0], steps[0], steps[1]}) {
        SensitivityRow row;
        row.move = move;
        row.factor = 1 + move;
        const RuleBook moved = run.rules.scaled(row.factor);
        std::vector<std::string> codes;
        for (const TextRecord& t : run.texts) {
            codes.push_back(t.inRun ? classify(moved, t.decisions.inputs).code : t.code);
            row.codesChanged += codes.back() != t.code ? 1 : 0;
        }
        if (!tallyByClasses(run, codes, row)) {
            run.pairs.forEach([&](const RunPair& p) {
                tally(row, p.strength,
                      typeCodeStrength(codes[static_cast<std::size_t>(p.first)],
                                       codes[static_cast<std::size_t>(p.second)]),
                      1);
            });
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<TableRow> sensitivityTable(const RunResult& run,
                                       const std::vector<SensitivityRow>& rows) {
    std::vector<TableRow> out{{"thresholds", "codes changed", "strengths changed",
                               "pairs made minimal", "minimal pairs lost"}};
    for (const SensitivityRow& r : rows) {
        const double percent = 100 * r.move;
        const std::string move =
            std::string(percent >= 0 ? "+" : "-").append(doubleText(std::abs(percent))) + "%";
        out.push_back(
            {move, std::to_string(r.codesChanged) + " of " + std::to_string(run.analysedCount()),
             std::to_string(r.strengthsChanged) + " of " + std::to_string(run.pairs.count()),
             std::to_string(r.becameMinimal), std::to_string(r.ceasedMinimal)});
    }
    return out;
}

}  // namespace pelmora
