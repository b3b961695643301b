#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "app/form2.h"
#include "app/program_context.h"
#include "evidence/digit_evidence.h"
#include "evidence/input_quality.h"
#include "evidence/pair_matrix.h"
#include "evidence/run_record.h"
#include "evidence/sha256.h"
#include "stores/text_ops.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<ProgramContext> runOn(const fs::path& folder) {
    auto context = std::make_unique<ProgramContext>(folder);
    context->form2().cmdAuto();
    return context;
}

std::vector<fs::path> corpusFolders() {
    std::vector<fs::path> out{fs::path(PELMORA_SOURCE_DIR) / "samples"};
    if (const fs::path shared = test::sharedCorpora(); !shared.empty()) {
        out.push_back(shared / "real-mixed");
        out.push_back(shared / "real-large");
    }
    return out;
}

// The evidence must follow the very rules that gave the codes, text by text and digit by
// digit, on real and on written texts.
TEST(EvidenceOfRuns, EveryDigitOfEveryCorpusTextIsExplainedByTheRuleThatGaveIt) {
    const std::vector<fs::path> folders = corpusFolders();
    int texts = 0, near = 0;
    for (const fs::path& folder : folders) {
        const auto context = runOn(folder);
        for (const TextMeasures& m : context->form2().runMeasures) {
            const TextEvidence e = explainText(m);
            ++texts;
            near += e.nearCount() > 0 ? 1 : 0;
            EXPECT_EQ(e.derivedCode, m.code) << folder << " " << m.name;
            const std::string actual[5] = {m.formality, m.personage, m.pastTenseness,
                                           m.obligationIntention, m.affect};
            for (std::size_t k = 0; k < 5; ++k) {
                EXPECT_TRUE(equalsIgnoreCase(e.digits[k].categoryText, actual[k]))
                    << m.name << " digit " << k + 1 << ": " << e.digits[k].categoryText << " vs "
                    << actual[k];
            }
        }
    }
    EXPECT_GE(texts, folders.size() > 1 ? 200 : 8);
    std::cout << texts << " texts explained, " << near << " with a digit near a threshold\n";
}

// Pair lines of a report section: "x-y<TAB>s" per line until an empty line.
std::vector<std::string> reportLinesAfter(const std::string& report, const std::string& head) {
    std::vector<std::string> out;
    std::size_t at = report.find(head);
    if (at == std::string::npos) {
        return out;
    }
    at = report.find("\r\n", at) + 2;
    while (at < report.size()) {
        const std::size_t end = report.find("\r\n", at);
        if (end == at) {
            break;
        }
        out.push_back(report.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

TEST(EvidenceOfRuns, MatrixHoldsTheReportsStrengthsAndMarksItsSignificantPairs) {
    const fs::path shared = test::sharedCorpora();
    const fs::path folder =
        shared.empty() ? fs::path(PELMORA_SOURCE_DIR) / "samples" : shared / "real-mixed";
    const auto context = runOn(folder);
    Form2& form = context->form2();
    const RunSnapshot run = snapshotOf(*context);
    const PairMatrix m = pairMatrix(run);
    ASSERT_EQ(m.size(), static_cast<int>(form.runMeasures.size()));
    std::map<std::string, int> index;
    for (int i = 0; i < m.size(); ++i) {
        index[m.names[static_cast<std::size_t>(i)]] = i;
        EXPECT_EQ(m.names[static_cast<std::size_t>(i)],
                  form.runMeasures[static_cast<std::size_t>(i)].name);
    }
    const std::string report = form.txtReport.text();
    std::set<std::pair<int, int>> seen;
    std::size_t at = report.find("\r\n") + 2;  // after the header line
    for (std::size_t k = 0; k < static_cast<std::size_t>(form.lstDogBox.count()); ++k) {
        const std::size_t end = report.find("\r\n", at);
        const std::string line = report.substr(at, end - at);
        at = end + 2;
        const PairList::Pair p = form.lstDogBox.pairAt(static_cast<std::int64_t>(k));
        ASSERT_EQ(line, p.firstName + "-" + p.secondName + "\t" + std::to_string(p.strength));
        const int i = index.at(p.firstName), j = index.at(p.secondName);
        EXPECT_EQ(m.strength[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)],
                  line.back() - '0');
        EXPECT_EQ(m.strength[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)],
                  line.back() - '0');
        seen.insert({i, j});
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(m.size() * (m.size() - 1) / 2));
    EXPECT_EQ(m.mean, form.lblMean.text());
    EXPECT_EQ(m.stdev, form.lblStDev.text());

    std::vector<std::string> marked;
    for (const SnapshotPair& p : run.pairs) {
        if (p.significant) {
            marked.push_back(run.names[static_cast<std::size_t>(p.first)] + "-" +
                             run.names[static_cast<std::size_t>(p.second)] + "\t" +
                             std::to_string(p.strength));
        }
    }
    EXPECT_EQ(marked, reportLinesAfter(report,
                                       "significantly different from the norm for this "
                                       "group of texts:"));
}

std::string words(int n, const char* word = "dog ") {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += word;
    }
    return out;
}

TEST(EvidenceOfRuns, QualityAndRecordOfAFolderWithDoubtfulFiles) {
    const test::TempFolder folder;
    folder.write("a empty.txt", "");
    folder.write("b short.txt", words(20));
    folder.write("c long.txt", "The " + words(250, "walked "));
    folder.write("d copy.txt", "The " + words(250, "walked "));
    folder.write("e latin.txt", "caf\xe9 " + words(300));
    // Beyond the reader's size cap, so the run leaves it out; sparse, so it costs no disk.
    std::ofstream(folder.path() / "f huge.txt").close();
    fs::resize_file(folder.path() / "f huge.txt", 65ull * 1024 * 1024);

    const auto context = runOn(folder.path());
    const RunSnapshot run = snapshotOf(*context);
    const std::vector<FileQuality> quality = assessQuality(run);
    ASSERT_EQ(quality.size(), 6u);
    const std::vector<std::vector<std::string>> expected = {
        {"a empty.txt", "ASCII", "0", "0", "no words"},
        {"b short.txt", "ASCII", "80", "20", "fewer than 200 words (densities unreliable)"},
        {"c long.txt", "ASCII", "1754", "251", "identical content to d copy.txt"},
        {"d copy.txt", "ASCII", "1754", "251", "identical content to c long.txt"},
        {"e latin.txt", "Windows-1252", "1205", "301", ""},
        {"f huge.txt", "", "", "", "left out as unreadable: File too large (over 64 MiB)"},
    };
    const std::vector<TableRow> table = qualityTable(quality);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table[i + 1], expected[i]);
    }
    EXPECT_EQ(qualitySummary(quality), "5 warnings: see Details");
    EXPECT_EQ(run.files[1].sha256, sha256Hex(words(20)));

    const RunRecord record = recordOf(run, "2026-12-06T16:00:00Z");
    const Result<RunRecord> reread = parseRecord(recordText(record));
    ASSERT_TRUE(reread.ok());
    EXPECT_TRUE(verifyRun(reread.value(), recordOf(snapshotOf(*runOn(folder.path())), "later"))
                    .unchanged());
    folder.write("b short.txt", words(19) + "cat ");
    EXPECT_EQ(
        verifyRun(reread.value(), recordOf(snapshotOf(*runOn(folder.path())), "later")).differences,
        std::vector<std::string>{
            "b short.txt: content changed (80 bytes, now 80 bytes; SHA-256 differs)"});
}

}  // namespace
}  // namespace pelmora
