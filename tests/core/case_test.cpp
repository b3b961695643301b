#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "case/compatibility_tables.h"
#include "case/role_order.h"
#include "case/unmasking.h"
#include "tests/support/cli_runner.h"
#include "tests/support/folder_run.h"
#include "tests/support/run_builder.h"

namespace pelmora {
namespace {

using Names = std::vector<std::string>;

const Names kFolder = {"q1.txt", "q2.txt", "caf\xE9.txt"};

TEST(CaseMetadata, EveryFaultNamesItsLineAndWhyAndLoadsNothing) {
    struct Case {
        std::string csv;
        int line;
        std::string why;
    };
    const Case cases[] = {
        {"", 1, "no header row"},
        {"name,role\r\nq1.txt,Q\r\n", 1, "no \"file\" column"},
        {"file,role,Role\nq1.txt,Q,K\n", 1, "\"Role\" is named twice"},
        {"file,role\nq1.txt,Q\n\xFF.txt,K\n", 3, "not UTF-8"},
        // The quoted name spans lines 2 and 3, so the stray quote stands on line 4.
        {"file,role\n\"q1\n.txt\",Q\nq2.txt,\"Q\"x\n", 4, "malformed CSV"},
        {"file,role\nq1.txt,\"Q\n", 2, "malformed CSV"},
        {"file,role\nq1.txt,Q,extra\n", 2, "the line has 3 fields, the header 2"},
        {"file,role\nq1.txt,suspect\n", 2, "unknown role \"suspect\""},
        {"file\nq\\z.txt\n", 2, "starts no escape"},
        {"file,role\n,Q\n", 2, "the file name is empty"},
        {"file,role\nq1.txt,Q\nq2.txt,K\nq1.txt,K\n", 4, "\"q1.txt\" is listed already on line 2"},
        {"\xEF\xBB\xBF"
         "file\r\nq1.txt\r\nmissing.txt\r\n",
         3, "holds no file \"missing.txt\""},
        // Written without the escape, the Windows-1252 name is not UTF-8 at all.
        {"file\ncaf\xE9.txt\n", 2, "not UTF-8"},
    };
    for (const Case& c : cases) {
        const Result<Metadata> read = parseMetadata(c.csv, kFolder);
        ASSERT_FALSE(read.ok()) << c.csv;
        EXPECT_EQ(read.error().code, Error::Code::MetadataUnusable);
        const std::string prefix = "line " + std::to_string(c.line) + ": ";
        EXPECT_EQ(read.error().message.substr(0, prefix.size()), prefix) << read.error().message;
        EXPECT_NE(read.error().message.find(c.why), std::string::npos) << read.error().message;
    }
}

TEST(CaseMetadata, RoundTripKeepsNamesRolesAndEveryOtherColumn) {
    const std::string given =
        "\xEF\xBB\xBF"
        "role,File,genre,\"note, long\",shelf\n"
        "questioned,q1.txt,letter,\"said \"\"hi\"\"\nthen left\",A\n"
        " k ,caf\\xE9.txt,diary,,B\n"
        ",,,,\n"
        ",q2.txt,,,\n";
    const Result<Metadata> read = parseMetadata(given, kFolder);
    ASSERT_TRUE(read.ok()) << read.error().message;
    const Metadata& m = read.value();
    EXPECT_EQ(m.header, (Names{"role", "File", "genre", "note, long", "shelf"}));
    EXPECT_EQ(m.valueColumns(), (Names{"genre", "note, long", "shelf"}));
    ASSERT_EQ(m.rows.size(), 3u);  // the empty line holds nothing
    EXPECT_EQ(m.rows[0],
              (MetadataRow{"q1.txt", Role::Questioned, {"letter", "said \"hi\"\nthen left", "A"}}));
    EXPECT_EQ(m.rows[1], (MetadataRow{"caf\xE9.txt", Role::Known, {"diary", "", "B"}}));
    EXPECT_EQ(m.roleOf("q2.txt"), Role::None);
    EXPECT_EQ(m.roleOf("absent.txt"), Role::None);

    const std::string written =
        "\xEF\xBB\xBF"
        "role,File,genre,\"note, long\",shelf\r\n"
        "Q,q1.txt,letter,\"said \"\"hi\"\"\nthen left\",A\r\n"
        "K,caf\\xE9.txt,diary,,B\r\n"
        ",q2.txt,,,\r\n";
    EXPECT_EQ(metadataCsv(m), written);
    const Result<Metadata> again = parseMetadata(written, kFolder);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), m);

