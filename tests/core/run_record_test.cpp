#include <gtest/gtest.h>

#include "evidence/run_record.h"

namespace pelmora {
namespace {

RecordedFile readFile(std::string name, std::uint64_t size, char sha, std::string encoding,
                      std::string code) {
    RecordedFile f;
    f.nameBytes = std::move(name);
    f.byteSize = size;
    f.sha256 = std::string(64, sha);
    f.encoding = std::move(encoding);
    f.code = std::move(code);
    return f;
}

RecordedFile unreadableFile(std::string name, std::string reason) {
    RecordedFile f;
    f.nameBytes = std::move(name);
    f.unreadable = true;
    f.reason = std::move(reason);
    return f;
}

RunRecord sample() {
    RunRecord r;
    r.version = "0.1.0";
    r.created = "2026-12-06T15:40:12Z";
    r.folder = "/corpus/case 17";
    r.files = {readFile("letter, to \"Ann\".txt", 1234, 'a', "UTF-8", "11201"),
               readFile("tab\there\\back\nline\r.txt", 0, 'b', "ASCII", "11200"),
               unreadableFile("locked.txt", "Permission denied"),
               // Two names that display alike: one in Windows-1252 bytes, one in UTF-8.
               readFile("caf\xE9.txt", 7, 'c', "ASCII", "01200"),
               readFile("café.txt", 7, 'd', "ASCII", "01200")};
    return r;
}

// The sample with stability: the letter resampled 200 times, the odd file too short.
RunRecord sampleWithStability() {
    RunRecord r = sample();
    r.resamples = 200;
    r.blockWords = 50;
    r.seedingRule = kSeedingRule;
    RecordedStability letter;
    letter.codeKept = 150;
    letter.digits = {{{0, 200}, {0, 200}, {0, 0, 200}, {13, 187}, {0, 160, 40}}};
    r.files[0].stability = letter;
    r.files[1].stability = RecordedStability{true, 0, {}};
    return r;
}

TEST(RunRecord, TextRoundTripKeepsEveryFieldAndAnyName) {
    const RunRecord r = sample();
    const std::string text = recordText(r);
    EXPECT_EQ(text,
              "Pelmora run record\n"
              "version\t0.1.0\n"
              "created\t2026-12-06T15:40:12Z\n"
              "folder\t/corpus/case 17\n"
              "# file, size in bytes, SHA-256, encoding, type code, name\n"
              "file\t1234\t" +
                  std::string(64, 'a') +
                  "\tUTF-8\t11201\tletter, to \"Ann\".txt\n"
                  "file\t0\t" +
                  std::string(64, 'b') +
                  "\tASCII\t11200\ttab\\there\\\\back\\nline\\r.txt\n"
                  "unreadable\tPermission denied\tlocked.txt\n"
                  "file\t7\t" +
                  std::string(64, 'c') + "\tASCII\t01200\tcaf\\xE9.txt\n" + "file\t7\t" +
                  std::string(64, 'd') + "\tASCII\t01200\tcafé.txt\n");
    const Result<RunRecord> back = parseRecord(text);
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back.value().version, r.version);
    EXPECT_EQ(back.value().created, r.created);
    EXPECT_EQ(back.value().folder, r.folder);
    EXPECT_EQ(back.value().files, r.files);

    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    ASSERT_TRUE(parseRecord(crlf).ok());
    EXPECT_EQ(parseRecord(crlf).value().files, r.files);
}

TEST(RunRecord, StabilityIsRecordedReadBackAndVerified) {
    const RunRecord r = sampleWithStability();
    const std::string text = recordText(r);
    const std::string tail = text.substr(text.find("resampling"));
    EXPECT_EQ(tail, std::string("resampling\t200\t50\t") + kSeedingRule +
                        "\n"
                        "# resampled file, resamples giving the whole code, resamples giving each "
                        "digit at each place, name\n"
                        "resampled\t150\t1:200\t1:200\t2:200\t0:13 1:187\t1:160 2:40\t"
                        "letter, to \"Ann\".txt\n"
                        "too short\ttab\\there\\\\back\\nline\\r.txt\n");
    const Result<RunRecord> back = parseRecord(text);
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back.value().files, r.files);
    EXPECT_EQ(back.value().resamples, 200);
    EXPECT_EQ(back.value().blockWords, 50);
    EXPECT_EQ(back.value().seedingRule, kSeedingRule);
    EXPECT_EQ(verificationText(verifyRun(r, r), 5),
              "Unchanged: 5 files, every file and code and every stability figure as recorded.\n");

    RunRecord now = sampleWithStability();
    now.files[0].stability->codeKept = 149;
    now.files[0].stability->digits[3] = {{14, 186}};
    now.files[1].stability = RecordedStability{};
    EXPECT_EQ(verifyRun(r, now).differences,
              (std::vector<std::string>{
                  "letter, to \"Ann\".txt: the whole code held in 150 of 200 resamples, now in 149",
                  "letter, to \"Ann\".txt: digit 4 resampled as 0:13 1:187, now as 0:14 1:186",
                  "tab\there\\back\nline\r.txt: was too short to resample, now resampled"}));
    RunRecord drawnOtherwise = sampleWithStability();
    drawnOtherwise.seedingRule = "another rule";
    EXPECT_EQ(verifyRun(drawnOtherwise, r).note,
              "The record's resamples were drawn by another rule (another rule); the stability "
              "figures cannot agree.");

