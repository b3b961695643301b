#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include <filesystem>
#include <string>

#include "app/drives.h"
#include "app/file_reader.h"
#include "app/folder_listing.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

using test::TempFolder;

TEST(DecodeText, DetectsEachEncodingAndDropsTheByteOrderMark) {
    struct Case {
        std::string bytes;
        std::string text;
        TextEncoding encoding;
        bool bom;
    };
    const Case cases[] = {
        {"", "", TextEncoding::Ascii, false},
        {"\xEF\xBB\xBF", "", TextEncoding::Utf8, true},
        {"\xFF\xFE", "", TextEncoding::Utf16LE, true},
        {"plain\r\ntext", "plain\r\ntext", TextEncoding::Ascii, false},
        {"caf\xC3\xA9 \xE2\x80\x99", "café ’", TextEncoding::Utf8, false},
        {"\xEF\xBB\xBFhi", "hi", TextEncoding::Utf8, true},
        // A byte-order mark vouches for UTF-8, so a bad byte becomes U+FFFD.
        {"\xEF\xBB\xBFx\xE9y", "x\uFFFDy", TextEncoding::Utf8, true},
        // One U+FFFD per maximal ill-formed subpart: a cut-off sequence is one, a byte that
        // can begin nothing is one each.
        {"\uFEFFa\xE2\x82", "a\uFFFD", TextEncoding::Utf8, true},
        {"\uFEFFa\xE2\x28\xA1", "a\uFFFD(\uFFFD", TextEncoding::Utf8, true},
        {"\uFEFF\xF0\x9F\x98\x62", "\uFFFDb", TextEncoding::Utf8, true},
        {"\uFEFF\xC0\xAF", "\uFFFD\uFFFD", TextEncoding::Utf8, true},
        {"\xEF\xBB\xBF\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD", TextEncoding::Utf8, true},
        // Not valid UTF-8: every byte is a Windows-1252 character.
        {"don\x92t \xAB"
         "a\xBB \xE9",
         "don’t «a» é", TextEncoding::Windows1252, false},
        {"\x80\x81\x8D\x8F\x90\x9D\x9F\xFF", "€\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9DŸÿ",
         TextEncoding::Windows1252, false},
        // Overlong and surrogate forms are not UTF-8.
        {"\xC0\xAF", "À¯", TextEncoding::Windows1252, false},
        {"\xED\xA0\x80", "í\xC2\xA0€", TextEncoding::Windows1252, false},
        {"\xC3", "Ã", TextEncoding::Windows1252, false},
        {std::string("a\0b", 3), std::string("a\0b", 3), TextEncoding::Ascii, false},
        {std::string("\xFF\xFEH\0i\0 \0\xE9\0", 10), "Hi é", TextEncoding::Utf16LE, true},
        {std::string("\xFE\xFF\0H\0i", 6), "Hi", TextEncoding::Utf16BE, true},
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "😀", TextEncoding::Utf16LE, true},
        // A lone surrogate and a stray last byte.
        {std::string("\xFF\xFE\x3D\xD8\x41\0\x42", 7), "\uFFFDA\uFFFD", TextEncoding::Utf16LE,
         true},
    };
    for (const Case& c : cases) {
        const DecodedText decoded = decodeText(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << c.text;
        EXPECT_EQ(decoded.encoding, c.encoding) << c.text;
        EXPECT_EQ(decoded.hadByteOrderMark, c.bom) << c.text;
    }
}

