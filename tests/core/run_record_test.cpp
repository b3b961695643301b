#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/sha256.h"
#include "record/run_record.h"
#include "tests/support/test_data.h"

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

// The sample with stability: the letter resampled 200 times, the odd file too short, the two
// café files steady.
RunRecord sampleWithStability() {
    RunRecord r = sample();
    r.resamples = 200;
    r.blockWords = 50;
    r.seedingRule = kSeedingRule;
    RecordedStability letter;
    letter.codeKept = 150;
    letter.digits = {{{0, 200}, {0, 200}, {0, 0, 200}, {13, 187}, {0, 160, 40}}};
    r.files[0].stability = letter;
    r.files[1].stability = RecordedStability{true, 0, {}, {}};
    r.files[3].stability = r.files[4].stability =
        RecordedStability{false, 200, {{{200}, {0, 200}, {0, 0, 200}, {200}, {200}}}, {}};
    return r;
}

// The line that ends a record: "end", the lines above it, their SHA-256.
bool isEndLine(const std::string& line, int linesAbove) {
    const std::string head = "end\t" + std::to_string(linesAbove) + "\t";
    return line.size() == head.size() + 64 && line.rfind(head, 0) == 0 &&
           line.find_first_not_of("0123456789abcdef", head.size()) == std::string::npos;
}

std::string withoutLastLine(const std::string& text) {
    return text.substr(0, text.rfind('\n', text.size() - 2) + 1);
}

// The sample's record from its second line to its first file, in either format.
std::string sampleHead() {
    return "version\t0.1.0\n"
           "created\t2026-12-06T15:40:12Z\n"
           "folder\t/corpus/case 17\n"
           "# file, size in bytes, SHA-256, encoding, type code, name\n"
           "file\t1234\t" +
           std::string(64, 'a') + "\tUTF-8\t11201\tletter, to \"Ann\".txt\n";
}

TEST(RunRecord, TextRoundTripKeepsEveryFieldAndAnyName) {
    const RunRecord r = sample();
    const std::string text = recordText(r);
    const std::string body =
        "Pelmora run record, format 2\n" + sampleHead() + "file\t0\t" + std::string(64, 'b') +
        "\tASCII\t11200\ttab\\there\\\\back\\nline\\r.txt\n"
        "unreadable\tPermission denied\tlocked.txt\n"
        "file\t7\t" +
        std::string(64, 'c') + "\tASCII\t01200\tcaf\\xE9.txt\n" + "file\t7\t" +
        std::string(64, 'd') +
        "\tASCII\t01200\tcafé.txt\n"
        "# end, the number of lines above this one, the SHA-256 of every byte above this one\n";
    EXPECT_EQ(withoutLastLine(text), body);
    EXPECT_TRUE(isEndLine(text.substr(body.size(), text.size() - body.size() - 1), 11)) << text;
    bool withoutEndLine = true;
    const Result<RunRecord> back = parseRecord(text, &withoutEndLine);
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back.value(), r);
    EXPECT_FALSE(withoutEndLine);
}

// Every corpus of the repository, recorded with and without its stability, reads back as the
// same run, and is written again byte for byte.
TEST(RunRecord, EveryCorpusRecordedReadsBackAsTheSameRun) {
    std::vector<std::filesystem::path> folders{test::kSamples};
    for (const auto& entry : std::filesystem::directory_iterator(test::kBoundary.parent_path())) {
        // The import's fixtures are the files texts are made from, not a corpus.
        if (entry.path().filename() != "import") {
            folders.push_back(entry.path());
        }
    }
    StabilityOptions options;
    options.resamples = 3;
    options.blockWords = 20;
    for (const std::filesystem::path& corpus : folders) {
        const std::shared_ptr<const RunResult> run = test::runFolder(corpus);
        const Result<RunStability> stability = measureStability(*run, options);
        ASSERT_TRUE(stability.ok());
        for (const RunRecord& r : {recordOf(*run, "2026-12-06T15:40:12Z"),
                                   recordOf(*run, "2026-12-06T15:40:12Z", &stability.value())}) {
            ASSERT_GT(r.files.size(), 5u) << corpus;
            const std::string text = recordText(r);
            const Result<RunRecord> back = parseRecord(text);
            ASSERT_TRUE(back.ok()) << corpus << ": " << back.error().message;
            EXPECT_EQ(back.value(), r) << corpus;
            EXPECT_EQ(recordText(back.value()), text) << corpus;
        }
    }
}

