#include "ui/details_window.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "evidence/digit_evidence.h"
#include "evidence/input_quality.h"
#include "ui/density_charts.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"

namespace pelmora {

DetailsWindow::DetailsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Details"));
    texts_ = new QListWidget(this);
    texts_->setObjectName(QStringLiteral("lstDetailsTexts"));
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
    tabs_ = new QTabWidget(right);
    tabs_->setObjectName(QStringLiteral("tabsEvidence"));
    textView_ = new TextEvidenceView(tabs_);
    charts_ = new DensityCharts(tabs_);
    tabs_->addTab(evidence_, QStringLiteral("Evidence"));
    tabs_->addTab(textView_, QStringLiteral("Text"));
    tabs_->addTab(charts_, QStringLiteral("Charts"));
    right->addWidget(tabs_);
    auto* qualityBox = new QWidget(right);
    auto* qualityLayout = new QVBoxLayout(qualityBox);
    qualityLayout->setContentsMargins(0, 0, 0, 0);
    qualityLayout->addWidget(new QLabel(QStringLiteral("Input quality:"), qualityBox));
    qualityLayout->addWidget(quality_);
    right->addWidget(qualityBox);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(texts_);
    split->addWidget(right);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    resize(1180, 800);

    connect(texts_, &QListWidget::currentRowChanged, this, &DetailsWindow::selectText);
    connect(charts_, &DensityCharts::measureClicked, this, [this](Measure count) {
        textView_->listMeasures({count});
        tabs_->setCurrentWidget(textView_);
    });
}

void DetailsWindow::showRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    const std::vector<FileQuality> quality = assessQuality(*run_);
    texts_->clear();
    rows_.clear();
    std::size_t q = 0;
    for (const TextRecord& t : run_->texts) {
        if (!t.inRun) {
            continue;
        }
        // What should make the linguist look twice shows in the list already.
        QString marks;
        if (explainText(t, run_->rules).nearCount() > 0) {
            marks += QStringLiteral("  [near threshold]");
        }
        if (!quality[q++].warnings.empty()) {
            marks += QStringLiteral("  [warning]");
        }
        texts_->addItem(toQt(t.name) + marks);
        rows_.push_back(t.position);
    }

    const std::vector<TableRow> rows = qualityTable(quality);
    quality_->clear();
    quality_->setRowCount(static_cast<int>(rows.size()) - 1);
    quality_->setColumnCount(static_cast<int>(rows.front().size()));
    QStringList header;
    for (const std::string& h : rows.front()) {
        header.append(toQt(h));
    }
    quality_->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            quality_->setItem(static_cast<int>(r) - 1, static_cast<int>(c),
                              new QTableWidgetItem(toQt(rows[r][c])));
        }
    }
    quality_->resizeColumnsToContents();

    charts_->showRun(run_);
    if (rows_.empty()) {
        evidence_->setPlainText(QStringLiteral("No text was analysed in this run."));
        textView_->clear();
        charts_->showText(nullptr, -1);
    } else {
        texts_->setCurrentRow(0);
        selectText(0);
    }
}

void DetailsWindow::selectText(int row) {
    if (!run_ || row < 0 || row >= static_cast<int>(rows_.size())) {
        return;
    }
    const int position = rows_[static_cast<std::size_t>(row)];
    const TextRecord& t = run_->texts[static_cast<std::size_t>(position)];
    textView_->showText(run_, position);
    charts_->showText(run_, position);
    std::string text = textEvidenceReport(explainText(t, run_->rules));
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
                pairEvidenceText(explainPair(a, b, p->strength)) + "\n";
    }
    evidence_->setPlainText(toQt(text));
}

}  // namespace pelmora