    // A role given to a table without a role column adds one after the file column.
    Metadata plain = parseMetadata("shelf,file\nA,q1.txt\n", kFolder).value();
    plain.setRole("q2.txt", Role::Reference);
    plain.setRole("q1.txt", Role::Known);
    EXPECT_EQ(metadataCsv(plain),
              "\xEF\xBB\xBF"
              "shelf,file,role\r\nA,q1.txt,K\r\n,q2.txt,R\r\n");
}

// Short texts whose codes follow from the rule book by hand:
//   q1, k1 01122 (past tense: -ed forms beside a common past-tense word);
//   q2, k2, r4, n1 01222; k3 20102 (passive, so formal); r1 11200 (contractions);
//   r2 20200 (definite articles); r3 00100.
const std::vector<test::File> kCaseTexts = {
    {"q1.txt", "I walked. I was. I must. I love you. I should."},
    {"q2.txt", "I must go. I love you. I should."},
    {"k1.txt", "I walked home. I was. I must. I love you. I should."},
    {"k2.txt", "I must go. I love you."},
    {"k3.txt", "The cat was walked. The dog was happy."},
    {"r1.txt", "I don't know. You can't go."},
    {"r2.txt", "The the the the."},
    {"r3.txt", "was walked was walked"},
    {"r4.txt", "We must love. You must hate it."},
    {"n1.txt", "I must. I love you so."},
};
const std::string kCaseCsv =
    "file,role\nq1.txt,Q\nq2.txt,Q\nk1.txt,K\nk2.txt,K\nk3.txt,K\n"
    "r1.txt,R\nr2.txt,R\nr3.txt,R\nr4.txt,R\n";

Names namesOf(const RunResult& run, const std::vector<int>& positions) {
    Names out;
    for (int p : positions) {
        out.push_back(run.texts[static_cast<std::size_t>(p)].name);
    }
    return out;
}

// The exact name bytes of every text of the run.
Names listedNames(const RunResult& run) {
    Names listed;
    for (const TextRecord& t : run.texts) {
        listed.push_back(t.nameBytes);
    }
    return listed;
}

