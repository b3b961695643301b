#include "ui/details_window.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "evidence/digit_evidence.h"
#include "evidence/input_quality.h"
#include "evidence/stability.h"
#include "ui/sensitivity_view.h"
#include "ui/stability_bar.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"
#include "ui/texts_model.h"

namespace pelmora {

DetailsWindow::DetailsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Details"));
    textsModel_ = new TextsModel(this);
    texts_ = new QTableView(this);
    texts_->setObjectName(QStringLiteral("lstDetailsTexts"));
    texts_->setModel(textsModel_);
    texts_->setSelectionBehavior(QAbstractItemView::SelectRows);
    texts_->setSelectionMode(QAbstractItemView::SingleSelection);
    texts_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    texts_->setWordWrap(false);
    texts_->verticalHeader()->hide();
    // Rows of one height are never measured, however many texts there are.
    texts_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    texts_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    stabilityBar_ = new StabilityBar(this);
    sensitivity_ = new SensitivityView(this);
    evidence_ = new QPlainTextEdit(this);
    evidence_->setObjectName(QStringLiteral("txtEvidence"));
    evidence_->setReadOnly(true);
    evidence_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    evidence_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    quality_ = new QTableWidget(this);
    quality_->setObjectName(QStringLiteral("tblQuality"));
    quality_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    quality_->verticalHeader()->hide();
    quality_->horizontalHeader()->setStretchLastSection(true);

    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(evidence_);
    auto* runTabs = new QTabWidget(right);
    runTabs->setObjectName(QStringLiteral("runTabs"));
    runTabs->addTab(quality_, QStringLiteral("Input quality"));
    runTabs->addTab(sensitivity_, QStringLiteral("Sensitivity"));
    right->addWidget(runTabs);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    split_ = new QSplitter(Qt::Horizontal, this);
    split_->addWidget(texts_);
    split_->addWidget(right);
    split_->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stabilityBar_);
    layout->addWidget(split_, 1);
    resize(1280, 760);

    connect(texts_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { selectText(current.row()); });
    connect(split_, &QSplitter::splitterMoved, this, [this] { listSized_ = true; });
    connect(stabilityBar_, &StabilityBar::figuresChanged, this, &DetailsWindow::stabilityChanged);
}

void DetailsWindow::setStabilityTask(StabilityTask* task) {
    stabilityBar_->setTask(task);
}

void DetailsWindow::stabilityChanged() {
    textsModel_->setStability(run_, stabilityBar_->figuresOf(run_));
    fitTexts();
    selectText(texts_->currentIndex().row());
}

void DetailsWindow::fitTexts() {
    texts_->resizeColumnsToContents();
    if (listSized_) {
        return;  // where the user put it
    }
    // The list as wide as its columns, up to a little over half the window.
    int wanted = 2 * texts_->frameWidth() + texts_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < textsModel_->columnCount(); ++c) {
        wanted += texts_->columnWidth(c);
    }
    const int total = std::max(split_->width(), width());
    wanted = std::min(wanted, total * 11 / 20);
    split_->setSizes({wanted, total - wanted});
}

void DetailsWindow::showRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    const std::vector<FileQuality> quality = assessQuality(*run_);
    textsModel_->setRun(run_, quality);
    showRows(quality_, qualityTable(quality));
    sensitivity_->showRun(run_);
    stabilityChanged();

    if (textsModel_->rowCount() == 0) {
        evidence_->setPlainText(QStringLiteral("No text was analysed in this run."));
    } else {
        texts_->setCurrentIndex(textsModel_->index(0, 0));
        selectText(0);
    }
}

void DetailsWindow::selectText(int row) {
    const int position = textsModel_->positionAt(row);
    if (!run_ || position < 0) {
        return;
    }
    const TextRecord& t = run_->texts[static_cast<std::size_t>(position)];
    std::string text = textEvidenceReport(explainText(t, run_->rules));
    const RunStability* stability = textsModel_->stability().get();
    const TextStability* stable = stability != nullptr ? stability->of(position) : nullptr;
    text += '\n';
    text += stable != nullptr ? textStabilityReport(*stable, stability->options)
                              : std::string("Stability: not computed\n");
    text += "\nPairs:\n";
    for (const TextRecord& other : run_->texts) {
        const std::optional<RunPair> p = run_->pairs.between(position, other.position);
        if (!p) {
            continue;
        }
        const TextRecord& a = run_->texts[static_cast<std::size_t>(p->first)];
        const TextRecord& b = run_->texts[static_cast<std::size_t>(p->second)];
        text += a.name + "-" + b.name + "\t" + std::to_string(p->strength) +
                (p->significant ? "*" : "") + "\t" +
                pairEvidenceText(explainPair(a, b, p->strength)) +
                (stability != nullptr ? std::string("\t") + pairStabilityText(stability->pair(*run_, *p),
                                                                 stability->options.resamples)
                                      : std::string()) +
                "\n";
    }
    evidence_->setPlainText(toQt(text));
}

}  // namespace pelmora
