// The case file: what it stores reads back the same, a log or run altered with the sqlite3 shell
// is named at the entry it was altered, a file that is no case or of a newer format is refused
// untouched, a failed write leaves the file as it was, and the folder's changes since the last
// run are named; pelmora-cli case's exit statuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/recent_places.h"
#include "casefile/case_file.h"
#include "casefile/folder_check.h"
#include "explanation/digit_evidence.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::runShell;
using test::shellQuoted;
using test::TempFolder;

const std::string kPlain = "We walked to the river and we talked about the weather all day.\n";

fs::path put(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return file;
}

// A folder of three texts, one of them named by bytes that are not UTF-8.
struct CaseFolder {
    TempFolder place;
    fs::path folder = place.path() / "texts";
    fs::path file = place.path() / "case.pelmora";

    CaseFolder() {
        fs::create_directory(folder);
        put(folder / "a.txt", kPlain);
        put(folder / "b.txt", "I should not have gone. " + kPlain);
        put(folder / "caf\xE9.txt", "They will go. " + kPlain);
    }
};

RunRecord handMadeRun() {
    RunRecord run;
    run.version = "0.1.0";
    run.created = "2026-12-06T15:40:12Z";
    run.folder = "/cases/texts";
    run.resamples = 200;
    run.blockWords = 50;
    run.seedingRule = "SHA-256 of the file and the resample number";
    RecordedStability held;
    held.codeKept = 150;
    held.digits[0][1] = 150;
    held.digits[0][2] = 50;
    run.files.push_back({"a.txt", false, "", 66, std::string(64, 'a'), "ASCII", "01200", held});
    run.files.push_back({"caf\xE9.txt", false, "", 80, std::string(64, 'b'), "ASCII", "11112", {}});
    run.files.push_back({"gone.txt", true, "Permission denied", 0, "", "", "", {}});
    return run;
}

Metadata handMadeMetadata() {
    Metadata m;
    m.header = {"file", "role", "author", "shelf mark"};
    m.rows = {{"b.txt", Role::Known, {"Ann", "K-1"}}, {"caf\xE9.txt", Role::Questioned, {"", "Q"}}};
    return m;
}

TEST(CaseFileTest, WhatIsStoredReadsBackTheSame) {
    CaseFolder c;
    const CaseDetails details{"23/7", "A. Examiner", "Same author?", "notes\nover two lines"};
    Result<CaseFile> made = CaseFile::create(c.file, c.folder, details);
    ASSERT_TRUE(made.ok()) << made.error().message;
    ASSERT_FALSE(made.value().importMetadata(handMadeMetadata()));
    ASSERT_FALSE(made.value().setRole("a.txt", Role::Reference));
    ASSERT_FALSE(made.value().setOption("matched level", "4"));
    ASSERT_FALSE(made.value().storeRun(handMadeRun()));
    EXPECT_FALSE(CaseFile::create(c.file, c.folder, details).ok()) << "created over a case";

    const Result<CaseFile> opened = CaseFile::open(c.file, false);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    const CaseFile& file = opened.value();
    EXPECT_EQ(file.details().value(), details);
    EXPECT_EQ(file.folder().value().absolute, fs::absolute(c.folder).lexically_normal().native());
    EXPECT_EQ(file.folder().value().relative, "texts");
    EXPECT_EQ(file.texts().value(), (std::vector<std::string>{"a.txt", "b.txt", "caf\xE9.txt"}));
    Metadata expected = handMadeMetadata();
    expected.rows.push_back({"a.txt", Role::Reference, {"", ""}});
    EXPECT_EQ(file.metadata().value(), expected);
    EXPECT_EQ(file.options().value(), (CaseOptions{{"matched level", "4"}}));
    EXPECT_EQ(file.runs().value(), std::vector<RunRecord>{handMadeRun()});
    const Result<std::vector<AuditEntry>> log = file.log();
    ASSERT_TRUE(log.ok());
    std::vector<std::string> actions;
    for (const AuditEntry& e : log.value()) {
        actions.push_back(e.action);
    }
    EXPECT_EQ(actions,
              (std::vector<std::string>{"created", "metadata imported", "role changed", "run"}));
    EXPECT_EQ(log.value()[2].details, "a.txt: no role to reference");
    EXPECT_EQ(file.tampering().value(), std::nullopt);
}