TEST(CaseCompatibility, HandWorkedCaseGivesEveryTableAndVerdict) {
    test::FolderRun folder(kCaseTexts);
    const auto run = folder.run();
    const Metadata metadata = parseMetadata(kCaseCsv, listedNames(*run)).value();
    const Compatibility c = compatibilityOf(*run, metadata);

    EXPECT_EQ(namesOf(*run, c.texts.questioned), (Names{"q1.txt", "q2.txt"}));
    EXPECT_EQ(namesOf(*run, c.texts.known), (Names{"k1.txt", "k2.txt", "k3.txt"}));
    EXPECT_EQ(namesOf(*run, c.texts.reference), (Names{"r1.txt", "r2.txt", "r3.txt", "r4.txt"}));

    const std::vector<TableRow> qk = caseTable(*run, c, CaseTable::QuestionedKnown);
    const std::vector<TableRow> expectedQk = {
        {"questioned", "known", "strength", "agreeing", "differing", "minimal", "verdict"},
        {"q1.txt", "k1.txt", "5",
         "formality, personage, past tenseness, obligation/intention, affect", "", "no",
         "compatible: 5 of 5 digits agree"},
        {"q1.txt", "k2.txt", "4", "formality, personage, obligation/intention, affect",
         "past tenseness: Past Tense / Not Past Tense", "no",
         "differs in past tenseness: questioned Past Tense, known Not Past Tense"},
        {"q1.txt", "k3.txt", "2", "past tenseness, affect",
         "formality: Neutral / Formal; personage: First Person / Not first person; "
         "obligation/intention: Obligation/Intention - strong / none",
         "yes", "not comparable: 2 of 5 digits agree"},
        {"q2.txt", "k1.txt", "4", "formality, personage, obligation/intention, affect",
         "past tenseness: Not Past Tense / Past Tense", "no",
         "differs in past tenseness: questioned Not Past Tense, known Past Tense"},
        {"q2.txt", "k2.txt", "5",
         "formality, personage, past tenseness, obligation/intention, affect", "", "no",
         "compatible: 5 of 5 digits agree"},
        {"q2.txt", "k3.txt", "1", "affect",
         "formality: Neutral / Formal; personage: First Person / Not first person; past "
         "tenseness: Not Past Tense / Past Tense; obligation/intention: Obligation/Intention - "
         "strong / none",
         "yes", "not comparable: 1 of 5 digits agree"},
    };
    EXPECT_EQ(qk, expectedQk);
    ASSERT_EQ(c.questionedKnown.size(), 2u);
    EXPECT_EQ(shareSentence(c.questionedKnown[0][0]),
              "0% of reference texts reach at least 5 with Q");
    EXPECT_EQ(shareSentence(c.questionedKnown[0][1]),
              "25% of reference texts reach at least 4 with Q");
    EXPECT_EQ(shareSentence(c.questionedKnown[1][2]),
              "100% of reference texts reach at least 1 with Q");

    // k1 has 4 with k2 and 2 with k3: a mean of 3 is not below the minimal strengths.
    EXPECT_EQ(caseTable(*run, c, CaseTable::KnownKnown),
              (std::vector<TableRow>{{"known", "mean_strength", "off_type"},
                                     {"k1.txt", "3", "no"},
                                     {"k2.txt", "2.5", "yes"},
                                     {"k3.txt", "1.5", "yes"},
                                     {"all known texts", "2.3333", ""}}));

    // q1 reaches 1, 0, 2, 4 with r1 to r4; q2 2, 1, 1, 5.
    const std::vector<TableRow> expectedQr = {
        {"questioned", "strength", "reference_texts", "share_at_least"},
        {"q1.txt", "0", "1", "100%"},
        {"q1.txt", "1", "1", "75%"},
        {"q1.txt", "2", "1", "50%"},
        {"q1.txt", "3", "0", "25%"},
        {"q1.txt", "4", "1", "25%"},
        {"q1.txt", "5", "0", "0%"},
        {"q2.txt", "0", "0", "100%"},
        {"q2.txt", "1", "2", "100%"},
        {"q2.txt", "2", "1", "50%"},
        {"q2.txt", "3", "0", "25%"},
        {"q2.txt", "4", "0", "25%"},
        {"q2.txt", "5", "1", "25%"},
    };
    EXPECT_EQ(caseTable(*run, c, CaseTable::QuestionedReference), expectedQr);
    EXPECT_EQ(namesOf(*run, c.matchedReference), (Names{"r4.txt"}));
    // At least 1 with both: r1 (1 and 2) and r3 (2 and 1) join; r2 reaches 0 with q1.
    EXPECT_EQ(namesOf(*run, compatibilityOf(*run, metadata, 1).matchedReference),
              (Names{"r1.txt", "r3.txt", "r4.txt"}));
    EXPECT_EQ(
        caseTable(*run, c, CaseTable::QuestionedQuestioned),
        (std::vector<TableRow>{
            {"questioned", "other_questioned", "strength", "agreeing", "differing", "minimal"},
            {"q1.txt", "q2.txt", "4", "formality, personage, obligation/intention, affect",
             "past tenseness: Past Tense / Not Past Tense", "no"}}));
}

// q1 and k1 resampled, each resample giving its own code again; k2 too short to resample.
TEST(CaseCompatibility, StabilityWhereMeasuredIsTheQkTablesLastColumn) {
    test::FolderRun folder(kCaseTexts);
    const auto run = folder.run();
    RunStability stability;
    for (const TextRecord& t : run->texts) {
        TextStability s;
        s.position = t.position;
        s.tooShort = t.name == "k2.txt";
        if (t.name == "q1.txt" || t.name == "k1.txt") {
            s.codes.assign(4, t.code);
        }
        stability.texts.push_back(s);
    }
    const Metadata metadata =
        parseMetadata("file,role\nq1.txt,Q\nk1.txt,K\nk2.txt,K\n", listedNames(*run)).value();
    const Compatibility c = compatibilityOf(*run, metadata, 4, &stability);
    std::vector<TableRow> qk = caseTable(*run, c, CaseTable::QuestionedKnown);
    appendStabilityColumn(qk, c, 4);
    Names column;
    for (const TableRow& row : qk) {
        ASSERT_EQ(row.size(), 8u);
        column.push_back(row[1] + ": " + row.back());
    }
    EXPECT_EQ(column,
              (Names{"known: stability",
                     "k1.txt: strength held in 1.000, standing in 1.000 of 4 resamples",
                     "k2.txt: not known: a text too short to resample, not measured or not in "
                     "the run"}));
}