    const std::string head = text.substr(0, text.find("resampling"));
    for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
             {"resampling\t0\t50\tx\n", "the resampling is not two whole numbers"},
             {"resampling\t200\t50\tx\nresampled\t1\t-\t-\t-\t-\t-\tnobody.txt\n",
              "stability for a file the record does not list"},
             {"resampled\t1\t-\t-\t-\t-\t-\tlocked.txt\n",
              "stability for a file the record does not list"},
             {"resampling\t200\t50\tx\nresampled\t1\t-\t-\t-\t-\t0=3\tcafé.txt\n",
              "a digit's resamples are not as \"0:13 1:187\""}}) {
        const Result<RunRecord> bad = parseRecord(head + line);
        ASSERT_FALSE(bad.ok()) << line;
        EXPECT_NE(bad.error().message.find(message), std::string::npos) << bad.error().message;
    }
}

TEST(RunRecord, MalformedRecordsAreRefusedWithTheLine) {
    struct Case {
        std::string text;
        const char* message;
        Error::Code code = Error::Code::RecordUnusable;
    };
    const Case cases[] = {
        {"", "The run record is not readable at line 1: it is empty."},
        {"Some other file\n",
         "The run record is not readable at line 1: it does not start with \"Pelmora run "
         "record\"."},
        {"Pelmora run record\nfolder\t/x\n",
         "The run record is not readable at line 2: it names no program version."},
        {"Pelmora run record\nversion\t1\nfile\t12x\tab\tASCII\t1\tn.txt\n",
         "The run record is not readable at line 3: the size is not a number."},
        {"Pelmora run record\nversion\t1\nfile\t12\tab\tASCII\tn.txt\n",
         "The run record is not readable at line 3: unknown entry \"file\"."},
        {"Pelmora run record\nversion\t1\nfile\t12\tab\tASCII\t1\tn\\q.txt\n",
         "The run record is not readable at line 3: a backslash starts no known escape."},
        {"Pelmora run record\nversion\t1\nfile\t12\tab\tASCII\t1\tn\\xE.txt\n",
         "The run record is not readable at line 3: a backslash starts no known escape."},
        // A byte that is not UTF-8 is named by its line, not re-read in another encoding.
        {"Pelmora run record\nversion\t1\nfile\t12\tab\tASCII\t1\tcaf\xE9.txt\n",
         "The run record is not readable at line 3: it holds a byte that is not UTF-8.",
         Error::Code::NotUtf8},
    };
    for (const Case& c : cases) {
        const Result<RunRecord> r = parseRecord(c.text);
        ASSERT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.error().message, c.message) << c.text;
        EXPECT_EQ(r.error().code, c.code) << c.text;
    }
}

TEST(RunRecord, VerificationListsEveryDifferenceByName) {
    const RunRecord was = sample();
    EXPECT_TRUE(verifyRun(was, was).unchanged());
    EXPECT_EQ(verificationText(verifyRun(was, was), was.files.size()),
              "Unchanged: 5 files, every file and code as recorded.\n");

    RunRecord now = sample();
    now.version = "0.2.0";
    now.files[0].byteSize = 1235;
    now.files[0].sha256 = std::string(64, 'c');
    now.files[0].encoding = "Windows-1252";
    now.files[0].code = "21201";
    now.files[2] = readFile("locked.txt", 10, 'd', "ASCII", "01200");
    now.files.erase(now.files.begin() + 1);
    now.files.pop_back();  // café.txt in UTF-8; its Windows-1252 twin stays
    now.files.push_back(readFile("new.txt", 5, 'e', "ASCII", "01200"));
    const Verification v = verifyRun(was, now);
    EXPECT_EQ(verificationText(v, now.files.size()),
              "The record was made by Pelmora 0.1.0; this is Pelmora 0.2.0.\n"
              "Changed since the record:\n"
              "letter, to \"Ann\".txt: content changed (1234 bytes, now 1235 bytes; SHA-256 "
              "differs)\n"
              "letter, to \"Ann\".txt: encoding was UTF-8, now Windows-1252\n"
              "letter, to \"Ann\".txt: code was 11201, now 21201\n"
              "tab\there\\back\nline\r.txt: missing from the folder\n"
              "locked.txt: was left out as unreadable (Permission denied), is now read\n"
              "café.txt: missing from the folder\n"
              "new.txt: new file, not in the record\n");

    RunRecord same = sample();
    same.version = "0.2.0";
    EXPECT_TRUE(verifyRun(was, same).unchanged());  // another version alone is no difference
    RunRecord nowLocked = sample();
    nowLocked.files[0] = unreadableFile("letter, to \"Ann\".txt", "Permission denied");
    EXPECT_EQ(
        verifyRun(was, nowLocked).differences,
        std::vector<std::string>{"letter, to \"Ann\".txt: is now unreadable (Permission denied)"});
}

}  // namespace
}  // namespace pelmora
