#include <gtest/gtest.h>

#include "evidence/run_record.h"

namespace pelmora {
namespace {

RunRecord sample() {
    RunRecord r{"0.1.0", "2026-12-06T15:40:12Z", "/corpus/case 17", {}};
    RecordedFile letter{"letter, to \"Ann\".txt", false,   "",     1234,
                        std::string(64, 'a'),     "UTF-8", "11201"};
    RecordedFile odd{"tab\there\\back\nline\r.txt", false,   "",     0,
                     std::string(64, 'b'),          "ASCII", "11200"};
    RecordedFile locked{"locked.txt", true, "Permission denied", 0, "", "", ""};
    // Two names that display alike: one in Windows-1252 bytes, one in UTF-8.
    RecordedFile latin{"caf\xE9.txt", false, "", 7, std::string(64, 'c'), "ASCII", "01200"};
    RecordedFile utf8{"café.txt", false, "", 7, std::string(64, 'd'), "ASCII", "01200"};
    r.files = {letter, odd, locked, latin, utf8};
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
    now.files[2] = {"locked.txt", false, "", 10, std::string(64, 'd'), "ASCII", "01200"};
    now.files.erase(now.files.begin() + 1);
    now.files.pop_back();  // café.txt in UTF-8; its Windows-1252 twin stays
    now.files.push_back({"new.txt", false, "", 5, std::string(64, 'e'), "ASCII", "01200"});
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
    nowLocked.files[0] = {"letter, to \"Ann\".txt", true, "Permission denied", 0, "", "", ""};
    EXPECT_EQ(
        verifyRun(was, nowLocked).differences,
        std::vector<std::string>{"letter, to \"Ann\".txt: is now unreadable (Permission denied)"});
}

}  // namespace
}  // namespace pelmora
