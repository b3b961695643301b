#include "ui/validation_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "exports/run_names.h"
#include "help/window_parts.h"
#include "report/validation_charts.h"
#include "stability/stability.h"
#include "ui/export_actions.h"
#include "ui/job_runner.h"
#include "ui/metadata_model.h"
#include "ui/picture_caption.h"
#include "ui/report_chart_view.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"
#include "validation/validation_tables.h"

namespace pelmora {

namespace {

// The column offered first, as the command line and the report take it.
const QString kDefaultLabel = QStringLiteral("genre");

// What the tab shows of one validation, made on the worker thread.
struct ValidationView {
    std::array<std::vector<TableRow>, 4> tables;  // summary, roc, digits, labels
    std::vector<ReportChart> charts;              // none when the figures are not available
    std::string sentence;
};

constexpr std::array<ValidationTable, 4> kTables = {ValidationTable::Summary, ValidationTable::Roc,
                                                    ValidationTable::Digits,
                                                    ValidationTable::Labels};

ValidationView viewOf(const Validation& validation) {
    ValidationView view;
    for (std::size_t i = 0; i < kTables.size(); ++i) {
        view.tables[i] = validationTable(validation, kTables[i]);
    }
    view.charts = validationCharts(validation);
    view.sentence = validationSentence(validation);
    return view;
}

QPushButton* saveButton(QWidget* parent, const char* name) {
    QPushButton* button = makeButton(parent, name, "Save chart…");
    button->setToolTip(
        QStringLiteral("Saves the chart as a PNG picture, or as SVG when the "
                       "file name ends in .svg."));
    return button;
}

}  // namespace

ValidationPage::ValidationPage(MetadataModel* metadata, QWidget* parent)
    : QWidget(parent), metadata_(metadata) {
    setObjectName(QStringLiteral("pageValidation"));
    runner_ = new JobRunner(this);
    column_ = new QComboBox(this);
    column_->setObjectName(QStringLiteral("cboLabelColumn"));
    column_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sentence_ = makeText(this, "lblValidation", "");
    sentence_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_ = rowsTable(this, "tblValidationSummary");
    // As wide as its names and figures: the value column is the point of it.
    summary_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    summary_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    // A stretched last column would be measured as content, and widen the window each time.
    summary_->horizontalHeader()->setStretchLastSection(false);
    strengths_ = new ReportChartView(this, "chartStrengths");
    curve_ = new ReportChartView(this, "chartRoc");
    QPushButton* saveStrengths = saveButton(this, "cmdSaveStrengthChart");
    QPushButton* saveCurve = saveButton(this, "cmdSaveRocChart");

    auto* tables = new QTabWidget(this);
    tables->setObjectName(QStringLiteral("tabsValidation"));
    roc_ = rowsTable(tables, "tblValidationRoc");
    digits_ = rowsTable(tables, "tblValidationDigits");
    labels_ = rowsTable(tables, "tblValidationLabels");
    tables->addTab(roc_, QStringLiteral("ROC points"));
    tables->addTab(digits_, QStringLiteral("Digits by label"));
    tables->addTab(labels_, QStringLiteral("Labels"));

    auto* columnRow = new QHBoxLayout;
    QLabel* caption = makeText(this, "captionLabelColumn", "Labels from the column");
    caption->setWordWrap(false);
    caption->setBuddy(column_);
    columnRow->addWidget(caption);
    columnRow->addWidget(column_);
    columnRow->addStretch(1);

    auto* figures = new QWidget(this);
    auto* grid = new QGridLayout(figures);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(summary_, 0, 0, 2, 1);
    grid->addWidget(strengths_, 0, 1);
    grid->addWidget(curve_, 0, 2);
    grid->addWidget(saveStrengths, 1, 1, Qt::AlignRight);
    grid->addWidget(saveCurve, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("splitValidation"));
    split->addWidget(figures);
    split->addWidget(tables);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columnRow);
    layout->addWidget(sentence_);
    layout->addWidget(split, 1);

