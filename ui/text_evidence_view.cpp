#include "ui/text_evidence_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "explanation/counted_words.h"
#include "explanation/digit_evidence.h"
#include "ui/concordance_model.h"
#include "ui/job_runner.h"
#include "ui/measure_colours.h"
#include "ui/occurrence_highlighter.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kMeasureRole = Qt::UserRole + 1;
constexpr int kMeasuresRole = Qt::UserRole + 2;

QString measureLabel(Measure m) {
    return QString::fromUtf8(kMeasures[static_cast<std::size_t>(m)].label);
}

QLabel* wrappedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* heading(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

TextEvidenceView::TextEvidenceView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TextEvidenceView"));
    runner_ = new JobRunner(this);
    warnings_ = wrappedLabel("lblTextWarnings", this);
    status_ = wrappedLabel("lblTextStatus", this);
    forms_ = wrappedLabel("lblFormCounts", this);

    legend_ = new QListWidget(this);
    legend_->setObjectName(QStringLiteral("lstMeasureLegend"));
    const QString legendTip =
        QStringLiteral("Tick to colour a measure's words; click to list them.");
    legend_->setToolTip(legendTip);
    for (const Measure m : kCountedMeasures) {
        auto* item = new QListWidgetItem(measureSwatch(m), measureLabel(m), legend_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(kMeasureRole, static_cast<int>(m));
        item->setToolTip(legendTip + u'\n' + toQt(countedWordsTip(m)));
    }
    digits_ = new QListWidget(this);
    digits_->setObjectName(QStringLiteral("lstDigitRules"));
    digits_->setWordWrap(true);
    digits_->setToolTip(QStringLiteral("Click a digit to list the words its rule counted."));

    blank_ = new QTextDocument(this);
    blank_->setDocumentLayout(new QPlainTextDocumentLayout(blank_));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtShownText"));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    text_->setDocument(blank_);
    highlighter_ = new OccurrenceHighlighter(text_);

    buildConcordance();
    layOutParts();
    // Two lines each at the least, so that the pair window with two views fits a small screen.
    for (QAbstractScrollArea* part :
         std::initializer_list<QAbstractScrollArea*>{legend_, digits_, text_, concordance_}) {
        part->setMinimumHeight(2 * fontMetrics().lineSpacing() + 2 * part->frameWidth());
    }

    legend_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(legend_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QListWidgetItem* item = legend_->itemAt(at);
        if (item == nullptr) {
            return;
        }
        const auto measure = static_cast<Measure>(item->data(kMeasureRole).toInt());
        QMenu menu(legend_);
        menu.setObjectName(QStringLiteral("measureMenu"));
        connect(menu.addAction(QStringLiteral("Words counted in Help")), &QAction::triggered, this,
                [this, measure] { emit wordsHelpRequested(measure); });
        menu.exec(legend_->viewport()->mapToGlobal(at));
    });
    connect(legend_, &QListWidget::itemChanged, this, &TextEvidenceView::measureSwitched);
    connect(legend_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        listMeasures({static_cast<Measure>(item->data(kMeasureRole).toInt())});
    });
    connect(digits_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        std::vector<Measure> measures;
        for (const QVariant& m : item->data(kMeasuresRole).toList()) {
            measures.push_back(static_cast<Measure>(m.toInt()));
        }
        listMeasures(std::move(measures));
    });
    connect(concordance_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { showRow(index.row()); });
    connect(concordance_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) { showRow(index.row()); });
    clear();
}

void TextEvidenceView::buildConcordance() {
    model_ = new ConcordanceModel(this);
    concordance_ = new QTableView(this);
    concordance_->setObjectName(QStringLiteral("tblConcordance"));
    concordance_->setModel(model_);
    shownLines_ = makeSortable(concordance_, ConcordanceModel::SortRole);
    concordance_->setSelectionBehavior(QAbstractItemView::SelectRows);
    concordance_->setSelectionMode(QAbstractItemView::SingleSelection);
    concordance_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    concordance_->setWordWrap(false);
    concordance_->setTextElideMode(Qt::ElideMiddle);
    // Fixed sizes: the table never measures a hundred thousand rows.
    concordance_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    concordance_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const int character = fontMetrics().averageCharWidth();
    QHeaderView* columns = concordance_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->resizeSection(ConcordanceModel::Left, character * (kContextCharacters + 4));
    columns->resizeSection(ConcordanceModel::Match, character * 12);
    columns->resizeSection(ConcordanceModel::Right, character * (kContextCharacters + 4));
    columns->resizeSection(ConcordanceModel::MeasureColumn, character * 18);
    columns->setStretchLastSection(true);
}

