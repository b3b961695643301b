#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/drives.h"
#include "forms/sample_corpus.h"
#include "tests/support/folder_run.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::FolderRun;
using test::TempFolder;

std::vector<std::string> entries(const FileList& list) {
    return list.entries.items();
}

bool selectFile(Form2& form, const std::string& name) {
    for (int i = 0; i < form.File1.count(); ++i) {
        if (form.File1.entries.at(i) == name) {
            form.File1.entries.select(i);
            return true;
        }
    }
    return false;
}

TEST(Form2Navigation, StartUpOpensTheCorpusFolderOrElseTheHomeFolder) {
    FolderRun run({{"b.txt", "x"}, {"a.txt", "x"}});
    const fs::path& corpus = run.folder.path();
    Form2& form = run.form2();
    EXPECT_EQ(form.Dir1.folder, corpus);
    EXPECT_EQ(form.File1.path, corpus);
    EXPECT_EQ(entries(form.File1), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(form.Dir2.folder, corpus);
    EXPECT_EQ(entries(form.File2), entries(form.File1));
    EXPECT_EQ(form.Drive1.drive, driveOf(corpus));
    EXPECT_EQ(form.File1.selected(), -1);
    EXPECT_FALSE(run.context->form1Exists());  // only loading a text creates the analysis form
    EXPECT_TRUE(run.context->takeMessages().empty());

    TempFolder home;
    home.write("mine.txt", "x");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.path().c_str(), 1);
    ProgramContext homeless(corpus / "missing");
    startProgram(homeless);
    EXPECT_EQ(homeless.form2().Dir1.folder, home.path());
    EXPECT_EQ(entries(homeless.form2().File1), std::vector<std::string>{"mine.txt"});
    EXPECT_EQ(homeless.takeMessages(),
              std::vector<std::string>{"The folder " + (corpus / "missing").string() +
                                       " cannot be opened, so the home folder is shown."});
    if (oldHome) {
        ::setenv("HOME", savedHome.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

// The sample corpus as the program finds it: in the data folder of an install root, behind a
// build folder's link, the installed one first; with the source moved away it is named as
// missing, never silently replaced.
TEST(Form2Navigation, SampleCorpusIsFoundBesideTheProgramOrNamedAsMissing) {
    TempFolder temp;
    const fs::path root = fs::canonical(temp.path());
    for (const char* folder : {"usr/bin", "usr/share/pelmora/samples", "src/samples", "build",
                               "moved/build", "both/bin/samples", "both/share/pelmora/samples"}) {
        fs::create_directories(root / folder);
    }
    fs::create_directory_symlink(root / "src/samples", root / "build/samples");
    fs::create_directory_symlink(root / "gone/samples", root / "moved/build/samples");
    struct Case {
        const char* label;
        fs::path program;
        fs::path found;
    };
    const Case cases[] = {
        {"unpacked install root", root / "usr/bin", root / "usr/share/pelmora/samples"},
        {"build folder, through its link", root / "build", root / "src/samples"},
        {"installed before the link", root / "both/bin", root / "both/share/pelmora/samples"},
        {"source moved away", root / "moved/build", {}},
        {"no program folder", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(findSampleCorpus(c.program).found, c.found);
    }
    EXPECT_TRUE(findSampleCorpus({}).looked.empty());  // nothing relative to the working folder
    const SampleCorpusSearch missing = findSampleCorpus(root / "moved/build");
    const fs::path installed = root / "moved/share/pelmora/samples";
    const fs::path link = root / "moved/build/samples";
    EXPECT_EQ(missing.looked, (std::vector<fs::path>{installed, link}));
    EXPECT_EQ(missingSampleCorpusMessage(missing), "The sample corpus was not found in " +
                                                       installed.string() + " or " + link.string() +
                                                       ", so the home folder is shown.");

    // This test program is in the build folder: the program's own start finds the source's
    // samples through the link, and says nothing.
    ProgramContext built;
    startProgram(built);
    EXPECT_EQ(built.form2().Dir1.folder, fs::canonical(test::kSamples));
    EXPECT_FALSE(entries(built.form2().File1).empty());
    EXPECT_TRUE(built.takeMessages().empty());
}

TEST(Form2Navigation, FileClickLoadsTheWholeDecodedTextAndReplacesTheLast) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"empty.txt", "", ""},
        {"cp1252.txt",
         "don\x92t \xAB"
         "a\xBB\r\n",
         "don’t «a»\r\n"},
        {"utf16.txt", std::string("\xFF\xFEo\0k\0", 6), "ok"},
        {"Name With Spaces.txt", "spaced", "spaced"},
        {"x-y.txt", "hyphen", "hyphen"},
    };
    std::vector<test::File> files;
    for (const Case& c : cases) {
        files.push_back({c.name, c.bytes});
    }
    FolderRun run(files);
    Form2& form = run.form2();
    for (const Case& c : cases) {
        ASSERT_TRUE(selectFile(form, c.name)) << c.name;
        EXPECT_TRUE(run.main().File1_Click()) << c.name;
        EXPECT_EQ(run.form1().Text1.text(), c.text) << c.name;
        EXPECT_EQ(form.txtFileName1.text(), c.name);
        EXPECT_EQ(run.form1().txtFileName.text(), c.name);
    }
    ASSERT_TRUE(selectFile(form, "x-y.txt"));
    run.main().File1_Click();
    EXPECT_EQ(run.form1().Text1.text(), "hyphen");  // replaced, not appended
    EXPECT_TRUE(run.context->takeMessages().empty());
}

TEST(Form2Navigation, UnreadableFileLeavesTheTextAndSaysWhy) {
    FolderRun run({{"gone.txt", "soon gone"}, {"kept.txt", "kept text"}});
    Form2& form = run.form2();
    ASSERT_TRUE(selectFile(form, "kept.txt"));
    ASSERT_TRUE(run.main().File1_Click());
    fs::remove(run.folder.path() / "gone.txt");
    ASSERT_TRUE(selectFile(form, "gone.txt"));
    EXPECT_FALSE(run.main().File1_Click());
    EXPECT_EQ(run.form1().Text1.text(), "kept text");
    EXPECT_EQ(form.txtFileName1.text(), "kept.txt");
    EXPECT_EQ(run.context->takeMessages(),
              std::vector<std::string>{"Could not read \"gone.txt\": No such file or directory."});

    form.File1.entries.select(-1);
    EXPECT_FALSE(run.main().File1_Click());
    EXPECT_TRUE(run.context->takeMessages().empty());
}

TEST(Form2Navigation, NameNotInUtf8IsShownAsWindows1252AndStillOpens) {
    FolderRun run({{"caf\xE9.txt", "latin name"}});
    ASSERT_TRUE(selectFile(run.form2(), "café.txt"));
    EXPECT_TRUE(run.main().File1_Click());
    EXPECT_EQ(run.form1().Text1.text(), "latin name");
}

TEST(Form2Navigation, FileClickSelectsTheLastAuthorMatchingTheFirstFourCharacters) {
    struct Case {
        const char* file;
        std::vector<std::string> authors;
        int selected;
    };
    const Case cases[] = {
        {"zzzz.txt", {}, -1},
        {"zzzz.txt", {"abcd"}, -1},
        {"ABCD-essay.txt", {"abcd", "x", "ABCD"}, 2},
        {"ab.txt", {"ab", "ab.t"}, 1},
        {"Émile.txt", {"Émi", "Émil"}, 1},  // four characters, not four bytes
    };
    for (const Case& c : cases) {
        FolderRun run(
            {{"ABCD-essay.txt", "x"}, {"ab.txt", "x"}, {"Émile.txt", "x"}, {"zzzz.txt", "x"}});
        Form2& form = run.form2();
        for (const std::string& author : c.authors) {
            form.lstAuthor.append(author);
        }
        ASSERT_TRUE(selectFile(form, c.file));
        run.main().File1_Click();
        EXPECT_EQ(form.lstAuthor.selected(), c.selected) << c.file;
    }
}

TEST(Form2Navigation, SecondBrowserClickDisablesTheFileListAndRecordsPositions) {
    FolderRun run({{"abcd1.txt", "x"}, {"efgh1.txt", "x"}});
    Form2& form = run.form2();
    run.main().File2_Click();  // nothing selected anywhere
    EXPECT_FALSE(form.File1.enabled);
    EXPECT_EQ(form.txtFileName2.text(), "");
    for (const ValueField* field : {&form.lbl1, &form.lbl2, &form.lblFile1Pos, &form.lblFile2Pos}) {
        EXPECT_EQ(field->text(), "-1");
    }

    form.lstAuthorComp.append("abcd");
    form.lstAuthorComp.append("EFGH");
    form.File1.entries.select(0);
    form.File2.entries.select(1);
    run.main().File2_Click();
    EXPECT_EQ(form.txtFileName2.text(), "efgh1.txt");
    EXPECT_EQ(form.lbl2.text(), "1");
    EXPECT_EQ(form.lblFile1Pos.text(), "0");
    EXPECT_EQ(form.lblFile2Pos.text(), "1");

    form.List1.append("abcd efgh");
    form.List1.select(0);
    run.main().List1_Click();
    EXPECT_EQ(form.Label5.text(), "abcd efgh");
}

TEST(Form2Navigation, DriveAndFolderChangesMoveTheViewsOrKeepThemWhenTheyCannot) {
    FolderRun run({{"a.txt", "x"}});
    const fs::path& corpus = run.folder.path();
    Form2& form = run.form2();
    const std::string drive = form.Drive1.drive;

    form.Drive1.drive = "/no/such/drive";
    run.main().Drive1_Change();
    EXPECT_EQ(form.Dir1.folder, corpus);
    EXPECT_EQ(form.Drive1.drive, drive);
    EXPECT_EQ(entries(form.File1), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(run.context->takeMessages().empty());  // silent

    form.Drive1.drive = "/";
    run.main().Drive1_Change();
    EXPECT_EQ(form.Dir1.folder, fs::path("/"));
    EXPECT_EQ(form.Dir2.folder, fs::path("/"));
    EXPECT_EQ(form.File1.path, fs::path("/"));

    const fs::path vanished = corpus / "vanished";
    form.Dir1.folder = vanished;
    run.main().Dir1_Change();
    EXPECT_EQ(form.File1.count(), 0);
    EXPECT_EQ(form.File2.count(), 0);
    EXPECT_EQ(run.context->takeMessages(),
              std::vector<std::string>{"Could not open the folder \"" + vanished.string() +
                                       "\": No such file or directory."});
}

}  // namespace
}  // namespace pelmora