// What decoding counts in the same pass, for telling a text from binary data: controls other
// than tab, LF, FF and CR (NUL among them), DEL, C1, and U+FFFD.
TEST(DecodeText, CountsTheCharactersATextSeldomHolds) {
    // Sixteen bytes at a time for ASCII: controls at every place of a block, and those allowed.
    std::string ascii(64, 'a');
    const std::pair<std::size_t, char> placed[] = {{3, '\0'},  {9, '\x7f'}, {17, '\x01'},
                                                   {20, '\t'}, {31, '\n'},  {40, '\x1f'},
                                                   {47, '\r'}, {55, '\f'},  {63, '\x0b'}};
    for (const auto& [at, c] : placed) {
        ascii[at] = c;
    }
    struct Case {
        const char* what;
        std::string bytes;
        CharacterCounts counts;  // characters, NUL, controls, replacements
    };
    const Case cases[] = {
        {"empty", "", {0, 0, 0, 0}},
        {"plain lines", "One\ttwo\r\nthree\f\n", {16, 0, 0, 0}},
        {"line ends", "The first line.\r\nThe second line.\r\nThe end.\n", {44, 0, 0, 0}},
        {"ascii blocks", ascii, {64, 1, 5, 0}},
        {"ascii tail", std::string("abcdefgh\x02\0", 10), {10, 1, 2, 0}},
        {"utf-8", "caf\xC3\xA9 \xC2\x85 \xEF\xBF\xBD \xF0\x9F\x98\x80", {10, 0, 1, 1}},
        {"windows-1252", std::string("\xE9\x81\x80\x9D\x7F\0", 6), {6, 1, 4, 0}},
        {"utf-8 marked, ill-formed", "\uFEFFa\xE2\x82 b\xFF", {5, 0, 0, 2}},
        // A UTF-16 text's zero bytes are no NUL; a zero unit and a lone surrogate are.
        {"utf-16", std::string("\xFF\xFEH\0i\0\n\0", 8), {3, 0, 0, 0}},
        {"utf-16 odd", std::string("\xFE\xFF\0\0\xD8\x3D\0\x85!", 9), {4, 1, 2, 2}},
        {"utf-16 unmarked", std::string("H\0i\0", 4), {4, 2, 2, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeText(c.bytes).counts, c.counts) << c.what;
    }
}

// A long text is decoded in pieces on every core: a piece may be cut next to any byte of a
// sequence, and an ill-formed byte far into the text still makes it Windows-1252. The sizes
// differ by a byte so that the cuts fall at every place of the units.
TEST(DecodeText, LongTextsDecodeAsTheyWouldWhole) {
    const std::string utf8Unit = "caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D \xF0\x9F\x98\x80\xC2\x85.";
    const std::string cp1252Unit = "caf\xE9 \x93x\x94\x81.";
    const std::size_t units = (std::size_t{9} << 20) / utf8Unit.size();
    for (std::size_t shift = 0; shift < 4; ++shift) {
        const std::string lead(shift, 'a');
        std::string utf8 = lead, cp1252 = lead, decoded = lead;
        for (std::size_t k = 0; k < units; ++k) {
            utf8 += utf8Unit;
            cp1252 += cp1252Unit;
            decoded += "café “x”\xC2\x81.";
        }
        const DecodedText u = decodeText(utf8);
        EXPECT_EQ(u.encoding, TextEncoding::Utf8);
        EXPECT_TRUE(u.text == utf8);
        // Twelve characters a unit, one of them the C1 control U+0085.
        EXPECT_EQ(u.counts, (CharacterCounts{shift + 12 * units, 0, units, 0}));
        const DecodedText w = decodeText(cp1252);
        EXPECT_EQ(w.encoding, TextEncoding::Windows1252);
        EXPECT_TRUE(w.text == decoded);
        EXPECT_EQ(w.counts, (CharacterCounts{cp1252.size(), 0, units, 0}));
        // One byte that no UTF-8 sequence holds, near the end.
        utf8[utf8.size() - 3] = '\xFF';
        EXPECT_EQ(decodeText(utf8).encoding, TextEncoding::Windows1252);
    }
}

TEST(DecodeText, BinaryBytesAlwaysDecodeToValidUtf8) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    const DecodedText decoded = decodeText(bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(decodeText(decoded.text).text, decoded.text);  // re-reads as itself
    EXPECT_EQ(displayText("caf\xE9.txt"), "café.txt");
    EXPECT_EQ(displayText("café.txt"), "café.txt");
}

TEST(ReadTextFile, ReadsWholeFilesAndNamesTheReasonWhenItCannot) {
    TempFolder dir;
    const fs::path letter = dir.write("letter.txt",
                                      "Dear \x93"
                                      "Ann\x94,\r\n");
    const Result<ReadText> read = readTextFile(letter, "letter.txt");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().decoded.text, "Dear “Ann”,\r\n");
    EXPECT_EQ(read.value().facts.byteSize, 13u);
    EXPECT_EQ(read.value().facts.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(read.value().facts.characters, (CharacterCounts{13, 0, 0, 0}));
    // The digest is the one of the bytes on disk, taken in pieces as they were read.
    EXPECT_EQ(read.value().facts.sha256,
              "ca94a86fbb71a502923236fc009882251a495119dfe86908ff7ff6671d89a123");

    // A large file is digested on a thread of its own while it is read: the same digest.
    std::string large;
    char line[32];
    for (int i = 0; i < 400000; ++i) {
        std::snprintf(line, sizeof line, "line %07d of a large text\n", i);
        large += line;
    }
    const Result<ReadText> big = readTextFile(dir.write("big.txt", large), "big.txt");
    ASSERT_TRUE(big.ok());
    EXPECT_EQ(big.value().facts.byteSize, 11600000u);
    EXPECT_EQ(big.value().decoded.text, large);
    EXPECT_EQ(big.value().facts.sha256,
              "23f4f7b5d4f77a67e978fb9b407b22d141f7e324474148eb72a73bbab039fb80");

    // What cannot be read says why by its name: a pipe in a file's place must not block the run,
    // the file beyond the cap is sparse so that the test writes almost nothing, and the
    // superuser reads every file.
    fs::create_directory(dir.path() / "folder.txt");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.txt").c_str(), 0600), 0);
    fs::resize_file(dir.write("huge.txt", ""), kMaxTextFileBytes + 1);
    fs::permissions(dir.write("secret.txt", "x"), fs::perms::none);
    struct Case {
        const char* name;
        Error::Code code;
        std::string message;
    };
    std::vector<Case> cases = {
        {"gone.txt", Error::Code::NotFound,
         "Could not read \"gone.txt\": No such file or directory."},
        {"folder.txt", Error::Code::ReadFailed, "Could not read \"folder.txt\": Is a directory."},
        {"pipe.txt", Error::Code::ReadFailed, "Could not read \"pipe.txt\": Not a regular file."},
        {"huge.txt", Error::Code::TooLarge, "Left out \"huge.txt\": File too large (over 1 GiB)."},
    };
    if (::geteuid() != 0) {
        cases.push_back({"secret.txt", Error::Code::PermissionDenied,
                         "Could not read \"secret.txt\": Permission denied."});
    }
    for (const Case& c : cases) {
        const Result<ReadText> read = readTextFile(dir.path() / c.name, c.name);
        ASSERT_FALSE(read.ok()) << c.name;
        EXPECT_EQ(read.error().code, c.code) << c.name;
        EXPECT_EQ(read.error().message, c.message);
        EXPECT_TRUE(c.message.ends_with("\": " + read.error().reason + ".")) << read.error().reason;
    }
}

TEST(ListTextFiles, KeepsVisibleTextFilesAndLinksInOrderAndCountsTheRest) {
    TempFolder dir;
    for (const char* name : {"b.txt", "a.txt", "A.TXT", "Name With Spaces.txt", "x-y.Txt",
                             ".hidden.txt", ".txt", ".profile", "notes.md", "c.txt.bak", "txt",
                             "README", "trailing.", "Report.DOCX", "memo.docx", "mail.eml"}) {
        dir.write(name, "x");
    }
    // Two names that display alike are two files, the valid UTF-8 one first; Latin-1 letters
    // fold as ASCII ones do.
    dir.write("caf\xE9.txt", "x");
    dir.write("café.txt", "x");
    dir.write("Éb.txt", "x");
    dir.write("éa.txt", "x");
    // Folders, visible or hidden, and links to them are no files.
    fs::create_directory(dir.path() / "folder.txt");
    fs::create_directory(dir.path() / "sub");
    fs::create_directory(dir.path() / ".git");
    fs::create_symlink("folder.txt", dir.path() / "dirlink.txt");
    fs::create_symlink("sub", dir.path() / "sublink");
    // Links to files count as the files; those that lead nowhere are left out by name.
    fs::create_symlink("b.txt", dir.path() / "link.txt");
    fs::create_symlink("missing.txt", dir.path() / "broken.txt");
    fs::create_symlink("Loop.TXT", dir.path() / "Loop.TXT");
    fs::create_symlink("missing", dir.path() / "broken.pdf");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.txt").c_str(), 0600), 0);

    const auto listed = listTextFiles(dir.path());
    ASSERT_TRUE(listed.ok());
    const FolderListing& listing = listed.value();
    std::vector<std::string> names, diskNames;
    for (const ListedFile& f : listing.files) {
        names.push_back(f.name);
        diskNames.push_back(f.nameBytes);
    }
    const std::vector<std::string> expected = {
        "A.TXT",   "a.txt",  "b.txt", "café.txt", "café.txt", "link.txt", "Name With Spaces.txt",
        "x-y.Txt", "éa.txt", "Éb.txt"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(diskNames[3], "café.txt");
    EXPECT_EQ(diskNames[4], "caf\xE9.txt");
    EXPECT_EQ(diskNames[5], "link.txt");

    const std::vector<std::pair<std::string, int>> byExtension = {
        {"", 3}, {".bak", 1}, {".docx", 2}, {".eml", 1}, {".md", 1}, {".pdf", 1}};
    EXPECT_EQ(listing.unlisted.byExtension, byExtension);
    EXPECT_EQ(listing.unlisted.hidden, 3);
    EXPECT_EQ(listing.unlisted.count(), 12);
    std::vector<std::string> leftOut;
    for (const SkippedFile& f : listing.leftOut) {
        leftOut.push_back(f.name + ": " + f.reason);
    }
    EXPECT_EQ(leftOut,
              (std::vector<std::string>{"broken.txt: Dangling link", "Loop.TXT: Link loops",
                                        "pipe.txt: Not a regular file"}));
    struct stat info {};
    ASSERT_EQ(::stat(dir.path().c_str(), &info), 0);
    EXPECT_EQ(listing.identity, (FolderIdentity{info.st_dev, info.st_ino}));
}

TEST(ListTextFiles, MissingOrWrongFolderIsAProblem) {
    TempFolder dir;
    const fs::path file = dir.write("file.txt", "x");
    struct Case {
        fs::path folder;
        Error::Code code;
        const char* reason;
    };
    const Case cases[] = {
        {dir.path() / "vanished", Error::Code::NotFound, "No such file or directory"},
        {file, Error::Code::NotAFolder, "Not a directory"},
        {dir.path() / std::string(300, 'n'), Error::Code::NameTooLong, "File name too long"},
    };
    for (const Case& c : cases) {
        const auto listed = listTextFiles(c.folder);
        ASSERT_FALSE(listed.ok()) << c.folder;
        EXPECT_EQ(listed.error().code, c.code);
        EXPECT_EQ(listed.error().reason, c.reason);
        EXPECT_EQ(listed.error().message,
                  "Could not open the folder \"" + c.folder.string() + "\": " + c.reason + ".");
    }
}

TEST(Drives, MountTableGivesUserVolumesAndTheDriveOfAFolder) {
    const std::string table =
        "proc /proc proc rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "broken line\n";
    const std::vector<std::string> expected = {"/", "/home", "/media/usb stick"};
    EXPECT_EQ(parseMountTable(table), expected);
    EXPECT_EQ(parseMountTable(""), std::vector<std::string>{"/"});
    EXPECT_EQ(driveOf("/"), "/");
    const std::vector<std::string> drives = listDrives();
    EXPECT_FALSE(drives.empty());
    EXPECT_EQ(drives.front(), "/");
}

}  // namespace
}  // namespace pelmora
