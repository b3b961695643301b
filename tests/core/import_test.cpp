#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "import/chat_export.h"
#include "import/html_text.h"
#include "import/importer.h"
#include "import/reply_quotes.h"
#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const fs::path kImportData = fs::path(PELMORA_SOURCE_DIR) / "tests/data/import";

Result<ImportReport> importInto(const fs::path& destination, const std::vector<fs::path>& sources,
                                bool keepEverything = false) {
    ImportRequest request;
    request.sources = sources;
    request.destination = destination;
    request.options.keepEverything = keepEverything;
    return importSources(request);
}

// The log's rows as Python's csv module reads them, fields joined by a unit separator.
std::vector<std::vector<std::string>> logRows(const fs::path& folder) {
    const test::CliResult read = test::runShell(
        "python3 -c 'import csv,sys\n"
        "for row in csv.reader(open(sys.argv[1], encoding=\"utf-8-sig\", newline=\"\")):\n"
        "    print(\"\\x1f\".join(row))' " +
        test::shellQuoted((folder / kImportLogName).string()));
    EXPECT_EQ(read.status, 0) << read.err;
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = read.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::vector<std::string>& row = rows.emplace_back();
        const std::string line = read.out.substr(start, end - start);
        std::size_t from = 0;
        for (std::size_t cut; (cut = line.find('\x1f', from)) != std::string::npos;
             from = cut + 1) {
            row.push_back(line.substr(from, cut - from));
        }
        row.push_back(line.substr(from));
    }
    return rows;
}

