#include "ui/pair_window.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "desktop/window_fit.h"
#include "stability/stability.h"
#include "ui/density_charts.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"

namespace pelmora {

namespace {

// Where the user's settings keep the heights of the window's parts.
const QString kSplitKey = QStringLiteral("pair/split");

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setWordWrap(true);
    return l;
}

QString nameAndCode(const PairSides& sides, std::size_t side) {
    return QStringLiteral("%1: %2, code %3")
        .arg(side == 0 ? QStringLiteral("First") : QStringLiteral("Second"),
             toQt(sides.names[side]), toQt(sides.codes[side]));
}

QString headingOf(const PairSides& sides, std::int64_t pairs) {
    QString heading = QStringLiteral("Pair %1 of %2 in the report's order: strength %3 of 5")
                          .arg(sides.index + 1)
                          .arg(pairs)
                          .arg(sides.pair.strength);
    if (sides.pair.minimal) {
        heading += QStringLiteral(", minimal");
    }
    if (sides.pair.significant) {
        heading += QStringLiteral(", off the norm");
    }
    return heading + QStringLiteral(". Left and Right: the previous and the next pair.");
}

}  // namespace

QColor PairWindow::agreeTint() {
    return {0xd6, 0xef, 0xd6};
}

QColor PairWindow::differTint() {
    return {0xf7, 0xd9, 0xcf};
}

PairWindow::PairWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PairWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Pair"));
    heading_ = label(this, "lblPair");
    firstName_ = label(this, "lblFirstText");
    secondName_ = label(this, "lblSecondText");
    digits_ = new QTableWidget(0, 5, this);
    digits_->setObjectName(QStringLiteral("tblPairDigits"));
    digits_->setHorizontalHeaderLabels({QStringLiteral("Digit"), QStringLiteral("First"),
                                        QStringLiteral("First's checks"), QStringLiteral("Second"),
                                        QStringLiteral("Second's checks")});
    digits_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    digits_->verticalHeader()->hide();
    digits_->setWordWrap(false);
    digits_->setTextElideMode(Qt::ElideRight);
    digits_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    digits_->horizontalHeader()->setSectionResizeMode(FirstChecks, QHeaderView::Stretch);
    digits_->horizontalHeader()->setSectionResizeMode(SecondChecks, QHeaderView::Stretch);
    chart_ = new QChartView(this);
    chart_->setObjectName(QStringLiteral("pairDensityChart"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(120);
    stabilityLine_ = label(this, "lblPairStability");
    first_ = new TextEvidenceView(this);
    first_->setObjectName(QStringLiteral("pairFirstText"));
    second_ = new TextEvidenceView(this);
    second_->setObjectName(QStringLiteral("pairSecondText"));
    for (TextEvidenceView* side : {first_, second_}) {
        connect(side, &TextEvidenceView::wordsHelpRequested, this, &PairWindow::wordsHelpRequested);
    }

    auto* top = new QWidget(this);
    auto* names = new QHBoxLayout;
    names->addWidget(firstName_, 1);
    names->addWidget(secondName_, 1);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(heading_);
    topLayout->addLayout(names);
    topLayout->addWidget(digits_, 1);
    // The stability beside the chart rather than under it: the chart is wide enough with a
    // third of the width less, and the window keeps its height for the texts.
    auto* figures = new QWidget(this);
    auto* figuresLayout = new QHBoxLayout(figures);
    figuresLayout->setContentsMargins(0, 0, 0, 0);
    figuresLayout->addWidget(chart_, 3);
    figuresLayout->addWidget(stabilityLine_, 1, Qt::AlignTop);
    auto* texts = new QSplitter(Qt::Horizontal, this);
    texts->addWidget(first_);
    texts->addWidget(second_);
    auto* split = split_ = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("splitPair"));
    split->addWidget(top);
    split->addWidget(figures);
    split->addWidget(texts);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 2);
    split->setStretchFactor(2, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    fitToScreen(this, {1200, 680});
    // The chart as tall as the digits, the texts a little taller; the digits keep their least.
    // Once the user has moved the parts, the window opens as they were left.
    if (!rememberSplitter(split, kSplitKey)) {
        split->setSizes({height() * 3 / 10, height() * 3 / 10, height() * 4 / 10});
    }

    // Window-wide, so that they work wherever the focus is; Up and Down stay the views'.
    const auto key = [this](Qt::Key k, auto&& act) {
        auto* shortcut = new QShortcut(QKeySequence(k), this);
        connect(shortcut, &QShortcut::activated, this, act);
    };
    key(Qt::Key_Escape, [this] { close(); });
    key(Qt::Key_Left, [this] { step(-1); });
    key(Qt::Key_Right, [this] { step(1); });
}