// Blocks in run order whatever the table's order; a text without a row comes last.
TEST(CaseCompatibility, RoleOrderPutsQuestionedKnownAndReferenceBlocksFirst) {
    test::FolderRun folder(kCaseTexts);
    const auto run = folder.run();
    const Metadata metadata =
        parseMetadata("file,role\nr2.txt,Q\nq1.txt,Q\nn1.txt,K\nk3.txt,K\nq2.txt,R\nr1.txt,\n",
                      listedNames(*run))
            .value();
    const RoleOrder order = roleOrder(*run, metadata);
    EXPECT_EQ(namesOf(*run, order.positions),
              (Names{"q1.txt", "r2.txt", "k3.txt", "n1.txt", "q2.txt", "k1.txt", "k2.txt", "r1.txt",
                     "r3.txt", "r4.txt"}));
    const std::vector<Role> roles = {Role::Questioned, Role::Questioned, Role::Known, Role::Known,
                                     Role::Reference,  Role::None,       Role::None,  Role::None,
                                     Role::None,       Role::None};
    EXPECT_EQ(order.roles, roles);
}

// A lone known text has no mean, no reference texts give no shares, a role for a file the run
// did not analyse is named, and without a questioned text no reference text matches.
TEST(CaseCompatibility, SparseCasesSayWhatTheyCannotGive) {
    const RunResult run = test::runOf({{"k.txt", "11112"}, {"q.txt", "11111"}, {"x.txt", "11111"}});
    Metadata metadata;
    metadata.setRole("q.txt", Role::Questioned);
    metadata.setRole("k.txt", Role::Known);
    metadata.setRole("gone.txt", Role::Reference);
    const Compatibility c = compatibilityOf(run, metadata);
    EXPECT_EQ(c.texts.notAnalysed, (Names{"gone.txt"}));
    EXPECT_TRUE(c.texts.reference.empty());
    ASSERT_EQ(c.questionedKnown.size(), 1u);
    EXPECT_EQ(verdictText(c.questionedKnown[0][0]),
              "differs in affect: questioned none, known none");  // no decisions recorded
    EXPECT_EQ(shareSentence(c.questionedKnown[0][0]), "");
    EXPECT_EQ(caseTable(run, c, CaseTable::KnownKnown),
              (std::vector<TableRow>{{"known", "mean_strength", "off_type"},
                                     {"k.txt", "n/a", "no"},
                                     {"all known texts", "n/a", ""}}));
    const std::vector<TableRow> qr = caseTable(run, c, CaseTable::QuestionedReference);
    ASSERT_EQ(qr.size(), 7u);
    EXPECT_EQ(qr[6], (TableRow{"q.txt", "5", "0", "n/a"}));

    Metadata referenceOnly;
    referenceOnly.setRole("x.txt", Role::Reference);
    const Compatibility none = compatibilityOf(run, referenceOnly, 0);
    EXPECT_TRUE(none.matchedReference.empty());
    EXPECT_TRUE(none.questionedKnown.empty());
    EXPECT_EQ(caseTable(run, none, CaseTable::Matched), (std::vector<TableRow>{{"reference"}}));
}

TEST(CaseCompatibility, CliPrintsTheChosenTableAndRefusesBadMetadataWithTwo) {
    test::TempFolder folder;
    for (const test::File& f : kCaseTexts) {
        folder.write(f.name, f.bytes);
    }
    test::TempFolder elsewhere;
    const std::string meta = elsewhere.write("meta.csv", kCaseCsv).string();
    const std::string dir = folder.path().string();

    const test::CliResult qk = test::runCli({"compat", dir, "--metadata", meta});
    EXPECT_EQ(qk.status, 0) << qk.err;
    const auto rows = test::tableRows(qk.out);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[2],
              (Names{"q1.txt", "k2.txt", "4", "formality, personage, obligation/intention, affect",
                     "past tenseness: Past Tense / Not Past Tense", "no",
                     "differs in past tenseness: questioned Past Tense, known Not "
                     "Past Tense"}));
    const test::CliResult matched =
        test::runCli({"compat", dir, "--metadata", meta, "--table", "matched", "--level", "1"});
    EXPECT_EQ(matched.out, "reference\nr1.txt\nr3.txt\nr4.txt\n");

    const std::string bad = elsewhere.write("bad.csv", "file,role\nq1.txt,Q\nq9.txt,K\n").string();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } refused[] = {
        {{"compat", dir, "--metadata", bad}, "bad.csv line 3: the folder holds no file \"q9.txt\""},
        {{"compat", dir}, "needs --metadata"},
        {{"compat", dir, "--metadata", meta, "--table", "rq"}, "--table takes"},
        {{"compat", dir, "--metadata", meta, "--level", "6"}, "--level takes"},
    };
    for (const auto& r : refused) {
        const test::CliResult result = test::runCli(r.args);
        EXPECT_EQ(result.status, 2) << r.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(r.err), std::string::npos) << result.err;
    }
}