// A record as this program wrote it before records ended in an end line, CR LF from an editor
// as well: still read, and known to be one that cannot show it is whole.
TEST(RunRecord, RecordsWithoutAnEndLineAreReadAndSaySo) {
    const std::string old =
        "Pelmora run record\n" + sampleHead() +
        "unreadable\tPermission denied\tlocked.txt\n"
        "resampling\t200\t50\tsome rule\n"
        "resampled\t150\t1:200\t1:200\t2:200\t0:13 1:187\t1:160 2:40\tletter, to \"Ann\".txt\n";
    RunRecord expected = sample();
    expected.files.resize(3);
    expected.files.erase(expected.files.begin() + 1);
    expected.resamples = 200;
    expected.blockWords = 50;
    expected.seedingRule = "some rule";
    expected.files[0].stability = sampleWithStability().files[0].stability;
    std::string crlf;
    for (char c : old) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string& text : {old, crlf}) {
        bool withoutEndLine = false;
        const Result<RunRecord> back = parseRecord(text, &withoutEndLine);
        ASSERT_TRUE(back.ok()) << back.error().message;
        EXPECT_EQ(back.value(), expected);
        EXPECT_TRUE(withoutEndLine);
        // Written again, it is of this format and whole.
        EXPECT_EQ(parseRecord(recordText(back.value()), &withoutEndLine).value(), expected);
        EXPECT_FALSE(withoutEndLine);
    }
    Verification v = verifyRun(expected, expected);
    v.recordWithoutEndLine = true;
    EXPECT_EQ(verificationText(v, 2),
              "The record has no end line (it was written before records had one), so it cannot "
              "show that it is whole.\n"
              "Unchanged: 2 files, every file and code and every stability figure as recorded.\n");
    // Its fields are held to what this version writes, as a new record's are.
    const Result<RunRecord> doctored =
        parseRecord("Pelmora run record\nversion\t1\nresampling\t1000000\t1\tx\n");
    ASSERT_FALSE(doctored.ok());
    EXPECT_EQ(doctored.error().message,
              "The run record is not readable at line 3: the resampling is not 1 to 100000 "
              "resamples of blocks of 1 to 100000 words.");
}

// Every cut, at a line's end or inside a line, leaves a record that is refused as incomplete
// at the line where it ends, as is one whose end line does not fit what is above it.
TEST(RunRecord, ARecordCutOrWithAWrongEndLineIsRefusedAsIncomplete) {
    const std::string text = recordText(sampleWithStability());
    ASSERT_TRUE(parseRecord(text).ok());
    for (std::size_t size = 0; size < text.size(); ++size) {
        const std::string cut = text.substr(0, size);
        const Result<RunRecord> r = parseRecord(cut);
        ASSERT_FALSE(r.ok()) << size;
        if (size == 0) {
            continue;  // empty, not cut
        }
        const auto lines = std::count(cut.begin(), cut.end(), '\n') + (cut.back() == '\n' ? 0 : 1);
        EXPECT_EQ(r.error().reason, "incomplete run record") << size << r.error().message;
        EXPECT_EQ(r.error().message.rfind(
                      "The run record is incomplete at line " + std::to_string(lines) + ": ", 0),
                  0u)
            << size << r.error().message;
    }
    const std::string body = withoutLastLine(text);
    const std::string end = text.substr(body.size());
    const std::string digest = end.substr(end.size() - 65, 64);
    const std::string count = end.substr(4, end.size() - 70);
    std::string otherDigest = digest;
    otherDigest[10] = otherDigest[10] == '0' ? '1' : '0';
    std::string otherBody = body;
    otherBody.replace(otherBody.find("resampled\t150"), 13, "resampled\t149");  // end line kept
    std::string upper = digest;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const std::string lineNo = std::to_string(std::count(text.begin(), text.end(), '\n'));
    const std::pair<std::string, std::string> cases[] = {
        {body + "end\t" + std::to_string(std::stoi(count) + 1) + "\t" + digest + "\n",
         "incomplete at line " + lineNo + ": the end line counts " +
             std::to_string(std::stoi(count) + 1) + " lines above it, not " + count},
        {body + "end\t" + count + "\t" + otherDigest + "\n",
         "incomplete at line " + lineNo +
             ": the SHA-256 of the lines above it is not the one it states"},
        {otherBody + end, "the SHA-256 of the lines above it is not the one it states"},
        {body + "end\t" + count + "\t" + upper + "\n", "the end line is not \"end\""},
        {body + "end\t" + count + "\n", "the end line is not \"end\""},
        {text + "file\t1\t" + digest + "\tASCII\t01200\tlate.txt\n",
         "not readable at line " + std::to_string(std::stoi(lineNo) + 1) +
             ": it goes on after its end line"},
        {"Pelmora run record, format 2\r\nversion\t1\r\n",
         "not readable at line 1: its line ends were changed to CR LF"},
    };
    for (const auto& [doctored, message] : cases) {
        const Result<RunRecord> r = parseRecord(doctored);
        ASSERT_FALSE(r.ok()) << doctored;
        EXPECT_NE(r.error().message.find(message), std::string::npos) << r.error().message;
    }
}

