#include "ui/details_window.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/window_fit.h"
#include "explanation/input_quality.h"
#include "explanation/text_details.h"
#include "ui/density_charts.h"
#include "ui/job_runner.h"
#include "ui/sensitivity_view.h"
#include "ui/stability_bar.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"
#include "ui/texts_model.h"

namespace pelmora {

DetailsWindow::DetailsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Details"));
    QWidget* list = buildTextsList();
    stabilityBar_ = new StabilityBar(this);
    sensitivity_ = new SensitivityView(this);
    evidenceRunner_ = new JobRunner(this);
    evidence_ = new QPlainTextEdit(this);
    evidence_->setObjectName(QStringLiteral("txtEvidence"));
    evidence_->setReadOnly(true);
    evidence_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    evidence_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    quality_ = rowsTable(this, "tblQuality");

    // The selected text: the words behind its digits, the text itself, its figures drawn.
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabsEvidence"));
    textView_ = new TextEvidenceView(tabs_);
    connect(textView_, &TextEvidenceView::wordsHelpRequested, this,
            &DetailsWindow::wordsHelpRequested);
    charts_ = new DensityCharts(tabs_);
    tabs_->addTab(evidence_, QStringLiteral("Evidence"));
    tabs_->addTab(textView_, QStringLiteral("Text"));
    tabs_->addTab(charts_, QStringLiteral("Charts"));
    // The whole run, under its texts: the text's tabs keep the window's height for the
    // concordance and the charts, and the run's tables share the list's.
    auto* runTabs = new QTabWidget(this);
    runTabs->setObjectName(QStringLiteral("runTabs"));
    runTabs->addTab(withFilterLine(quality_, "txtQualityFilter", runTabs),
                    QStringLiteral("Input quality"));
    runTabs->addTab(sensitivity_, QStringLiteral("Sensitivity"));
    runSplit_ = new QSplitter(Qt::Vertical, this);
    runSplit_->setObjectName(QStringLiteral("splitDetailsRun"));
    runSplit_->addWidget(list);
    runSplit_->addWidget(runTabs);
    runSplit_->setSizes({1, 1});
    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName(QStringLiteral("splitDetails"));
    split_->addWidget(runSplit_);
    split_->addWidget(tabs_);
    split_->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stabilityBar_);
    layout->addWidget(split_, 1);
    fitToScreen(this, {1280, 680});
    for (const auto& [splitter, key] : splitters()) {
        const bool restored = rememberSplitter(splitter, key);
        // Only the list's own width, once kept, stops it being fitted to its columns.
        listSized_ = listSized_ || (restored && splitter == split_);
    }

    connect(texts_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectText(current.row()); });
    connect(split_, &QSplitter::splitterMoved, this, [this] { listSized_ = true; });
    connect(stabilityBar_, &StabilityBar::figuresChanged, this, &DetailsWindow::stabilityChanged);
    connect(charts_, &DensityCharts::measureClicked, this, [this](Measure count) {
        textView_->listMeasures({count});
        tabs_->setCurrentWidget(textView_);
    });
}

std::vector<std::pair<QSplitter*, QString>> DetailsWindow::splitters() const {
    return {{split_, QStringLiteral("details/split")},
            {runSplit_, QStringLiteral("details/runSplit")},
            {textView_->split(), QStringLiteral("details/textSplit")}};
}

void DetailsWindow::hideEvent(QHideEvent* event) {
    for (const auto& [splitter, key] : splitters()) {
        keepSplitter(splitter, key);
    }
    QWidget::hideEvent(event);
}

