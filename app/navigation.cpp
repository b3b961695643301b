// The main form's start-up step, drive and folder changes and file clicks.

#include <dirent.h>

#include <cstdlib>
#include <system_error>

#include "analysis/form1_commands.h"
#include "app/drives.h"
#include "app/file_reader.h"
#include "app/folder_listing.h"
#include "app/form2_commands.h"
#include "rules/author_code.h"
#include "stores/text_encoding.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

namespace fs = std::filesystem;

bool isOpenableFolder(const fs::path& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    ::closedir(dir);
    return true;
}

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0' && isOpenableFolder(home)) {
        return home;
    }
    return "/";
}

fs::path absoluteFolder(const fs::path& folder) {
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    return (error ? folder : absolute).lexically_normal();
}

// Selects the last entry of `authors` that equals the author code of `fileName`, ignoring
// case; with no match the selection stays as it was.
void selectAuthorOf(ListStore& authors, const std::string& fileName) {
    const std::string code = authorCode(fileName);
    for (int i = 0; i < authors.count(); ++i) {
        if (equalsIgnoreCase(code, authors.at(i))) {
            authors.select(i);
        }
    }
}

// Moves `dir` to the root of the drive now chosen. A drive that cannot be opened leaves the
// folder where it was, and the drive view goes back to that folder's drive.
bool moveToDriveRoot(DriveView& drive, FolderView& dir) {
    const fs::path root = drive.drive;
    if (drive.drive.empty() || !isOpenableFolder(root)) {
        drive.drive = driveOf(dir.folder);
        return false;
    }
    dir.folder = absoluteFolder(root);
    return true;
}

}  // namespace

void startProgram(ProgramContext& context) {
    Form2Commands(context).Form_Load();
}

void Form2Commands::Form_Load() {
    Form2& f = form();
    const fs::path corpus = context_.defaultCorpusFolder();
    const bool openable = isOpenableFolder(corpus);
    if (!openable) {
        context_.raiseMessage(context_.missingCorpusMessage());
    }
    const fs::path start = openable ? corpus : homeFolder();
    f.Dir1.folder = absoluteFolder(start);
    f.Drive1.drive = driveOf(f.Dir1.folder);
    f.Drive2.drive = f.Drive1.drive;
    f.Dir2.folder = f.Dir1.folder;
    Dir1_Change();
}

void Form2Commands::Drive1_Change() {
    if (moveToDriveRoot(form().Drive1, form().Dir1)) {
        Dir1_Change();
    }
}

void Form2Commands::Drive2_Change() {
    if (moveToDriveRoot(form().Drive2, form().Dir2)) {
        Dir2_Change();
    }
}

void Form2Commands::showFolder(FolderView& dir, FileList& files, bool reportProblem) {
    files.path = dir.folder;
    files.entries.clear();
    files.diskNames.clear();
    files.identity.reset();
    files.unlisted = {};
    files.leftOut.clear();
    Result<FolderListing> listed = listTextFiles(dir.folder);
    if (!listed.ok()) {
        if (reportProblem) {
            context_.raiseMessage(listed.error().message);
        }
        return;
    }
    FolderListing& listing = listed.value();
    for (ListedFile& file : listing.files) {
        files.entries.append(file.name);
        files.diskNames.push_back(std::move(file.nameBytes));
    }
    files.identity = listing.identity;
    files.unlisted = std::move(listing.unlisted);
    files.leftOut = std::move(listing.leftOut);
}

void Form2Commands::Dir1_Change() {
    Form2& f = form();
    f.Drive1.drive = driveOf(f.Dir1.folder);
    showFolder(f.Dir1, f.File1, true);
    f.Dir2.folder = f.Dir1.folder;
    Dir2_Change();
}

void Form2Commands::Dir2_Change() {
    Form2& f = form();
    f.Drive2.drive = driveOf(f.Dir2.folder);
    showFolder(f.Dir2, f.File2, false);  // it follows Dir1, whose problem is already reported
}

std::optional<Error> Form2Commands::loadSelectedFile() {
    Form2& f = form();
    const int selected = f.File1.selected();
    if (selected < 0) {
        return Error{Error::Code::NotFound, "No file is selected.", "No file selected"};
    }
    const std::string nameBytes = f.File1.diskName(selected);
    Result<ReadText> read = readTextFile(f.File1.path / nameBytes, nameBytes);
    if (!read.ok()) {
        return read.error();
    }
    context_.form1().Text1.setText(std::move(read.value().decoded.text));
    fileLoaded(std::move(read.value().facts));
    return std::nullopt;
}

void Form2Commands::fileLoaded(FileFacts facts) {
    Form2& f = form();
    const std::string& name = f.File1.entries.at(f.File1.selected());
    f.txtFileName1.setText(name);
    Form1& form1 = context_.form1();
    // A text analysed by hand is recorded under its name too, not under an empty one.
    form1.txtFileName.setText(name);
    form1.fileNameBytes = facts.nameBytes;
    f.lastRead = std::move(facts);
    f.lastRead.name = name;
    selectAuthorOf(f.lstAuthor, name);
}

bool Form2Commands::File1_Click() {
    const std::optional<Error> problem = loadSelectedFile();
    if (problem) {
        if (form().File1.selected() >= 0) {
            context_.raiseMessage(problem->message);
        }
        return false;
    }
    return true;
}

void Form2Commands::File2_Click() {
    Form2& f = form();
    f.File1.enabled = false;
    f.txtFileName2.setText(f.File2.selectedName());
    if (f.File2.selected() >= 0) {
        selectAuthorOf(f.lstAuthorComp, f.File2.selectedName());
    }
    f.lbl1.setInt(f.lstAuthor.selected());
    f.lbl2.setInt(f.lstAuthorComp.selected());
    f.lblFile1Pos.setInt(f.File1.selected());
    f.lblFile2Pos.setInt(f.File2.selected());
}

void Form2Commands::List1_Click() {
    Form2& f = form();
    f.Label5.setText(std::string(f.List1.get(f.List1.selected())));
}

}  // namespace pelmora