void TextEvidenceView::layOutParts() {
    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(heading("Measures", side));
    sideLayout->addWidget(legend_, 3);
    auto* insideNote = new QLabel(
        QStringLiteral("Lighter, dotted underline: counted inside a longer word."), side);
    insideNote->setWordWrap(true);
    sideLayout->addWidget(insideNote);
    sideLayout->addWidget(heading("Digits", side));
    sideLayout->addWidget(digits_, 2);
    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(side);
    top->addWidget(text_);
    top->setStretchFactor(1, 3);
    top->setSizes({260, 640});
    auto* bottom = new QWidget(this);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(forms_);
    QLineEdit* filter =
        filterLine(bottom, "txtConcordanceFilter", QStringLiteral("Lines holding…"));
    connect(filter, &QLineEdit::textChanged, shownLines_,
            &QSortFilterProxyModel::setFilterFixedString);
    bottomLayout->addWidget(filter);
    bottomLayout->addWidget(concordance_, 1);
    split_ = new QSplitter(Qt::Vertical, this);
    split_->addWidget(top);
    split_->addWidget(bottom);
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warnings_);
    layout->addWidget(status_);
    layout->addWidget(split_, 1);
}

TextEvidenceView::~TextEvidenceView() = default;

void TextEvidenceView::clear() {
    runner_->abandon();
    loading_ = false;
    run_.reset();
    quality_.clear();
    position_ = -1;
    dropText();
    digits_->clear();
    warnings_->clear();
    status_->setText(QStringLiteral("No text selected."));
    status_->show();
    showForms();
}

void TextEvidenceView::showText(std::shared_ptr<const RunResult> run, int position) {
    if (!run || position < 0 || position >= static_cast<int>(run->texts.size())) {
        clear();
        return;
    }
    if (run == run_ && position == position_) {
        return;
    }
    if (run != run_) {
        quality_ = run->quality;
    }
    run_ = std::move(run);
    position_ = position;
    runner_->abandon();
    loading_ = true;

    // What the run holds shows at once; the words come when the file is read.
    const TextRecord& t = run_->texts[static_cast<std::size_t>(position)];
    for (int row = 0; row < legend_->count(); ++row) {
        QListWidgetItem* item = legend_->item(row);
        const auto m = static_cast<Measure>(item->data(kMeasureRole).toInt());
        item->setText(measureLabel(m) + QStringLiteral("  ") + toQt(t.text(m)));
    }
    digits_->clear();
    const TextEvidence evidence = explainText(t);
    for (std::size_t k = 0; k < evidence.digits.size(); ++k) {
        const DigitEvidence& d = evidence.digits[k];
        QVariantList counted;
        for (const Measure m : d.measureIds) {
            if (countedPosition(m)) {
                counted.append(static_cast<int>(m));
            }
        }
        auto* item =
            new QListWidgetItem(QStringLiteral("%1 %2: %3 %4\n%5")
                                    .arg(k + 1)
                                    .arg(QString::fromUtf8(kCategoryNames[k]))
                                    .arg(QChar::fromLatin1(d.digit))
                                    .arg(d.categoryText.empty() ? QStringLiteral("(no category)")
                                                                : toQt(d.categoryText))
                                    .arg(toQt(d.rule)),
                                digits_);
        item->setData(kMeasuresRole, counted);
    }
    QStringList warnings;
    for (const FileQuality& q : quality_) {
        if (q.position == position) {
            for (const std::string& w : q.warnings) {
                warnings.append(toQt(w));
            }
            if (!q.sameBytesAs.empty()) {
                warnings.append(QStringLiteral("the same bytes as ") + toQt(q.sameBytesAs));
            }
        }
    }
    warnings_->setText(warnings.isEmpty() ? QStringLiteral("No input warnings for this text.")
                                          : QStringLiteral("Input warnings: ") +
                                                warnings.join(QStringLiteral("; ")));
    status_->setText(QStringLiteral("Reading \"%1\"…").arg(toQt(t.name)));
    status_->show();
    dropText();
    showForms();

    // A newer selection abandons this load; the load gives up at its next check.
    runner_->start<TextLoad>(
        [run = run_, position, font = text_->font(),
         target = thread()](JobControl& control) -> Result<TextLoad> {
            return loadText(*run, position, font, target,
                            [&control] { return control.cancelled(); });
        },
        [this](TextLoad load) { apply(load); });
}

