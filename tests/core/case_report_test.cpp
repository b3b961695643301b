#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/case_report.h"
#include "report/report_html.h"
#include "tests/support/cli_runner.h"
#include "tests/support/folder_run.h"

namespace pelmora {
namespace {

using Names = std::vector<std::string>;

// Strengths worked out in the case tests: q1-k1 5, q1-k2 4 (past tenseness), q1-k3 2.
const std::vector<test::File> kTexts = {
    {"q1.txt", "I walked. I was. I must. I love you. I should."},
    {"k1.txt", "I walked home. I was. I must. I love you. I should."},
    {"k2.txt", "I must go. I love you."},
    {"k3.txt", "The cat was walked. The dog was happy."},
    {"r1.txt", "I don't know. You can't go."},
    {"r4.txt", "We must love. You must hate it."},
};
const std::string kMetadata =
    "file,role,genre\nq1.txt,Q,letter\nk1.txt,K,letter\nk2.txt,K,note\nk3.txt,K,note\n"
    "r1.txt,R,note\nr4.txt,R,letter\n";
// sha256sum of each text's bytes, in kTexts' order.
const Names kDigests = {
    "75554809f2e62cf7665ca55aa5a63baddc59df9894920c63135f6620f73274fb",
    "2954c2b4999dfa0a76b70374b3c3a9e99f1b7a0fa87be84589ad96b16b6a7245",
    "203f62fa54bfd9a0194bf0e41ad0bf6607ce286e4254506a384048a5ae4b23f3",
    "44b31242372c0b2c1ce94733a46004386194e60c8250a2c7a07ea5ead1bc1d7a",
    "15f7f2b2453c653b6a4ae722b3e2507f16fe2db74b34ade738dee83293c8a618",
    "de3daaed39a4d11a0f4a138ccff8e4829e6ab4020d8819fbcd7c4a40e3993084",
};
const Names kTitles = {"1 Case and instructions",
                       "2 Items and their integrity",
                       "3 Method",
                       "4 Results",
                       "5 Reliability",
                       "6 Limitations",
                       "7 Audit log"};
const Names kVerdicts = {"compatible: 5 of 5 digits agree",
                         "differs in past tenseness: questioned Past Tense, known Not Past Tense",
                         "not comparable: 2 of 5 digits agree"};

// A case of the texts above, run and stored; the report's content as of `created`.
struct ReportCase {
    test::FolderRun folder{kTexts};
    std::shared_ptr<const RunResult> run = folder.run();
    test::TempFolder place;
    CaseFile file = std::move(CaseFile::create(place.path() / "c.pelmora", folder.folder.path(),
                                               {"26/4", "A. Examiner", "Same type?", ""})
                                  .value());