bool PairWindow::showPair(std::shared_ptr<const RunResult> run, int first, int second) {
    if (!run) {
        return false;
    }
    std::optional<PairSides> sides = pairSides(*run, first, second);
    if (!sides) {
        return false;
    }
    const bool sameTexts = run == run_ && sides_ && sides_->pair.first == sides->pair.first &&
                           sides_->pair.second == sides->pair.second;
    run_ = std::move(run);
    sides_ = std::move(sides);
    heading_->setText(headingOf(*sides_, run_->pairs.count()));
    firstName_->setText(nameAndCode(*sides_, 0));
    secondName_->setText(nameAndCode(*sides_, 1));
    showDigits();
    QChart* old = chart_->chart();
    chart_->setChart(pairDensityChart(*run_, sides_->pair.first, sides_->pair.second));
    delete old;
    showStability();
    if (!sameTexts) {
        first_->showText(run_, sides_->pair.first);
        second_->showText(run_, sides_->pair.second);
    }
    return true;
}

// The parts' heights are kept as the window closes, as well as when the user moves them.
void PairWindow::hideEvent(QHideEvent* event) {
    keepSplitter(split_, kSplitKey);
    QWidget::hideEvent(event);
}

bool PairWindow::step(int by) {
    if (!run_ || !sides_) {
        return false;
    }
    const std::optional<RunPair> next =
        neighbouringPair(*run_, sides_->pair.first, sides_->pair.second, by);
    return next && showPair(run_, next->first, next->second);
}

void PairWindow::clear() {
    run_.reset();
    sides_.reset();
    for (QLabel* l : {heading_, firstName_, secondName_, stabilityLine_}) {
        l->clear();
    }
    digits_->setRowCount(0);
    QChart* old = chart_->chart();
    chart_->setChart(new QChart);
    delete old;
    first_->clear();
    second_->clear();
}

void PairWindow::setStabilityTask(StabilityTask* task) {
    if (stability_ != nullptr) {
        disconnect(stability_, nullptr, this, nullptr);
    }
    stability_ = task;
    if (task != nullptr) {
        connect(task, &StabilityTask::figuresChanged, this, &PairWindow::showStability);
    }
    showStability();
}

void PairWindow::showDigits() {
    digits_->setRowCount(static_cast<int>(sides_->digits.size()));
    for (std::size_t k = 0; k < sides_->digits.size(); ++k) {
        const PairDigit& d = sides_->digits[k];
        const auto digitText = [&d](std::size_t side) {
            return QStringLiteral("%1 %2%3").arg(
                QChar::fromLatin1(d.digits[side]), toQt(d.categories[side]),
                d.near[side] ? QStringLiteral(" (near threshold)") : QString());
        };
        const QStringList cells = {QStringLiteral("%1 %2").arg(k + 1).arg(toQt(d.category)),
                                   digitText(0), toQt(d.checks[0]), digitText(1),
                                   toQt(d.checks[1])};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setBackground(d.agree ? agreeTint() : differTint());
            // A checks cell shows its first line; the whole of it on hover.
            const bool checks = column == FirstChecks || column == SecondChecks;
            item->setToolTip(checks    ? cells[column]
                             : d.agree ? QStringLiteral("Both codes have this digit")
                                       : QStringLiteral("The codes differ in this digit"));
            digits_->setItem(static_cast<int>(k), column, item);
        }
    }
    // One line a digit, so that all five show at once above the chart.
    const int rows = digits_->rowCount();
    int height = digits_->horizontalHeader()->height() + 2 * digits_->frameWidth();
    for (int row = 0; row < rows; ++row) {
        height += digits_->rowHeight(row);
    }
    digits_->setMinimumHeight(height);
}

void PairWindow::showStability() {
    if (!run_ || !sides_) {
        stabilityLine_->clear();
        return;
    }
    const std::shared_ptr<const RunStability> figures =
        stability_ != nullptr && stability_->run() == run_ ? stability_->stability() : nullptr;
    if (!figures) {
        stabilityLine_->setText(
            QStringLiteral("Stability: not measured (\"Measure stability\" in Details or the "
                           "matrix)."));
        return;
    }
    QString line =
        QStringLiteral("Stability of the pair: ") +
        toQt(pairStabilityText(figures->pair(*run_, sides_->pair), figures->options.resamples));
    for (std::size_t side = 0; side < 2; ++side) {
        const int position = side == 0 ? sides_->pair.first : sides_->pair.second;
        const TextStability* text = figures->of(position);
        line +=
            u'\n' + toQt(sides_->names[side]) + QStringLiteral(": ") +
            (text != nullptr ? toQt(textStabilitySummary(*text)) : QStringLiteral("not measured"));
    }
    stabilityLine_->setText(line);
}

QString PairWindow::stabilityLine() const {
    return stabilityLine_->text();
}

}  // namespace pelmora