TEST(ImportFormats, EachFixtureGivesTheTextsItsAuthorsWroteWithTheirMetadata) {
    struct Text {
        std::string name, text, author, date;
    };
    struct Case {
        std::string source;
        std::vector<Text> texts;
        std::vector<Removal> removals;  // over all its texts
    };
    const std::string letter =
        "To the neighbours\n"
        "You park in front of my gate every night. This has to stop.\n"
        "I will call the council on Monday.\n"
        "Na\u00efve caf\u00e9 owners are not exempt.\n";
    const std::vector<Removal> noteAndComment = {{"footnotes", 1}, {"comments", 1}};
    const Case cases[] = {
        {"chat-bracketed.txt",
         {{"chat-bracketed.txt-Alice.txt",
           "Are you coming on Sunday?\nLet me know by Friday: we need to book.\n", "Alice", ""},
          {"chat-bracketed.txt-Bob.txt", "I think so.\nIt depends on the trains.\n", "Bob", ""}},
         {{"system lines of the chat", 2}, {"media omitted", 1}}},
        {"chat-dashed.txt",
         {{"chat-dashed.txt-Dana.txt", "Did you get the letter?\nKeep it safe.\n", "Dana", ""},
          {"chat-dashed.txt-Eve.txt", "Yes. It came this morning\nand it was not signed.\n", "Eve",
           ""}},
         {{"system lines of the chat", 1}, {"media omitted", 1}}},
        {"reply-utf8.eml",
         {{"reply-utf8.eml.txt",
           "Bob,\n\nthe rent is due on Friday. I will not wait another week \u2014 pay it.\n"
           "Thank you.\n",
           "Alice Martin <alice@example.org>", "2026-12-07"}},
         {{"quoted original", 3}, {"signature", 3}, {"quoted lines", 2}}},
        {"saved-from-mailbox.eml",
         {{"saved-from-mailbox.eml.txt",
           "Bob,\n\nthe rent is due on Friday. I will not wait another week \u2014 pay it.\n"
           "Thank you.\n",
           "Alice Martin <alice@example.org>", "2026-12-07"}},
         {{"quoted original", 3}, {"signature", 3}, {"quoted lines", 2}}},
        {"latin1-outlook.eml",
         {{"latin1-outlook.eml.txt",
           "Sehr geehrte Damen und Herren,\nich m\u00f6chte die Rechnung pr\u00fcfen.\n",
           "J\u00fcrgen Wei\u00df <juergen@example.de>", "2026-12-08"}},
         {{"quoted original", 4}}},
        {"html-only.eml",
         {{"html-only.eml.txt", "You must leave the building by six.\nCaf\u00e9 closed.\n",
           "news@example.com", "2026-12-09"}},
         {}},
        {"multipart-attachment.eml",
         {{"multipart-attachment.eml.txt",
           "Here are the photos from Saturday.\nDelete them after.\n", "Carol <carol@example.net>",
           "2026-12-10"}},
         {}},
        {"inbox.mbox",
         {{"inbox.mbox-0001.txt", "First message.\n", "dave@example.org", "2026-12-11"},
          {"inbox.mbox-0003.txt", "Third message.\n", "dave@example.org", "2026-12-11"}},
         {{"quoted lines", 1}}},
        {"page.html",
         {{"page.html.txt",
           "Notice to tenants\nThe water will be off on Tuesday from 9 & until noon.\n"
           "Fill a kettle\u00a0first.\nCaf\u00e9 opens at 12.\nThank you\nThe \"Manager\"\n",
           "", ""}},
         {}},
        {"letter.docx", {{"letter.docx.txt", letter, "Frank Hale", "2026-11-30"}}, noteAndComment},
        {"letter.odt", {{"letter.odt.txt", letter, "Frank Hale", "2026-11-30"}}, noteAndComment},
        {"letter.pdf",
         {{"letter.pdf.txt",
           "To the neighbours\nYou park in front of my gate every night.1 This has to stop.\n"
           "I will call the council on Monday.\nNa\u00efve caf\u00e9 owners are not exempt.\n\n"
           "1   Since March.\n",
           "Frank Hale", ""}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const test::TempFolder out;
        const Result<ImportReport> report = importInto(out.path(), {kImportData / c.source});
        ASSERT_TRUE(report.ok()) << report.error().message;
        EXPECT_TRUE(report.value().leftOut.empty());
        EXPECT_EQ(report.value().removals, c.removals);
        ASSERT_EQ(report.value().written.size(), c.texts.size());
        ASSERT_EQ(report.value().metadata.rows.size(), c.texts.size());
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            const Text& want = c.texts[i];
            EXPECT_EQ(report.value().written[i], want.name);
            EXPECT_EQ(test::readAll(out.path() / want.name), want.text) << want.name;
            const MetadataRow& row = report.value().metadata.rows[i];
            EXPECT_EQ(row.nameBytes, want.name);
            EXPECT_EQ(row.role, Role::None);
            ASSERT_EQ(row.values.size(), 3u);
            EXPECT_EQ(row.values[0], want.author);
            if (!want.date.empty()) {
                EXPECT_EQ(row.values[1], want.date);
            }
        }
    }
}

TEST(ImportFormats, WithEverythingKeptQuotesSignaturesNotesAndPlaceholdersStay) {
    struct Case {
        std::string source, output;
        std::vector<std::string> kept;
        std::vector<Removal> removals;
    };
    const Case cases[] = {
        {"reply-utf8.eml",
         "reply-utf8.eml.txt",
         {"> Can I pay next week?", "--\nAlice Martin", "Bob <bob@example.org> wrote:"},
         {}},
        {"letter.docx", "letter.docx.txt", {"Since March.", "Check the number first."}, {}},
        {"letter.odt", "letter.odt.txt", {"Since March.", "Check the number first."}, {}},
        // A system line is no participant's: it is never in a text.
        {"chat-dashed.txt",
         "chat-dashed.txt-Dana.txt",
         {"<Media omitted>"},
         {{"system lines of the chat", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const test::TempFolder out;
        const Result<ImportReport> report = importInto(out.path(), {kImportData / c.source}, true);
        ASSERT_TRUE(report.ok());
        EXPECT_EQ(report.value().removals, c.removals);
        const std::string text = test::readAll(out.path() / c.output);
        for (const std::string& kept : c.kept) {
            EXPECT_NE(text.find(kept), std::string::npos) << kept << " in\n" << text;
        }
    }
}

TEST(ImportFormats, ASourceThatCannotBeConvertedIsLeftOutWithItsReasonAndTheRestImports) {
    const std::pair<std::string, std::string> cases[] = {
        {"encrypted.pdf", "encrypted: it needs a password"},
        {"scanned.pdf", "no text layer (its pages are images): it needs OCR"},
        {"truncated.docx", "not a zip archive, or one cut short"},
        {"zip-bomb.docx", "zip bomb: an entry unpacks to more than 100 times its size"},
        {"really-a-pdf.docx", "named .docx (Word document), but its content is a PDF document"},
        {"letter-source.fodt", "unknown format: .fodt files are not imported"},
        {"memo.rtf", ".rtf files are not imported (save the document as .docx, .odt or .pdf"},
    };
    const test::TempFolder work;
    const fs::path notChat = work.write("notes.txt", "Just a plain text, no chat.\n");
    for (const auto& [source, reason] : cases) {
        SCOPED_TRACE(source);
        const test::TempFolder out;
        const Result<ImportReport> report =
            importInto(out.path(), {kImportData / source, kImportData / "page.html"});
        ASSERT_TRUE(report.ok());
        ASSERT_EQ(report.value().leftOut.size(), 1u);
        EXPECT_NE(report.value().leftOut[0].reason.find(reason), std::string::npos)
            << report.value().leftOut[0].reason;
        EXPECT_EQ(report.value().written, Names{"page.html.txt"});
        const auto rows = logRows(out.path());
        ASSERT_EQ(rows.size(), 3u);  // the header, the source left out, the page
        EXPECT_EQ(rows[1][11], report.value().leftOut[0].reason);
        EXPECT_EQ(rows[1][4], "");
    }
    const test::TempFolder out;
    const Result<ImportReport> report = importInto(out.path(), {notChat});
    ASSERT_EQ(report.value().leftOut.size(), 1u);
    EXPECT_NE(report.value().leftOut[0].reason.find("not a chat export"), std::string::npos);
}

// The summary lists the sources left out up to the number asked for, then says how many more
// and where each is named; the full list has them all.
TEST(ImportLog, ASummaryNamesTheFirstSourcesLeftOutAndCountsTheRest) {
    ImportReport report;
    report.written = {"a.txt"};
    for (const char* source : {"1.pdf", "2.pdf", "3.pdf"}) {
        report.leftOut.push_back({source, "no text layer"});
    }
    EXPECT_EQ(importSummary(report, 3),
              "1 text written.\n\n3 sources left out:\n1.pdf: no text layer\n2.pdf: no text "
              "layer\n3.pdf: no text layer");
    EXPECT_EQ(importSummary(report, 1),
              "1 text written.\n\n3 sources left out:\n1.pdf: no text layer\n… and 2 more, each "
              "named with its reason in the details and in import-log.csv.");
    EXPECT_EQ(leftOutSources(report),
              "1.pdf: no text layer\n2.pdf: no text layer\n3.pdf: no text layer");
}

// Each zip header is checked before anything is inflated: a zip of many entries is a bomb too,
// and so is one whose entries, each too small for the ratio to count, unpack to more than
// 256 MiB together (270 entries of 1,000,000 zero bytes: 257.5 MiB).
TEST(ImportFormats, AnArchiveOfTooManyEntriesOrTooManyBytesIsRefused) {
    const struct {
        const char* entries;
        const char* reason;
    } cases[] = {
        {"[z.writestr(\"e%d\" % i, \"\") for i in range(10001)]", "10001 entries, more than 10000"},
        {"[z.writestr(\"e%d\" % i, bytes(1000000)) for i in range(270)]",
         "it unpacks to more than 256 MiB"},
    };
    for (const auto& c : cases) {
        const test::TempFolder work;
        const test::CliResult made = test::runShell(
            "cd " + test::shellQuoted(work.path().string()) +
            " && python3 -c 'import zipfile\n"
            "with zipfile.ZipFile(\"bomb.docx\", \"w\", zipfile.ZIP_DEFLATED) as z:\n"
            "    " +
            c.entries + "'");
        ASSERT_EQ(made.status, 0) << made.err;
        const test::TempFolder out;
        const Result<ImportReport> report = importInto(out.path(), {work.path() / "bomb.docx"});
        ASSERT_EQ(report.value().leftOut.size(), 1u);
        EXPECT_NE(report.value().leftOut[0].reason.find(c.reason), std::string::npos)
            << report.value().leftOut[0].reason;
    }
}

TEST(ImportLog, NamesCollideIntoNumberedNamesAndTheLogIsAppendedWithTrueHashes) {
    const test::TempFolder out;
    const fs::path existing = out.write("letter.docx.txt", "already here\n");
    const fs::path letter = kImportData / "letter.docx";
    ASSERT_TRUE(importInto(out.path(), {letter, kImportData / "chat-dashed.txt"}).ok());
    const Result<ImportReport> again = importInto(out.path(), {letter});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value().written, Names{"letter.docx (3).txt"});
    EXPECT_EQ(test::readAll(existing), "already here\n");
    EXPECT_EQ(test::readAll(out.path() / "letter.docx (2).txt"),
              test::readAll(out.path() / "letter.docx (3).txt"));

    const auto rows = logRows(out.path());
    ASSERT_EQ(rows.size(), 5u);  // one header, then letter, Dana, Eve, letter again
    EXPECT_EQ(rows[0], importLogHeader());
    const std::vector<std::string> parts = {"", "Dana", "Eve", ""};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& row = rows[i];
        ASSERT_EQ(row.size(), 12u);
        EXPECT_EQ(row[3], parts[i - 1]);
        const test::CliResult sums =
            test::runShell("sha256sum " + test::shellQuoted(row[1]) + " " +
                           test::shellQuoted((out.path() / row[4]).string()) + " | cut -c1-64");
        EXPECT_EQ(sums.out, row[2] + "\n" + row[5] + "\n") << row[4];
    }
    EXPECT_EQ(rows[1][6], "Word document");
    EXPECT_EQ(rows[1][7].rfind("libzip ", 0), 0u);
    EXPECT_EQ(rows[1][8], "29");
    EXPECT_EQ(rows[1][9], "footnotes (1 line); comments (1 line)");
}

// The destination inside a source folder is never read back, nor are hidden files.
TEST(ImportLog, AFolderIsSearchedRecursivelyButNotItsDestination) {
    const test::TempFolder source;
    fs::create_directories(source.path() / "sub");
    fs::copy_file(kImportData / "page.html", source.path() / "sub/page.html");
    fs::copy_file(kImportData / "html-only.eml", source.path() / "mail.eml");
    source.write(".hidden.docx", "not read");
    const fs::path out = source.path() / "texts";
    ASSERT_TRUE(importInto(out, {source.path()}).ok());
    const Result<ImportReport> again = importInto(out, {source.path()});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value().written, (Names{"mail.eml (2).txt", "page.html (2).txt"}));
    EXPECT_TRUE(again.value().leftOut.empty());
    const Result<ImportReport> itself = importInto(out, {out});
    ASSERT_TRUE(itself.ok());
    EXPECT_TRUE(itself.value().written.empty());
    EXPECT_TRUE(itself.value().leftOut.empty());
}

TEST(ImportQuotes, OnlyTheWritersOwnLinesStay) {
    struct Case {
        std::string body, text;
        std::vector<Removal> removals;
    };
    const Case cases[] = {
        {"Yes.\nOn Tue, 8 Dec 2026 at 10:00, Bob\n<bob@example.org> wrote:\n> Well?\n",
         "Yes.\n",
         {{"quoted original", 3}}},
        {"Fine.\n\n----- Original Message -----\nFrom: x\n\n", "Fine.\n", {{"quoted original", 2}}},
        {"Hi\n -- \nnot a signature\n", "Hi\n--\nnot a signature\n", {}},
        {"Hi\n-- \nA.\n-- \nB.\n", "Hi\n--\nA.\n", {{"signature", 2}}},
        {"  > indented quote\nmine\n>>deeper\n", "mine\n", {{"quoted lines", 2}}},
        {"Online we wrote: nothing\n", "Online we wrote: nothing\n", {}},
    };
    for (const Case& c : cases) {
        const AuthorsLines own = authorsLines(c.body, false);
        EXPECT_EQ(own.text, c.text) << c.body;
        EXPECT_EQ(own.removals, c.removals) << c.body;
    }
}

TEST(ImportChat, MessageLinesContinuationsAndSystemLines) {
    struct Case {
        std::string chat;
        std::vector<std::pair<std::string, std::string>> texts;  // participant, text
        int systemLines;
    };
    const Case cases[] = {
        // 12-hour times with a narrow no-break space, two-digit years, dots in the date.
        {"1/2/26, 9:03\xE2\x80\xAFPM - Ann: Hi\n12.02.2026, 21:04 - Ben: Yo\n",
         {{"Ann", "Hi\n"}, {"Ben", "Yo\n"}},
         0},
        // Lines before the first message are no one's; a blank continuation line stays one.
        {"exported\n[1/2/2026, 09:03:00] Ann: one\n\n\ntwo\n[1/2/2026, 09:04:00] Ann: three\n",
         {{"Ann", "one\n\ntwo\nthree\n"}},
         1},
        // A "name" longer than a name can be is a system line's text with a colon in it.
        {"1/2/2026, 09:03 - " + std::string(90, 'x') + ": y\n1/2/2026, 09:04 - Ann: ok\n",
         {{"Ann", "ok\n"}},
         1},
        // A time without a separator after it, or a date without a year, starts no message.
        {"1/2/2026, 09:03 - Ann: a\n1/2/2026, 09:03 Ann: b\n1/2, 09:05 - Ann: c\n",
         {{"Ann", "a\n1/2/2026, 09:03 Ann: b\n1/2, 09:05 - Ann: c\n"}},
         0},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<std::string, std::string>> texts;
        int system = 0;
        ASSERT_FALSE(readChatExport(c.chat, ImportOptions{}, [&](ImportedText&& text) {
            texts.emplace_back(text.part, text.text);
            for (const Removal& r : text.removals) {
                system = r.what == "system lines of the chat" ? r.lines : system;
            }
        })) << c.chat;
        EXPECT_EQ(texts, c.texts) << c.chat;
        EXPECT_EQ(system, c.systemLines) << c.chat;
    }
}

TEST(ImportHtml, BlocksAreLinesAndOnlyWhatIsShownIsText) {
    const std::pair<std::string, std::string> cases[] = {
        {"<p>a<p>b", "a\nb\n"},
        {"<div>one<span> two</span></div><div><div>three</div></div>", "one two\nthree\n"},
        {"x<br>y<br><br>z", "x\ny\n\nz\n"},
        {"<table><tr><td>1</td><td>2</td></tr><tr><th>3</th></tr></table>", "1 2\n3\n"},
        {"<pre>  a\n   b</pre>c", "a\nb\nc\n"},
        {"<p>&lt;tag&gt; &#x41;&#66; &euro;</p><!-- gone -->", "<tag> AB \u20ac\n"},
        {"<body><noscript>n</noscript><template>t</template><svg><text>s</text></svg>v", "v\n"},
        {"<p>caf\xE9</p>", "caf\u00e9\n"},  // not UTF-8: read as Windows-1252
    };
    for (const auto& [html, text] : cases) {
        EXPECT_EQ(htmlText(html), text) << html;
    }
}

TEST(ImportCli, ExitStatusSaysWhetherEverySourceWasImported) {
    const test::TempFolder work;
    const std::string to = (work.path() / "out").string();
    const std::string page = (kImportData / "page.html").string();
    const std::string meta = (work.path() / "meta.csv").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"import", page, "--to", to, "--metadata-out", meta}, 0, ""},
        {{"import", page, (kImportData / "scanned.pdf").string(), "--to", to}, 3, "needs OCR"},
        {{"import", page, (work.path() / "missing.eml").string(), "--to", to}, 3, "not found"},
        {{"import", "--to", to}, 2, "missing SOURCE"},
        {{"import", page}, 2, "missing --to FOLDER"},
        {{"import", page, "--to", to, "--keep"}, 2, "unknown option"},
        {{"report", page, "--keep-quotes"}, 2, "unknown option '--keep-quotes'"},
        {{"import", page, "--to", meta}, 4, "cannot be written"},
        {{"import", page, "--to", to, "--metadata-out", to}, 4, "folder"},
    };
    for (const Case& c : cases) {
        const test::CliResult run = test::runCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    // The metadata reads back as a case's table of the destination's texts.
    const Result<Metadata> read = parseMetadata(test::readAll(meta), {"page.html.txt"});
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read.value().header, (Names{"file", "role", "author", "date", "source"}));
    ASSERT_EQ(read.value().rows.size(), 1u);
    EXPECT_EQ(read.value().rows[0].values[2], page);
}

}  // namespace
}  // namespace pelmora
