// The main form's start-up step, drive and folder changes and file clicks.

#include <cstdlib>
#include <system_error>

#include "app/drives.h"
#include "app/file_reader.h"
#include "app/folder_listing.h"
#include "app/form2.h"
#include "app/program_context.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

namespace fs = std::filesystem;

bool isOpenableFolder(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator probe(folder, error);
    return !error;
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

// Selects the last entry of `authors` that equals the first four characters of `fileName`,
// ignoring case; with no match the selection stays as it was.
void selectAuthorOf(ListStore& authors, const std::string& fileName) {
    const std::string code = firstChars(fileName, 4);
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

void Form2::Form_Load() {
    const fs::path corpus = context_->defaultCorpusFolder();
    const fs::path start = isOpenableFolder(corpus) ? corpus : homeFolder();
    Dir1.folder = absoluteFolder(start);
    Drive1.drive = driveOf(Dir1.folder);
    Drive2.drive = Drive1.drive;
    Dir2.folder = Dir1.folder;
    Dir1_Change();
}

void Form2::Drive1_Change() {
    if (moveToDriveRoot(Drive1, Dir1)) {
        Dir1_Change();
    }
}

void Form2::Drive2_Change() {
    if (moveToDriveRoot(Drive2, Dir2)) {
        Dir2_Change();
    }
}

void Form2::showFolder(FolderView& dir, FileList& files, bool reportProblem) {
    files.path = dir.folder;
    files.entries.clear();
    files.diskNames.clear();
    const Result<std::vector<ListedFile>> listed = listTextFiles(dir.folder);
    if (!listed.ok()) {
        if (reportProblem) {
            context_->raiseMessage(listed.problem().message);
        }
        return;
    }
    for (const ListedFile& file : listed.value()) {
        files.entries.append(file.name);
        files.diskNames.push_back(file.diskName);
    }
}

void Form2::Dir1_Change() {
    Drive1.drive = driveOf(Dir1.folder);
    showFolder(Dir1, File1, true);
    Dir2.folder = Dir1.folder;
    Dir2_Change();
}

void Form2::Dir2_Change() {
    Drive2.drive = driveOf(Dir2.folder);
    showFolder(Dir2, File2, false);  // it follows Dir1, whose problem is already reported
}

std::optional<InputProblem> Form2::loadSelectedFile() {
    const int selected = File1.selected();
    if (selected < 0) {
        return InputProblem{InputProblem::Code::NotFound, "No file is selected.",
                            "No file selected"};
    }
    const std::string name = File1.entries.at(selected);
    const Result<DecodedText> read = readTextFile(File1.path / File1.diskName(selected), name);
    if (!read.ok()) {
        return read.problem();
    }
    txtFileName1.setText(name);
    Form1& form1 = context_->form1();
    form1.Text1.setText(read.value().text);
    // A text analysed by hand is recorded under its name too, not under an empty one.
    form1.txtFileName.setText(name);
    lastRead_ = FileFacts{name, encodingName(read.value().encoding), read.value().byteSize,
                          read.value().sha256};
    selectAuthorOf(lstAuthor, name);
    return std::nullopt;
}

bool Form2::File1_Click() {
    const std::optional<InputProblem> problem = loadSelectedFile();
    if (problem) {
        if (File1.selected() >= 0) {
            context_->raiseMessage(problem->message);
        }
        return false;
    }
    return true;
}

void Form2::File2_Click() {
    File1.enabled = false;
    txtFileName2.setText(File2.selectedName());
    if (File2.selected() >= 0) {
        selectAuthorOf(lstAuthorComp, File2.selectedName());
    }
    lbl1.setInt(lstAuthor.selected());
    lbl2.setInt(lstAuthorComp.selected());
    lblFile1Pos.setInt(File1.selected());
    lblFile2Pos.setInt(File2.selected());
}

void Form2::List1_Click() {
    Label5.setText(std::string(List1.get(List1.selected())));
}

}  // namespace pelmora