// Before the lock only the questioned texts' own results may show; off or locked, all do.
TEST(CaseUnmasking, TheStageDecidesWhichTablesMayShow) {
    const struct {
        UnmaskingStage stage;
        VisibleResults visible;
        std::array<bool, 5> tables;  // qk, kk, qr, qq, matched
    } cases[] = {
        {UnmaskingStage::Off, {true, true, true}, {true, true, true, true, true}},
        {UnmaskingStage::Unlocked, {true, false, false}, {false, false, false, true, false}},
        {UnmaskingStage::Locked, {true, true, true}, {true, true, true, true, true}},
    };
    const CaseTable order[] = {CaseTable::QuestionedKnown, CaseTable::KnownKnown,
                               CaseTable::QuestionedReference, CaseTable::QuestionedQuestioned,
                               CaseTable::Matched};
    for (const auto& k : cases) {
        EXPECT_EQ(visibleResults(k.stage), k.visible) << static_cast<int>(k.stage);
        for (std::size_t t = 0; t < 5; ++t) {
            EXPECT_EQ(mayShow(k.visible, order[t]), k.tables[t]) << static_cast<int>(k.stage) << t;
        }
    }
    const RunResult run = test::runOf({{"k.txt", "11112"}, {"q.txt", "01200"}, {"r.txt", "11111"}});
    Metadata metadata;
    metadata.setRole("q.txt", Role::Questioned);
    metadata.setRole("k.txt", Role::Known);
    metadata.setRole("r.txt", Role::Reference);
    EXPECT_EQ(questionedCodesTable(run, caseTexts(run, metadata)),
              (std::vector<TableRow>{{"questioned", "code"}, {"q.txt", "01200"}}));
}

// The lock's words give back exactly the texts they lock; what differs from the lock is named
// text by text.
TEST(CaseUnmasking, ChangesSinceTheLockAreNamed) {
    const std::string a(64, 'a'), b(64, 'b'), c(64, 'c');
    const std::vector<LockedText> locked = {{"caf\xE9\t.txt", "01200", a}, {"b.txt", "11112", b}};
    EXPECT_EQ(lockedTextsOf(lockDetails(locked, "evidence\n\nQ\tx.txt\t0\t0\n")), locked);
    EXPECT_EQ(lockedTextsOf(lockDetails({}, "")), std::vector<LockedText>{});
    EXPECT_EQ(lockedTextsOf("checked"), std::nullopt);

    Metadata bothQ;
    bothQ.setRole("caf\xE9\t.txt", Role::Questioned);
    bothQ.setRole("b.txt", Role::Questioned);
    const auto runOf = [&](std::string aSha, std::string bCode, bool aRead = true) {
        RunRecord run;
        run.files = {{"caf\xE9\t.txt", !aRead, "", 1, aRead ? aSha : "", "", "01200", {}},
                     {"b.txt", false, "", 1, b, "", bCode, {}}};
        return run;
    };
    Metadata moved = bothQ;
    moved.setRole("caf\xE9\t.txt", Role::Known);
    moved.setRole("b.txt", Role::None);
    moved.setRole("n.txt", Role::Questioned);
    const RunRecord same = runOf(a, "11112"), changed = runOf(c, "11111"),
                    unread = runOf(a, "11112", false), without = RunRecord{};
    const struct {
        const Metadata* metadata;
        const RunRecord* run;
        std::vector<std::string> lines;
    } cases[] = {
        {&bothQ, &same, {}},
        {&bothQ, nullptr, {}},
        {&moved,
         &same,
         {"caf\\xE9\\t.txt: locked as a questioned text, now known",
          "b.txt: locked as a questioned text, now without a role",
          "n.txt: questioned since the lock, not locked"}},
        {&bothQ,
         &changed,
         {"caf\\xE9\\t.txt: content changed since the lock (its SHA-256 differs from the "
          "locked one)",
          "b.txt: code changed since the lock (locked 11112, now 11111)"}},
        {&bothQ,
         &unread,
         {"caf\\xE9\\t.txt: locked as a questioned text, not read by the last run"}},
        {&bothQ,
         &without,
         {"caf\\xE9\\t.txt: locked as a questioned text, missing from the last run",
          "b.txt: locked as a questioned text, missing from the last run"}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(lockChanges(locked, *k.metadata, k.run), k.lines);
    }
}

}  // namespace
}  // namespace pelmora