    connect(saveStrengths, &QPushButton::clicked, this,
            [this] { saveChart(strengths_, QStringLiteral("validation-strengths")); });
    connect(saveCurve, &QPushButton::clicked, this,
            [this] { saveChart(curve_, QStringLiteral("validation-roc")); });
    connect(metadata_, &MetadataModel::metadataChanged, this, &ValidationPage::fillColumns);
    connect(column_, &QComboBox::currentTextChanged, this, &ValidationPage::recompute);
    connect(runner_, &JobRunner::failed, this, &ValidationPage::showNothing);
    fillColumns();
}

QString ValidationPage::labelColumn() const {
    return column_->currentText();
}

void ValidationPage::fillColumns() {
    const QString chosen = column_->currentText();
    QStringList columns;
    for (const std::string& name : metadata_->metadata().header) {
        if (name != Metadata::kFileColumn && name != Metadata::kRoleColumn) {
            columns << toQt(name);
        }
    }
    {
        const QSignalBlocker quiet(column_);
        column_->clear();
        column_->addItems(columns);
        const int keep = column_->findText(chosen.isEmpty() ? kDefaultLabel : chosen);
        column_->setCurrentIndex(keep >= 0 ? keep
                                 : columns.contains(kDefaultLabel)
                                     ? static_cast<int>(columns.indexOf(kDefaultLabel))
                                     : 0);
    }
    recompute();
}

void ValidationPage::showRun(std::shared_ptr<const RunResult> run,
                             std::shared_ptr<const RunStability> stability, UnmaskingStage stage) {
    run_ = std::move(run);
    stability_ = std::move(stability);
    stage_ = stage;
    // A saved chart names the run it was drawn from.
    const QString caption = run_ ? pictureCaption(*run_) : QString();
    strengths_->setCaption(caption);
    curve_->setCaption(caption);
    recompute();
}

void ValidationPage::showNothing(const QString& why) {
    sentence_->setText(why);
    for (QTableView* table : {summary_, roc_, digits_, labels_}) {
        showRows(table, {});
    }
    strengths_->showChart({}, why);
    curve_->showChart({}, why);
}

void ValidationPage::recompute() {
    const VisibleResults visible = visibleResults(stage_);
    if (!run_) {
        runner_->abandon();
        showNothing(
            QStringLiteral("No run yet: the figures follow \"Auto-check all files in folder\"."));
        return;
    }
    if (!visible.known || !visible.reference) {
        runner_->abandon();
        showNothing(QStringLiteral("Withheld until the questioned texts are locked."));
        return;
    }
    if (column_->count() == 0) {
        runner_->abandon();
        showNothing(
            QStringLiteral("The metadata has no column to read labels from: import "
                           "metadata with a genre column, or another, first."));
        return;
    }
    Job<ValidationView> job =
        [run = run_, stability = stability_, metadata = metadata_->metadata(),
         column = fromQt(column_->currentText())](JobControl&) -> Result<ValidationView> {
        Result<Validation> validation = validateLabels(*run, metadata, column, stability.get());
        if (!validation.ok()) {
            return validation.error();
        }
        return viewOf(validation.value());
    };
    runner_->start<ValidationView>(std::move(job), [this](ValidationView view) {
        sentence_->setText(toQt(view.sentence));
        for (std::size_t i = 0; i < kTables.size(); ++i) {
            showRows(std::array{summary_, roc_, digits_, labels_}[i], std::move(view.tables[i]));
        }
        const QString why = toQt(view.sentence);
        strengths_->showChart(view.charts.empty() ? ReportChart{} : view.charts[0], why);
        curve_->showChart(view.charts.size() < 2 ? ReportChart{} : view.charts[1], why);
    });
}

void ValidationPage::saveChart(ReportChartView* view, const QString& name) {
    if (!run_) {
        return;
    }
    // The column in the name, as far as it is safe in one.
    QString column = column_->currentText();
    column.replace(QRegularExpression(QStringLiteral("[^\\w-]+")), QStringLiteral("-"));
    const QString what = name + (column.isEmpty() ? QString() : QLatin1Char('-') + column);
    const QString path = chooseSavePath(
        this, QStringLiteral("Save chart"), toQt(runFileName(*run_, fromQt(what), ".png")),
        QStringLiteral("PNG pictures (*.png);;SVG pictures (*.svg)"));
    if (path.isEmpty()) {
        return;
    }
    (void)view->save(path, [this](const QString& problem) { showProblem(this, problem); });
}

}  // namespace pelmora