TEST(CaseFileTest, ACaseMovedWithItsFolderFindsItByItsRelativePath) {
    TempFolder place;
    fs::create_directories(place.path() / "old" / "texts");
    put(place.path() / "old" / "texts" / "a.txt", kPlain);
    {
        Result<CaseFile> made =
            CaseFile::create(place.path() / "old" / "case.pelmora", place.path() / "old/texts", {});
        ASSERT_TRUE(made.ok()) << made.error().message;
        EXPECT_EQ(made.value().folderPath().value(), place.path() / "old" / "texts");
        // Every change of the details is logged with what it was; a save that changes
        // nothing is not.
        ASSERT_FALSE(made.value().setDetails({"8", "", "", "moved"}));
        ASSERT_FALSE(made.value().setDetails({"8", "", "", "moved"}));
        const auto log = made.value().log();
        ASSERT_TRUE(log.ok());
        ASSERT_EQ(log.value().size(), 2U);
        EXPECT_EQ(log.value()[1].action, "details changed");
        EXPECT_EQ(log.value()[1].details, "number \"\" to \"8\"; notes \"\" to \"moved\"");
    }
    fs::rename(place.path() / "old", place.path() / "new");
    const Result<CaseFile> opened = CaseFile::open(place.path() / "new" / "case.pelmora", false);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    EXPECT_EQ(opened.value().folderPath().value(), place.path() / "new" / "texts");
    EXPECT_EQ(opened.value().details().value(), (CaseDetails{"8", "", "", "moved"}));
}

// A case of two entries and a run, then one more entry: created, run, verified.
fs::path caseWithRun(const CaseFolder& c) {
    Result<CaseFile> made = CaseFile::create(c.file, c.folder, {});
    EXPECT_TRUE(made.ok());
    EXPECT_FALSE(made.value().storeRun(handMadeRun()));
    EXPECT_FALSE(made.value().logAction(AuditAction::Verified, "checked"));
    return c.file;
}

TEST(CaseFileTest, AlteringTheLogOrARunIsNamedAtTheEntry) {
    struct Case {
        const char* sql;
        const char* found;  // "" for none
    } cases[] = {
        {"SELECT count(*) FROM audit_log", ""},
        {"UPDATE audit_log SET details = 'nothing' WHERE sequence = 3",
         "log entry 3: its fields do not match its hash"},
        {"UPDATE audit_log SET time = '2020-01-01T00:00:00Z' WHERE sequence = 1",
         "log entry 1: its fields do not match its hash"},
        {"DELETE FROM audit_log WHERE sequence = 2", "log entry 3: out of sequence"},
        {"UPDATE audit_log SET sequence = sequence + 10 WHERE sequence IN (2, 3);"
         "UPDATE audit_log SET sequence = 5 - (sequence - 10) WHERE sequence > 10",
         "log entry 2: does not follow the entry before it"},
        {"DELETE FROM audit_log WHERE sequence = 3",
         "log entry 3: the case records 3 entries, the log holds 2"},
        {"UPDATE run_files SET code = '00000' WHERE position = 1",
         "run 1: does not match log entry 2"},
        {"UPDATE run_stability SET code_kept = 200", "run 1: does not match log entry 2"},
    };
    for (const Case& k : cases) {
        CaseFolder c;
        const fs::path file = caseWithRun(c);
        const test::CliResult shell =
            runShell("sqlite3 " + shellQuoted(file.string()) + " " + shellQuoted(k.sql));
        ASSERT_EQ(shell.status, 0) << k.sql << ": " << shell.err;
        const Result<CaseFile> opened = CaseFile::open(file, false);
        ASSERT_TRUE(opened.ok()) << k.sql << ": " << opened.error().message;
        const std::optional<std::string> found = opened.value().tampering().value();
        EXPECT_EQ(found.value_or("").substr(0, std::string(k.found).size()), k.found) << k.sql;
        EXPECT_EQ(found.has_value(), *k.found != '\0') << k.sql;
    }
}