QWidget* DetailsWindow::buildTextsList() {
    auto* list = new QWidget(this);
    textsModel_ = new TextsModel(this);
    textsShown_ = new TextsFilterModel(this);
    textsShown_->setSourceModel(textsModel_);
    texts_ = new QTableView(list);
    texts_->setObjectName(QStringLiteral("lstDetailsTexts"));
    texts_->setModel(textsShown_);
    texts_->setSortingEnabled(true);
    texts_->sortByColumn(-1, Qt::AscendingOrder);  // run order until a header is clicked
    texts_->setSelectionBehavior(QAbstractItemView::SelectRows);
    texts_->setSelectionMode(QAbstractItemView::SingleSelection);
    texts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    texts_->setWordWrap(false);
    texts_->verticalHeader()->hide();
    // Rows of one height are never measured, however many texts there are.
    texts_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    texts_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    nameFilter_ = filterLine(list, "txtDetailsFilter", QStringLiteral("Texts whose name holds…"));
    showFilter_ = new QComboBox(list);
    showFilter_->setObjectName(QStringLiteral("cboDetailsShow"));
    showFilter_->addItem(QStringLiteral("Every text"),
                         static_cast<int>(TextsFilterModel::Show::Every));
    showFilter_->addItem(QStringLiteral("Near a threshold"),
                         static_cast<int>(TextsFilterModel::Show::NearThreshold));
    showFilter_->addItem(QStringLiteral("With warnings"),
                         static_cast<int>(TextsFilterModel::Show::Warned));
    showFilter_->addItem(QStringLiteral("Unstable"),
                         static_cast<int>(TextsFilterModel::Show::Unstable));
    auto* bar = new QHBoxLayout;
    bar->addWidget(nameFilter_, 1);
    bar->addWidget(showFilter_);
    auto* layout = new QVBoxLayout(list);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(texts_, 1);
    connect(nameFilter_, &QLineEdit::textChanged, textsShown_, &TextsFilterModel::setNamePart);
    connect(showFilter_, &QComboBox::currentIndexChanged, this, [this] {
        textsShown_->setShown(
            static_cast<TextsFilterModel::Show>(showFilter_->currentData().toInt()));
    });
    return list;
}

void DetailsWindow::setStabilityTask(StabilityTask* task) {
    stabilityBar_->setTask(task);
}

void DetailsWindow::stabilityChanged() {
    textsModel_->setStability(run_, stabilityBar_->figuresOf(run_));
    fitTexts();
    // Only the words change: the text and its charts stay as they are.
    showEvidence(textsShown_->positionAt(texts_->currentIndex().row()));
}

void DetailsWindow::fitTexts() {
    fitColumns(texts_);
    if (listSized_) {
        return;  // where the user put it
    }
    // The list as wide as its columns, up to a little under half the window: the text's
    // tabs beside it need the room more.
    int wanted = 2 * texts_->frameWidth() + texts_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < textsModel_->columnCount(); ++c) {
        wanted += texts_->columnWidth(c);
    }
    const int total = std::max(split_->width(), width());
    wanted = std::min(wanted, total * 9 / 20);
    split_->setSizes({wanted, total - wanted});
}

bool DetailsWindow::composing() const {
    return evidenceRunner_->running();
}

void DetailsWindow::showRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    evidencePosition_ = -1;
    textsModel_->setRun(run_, run_->quality);
    showRows(quality_, qualityTable(run_->quality));
    sensitivity_->showRun(run_);
    charts_->showRun(run_);
    stabilityChanged();

    if (textsModel_->rowCount() == 0) {
        evidenceRunner_->abandon();
        evidence_->setPlainText(QStringLiteral("No text was analysed in this run."));
        textView_->clear();
        charts_->showText(nullptr, -1);
    } else {
        // Making the first row current shows it, unless it was current already.
        const bool rowChanges = texts_->currentIndex().row() != 0;
        texts_->setCurrentIndex(textsShown_->index(0, 0));
        if (!rowChanges) {
            selectText(0);
        }
    }
}

void DetailsWindow::selectText(int row) {
    const int position = textsShown_->positionAt(row);
    if (!run_ || position < 0) {
        return;
    }
    textView_->showText(run_, position);
    charts_->showText(run_, position);
    showEvidence(position);
}

void DetailsWindow::showEvidence(int position) {
    if (!run_ || position < 0) {
        return;
    }
    if (position != evidencePosition_) {
        evidence_->clear();  // never another text's words under this one's name
        evidencePosition_ = position;
    }
    // A text's pairs with every other text make its words long to write for a large run.
    evidenceRunner_->start<QString>(
        [run = run_, position, stability = textsModel_->stability()](JobControl&)
            -> Result<QString> { return toQt(textDetailsText(*run, position, stability.get())); },
        [this](QString text) { evidence_->setPlainText(text); });
}

}  // namespace pelmora
