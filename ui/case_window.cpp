#include "ui/case_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "case/compatibility.h"
#include "case/compatibility_tables.h"
#include "casefile/case_file.h"
#include "desktop/window_fit.h"
#include "help/window_parts.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"
#include "ui/validation_page.h"

namespace pelmora {

namespace {

constexpr std::array<CaseTable, 5> kTables = {CaseTable::QuestionedKnown, CaseTable::KnownKnown,
                                              CaseTable::QuestionedReference, CaseTable::Matched,
                                              CaseTable::QuestionedQuestioned};

// The qk table's verdict, after the questioned and known texts, the strength, the agreeing and
// differing digits and minimal.
constexpr int kVerdictColumn = 6;

// What the window shows of one computation, made on the worker thread.
struct CaseTables {
    std::array<std::vector<TableRow>, kTables.size()> rows;
    std::array<std::vector<std::optional<std::pair<int, int>>>, kTables.size()> pairs;
    std::string state;   // how many texts of each role, and the ones not analysed
    std::string shares;  // where each Q-K strength stands among the reference texts
    std::array<bool, kTables.size()> shown{};
    std::vector<TableRow> codes;  // the questioned texts' codes, before their lock
};

const std::string& nameOf(const RunResult& run, int position) {
    return run.texts[static_cast<std::size_t>(position)].name;
}

CaseTables tablesOf(const RunResult& run, const Metadata& metadata, int level, UnmaskingStage stage,
                    const RunStability* stability) {
    const Compatibility compatibility = compatibilityOf(run, metadata, level, stability);
    const CaseTexts& texts = compatibility.texts;
    const VisibleResults visible = visibleResults(stage);
    CaseTables tables;
    for (std::size_t i = 0; i < kTables.size(); ++i) {
        tables.shown[i] = mayShow(visible, kTables[i]);
        if (tables.shown[i]) {
            tables.rows[i] = caseTable(run, compatibility, kTables[i]);
            tables.pairs[i] = caseTablePairs(compatibility, kTables[i]);
        }
    }
    if (stability != nullptr) {  // Q-K is first
        appendStabilityColumn(tables.rows[0], compatibility, stability->options.resamples);
    }
    tables.shown.back() = tables.shown.back() && texts.questioned.size() > 1;  // Q-Q is last
    if (stage == UnmaskingStage::Unlocked) {
        tables.codes = questionedCodesTable(run, texts);
    }
    tables.state = std::to_string(texts.questioned.size()) + " questioned, " +
                   std::to_string(texts.known.size()) + " known and " +
                   std::to_string(texts.reference.size()) + " reference texts.";
    for (const std::string& name : texts.notAnalysed) {
        tables.state += " Not analysed: " + name + '.';
    }
    if (stage == UnmaskingStage::Unlocked) {
        tables.state +=
            " Sequential unmasking: the known and reference results follow the lock "
            "of the questioned texts.";
    }
    // Where the Q-K strengths stand among the reference texts tells of both.
    const auto& comparisons =
        tables.shown[0] ? compatibility.questionedKnown : decltype(compatibility.questionedKnown){};
    for (const std::vector<KnownComparison>& row : comparisons) {
        for (const KnownComparison& c : row) {
            const std::string sentence = shareSentence(c);
            if (!sentence.empty()) {
                tables.shares += nameOf(run, c.pair.first) + " and " + nameOf(run, c.pair.second) +
                                 ": " + sentence + '\n';
            }
        }
    }
    if (!tables.shares.empty()) {
        tables.shares.pop_back();
    }
    return tables;
}

}  // namespace

CaseWindow::CaseWindow(MetadataModel* metadata, QWidget* parent)
    : QWidget(parent, Qt::Window), metadata_(metadata) {
    setObjectName(QStringLiteral("CaseWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Case"));
    runner_ = new JobRunner(this);

    state_ = makeText(this, "lblCaseState", "");
    level_ = new QSpinBox(this);
    level_->setObjectName(QStringLiteral("spnLevel"));
    level_->setRange(0, 5);
    level_->setValue(RuleBook::kMatchedReferenceAtLeast);
    auto* levelRow = new QHBoxLayout;
    QLabel* levelCaption = makeText(this, "captionLevel", "Matched reference texts reach at least");
    levelCaption->setWordWrap(false);
    levelRow->addWidget(levelCaption);
    levelRow->addWidget(level_);
    levelRow->addStretch(1);
    lock_ = makeButton(this, "cmdLockQuestioned", "Lock questioned texts");
    lock_->hide();
    levelRow->addWidget(lock_);
    connect(lock_, &QPushButton::clicked, this, &CaseWindow::lockRequested);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabsCase"));
    questionedCodes_ = rowsTable(tabs_, "tblQuestionedCodes");
    tabs_->addTab(questionedCodes_, QStringLiteral("Questioned codes"));
    tabs_->setTabVisible(0, false);
    auto* qkPage = new QWidget(tabs_);
    questionedKnown_ = rowsTable(qkPage, "tblQuestionedKnown");
    shares_ = makeText(qkPage, "lblShares", "");
    shares_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* qkLayout = new QVBoxLayout(qkPage);
    qkLayout->addWidget(questionedKnown_, 1);
    qkLayout->addWidget(shares_);
    tabs_->addTab(qkPage, QStringLiteral("Questioned–known"));
    knownKnown_ = rowsTable(tabs_, "tblKnownKnown");
    tabs_->addTab(knownKnown_, QStringLiteral("Known–known"));
    questionedReference_ = rowsTable(tabs_, "tblQuestionedReference");
    tabs_->addTab(questionedReference_, QStringLiteral("Questioned–reference"));
    matched_ = rowsTable(tabs_, "tblMatched");
    tabs_->addTab(matched_, QStringLiteral("Matched reference"));
    questionedQuestioned_ = rowsTable(tabs_, "tblQuestionedQuestioned");
    tabs_->addTab(questionedQuestioned_, QStringLiteral("Questioned–questioned"));
    buildMetadataTab();
    validation_ = new ValidationPage(metadata_, tabs_);
    tabs_->addTab(validation_, QStringLiteral("Validation"));
    buildLogTab();
    buildReportExport(levelRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(state_);
    layout->addLayout(levelRow);
    layout->addWidget(reportWritten_);
    layout->addWidget(tabs_, 1);

    openPairsOf(questionedKnown_, 0);  // the tables' places in kTables
    openPairsOf(knownKnown_, 1);
    openPairsOf(questionedQuestioned_, 4);
    connect(level_, &QSpinBox::valueChanged, this, &CaseWindow::recompute);
    connect(metadata_, &MetadataModel::metadataChanged, this, &CaseWindow::recompute);
    fitToScreen(this, {1180, 620});
    recompute();
}

void CaseWindow::openPairsOf(QTableView* table, std::size_t index) {
    connect(table, &QTableView::activated, this, [this, index](const QModelIndex& cell) {
        const std::vector<std::optional<std::pair<int, int>>>& pairs = rowPairs_.at(index);
        const auto row = static_cast<std::size_t>(cell.row());
        if (rowPairsRun_ == run_ && row < pairs.size() && pairs[row]) {
            emit pairActivated(pairs[row]->first, pairs[row]->second);
        }
    });
}

void CaseWindow::buildMetadataTab() {
    auto* page = new QWidget(tabs_);
    // The item data is the role letter the rows must have; none for every row.
    roleFilter_ = roleChoice(page, "cboRoleFilter");
    filtered_ = new QSortFilterProxyModel(page);
    filtered_->setSourceModel(metadata_);
    filtered_->setFilterRole(MetadataModel::RoleLetterRole);
    auto* table = new QTableView(page);
    table->setObjectName(QStringLiteral("tblMetadata"));
    table->setModel(filtered_);
    table->setSortingEnabled(true);
    table->sortByColumn(-1, Qt::AscendingOrder);  // the folder's order until a header is clicked
    table->horizontalHeader()->setStretchLastSection(true);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(makeText(page, "captionRoleFilter", "Show"));
    filterRow->addWidget(roleFilter_);
    filterRow->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(filterRow);
    layout->addWidget(table, 1);
    tabs_->addTab(page, QStringLiteral("Texts and roles"));
    connect(roleFilter_, &QComboBox::currentIndexChanged, this, &CaseWindow::roleFilterChosen);
}

void CaseWindow::buildLogTab() {
    logRunner_ = new JobRunner(this);
    auto* page = new QWidget(tabs_);
    chainState_ = makeText(page, "lblChainState", "");
    chainState_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auditLog_ = rowsTable(page, "tblAuditLog");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chainState_);
    layout->addWidget(auditLog_, 1);
    tabs_->addTab(page, QStringLiteral("Audit log"));
    connect(logRunner_, &JobRunner::failed, this, [this](const QString& problem) {
        chainState_->setText(problem);
        showRows(auditLog_, {});
    });
    refreshLog();
}

void CaseWindow::showCase(const QString& path) {
    casePath_ = path;
    updateReportCommand();
    refreshLog();
}

void CaseWindow::refreshLog() {
    if (casePath_.isEmpty()) {
        logRunner_->abandon();
        chainState_->setText(QStringLiteral("No case open: the log is the open case file's."));
        showRows(auditLog_, {});
        return;
    }
    Job<CheckedLog> job = [path = casePath_](JobControl&) -> Result<CheckedLog> {
        const Result<CaseFile> opened = CaseFile::open(pathFromQt(path), false);
        return opened.ok() ? opened.value().checkedLog() : Result<CheckedLog>(opened.error());
    };
    logRunner_->start<CheckedLog>(std::move(job), [this](CheckedLog log) {
        chainState_->setText(toQt(chainStateText(log)));
        showRows(auditLog_, auditLogTable(log.entries));
    });
}

void CaseWindow::roleFilterChosen(int index) {
    if (index <= 0) {
        filtered_->setFilterRegularExpression(QString());
        return;
    }
    const QString letter = roleFilter_->itemData(index).toString();
    filtered_->setFilterRegularExpression(QRegularExpression(
        QLatin1Char('^') + QRegularExpression::escape(letter) + QLatin1Char('$')));
}

void CaseWindow::showRun(std::shared_ptr<const RunResult> run) {
    if (run == run_) {
        return;
    }
    run_ = std::move(run);
    stability_.reset();
    validation_->showRun(run_, nullptr, stage_);
    updateReportCommand();
    recompute();
}

void CaseWindow::showStability(const std::shared_ptr<const RunResult>& of,
                               std::shared_ptr<const RunStability> stability) {
    if (!of || of != run_ || stability == stability_) {
        return;
    }
    stability_ = std::move(stability);
    validation_->showRun(run_, stability_, stage_);
    recompute();
}

void CaseWindow::showUnmasking(UnmaskingStage stage) {
    if (stage == stage_) {
        return;
    }
    stage_ = stage;
    lock_->setVisible(stage_ == UnmaskingStage::Unlocked);
    validation_->showRun(run_, stability_, stage_);
    recompute();
}

void CaseWindow::recompute() {
    if (!run_) {
        runner_->abandon();
        state_->setText(
            QStringLiteral("No run yet: the tables follow \"Auto-check all files in folder\"."));
        for (QTableView* table : {questionedCodes_, questionedKnown_, knownKnown_,
                                  questionedReference_, matched_, questionedQuestioned_}) {
            showRows(table, {});
        }
        shares_->clear();
        return;
    }
    Job<CaseTables> job = [run = run_, metadata = metadata_->metadata(), level = level_->value(),
                           stage = stage_,
                           stability = stability_](JobControl&) -> Result<CaseTables> {
        return tablesOf(*run, metadata, level, stage, stability.get());
    };
    runner_->start<CaseTables>(std::move(job), [this, run = run_](CaseTables tables) {
        rowPairs_ = std::move(tables.pairs);
        rowPairsRun_ = run;
        state_->setText(toQt(tables.state));
        shares_->setText(toQt(tables.shares));
        const std::array<QTableView*, kTables.size()> views = {
            questionedKnown_, knownKnown_, questionedReference_, matched_, questionedQuestioned_};
        for (std::size_t i = 0; i < views.size(); ++i) {
            showRows(views[i], std::move(tables.rows[i]));
            QWidget* page = views[i] == questionedKnown_ ? views[i]->parentWidget() : views[i];
            tabs_->setTabVisible(tabs_->indexOf(page), tables.shown[i]);
        }
        tabs_->setTabVisible(tabs_->indexOf(questionedCodes_), !tables.codes.empty());
        showRows(questionedCodes_, std::move(tables.codes));
        // The verdict beside the strength, before the long lists of digits.
        QHeaderView* header = questionedKnown_->horizontalHeader();
        if (header->count() > kVerdictColumn) {
            header->moveSection(header->visualIndex(kVerdictColumn), 3);
        }
    });
}

}  // namespace pelmora