TEST(RunRecord, StabilityIsRecordedReadBackAndVerified) {
    RunRecord r = sampleWithStability();
    r.files[4].stability = RecordedStability{};
    r.files[4].stability->notMeasured = "cannot be read now: Permission denied";
    const std::string text = recordText(r);
    const std::string tail = text.substr(text.find("resampling"));
    EXPECT_EQ(withoutLastLine(tail),
              std::string("resampling\t200\t50\t") + kSeedingRule +
                  "\n"
                  "# resampled file, resamples giving the whole code, resamples giving each "
                  "digit at each place, name\n"
                  "resampled\t150\t1:200\t1:200\t2:200\t0:13 1:187\t1:160 2:40\t"
                  "letter, to \"Ann\".txt\n"
                  "too short\ttab\\there\\\\back\\nline\\r.txt\n"
                  "resampled\t200\t0:200\t1:200\t2:200\t0:200\t0:200\tcaf\\xE9.txt\n"
                  "not measured\tcannot be read now: Permission denied\tcafé.txt\n"
                  "# end, the number of lines above this one, the SHA-256 of every byte above "
                  "this one\n");
    const Result<RunRecord> back = parseRecord(text);
    ASSERT_TRUE(back.ok()) << back.error().message;
    EXPECT_EQ(back.value(), r);
    const RunRecord steady = sampleWithStability();
    EXPECT_EQ(verificationText(verifyRun(steady, steady), 5),
              "Unchanged: 5 files, every file and code and every stability figure as recorded.\n");

    RunRecord now = sampleWithStability();
    now.files[0].stability->codeKept = 149;
    now.files[0].stability->digits[3] = {{14, 186}};
    now.files[1].stability = RecordedStability{};
    // A text that changed while it was resampled again is named, not passed over.
    now.files[3].stability = RecordedStability{};
    now.files[3].stability->notMeasured = "changed since the run";
    EXPECT_EQ(verifyRun(steady, now).differences,
              (std::vector<std::string>{
                  "letter, to \"Ann\".txt: the whole code held in 150 of 200 resamples, now in 149",
                  "letter, to \"Ann\".txt: digit 4 resampled as 0:13 1:187, now as 0:14 1:186",
                  "tab\there\\back\nline\r.txt: was too short to resample, now resampled",
                  "café.txt: could not be resampled now (changed since the run)"}));
    // Not resampled for the record: nothing to compare, whether it is resampled now or not.
    EXPECT_EQ(verifyRun(r, steady).differences,
              std::vector<std::string>{"café.txt: was not measured for the record (cannot be read "
                                       "now: Permission denied), now resampled"});
    EXPECT_EQ(verifyRun(r, r).differences,
              std::vector<std::string>{
                  "café.txt: could not be resampled now (cannot be read now: Permission denied)"});
    RunRecord drawnOtherwise = sampleWithStability();
    drawnOtherwise.seedingRule = "another rule";
    EXPECT_EQ(verifyRun(drawnOtherwise, steady).note,
              "The record's resamples were drawn by another rule (another rule); the stability "
              "figures cannot agree.");
}

// A record's lines with the end line that shows them whole.
std::string sealed(const std::string& lines) {
    return lines + "end\t" + std::to_string(std::count(lines.begin(), lines.end(), '\n')) + "\t" +
           sha256Hex(lines) + "\n";
}

