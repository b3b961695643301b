// The case file from the main form: made, opened and saved through the panel's job runner, so
// that the window stays live while SQLite writes.

#include <QFileInfo>
#include <QMessageBox>

#include "casefile/case_file.h"
#include "casefile/folder_check.h"
#include "exports/run_names.h"
#include "record/run_record.h"
#include "stores/navigation.h"
#include "ui/case_panel.h"
#include "ui/case_window.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

const QString kCaseFilter =
    QStringLiteral("Pelmora case (*%1);;All files (*)").arg(QString::fromUtf8(kCaseExtension));

// A case file's error with the file's name first.
Error aboutCase(Error error, const QString& path) {
    error.message =
        fromQt(QStringLiteral("Case \"%1\": ").arg(QFileInfo(path).fileName())) + error.message;
    return error;
}

// Stores `metadata` when it differs from the case's, and `run` when there is one.
std::optional<Error> storeInto(CaseFile& file, const Metadata& metadata,
                               const std::shared_ptr<const RunResult>& run) {
    const Result<Metadata> stored = file.metadata();
    if (!stored.ok()) {
        return stored.error();
    }
    if (stored.value() != metadata) {
        if (std::optional<Error> failed = file.importMetadata(metadata)) {
            return failed;
        }
    }
    if (!run) {
        return std::nullopt;
    }
    // The main form keeps the last run when another folder is chosen; it is not this case's.
    if (std::optional<Error> refused = file.refusesRunOf(run->folder)) {
        return refused;
    }
    return file.storeRun(recordOf(*run, utcTimestamp()));
}

// What an opened case shows: its folder, its metadata and what changed since its last run.
struct OpenedCase {
    QString folder;
    Metadata metadata;
    std::vector<std::string> changes;
    UnmaskingStage unmasking = UnmaskingStage::Off;
};

}  // namespace

bool CasePanel::runCaseJob(Job<bool> job) {
    runner_->start<bool>(std::move(job), {});
    const JobRunner::End end = runner_->wait();
    if (end == JobRunner::End::Failed) {
        showProblem(runner_->problem());
    }
    // Even a failed save may have stored part of what it was given, each part logged.
    showCaseLog();
    return end == JobRunner::End::Done;
}

void CasePanel::showCaseLog() {
    if (caseWindow() != nullptr) {
        caseWindow()->showCase(casePath_);
    }
}

bool CasePanel::newCase() {
    const QString path = choosePath(
        QStringLiteral("New case"),
        toQt(safeFileName(folderName(folder_), {}, "case", kCaseExtension)), kCaseFilter);
    if (path.isEmpty()) {
        return false;
    }
    Job<bool> job = [path, folder = folder_, metadata = metadata_->metadata(),
                     run = run_](JobControl&) -> Result<bool> {
        Result<CaseFile> made = CaseFile::create(pathFromQt(path), folder, {});
        if (!made.ok()) {
            return aboutCase(made.error(), path);
        }
        if (std::optional<Error> failed = storeInto(made.value(), metadata, run)) {
            // No case half made: the file was not there before.
            std::error_code ignored;
            std::filesystem::remove(pathFromQt(path), ignored);
            return aboutCase(*failed, path);
        }
        return true;
    };
    if (!runCaseJob(std::move(job))) {
        return false;
    }
    casePath_ = path;
    storedRun_ = run_;
    showUnmasking(UnmaskingStage::Off);
    showCaseLog();
    rememberCase();
    return true;
}

bool CasePanel::saveCase() {
    if (casePath_.isEmpty()) {
        return newCase();
    }
    Job<bool> job = [path = casePath_, metadata = metadata_->metadata(),
                     run = run_ == storedRun_ ? nullptr : run_](JobControl&) -> Result<bool> {
        Result<CaseFile> opened = CaseFile::open(pathFromQt(path));
        if (!opened.ok()) {
            return opened.error();
        }
        if (std::optional<Error> failed = storeInto(opened.value(), metadata, run)) {
            return aboutCase(*failed, path);
        }
        return true;
    };
    if (!runCaseJob(std::move(job))) {
        return false;
    }
    storedRun_ = run_;
    rememberCase();
    return true;
}

void CasePanel::showUnmasking(UnmaskingStage stage) {
    unmasking_ = stage;
    if (caseWindow() != nullptr) {
        caseWindow()->showUnmasking(stage);
    }
}