TEST(CaseFileTest, TheCheckedLogListsEachEntryAndWhereTheChainBreaks) {
    CaseFolder c;
    const fs::path file = caseWithRun(c);
    const CheckedLog checked = CaseFile::open(file, false).value().checkedLog().value();
    const std::vector<TableRow> whole = auditLogTable(checked.entries);
    ASSERT_EQ(whole.size(), 4U);
    EXPECT_EQ(whole[0], (TableRow{"entry", "time", "action", "details", "subject", "hash"}));
    // Entry, action and, for the last, details, in the order caseWithRun logged them.
    EXPECT_EQ((TableRow{whole[1][0], whole[1][2], whole[2][0], whole[2][2], whole[3][0],
                        whole[3][2], whole[3][3]}),
              (TableRow{"1", "created", "2", "run", "3", "verified", "checked"}));
    // The run's entry names the stored run by its digest; the check concerns nothing stored.
    EXPECT_EQ(whole[2][4].size(), 64U);
    EXPECT_EQ(whole[3][4], "");
    EXPECT_EQ(whole[3][5], checked.entries.back().hash);
    EXPECT_EQ(chainStateText(checked), "The log's chain is whole: 3 entries.");

    ASSERT_EQ(runShell("sqlite3 " + shellQuoted(file.string()) + " " +
                       shellQuoted("UPDATE audit_log SET details = 'x' WHERE sequence = 3"))
                  .status,
              0);
    EXPECT_EQ(chainStateText(CaseFile::open(file, false).value().checkedLog().value()),
              "The log's chain is broken: log entry 3: its fields do not match its hash; the "
              "entry was changed");
    EXPECT_EQ(chainStateText({{}, std::nullopt}), "The log's chain is whole: 0 entries.");
    EXPECT_EQ(chainStateText({{AuditEntry{}}, std::nullopt}), "The log's chain is whole: 1 entry.");
}