// Every field is held to what this version writes, whole records too; each refusal names the
// line and why.
TEST(RunRecord, MalformedRecordsAreRefusedWithTheLine) {
    const std::string head = "Pelmora run record, format 2\nversion\t1\n";
    const std::string a64(64, 'a');
    const std::string file = "file\t12\t" + a64 + "\tASCII\t01200\tn.txt\n";
    const std::string resampling = "resampling\t200\t50\tx\n";
    const auto fileWith = [&](const std::string& sha, const std::string& encoding,
                              const std::string& code) {
        return head + "file\t12\t" + sha + "\t" + encoding + "\t" + code + "\tn.txt\n";
    };
    const auto resampledAs = [&](const std::string& kept, const std::string& digit) {
        return head + file + resampling + "resampled\t" + kept + "\t-\t-\t-\t" + digit +
               "\t-\tn.txt\n";
    };
    const std::string badSha = "the SHA-256 is not 64 lower-case hexadecimal digits";
    const std::string badResampling =
        "the resampling is not 1 to 100000 resamples of blocks of 1 to 100000 words";
    const std::string badDigits =
        "a digit's resamples are not as \"0:13 1:187\", together up to the record's 200";
    struct Case {
        std::string text;
        int line;
        std::string message;
        Error::Code code = Error::Code::RecordUnusable;
    };
    const Case cases[] = {
        {"", 1, "it is empty"},
        {"Some other file\n", 1,
         "it does not start with \"Pelmora run record, format 2\", or \"Pelmora run record\" as "
         "older records do"},
        {sealed("Pelmora run record, format 2\nfolder\t/x\n"), 3, "it names no program version"},
        {sealed(head + "version\t2\n"), 3, "a second \"version\" line"},
        {sealed(head + "\n"), 3, "an empty line"},
        {sealed(head + "frobnicate\t1\n"), 3, "unknown entry \"frobnicate\""},
        {sealed(head + "file\t12x\t" + a64 + "\tASCII\t01200\tn.txt\n"), 3,
         "the size is not a number"},
        {sealed(head + "file\t12\t" + a64 + "\tASCII\tn.txt\n"), 3,
         "a \"file\" line has 6 fields, not 5"},
        // The digest as the record writes it, never escaped, never another case or length.
        {sealed(fileWith("\\x61" + std::string(60, 'a'), "ASCII", "01200")), 3, badSha},
        {sealed(fileWith(std::string(64, 'A'), "ASCII", "01200")), 3, badSha},
        {sealed(fileWith(std::string(64, 'g'), "ASCII", "01200")), 3, badSha},
        {sealed(fileWith(std::string(63, 'a'), "ASCII", "01200")), 3, badSha},
        {sealed(fileWith(a64, "Latin-1", "01200")), 3, "the encoding is none this version names"},
        {sealed(fileWith(a64, "ASCII", "012a0")), 3, "the type code is not four or five digits"},
        {sealed(head + "file\t12\t" + a64 + "\tASCII\t01200\tn\\q.txt\n"), 3,
         "a backslash starts no known escape"},
        {sealed(head + "file\t12\t" + a64 + "\tASCII\t01200\t\n"), 3, "a file without a name"},
        // A byte that is not UTF-8 is named by its line, not re-read in another encoding.
        {sealed(head + "file\t12\t" + a64 + "\tASCII\t01200\tcaf\xE9.txt\n"), 3,
         "it holds a byte that is not UTF-8", Error::Code::NotUtf8},
        {sealed(head + file + "unreadable\tPermission denied\tn.txt\n"), 4,
         "\"n.txt\" is listed twice"},
        {sealed(head + file + "file\t1\t" + a64 + "\tASCII\t01200\tn\\x2Etxt\n"), 4,
         "\"n.txt\" is listed twice"},
        {sealed(head + "resampling\t0\t50\tx\n"), 3, badResampling},
        {sealed(head + "resampling\t1000000\t50\tx\n"), 3, badResampling},
        {sealed(head + "resampling\t200\t100001\tx\n"), 3, badResampling},
        {sealed(head + resampling + resampling), 4, "a second \"resampling\" line"},
        {sealed(head + file + "too short\tn.txt\n"), 4, "stability before the \"resampling\" line"},
        {sealed(head + file + resampling + "too short\tnobody.txt\n"), 5,
         "stability for a file the record does not list as read"},
        {sealed(head + "unreadable\tgone\tn.txt\n" + resampling + "too short\tn.txt\n"), 5,
         "stability for a file the record does not list as read"},
        {sealed(head + file + resampling + "too short\tn.txt\ntoo short\tn.txt\n"), 6,
         "a second stability line for \"n.txt\""},
        {sealed(head + file + resampling + "not measured\t\tn.txt\n"), 5,
         "a text not measured without the reason"},
        {sealed(head + file + resampling), 4, "the record gives no stability for \"n.txt\""},
        {sealed(resampledAs("201", "-")), 5,
         "the resamples keeping the code are not a number up to the record's 200"},
        {sealed(resampledAs("1", "0=3")), 5, badDigits},
        {sealed(resampledAs("1", "1:0")), 5, badDigits},
        {sealed(resampledAs("1", "2:1 1:1")), 5, badDigits},
        {sealed(resampledAs("1", "0:150 1:51")), 5, badDigits},
    };
    for (const Case& c : cases) {
        const Result<RunRecord> r = parseRecord(c.text);
        ASSERT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.error().message, "The run record is not readable at line " +
                                         std::to_string(c.line) + ": " + c.message + ".")
            << c.text;
        EXPECT_EQ(r.error().code, c.code) << c.text;
    }
    // The shapes the run writes are read: a four-digit code, every count at its bound.
    EXPECT_TRUE(parseRecord(sealed(fileWith(a64, "Windows-1252", "1200"))).ok());
    EXPECT_TRUE(parseRecord(sealed(resampledAs("200", "0:100 1:100"))).ok());
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