    explicit ReportCase(bool unmasking = false) {
        Names names;
        for (const TextRecord& t : run->texts) {
            names.push_back(t.nameBytes);
        }
        EXPECT_FALSE(file.importMetadata(parseMetadata(kMetadata, names).value()));
        EXPECT_FALSE(unmasking && file.setUnmasking(true));
        EXPECT_FALSE(file.storeRun(recordOf(*run, "2026-12-09T09:00:00Z")));
    }
    ReportDocument document(const std::string& created) const {
        return caseReport(caseReportInputOf(file, *run, created).value());
    }
};

std::string allText(const ReportDocument& d) {
    return reportHtml(d, [](std::size_t, const ReportChart& c) { return c.title; });
}

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CaseReport, EverySectionNamesTheItemsTheirDigestsAndTheVerdicts) {
    const ReportCase c;
    const ReportDocument d = c.document("2026-12-09T10:00:00Z");
    Names titles;
    for (const ReportSection& s : d.sections) {
        titles.push_back(s.title);
    }
    EXPECT_EQ(titles, caseReportSections());
    const std::string html = allText(d);
    for (const std::string& part : kDigests) {
        EXPECT_TRUE(holds(html, part)) << part;
    }
    for (const std::string& part :
         Names{"Same type?", "A. Examiner", "26/4", "Pelmora ",
               "The folder holds the same files, by name, size and SHA-256, as the case&#39;s last "
               "stored run of 2026-12-09T09:00:00Z.",
               "the chain is whole", "Sequential unmasking was not used",
               "Not measured for this report: stability (no resampling is stored for this run).",
               // The rule book's constants, stated where the method names them.
               "below 3 is a minimal relationship", "more than 1.65 standard deviations",
               "at most 0.002", "fewer than 200 words", "<td>strong obligation</td>"}) {
        EXPECT_TRUE(holds(html, part)) << part;
    }
    for (const std::string& verdict : kVerdicts) {
        EXPECT_TRUE(holds(html, verdict)) << verdict;
    }
    // The audit log ends the report, entry by entry with its hash.
    const std::vector<AuditEntry> log = c.file.log().value();
    EXPECT_TRUE(holds(html, "its last entry&#39;s hash is " + log.back().hash));
    EXPECT_EQ(d.sections.back().blocks.back().table.size(), 1 + log.size());
}

TEST(CaseReport, TheSameCaseGivesTheSameBytesApartFromItsTime) {
    const ReportCase c;
    const std::string first = allText(c.document("2026-12-09T10:00:00Z"));
    EXPECT_EQ(allText(c.document("2026-12-09T10:00:00Z")), first);
    std::string later = allText(c.document("2027-01-02T03:04:05Z"));
    for (std::size_t at = later.find("2027-01-02T03:04:05Z"); at != std::string::npos;
         at = later.find("2027-01-02T03:04:05Z")) {
        later.replace(at, 20, "2026-12-09T10:00:00Z");
    }
    EXPECT_EQ(later, first);
}

TEST(CaseReport, BeforeTheLockOnlyTheQuestionedResultsShow) {
    const ReportCase c(true);
    const std::string html = allText(c.document("2026-12-09T10:00:00Z"));
    EXPECT_TRUE(holds(html, "Codes of the questioned texts"));
    EXPECT_TRUE(holds(html, "withheld until the questioned texts are locked"));
    for (const std::string& hidden : kVerdicts) {
        EXPECT_FALSE(holds(html, hidden)) << hidden;
    }
    EXPECT_FALSE(holds(html, "<td>k1.txt</td><td>21")) << "a known text's code shown";
    EXPECT_FALSE(holds(html, "Over the ")) << "validation over known texts shown";
}

// Each rendering read back by a real reader finds every title, digest and verdict, and the
// case's log keeps each report's SHA-256 as sha256sum gives it.
TEST(CaseReport, CliRendersHtmlPdfAndOdtThatRealReadersRead) {
    test::TempFolder folder, place;
    for (const test::File& f : kTexts) {
        folder.write(f.name, f.bytes);
    }
    place.write("meta.csv", kMetadata);
    const std::string setup = "cd " + test::shellQuoted(place.path().string()) +
                              " && \"$CLI\" case new c.pelmora " +
                              test::shellQuoted(folder.path().string()) +
                              " --metadata meta.csv >/dev/null && \"$CLI\" case run c.pelmora "
                              ">/dev/null";
    ASSERT_EQ(test::runShell(setup).status, 0);
    const std::vector<std::pair<std::string, std::string>> readers = {
        {"r.html",
         "python3 -c 'import html.parser,sys\n"
         "class P(html.parser.HTMLParser):\n"
         "  def handle_data(self, d): sys.stdout.write(d)\n"
         "  def handle_endtag(self, t): sys.stdout.write(\" \")\n"
         "P().feed(open(\"r.html\", encoding=\"utf-8\").read())'"},
        {"r.pdf", "pdftotext r.pdf -"},
        {"r.odt", "odt2txt --width=1000 r.odt"},
    };
    for (const auto& [out, reader] : readers) {
        const test::CliResult made =
            test::runShell("cd " + test::shellQuoted(place.path().string()) +
                           " && \"$CLI\" case report c.pelmora " + out + " && " + reader);
        ASSERT_EQ(made.status, 0) << out << made.err;
        // Lines as laid out on a page are one text.
        std::string text;
        for (const char ch : made.out) {
            const bool space = ch == ' ' || ch == '\n' || ch == '\f';
            if (!space || (!text.empty() && text.back() != ' ')) {
                text += space ? ' ' : ch;
            }
        }
        for (const Names& parts : {kTitles, kDigests, kVerdicts}) {
            for (const std::string& part : parts) {
                EXPECT_TRUE(holds(text, part)) << out << ": " << part;
            }
        }
    }
    const test::CliResult log = test::runShell(
        "cd " + test::shellQuoted(place.path().string()) +
        " && \"$CLI\" case log c.pelmora | grep -c 'export written' && sha256sum r.odt | cut "
        "-c1-64 "
        "| xargs -I{} sh -c '\"$0\" case log c.pelmora | grep \"case report r.odt\" | grep -c {}' "
        "\"$CLI\"");
    EXPECT_EQ(log.out, "3\n1\n") << log.err;

    for (const auto& [args, status] :
         std::vector<std::pair<std::string, int>>{{"c.pelmora r.txt", 2},
                                                  {"c.pelmora no-such-folder/r.pdf", 4},
                                                  {"missing.pelmora r.pdf", 2}}) {
        const test::CliResult refused = test::runShell(
            "cd " + test::shellQuoted(place.path().string()) + " && \"$CLI\" case report " + args);
        EXPECT_EQ(refused.status, status) << args << refused.err;
    }
}

}  // namespace
}  // namespace pelmora
