// A text's occurrences and their concordance lines: every span lies in the text on character
// boundaries and says what it covers, they come in text order, and each measure has as many
// as the pipeline counts for the same text, measured whole and cut into small pieces on
// several threads.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "analysis/form1_commands.h"
#include "analysis/occurrences.h"
#include "explanation/concordance.h"
#include "stores/text_encoding.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

std::size_t index(Measure m) {
    return static_cast<std::size_t>(m);
}

// The counts the pipeline gives the text, by measure.
std::array<std::string, kMeasureCount> pipelineCounts(const std::string& text, int jobs,
                                                      std::size_t pieceBytes) {
    ProgramContext context;
    context.jobs = jobs;
    context.textPieceBytes = pieceBytes;
    context.form1().Text1.setText(text);
    Form1Commands(context).measureAndClassify();
    const TextMeasures measures = context.form1().measures();
    std::array<std::string, kMeasureCount> out;
    for (const Measure m : kCountedMeasures) {
        out[index(m)] = measures.text(m);
    }
    return out;
}

std::size_t codePointsBefore(const std::string& text, std::size_t byte) {
    return codePointsOf(std::string_view(text).substr(0, byte)).size();
}

bool startsCharacter(const std::string& text, std::size_t byte) {
    return byte == text.size() || (static_cast<unsigned char>(text[byte]) & 0xC0) != 0x80;
}

std::string flattened(std::string s) {
    for (char& c : s) {
        c = c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = decodeText(std::string(bytesOf(data, size))).text;
    const std::string input = shown(text);
    const std::vector<Occurrence> found = findOccurrences(text);

    std::array<int, kMeasureCount> counted{};
    std::size_t lastStart = 0;
    for (const Occurrence& o : found) {
        const std::string at = input + " at byte " + std::to_string(o.byteStart);
        FUZZ_CHECK(o.byteStart <= o.byteEnd && o.byteEnd <= text.size(), at);
        FUZZ_CHECK(startsCharacter(text, o.byteStart) && startsCharacter(text, o.byteEnd), at);
        FUZZ_CHECK(o.byteStart >= lastStart, at);
        lastStart = o.byteStart;
        FUZZ_CHECK(o.form == text.substr(o.byteStart, o.byteEnd - o.byteStart), at);
        FUZZ_CHECK(o.start >= 0 &&
                       static_cast<std::size_t>(o.start) == codePointsBefore(text, o.byteStart),
                   at);
        FUZZ_CHECK(static_cast<std::size_t>(o.end) == codePointsBefore(text, o.byteEnd), at);
        FUZZ_CHECK(!o.insideWord || (!o.word.empty() && o.word.find(o.form) != std::string::npos),
                   at);
        FUZZ_CHECK(std::find(kCountedMeasures.begin(), kCountedMeasures.end(), o.measure) !=
                       kCountedMeasures.end(),
                   at);
        ++counted[index(o.measure)];
    }
    const auto whole = pipelineCounts(text, 1, std::size_t{4} << 20);
    const auto pieces = pipelineCounts(text, 3, 16);
    for (const Measure m : kCountedMeasures) {
        const std::string what = input + ": " + kMeasures[index(m)].column;
        FUZZ_CHECK(whole[index(m)] == std::to_string(counted[index(m)]), what);
        FUZZ_CHECK(pieces[index(m)] == whole[index(m)], what);

        // Each pattern's count is the sum of its forms' counts, and they add up to the measure's.
        int byPattern = 0;
        for (const PatternForms& p : formCounts(found, m)) {
            int byForm = 0;
            for (const FormCount& f : p.forms) {
                byForm += f.count;
            }
            FUZZ_CHECK(p.count > 0 && byForm == p.count, what + " " + p.pattern);
            byPattern += p.count;
        }
        FUZZ_CHECK(byPattern == counted[index(m)], what);
    }

    // A concordance line: the form with the text on either side of it, on one line.
    const TextOccurrences occurrences{text, found};
    const std::vector<TableRow> rows = concordanceTable("t.txt", occurrences, nullptr, true);
    FUZZ_CHECK(rows.size() == found.size() + 1, input);
    const std::string flat = flattened(text);
    for (std::size_t k = 0; k < found.size(); ++k) {
        const Occurrence& o = found[k];
        const std::string& left = rows[k + 1][6];
        const std::string& right = rows[k + 1][7];
        const std::string at = input + " line " + std::to_string(k);
        FUZZ_CHECK(left.size() <= o.byteStart &&
                       flat.compare(o.byteStart - left.size(), left.size(), left) == 0,
                   at);
        FUZZ_CHECK(flat.compare(o.byteEnd, right.size(), right) == 0, at);
        const std::size_t before = codePointsOf(left).size(), after = codePointsOf(right).size();
        FUZZ_CHECK(before == kContextCharacters || left.size() == o.byteStart, at);
        FUZZ_CHECK(before <= kContextCharacters && after <= kContextCharacters, at);
        FUZZ_CHECK(after == kContextCharacters || o.byteEnd + right.size() == text.size(), at);
        FUZZ_CHECK(wellFormedUtf8(left) && wellFormedUtf8(right), at);
    }
    return 0;
}