TEST(CaseFileTest, RecentCasesPutTheLatestFirstOnceAndKeepTheLastEight) {
    using Paths = std::vector<std::string>;
    const Paths eight = {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"};
    const struct {
        Paths recent;
        std::string path;
        Paths expected;
    } cases[] = {
        {{}, "/a", {"/a"}},
        {{"/a", "/b"}, "/a", {"/a", "/b"}},
        {{"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
        {{"/a", "/b"}, "/B", {"/B", "/a", "/b"}},
        {eight, "/9", {"/9", "/1", "/2", "/3", "/4", "/5", "/6", "/7"}},
        {eight, "/8", {"/8", "/1", "/2", "/3", "/4", "/5", "/6", "/7"}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(withRecentPlace(k.recent, k.path, kMostRecentCases), k.expected) << k.path;
    }
}

TEST(CaseFileTest, FilesThatAreNoCaseOfThisFormatAreRefusedUntouched) {
    CaseFolder c;
    const std::string whole = readAll(caseWithRun(c));
    struct Case {
        const char* label;
        std::string bytes;
        const char* sql;  // run on the bytes before opening
        const char* message;
    } cases[] = {
        {"cut short", whole.substr(0, whole.size() / 2), "", "cut short"},
        {"text", "Pelmora case\n", "", "is not a Pelmora case file, or"},
        {"empty", "", "", "is not a Pelmora case file"},
        {"other database", "", "CREATE TABLE t(x)", "is not a Pelmora case file"},
        {"newer", whole, "PRAGMA user_version = 2",
         "was written by a newer Pelmora (case file "
         "format 2; this one reads format 1)"},
        {"trigger", whole, "CREATE TRIGGER t AFTER INSERT ON audit_log BEGIN SELECT 1; END",
         "does not hold the tables of a case file"},
        {"no details", whole, "DELETE FROM case_details", "holds no case details"},
    };
    for (const Case& k : cases) {
        const fs::path file = put(c.place.path() / "other.pelmora", k.bytes);
        if (*k.sql != '\0') {
            ASSERT_EQ(
                runShell("sqlite3 " + shellQuoted(file.string()) + " " + shellQuoted(k.sql)).status,
                0)
                << k.label;
        }
        const std::string before = readAll(file);
        const Result<CaseFile> opened = CaseFile::open(file);
        ASSERT_FALSE(opened.ok()) << k.label;
        EXPECT_EQ(opened.error().code, Error::Code::CaseUnusable) << k.label;
        EXPECT_NE(opened.error().message.find(k.message), std::string::npos)
            << k.label << ": " << opened.error().message;
        EXPECT_EQ(readAll(file), before) << k.label;
        fs::remove(file);
    }
}

TEST(CaseFileTest, AFailedWriteLeavesTheFileAsItWas) {
    CaseFolder c;
    const fs::path file = caseWithRun(c);
    const std::string before = readAll(file);
    {
        Result<CaseFile> opened = CaseFile::open(file);
        ASSERT_TRUE(opened.ok());
        // The second file of the same name fails after the run and its first file are written.
        RunRecord twice = handMadeRun();
        twice.files.push_back(twice.files.front());
        EXPECT_TRUE(opened.value().storeRun(twice));
        Metadata clash = handMadeMetadata();
        clash.rows.push_back(clash.rows.front());
        EXPECT_TRUE(opened.value().importMetadata(clash));
        EXPECT_TRUE(opened.value().setRole("not in the folder.txt", Role::Known));
        EXPECT_EQ(opened.value().runs().value().size(), 1u);
    }
    {
        Result<CaseFile> readOnly = CaseFile::open(file, false);
        ASSERT_TRUE(readOnly.ok());
        const std::optional<Error> failed = readOnly.value().logAction(AuditAction::Opened, "");
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->code, Error::Code::WriteFailed);
    }
    EXPECT_EQ(readAll(file), before);
}

TEST(CaseFileTest, FolderChangesSinceTheLastRunAreNamed) {
    CaseFolder c;
    const RunRecord last = recordOf(*test::runFolder(c.folder), "2026-12-06T15:40:12Z");
    EXPECT_EQ(folderAgainstRun(last, c.folder).differences, std::vector<std::string>{});
    // b.txt keeps its size with other bytes; a.txt goes; d.txt comes.
    put(c.folder / "b.txt",
        "I should not have gone. " + kPlain.substr(0, 7) + "W" + kPlain.substr(8));
    fs::remove(c.folder / "a.txt");
    put(c.folder / "d.txt", kPlain);
    EXPECT_EQ(folderAgainstRun(last, c.folder).differences,
              (std::vector<std::string>{"a.txt: missing from the folder",
                                        "b.txt: content changed (88 bytes, now 88 bytes; "
                                        "SHA-256 differs)",
                                        "d.txt: new file, not in the record"}));
}

// a.txt's code and SHA-256 (sha256sum), as a run of kPlain gives them.
const std::string kPlainCode = "21200";
const std::string kPlainSha = "554a9917240f2c601723409eb260cd5d011973aec9bb4c648d31790f6467317a";

std::string lastDetails(const CaseFile& file) {
    return file.log().value().back().details;
}

// Locking needs unmasking on and a stored run that analysed every questioned text, records
// each one's code and SHA-256 with its evidence once, and a later role or content change of a
// locked text is logged and named.
TEST(CaseFileTest, TheLockRecordsTheQuestionedTextsAndNamesLaterChanges) {
    CaseFolder c;
    Result<CaseFile> made = CaseFile::create(c.file, c.folder, {});
    ASSERT_TRUE(made.ok()) << made.error().message;
    CaseFile& file = made.value();
    Metadata roles;
    roles.setRole("a.txt", Role::Questioned);
    roles.setRole("b.txt", Role::Known);
    ASSERT_FALSE(file.importMetadata(roles));
    const std::shared_ptr<const RunResult> run = test::runFolder(c.folder);
    const auto refusal = [&] {
        const std::optional<Error> e = file.lockQuestioned(*run);
        return e ? e->message : std::string("locked");
    };
    EXPECT_EQ(file.unmasking().value(), UnmaskingStage::Off);
    EXPECT_EQ(refusal(), "sequential unmasking is off for this case");
    ASSERT_FALSE(file.setUnmasking(true));
    EXPECT_EQ(file.unmasking().value(), UnmaskingStage::Unlocked);
    EXPECT_EQ(refusal(), "no run is stored yet; run the case before locking");
    RunRecord unread = recordOf(*run, "2026-12-06T15:40:12Z");
    ASSERT_EQ(unread.files[0].nameBytes, "a.txt");
    unread.files[0] = {"a.txt", true, "Permission denied", 0, "", "", "", {}};
    ASSERT_FALSE(file.storeRun(unread));
    EXPECT_EQ(refusal(), "a.txt: questioned but not analysed in the last run");

    ASSERT_FALSE(file.storeRun(recordOf(*run, "2026-12-06T15:41:00Z")));
    EXPECT_EQ(refusal(), "locked");
    EXPECT_EQ(file.lockedTexts().value(),
              (std::vector<LockedText>{{"a.txt", kPlainCode, kPlainSha}}));
    const AuditEntry lock = file.log().value().back();
    EXPECT_EQ(lock.action, "questioned texts locked");
    EXPECT_NE(lock.details.find(textEvidenceReport(explainText(run->texts[0]))), std::string::npos);
    EXPECT_EQ(file.unmasking().value(), UnmaskingStage::Locked);
    EXPECT_EQ(refusal(), "the questioned texts are locked already");
    EXPECT_TRUE(file.setUnmasking(false));
    EXPECT_EQ(file.changesSinceLock().value(), std::vector<std::string>{});

    ASSERT_FALSE(file.setRole("a.txt", Role::Known));
    EXPECT_EQ(lastDetails(file),
              "a.txt: questioned to known\nsince the lock: a.txt: locked as a questioned text, "
              "now known");
    ASSERT_FALSE(file.setRole("a.txt", Role::Questioned));
    put(c.folder / "a.txt", kPlain + "More.\n");
    ASSERT_FALSE(file.storeRun(recordOf(*test::runFolder(c.folder), "2026-12-06T16:00:00Z")));
    const std::string changed =
        "a.txt: content changed since the lock (its SHA-256 differs from the locked one)";
    EXPECT_NE(lastDetails(file).find("\nsince the lock: " + changed), std::string::npos);
    EXPECT_EQ(file.changesSinceLock().value(), std::vector<std::string>{changed});
    EXPECT_EQ(file.tampering().value(), std::nullopt);
}

TEST(CaseCliTest, ExitStatuses) {
    CaseFolder c;
    put(c.place.path() / "meta.csv", "file,role\na.txt,Q\nb.txt,known\n");
    put(c.place.path() / "bad.csv", "file,role\na.txt,Q\nb.txt,author\n");
    const std::string cd = "cd " + shellQuoted(c.place.path().string()) + " && ";
    struct Step {
        std::string command;
        int status;
        const char* said;  // on standard output or error
    } steps[] = {
        {"$CLI case new c texts --metadata bad.csv", 2, "bad.csv line 3: "},
        {"test -e c.pelmora", 1, ""},
        {"$CLI case new c texts --metadata meta.csv --number 7", 0, "c.pelmora created"},
        {"$CLI case new c texts", 2, "c.pelmora"},
        {"$CLI case new texts/a.txt/c texts", 4, "Could not create"},
        {"$CLI case metadata c.pelmora", 0,
         "\xEF\xBB\xBF"
         "file,role\r\na.txt,Q\r\nb.txt,K\r\n"},
        {"$CLI case verify c.pelmora", 0, "No run is stored yet"},
        {"$CLI case run c.pelmora", 0,
         "questioned\tknown\tstrength\tagreeing\tdiffering\tminimal\tverdict\na.txt\tb.txt\t"},
        {"$CLI case verify c.pelmora", 0, "each of the same size and SHA-256"},
        {"echo more >> texts/a.txt && $CLI case verify c.pelmora", 1, "a.txt: content changed"},
        {"$CLI case run c.pelmora", 0, "a.txt: content changed"},
        {"$CLI case log c.pelmora | cut -f3 | tr '\\n' ,", 0,
         "action,created,metadata imported,verified,opened,run,verified,verified,opened,run,"},
        {"sqlite3 c.pelmora 'DELETE FROM audit_log WHERE sequence = 4' && "
         "$CLI case verify c.pelmora",
         1, "log entry 5: out of sequence"},
        {"$CLI case log texts/a.txt", 2, "is not a Pelmora case file"},
        {"$CLI case verify missing.pelmora", 2, "missing.pelmora"},
        {"$CLI case log c.pelmora --number 3", 2, "unknown option '--number'"},
        {"$CLI case frobnicate c.pelmora", 2, "unknown action"},
        {"$CLI case run c.pelmora --resamples 20 --block 5 >/dev/null && "
         "$CLI case log c.pelmora | tail -n 1 | cut -f4",
         0, "stability over 20 resamples of 5 words"},
        {"$CLI case run c.pelmora --metadata meta.csv", 2, "unknown option '--metadata'"},
    };
    for (const Step& s : steps) {
        const test::CliResult r = runShell(cd + s.command);
        EXPECT_EQ(r.status, s.status) << s.command << "\n" << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(s.said), std::string::npos) << s.command << "\n"
                                                                   << r.out << r.err;
    }
}

TEST(CaseCliTest, SequentialUnmaskingShowsTheQuestionedTextsFirst) {
    CaseFolder c;
    put(c.place.path() / "meta.csv", "file,role\na.txt,Q\nb.txt,K\n");
    const std::string cd = "cd " + shellQuoted(c.place.path().string()) + " && ";
    struct Step {
        std::string command;
        int status;
        std::string said;    // on standard output or error
        const char* absent;  // on neither; "" for no such check
    } steps[] = {
        {"$CLI case new u texts --unmasking yes", 2, "--unmasking takes on or off", ""},
        {"$CLI case new u texts --metadata meta.csv --unmasking on", 0, "u.pelmora created", ""},
        {"$CLI case lock u.pelmora", 2, "no run is stored yet", ""},
        {"$CLI case run u.pelmora", 0, "questioned\tcode\na.txt\t" + kPlainCode + "\n", "known\t"},
        {"$CLI case run u.pelmora", 0, "the known and reference results follow the lock", ""},
        {"$CLI case lock u.pelmora", 0, "a.txt\t" + kPlainCode + "\t" + kPlainSha, ""},
        {"$CLI case lock u.pelmora", 2, "locked already", ""},
        {"$CLI case unmasking u.pelmora off", 2, "the questioned texts are locked", ""},
        {"$CLI case unmasking u.pelmora", 2, "needs CASE and on or off", ""},
        {"$CLI case run u.pelmora", 0, "questioned\tknown\tstrength", "follow the lock"},
        {"$CLI case verify u.pelmora", 0, "each of the same size", "Since the questioned"},
        {"echo more >> texts/a.txt && $CLI case run u.pelmora", 0,
         "since the questioned texts were locked: a.txt: content changed since the lock", ""},
        {"$CLI case verify u.pelmora", 1, "Since the questioned texts were locked: a.txt: content",
         ""},
        {"$CLI case log u.pelmora | cut -f3 | tr '\\n' ,", 0,
         "action,created,metadata imported,option changed,opened,run,opened,run,questioned texts "
         "locked,opened,run,verified,opened,run,verified,",
         ""},
    };
    for (const Step& s : steps) {
        const test::CliResult r = runShell(cd + s.command);
        EXPECT_EQ(r.status, s.status) << s.command << "\n" << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(s.said), std::string::npos) << s.command << "\n"
                                                                   << r.out << r.err;
        if (*s.absent != '\0') {
            EXPECT_EQ((r.out + r.err).find(s.absent), std::string::npos) << s.command << "\n"
                                                                         << r.out << r.err;
        }
    }
}

}  // namespace
}  // namespace pelmora