void TextEvidenceView::dropText() {
    // The colouring stops before its document goes.
    highlighter_->setText(nullptr);
    text_->setExtraSelections({});
    text_->setDocument(blank_);
    document_.reset();
    loaded_.reset();
    model_->setText(nullptr);
}

void TextEvidenceView::apply(const TextLoad& load) {
    loading_ = false;
    if (!load.text) {
        return;
    }
    loaded_ = load.text;
    document_ = load.document;
    status_->setText(loaded_->problem);
    status_->setVisible(!loaded_->problem.isEmpty());
    if (document_) {
        document_->setDocumentLayout(new QPlainTextDocumentLayout(document_.get()));
        text_->setDocument(document_.get());
        highlighter_->setText(loaded_);
    }
    model_->setText(std::shared_ptr<const TextOccurrences>(loaded_, &loaded_->found));
    model_->list(listed_);
    showForms();
    emit textShown();
}

void TextEvidenceView::listMeasures(std::vector<Measure> measures) {
    text_->setExtraSelections({});
    listed_ = std::move(measures);
    model_->list(listed_);
    showForms();
}

void TextEvidenceView::showForms() {
    if (listed_.empty()) {
        forms_->setText(QStringLiteral(
            "Click a measure, a digit or a density bar to list the words it counted."));
        return;
    }
    if (!loaded_) {
        forms_->setText(QString());
        return;
    }
    QStringList lines;
    for (const Measure m : listed_) {
        const std::vector<PatternForms> counts = formCounts(loaded_->found.occurrences, m);
        const TextRecord& t = run_->texts[static_cast<std::size_t>(loaded_->position)];
        lines.append(QStringLiteral("%1 %2%3")
                         .arg(measureLabel(m), toQt(t.text(m)))
                         .arg(counts.empty()
                                  ? QString()
                                  : QStringLiteral(" — ") + toQt(formCountsText(counts))));
    }
    forms_->setText(lines.join(u'\n'));
}

void TextEvidenceView::showRow(int row) {
    const int k = model_->occurrenceAt(shownLines_->mapToSource(shownLines_->index(row, 0)).row());
    if (!document_ || !loaded_ || k < 0 ||
        static_cast<std::size_t>(k) >= loaded_->shown.spans.size()) {
        return;
    }
    const ShownText::Span& span = loaded_->shown.spans[static_cast<std::size_t>(k)];
    const QTextBlock block = document_->findBlockByNumber(span.block);
    if (!block.isValid()) {
        return;
    }
    QTextCursor at(block);
    at.setPosition(block.position() + span.start);
    at.setPosition(block.position() + span.start + span.length, QTextCursor::KeepAnchor);
    // Marked apart from the colours, whether or not the text has the focus.
    QTextEdit::ExtraSelection mark;
    mark.cursor = at;
    mark.format.setBackground(palette().color(QPalette::Active, QPalette::Highlight));
    mark.format.setForeground(palette().color(QPalette::Active, QPalette::HighlightedText));
    text_->setExtraSelections({mark});
    at.clearSelection();
    text_->setTextCursor(at);
    text_->centerCursor();
}

void TextEvidenceView::measureSwitched(QListWidgetItem* item) {
    highlighter_->setShown(static_cast<Measure>(item->data(kMeasureRole).toInt()),
                           item->checkState() == Qt::Checked);
}

QString TextEvidenceView::statusLine() const {
    return status_->text();
}

QString TextEvidenceView::warningsLine() const {
    return warnings_->text();
}

QString TextEvidenceView::formsLine() const {
    return forms_->text();
}

}  // namespace pelmora
