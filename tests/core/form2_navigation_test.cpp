#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/drives.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
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
    TempFolder corpus;
    corpus.write("b.txt", "x");
    corpus.write("a.txt", "x");
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    EXPECT_EQ(form.Dir1.folder, corpus.path());
    EXPECT_EQ(form.File1.path, corpus.path());
    EXPECT_EQ(entries(form.File1), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(form.Dir2.folder, corpus.path());
    EXPECT_EQ(entries(form.File2), entries(form.File1));
    EXPECT_EQ(form.Drive1.drive, driveOf(corpus.path()));
    EXPECT_EQ(form.File1.selected(), -1);
    EXPECT_FALSE(context.form1Exists());  // only loading a text creates the analysis form
    EXPECT_TRUE(context.takeMessages().empty());

    TempFolder home;
    home.write("mine.txt", "x");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.path().c_str(), 1);
    ProgramContext homeless(corpus.path() / "missing");
    startProgram(homeless);
    EXPECT_EQ(homeless.form2().Dir1.folder, home.path());
    EXPECT_EQ(entries(homeless.form2().File1), std::vector<std::string>{"mine.txt"});
    if (oldHome) {
        ::setenv("HOME", savedHome.c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

TEST(Form2Navigation, FileClickLoadsTheWholeDecodedTextAndReplacesTheLast) {
    TempFolder corpus;
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
    for (const Case& c : cases) {
        corpus.write(c.name, c.bytes);
    }
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    for (const Case& c : cases) {
        ASSERT_TRUE(selectFile(form, c.name)) << c.name;
        EXPECT_TRUE(Form2Commands(context).File1_Click()) << c.name;
        EXPECT_EQ(context.form1().Text1.text(), c.text) << c.name;
        EXPECT_EQ(form.txtFileName1.text(), c.name);
        EXPECT_EQ(context.form1().txtFileName.text(), c.name);
    }
    ASSERT_TRUE(selectFile(form, "x-y.txt"));
    Form2Commands(context).File1_Click();
    EXPECT_EQ(context.form1().Text1.text(), "hyphen");  // replaced, not appended
    EXPECT_TRUE(context.takeMessages().empty());
}

TEST(Form2Navigation, UnreadableFileLeavesTheTextAndSaysWhy) {
    TempFolder corpus;
    corpus.write("gone.txt", "soon gone");
    corpus.write("kept.txt", "kept text");
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    ASSERT_TRUE(selectFile(form, "kept.txt"));
    ASSERT_TRUE(Form2Commands(context).File1_Click());
    fs::remove(corpus.path() / "gone.txt");
    ASSERT_TRUE(selectFile(form, "gone.txt"));
    EXPECT_FALSE(Form2Commands(context).File1_Click());
    EXPECT_EQ(context.form1().Text1.text(), "kept text");
    EXPECT_EQ(form.txtFileName1.text(), "kept.txt");
    EXPECT_EQ(context.takeMessages(),
              std::vector<std::string>{"Could not read \"gone.txt\": No such file or directory."});

    form.File1.entries.select(-1);
    EXPECT_FALSE(Form2Commands(context).File1_Click());
    EXPECT_TRUE(context.takeMessages().empty());
}

TEST(Form2Navigation, NameNotInUtf8IsShownAsWindows1252AndStillOpens) {
    TempFolder corpus;
    corpus.write("caf\xE9.txt", "latin name");
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    ASSERT_TRUE(selectFile(form, "café.txt"));
    EXPECT_TRUE(Form2Commands(context).File1_Click());
    EXPECT_EQ(context.form1().Text1.text(), "latin name");
}

TEST(Form2Navigation, FileClickSelectsTheLastAuthorMatchingTheFirstFourCharacters) {
    TempFolder corpus;
    for (const char* name : {"ABCD-essay.txt", "ab.txt", "Émile.txt", "zzzz.txt"}) {
        corpus.write(name, "x");
    }
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
        ProgramContext context(corpus.path());
        startProgram(context);
        Form2& form = context.form2();
        for (const std::string& author : c.authors) {
            form.lstAuthor.append(author);
        }
        ASSERT_TRUE(selectFile(form, c.file));
        Form2Commands(context).File1_Click();
        EXPECT_EQ(form.lstAuthor.selected(), c.selected) << c.file;
    }
}

TEST(Form2Navigation, SecondBrowserClickDisablesTheFileListAndRecordsPositions) {
    TempFolder corpus;
    corpus.write("abcd1.txt", "x");
    corpus.write("efgh1.txt", "x");
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    Form2Commands(context).File2_Click();  // nothing selected anywhere
    EXPECT_FALSE(form.File1.enabled);
    EXPECT_EQ(form.txtFileName2.text(), "");
    for (const ValueField* field : {&form.lbl1, &form.lbl2, &form.lblFile1Pos, &form.lblFile2Pos}) {
        EXPECT_EQ(field->text(), "-1");
    }

    form.lstAuthorComp.append("abcd");
    form.lstAuthorComp.append("EFGH");
    form.File1.entries.select(0);
    form.File2.entries.select(1);
    Form2Commands(context).File2_Click();
    EXPECT_EQ(form.txtFileName2.text(), "efgh1.txt");
    EXPECT_EQ(form.lbl2.text(), "1");
    EXPECT_EQ(form.lblFile1Pos.text(), "0");
    EXPECT_EQ(form.lblFile2Pos.text(), "1");

    form.List1.append("abcd efgh");
    form.List1.select(0);
    Form2Commands(context).List1_Click();
    EXPECT_EQ(form.Label5.text(), "abcd efgh");
}

TEST(Form2Navigation, DriveAndFolderChangesMoveTheViewsOrKeepThemWhenTheyCannot) {
    TempFolder corpus;
    corpus.write("a.txt", "x");
    ProgramContext context(corpus.path());
    startProgram(context);
    Form2& form = context.form2();
    const std::string drive = form.Drive1.drive;

    form.Drive1.drive = "/no/such/drive";
    Form2Commands(context).Drive1_Change();
    EXPECT_EQ(form.Dir1.folder, corpus.path());
    EXPECT_EQ(form.Drive1.drive, drive);
    EXPECT_EQ(entries(form.File1), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(context.takeMessages().empty());  // silent

    form.Drive1.drive = "/";
    Form2Commands(context).Drive1_Change();
    EXPECT_EQ(form.Dir1.folder, fs::path("/"));
    EXPECT_EQ(form.Dir2.folder, fs::path("/"));
    EXPECT_EQ(form.File1.path, fs::path("/"));

    const fs::path vanished = corpus.path() / "vanished";
    form.Dir1.folder = vanished;
    Form2Commands(context).Dir1_Change();
    EXPECT_EQ(form.File1.count(), 0);
    EXPECT_EQ(form.File2.count(), 0);
    EXPECT_EQ(context.takeMessages(),
              std::vector<std::string>{"Could not open the folder \"" + vanished.string() +
                                       "\": No such file or directory."});
}

}  // namespace
}  // namespace pelmora