bool CasePanel::lockQuestioned() {
    if (casePath_.isEmpty() || !run_) {
        showProblem(QStringLiteral(
            "Open or make a case and run its folder before locking the questioned texts."));
        return false;
    }
    Job<bool> job = [path = casePath_, metadata = metadata_->metadata(), run = run_,
                     store = run_ != storedRun_](JobControl&) -> Result<bool> {
        Result<CaseFile> opened = CaseFile::open(pathFromQt(path));
        if (!opened.ok()) {
            return opened.error();
        }
        std::optional<Error> failed = storeInto(opened.value(), metadata, store ? run : nullptr);
        if (!failed) {
            failed = opened.value().lockQuestioned(*run);
        }
        if (failed) {
            return aboutCase(*failed, path);
        }
        return true;
    };
    if (!runCaseJob(std::move(job))) {
        return false;
    }
    storedRun_ = run_;
    showUnmasking(UnmaskingStage::Locked);
    return true;
}

bool CasePanel::editCaseDetails() {
    if (casePath_.isEmpty()) {
        showProblem(QStringLiteral("Open or make a case before giving its details."));
        return false;
    }
    std::optional<CaseSettings> read;
    Job<CaseSettings> job = [path = casePath_](JobControl&) -> Result<CaseSettings> {
        const Result<CaseFile> opened = CaseFile::open(pathFromQt(path), false);
        if (!opened.ok()) {
            return opened.error();
        }
        const Result<CaseDetails> details = opened.value().details();
        const Result<UnmaskingStage> stage = opened.value().unmasking();
        if (!details.ok() || !stage.ok()) {
            return aboutCase(details.ok() ? stage.error() : details.error(), path);
        }
        return CaseSettings{details.value(), stage.value()};
    };
    runner_->start<CaseSettings>(std::move(job), [&read](CaseSettings s) { read = std::move(s); });
    if (runner_->wait() == JobRunner::End::Failed) {
        showProblem(runner_->problem());
    }
    CaseSettings edited = read.value_or(CaseSettings{});
    if (!read || !editDetails(edited) || edited == *read) {
        return false;
    }
    const bool stored =
        runCaseJob([path = casePath_, before = *read, edited](JobControl&) -> Result<bool> {
            Result<CaseFile> opened = CaseFile::open(pathFromQt(path));
            if (!opened.ok()) {
                return opened.error();
            }
            std::optional<Error> failed;
            if (edited.details != before.details) {
                failed = opened.value().setDetails(edited.details);
            }
            // Logged as the command line logs it.
            if (!failed && edited.unmasking != before.unmasking) {
                failed = opened.value().setUnmasking(edited.unmasking == UnmaskingStage::Unlocked);
            }
            if (failed) {
                return aboutCase(*failed, path);
            }
            return true;
        });
    if (stored) {
        showUnmasking(edited.unmasking);
    }
    return stored;
}

bool CasePanel::openCaseFile() {
    const QString path = chooseOpenPath(QStringLiteral("Open case"), kCaseFilter);
    return !path.isEmpty() && openCaseFileAt(path);
}

bool CasePanel::openCaseFileAt(const QString& path) {
    Job<OpenedCase> job = [path](JobControl&) -> Result<OpenedCase> {
        Result<CaseFile> opened = CaseFile::open(pathFromQt(path));
        if (!opened.ok()) {
            return opened.error();
        }
        CaseFile& file = opened.value();
        const Result<std::filesystem::path> folder = file.folderPath();
        if (!folder.ok()) {
            return aboutCase(folder.error(), path);
        }
        Result<Metadata> metadata = file.metadata();
        if (!metadata.ok()) {
            return aboutCase(metadata.error(), path);
        }
        const Result<UnmaskingStage> stage = file.unmasking();
        if (!stage.ok()) {
            return aboutCase(stage.error(), path);
        }
        Result<std::vector<std::string>> changes = logOpening(file, folder.value());
        if (!changes.ok()) {
            return aboutCase(changes.error(), path);
        }
        return OpenedCase{pathToQt(folder.value()), std::move(metadata.value()),
                          std::move(changes.value()), stage.value()};
    };
    std::optional<OpenedCase> got;
    runner_->start<OpenedCase>(std::move(job), [&got](OpenedCase c) { got = std::move(c); });
    if (runner_->wait() == JobRunner::End::Failed) {
        showProblem(runner_->problem());
    }
    if (!got) {
        return false;
    }
    if (!got->changes.empty()) {
        QStringList lines{QStringLiteral("The folder changed since the case's last run:")};
        for (const std::string& line : got->changes) {
            lines.append(toQt(line));
        }
        showProblem(lines.join(QLatin1Char('\n')));
    }
    casePath_ = path;
    storedRun_ = nullptr;
    showUnmasking(got->unmasking);
    showCaseLog();
    rememberCase();
    emit caseFolderWanted(got->folder);
    metadata_->setMetadata(std::move(got->metadata));
    return true;
}

}  // namespace pelmora
