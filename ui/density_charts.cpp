#include "ui/density_charts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <map>

#include "explanation/captions.h"
#include "explanation/counted_words.h"
#include "exports/chart_figures.h"
#include "exports/run_names.h"
#include "ui/chart_labels.h"
#include "ui/export_actions.h"
#include "ui/job_runner.h"
#include "ui/matrix_image.h"
#include "ui/measure_colours.h"
#include "ui/picture_caption.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

QString labelOf(Measure m) {
    return QString::fromUtf8(kMeasures[static_cast<std::size_t>(m)].label);
}

// The axis of the bars' names, in a smaller font, wrapped to the bars' width.
QBarCategoryAxis* barNames(QChart* chart, const QStringList& names) {
    auto* x = new QBarCategoryAxis;
    QFont small = x->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    x->setLabelsFont(small);
    keepCategoriesLegible(chart, x, names);
    chart->addAxis(x, Qt::AlignBottom);
    return x;
}

// Bars of one colour each: a stacked series in which set i holds only bar i.
QBarSet* barAt(QStackedBarSeries* series, std::size_t bars, std::size_t i, double value,
               const QString& name) {
    auto* set = new QBarSet(name);
    for (std::size_t j = 0; j < bars; ++j) {
        set->append(j == i ? value : 0.0);
    }
    series->append(set);
    return set;
}

// An axis over the bars' categories for the lines drawn across them: bar i spans i - 0.5
// to i + 0.5.
QValueAxis* overBars(QChart* chart, std::size_t bars) {
    auto* axis = new QValueAxis;
    axis->setRange(-0.5, static_cast<double>(bars) - 0.5);
    axis->setVisible(false);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

QValueAxis* valueAxis(QChart* chart, double top, const QString& title, const QString& format) {
    auto* axis = new QValueAxis;
    axis->setRange(0, top);
    axis->applyNiceNumbers();
    axis->setTitleText(title);
    axis->setLabelFormat(format);
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    // Narrow edges: on a small screen the bars need the height.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(6, 4, 6, 4));
    return chart;
}

void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

void hideMarkersOf(QChart* chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart->legend()->markers(series)) {
        marker->setVisible(false);
    }
}

QPushButton* saveButton(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QWidget* withButtons(QChartView* view, std::initializer_list<QPushButton*> buttons,
                     QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) {
        b->setParent(box);
        row->addWidget(b);
    }
    row->addStretch(1);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view, 1);
    layout->addLayout(row);
    return box;
}

// A threshold's value written over the right end of its line.
struct LimitLabel {
    QLineSeries* line;
    QPointF end;
    QString text;
};

// Draws `labels` over their lines, each moved aside from the ones before it that it would
// overlap, placed again whenever the chart is laid out.
void placeLimitLabels(QChart* chart, const std::vector<LimitLabel>& labels, const QFont& font) {
    std::vector<QGraphicsSimpleTextItem*> items;
    for (const LimitLabel& label : labels) {
        auto* item = new QGraphicsSimpleTextItem(label.text, chart);
        item->setFont(font);
        item->setZValue(100);  // over the bars and the lines
        items.push_back(item);
    }
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart, labels, items](QRectF plot) {
        std::vector<QRectF> wanted;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QPointF end = chart->mapToPosition(labels[i].end, labels[i].line);
            const QSizeF size = items[i]->boundingRect().size();
            // Centred over the line's end, but never past the plot's right edge, where the
            // chart's narrow margin would cut the last bar's value.
            const qreal left = std::min(end.x() - size.width() / 2, plot.right() - size.width());
            wanted.emplace_back(QPointF(left, end.y() - size.height()), size);
        }
        // Anywhere from the chart's top to the foot of its bars.
        plot.setTop(0);
        const std::vector<QRectF> placed = placedApart(wanted, plot);
        for (std::size_t i = 0; i < items.size(); ++i) {
            items[i]->setPos(placed[i].topLeft());
        }
    });
}

// One line over a bar for each constant; thresholds that share it are named together. With
// `tips`, each line names its thresholds while the mouse is over it.
void addThresholdLines(QChart* chart, const std::array<DensityBar, kDensityBars>& figures,
                       QValueAxis* y, QObject* tips) {
    QValueAxis* across = overBars(chart, figures.size());
    std::vector<LimitLabel> labels;
    std::map<double, QStringList> before;  // the lines over the bar to the left
    for (std::size_t i = 0; i < figures.size(); ++i) {
        std::map<double, QStringList> byLimit;
        std::map<double, QString> limitText;
        for (const ThresholdMark& mark : figures[i].thresholds) {
            byLimit[mark.limit].append(QString::fromUtf8(thresholdInfo(mark.id).name));
            limitText[mark.limit] = toQt(mark.limitText);
        }
        for (const auto& [limit, names] : byLimit) {
            auto* line = new QLineSeries;
            line->setName(
                QStringLiteral("%1 %2").arg(names.join(QStringLiteral(", ")), limitText[limit]));
            const double middle = static_cast<double>(i);
            line->append(middle - 0.45, limit);
            line->append(middle + 0.45, limit);
            line->setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
            attach(chart, line, across, y);
            // A constant is written once along a row of bars that share it.
            if (before.count(limit) == 0) {
                labels.push_back({line, QPointF(middle + 0.45, limit), limitText[limit]});
            }
            if (tips != nullptr) {
                const QString tip = QStringLiteral("threshold: ") + line->name();
                QObject::connect(line, &QLineSeries::hovered, tips, [tip](const QPointF&, bool on) {
                    on ? QToolTip::showText(QCursor::pos(), tip) : QToolTip::hideText();
                });
            }
        }
        before = std::move(byLimit);
    }
    QFont font = y->labelsFont();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    placeLimitLabels(chart, labels, font);
}

}  // namespace

DensityCharts::DensityCharts(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DensityCharts"));
    runner_ = new JobRunner(this);
    densities_ = new QChartView(this);
    densities_->setObjectName(QStringLiteral("densityChart"));
    strengths_ = new QChartView(this);
    strengths_->setObjectName(QStringLiteral("strengthChart"));
    for (QChartView* view : {densities_, strengths_}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(220);
    }
    auto* densityPng = saveButton("cmdSaveDensityPng", "Save PNG…", this);
    auto* densitySvg = saveButton("cmdSaveDensitySvg", "Save SVG…", this);
    auto* strengthPng = saveButton("cmdSaveStrengthPng", "Save PNG…", this);
    auto* strengthSvg = saveButton("cmdSaveStrengthSvg", "Save SVG…", this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(withButtons(densities_, {densityPng, densitySvg}, split));
    split->addWidget(withButtons(strengths_, {strengthPng, strengthSvg}, split));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    choosePath = [this](const QString& caption, const QString& name, const QString& filter) {
        return chooseSavePath(this, caption, name, filter);
    };
    reportProblem = [this](const QString& text) { showProblem(this, text); };
    connect(densityPng, &QPushButton::clicked, this, [this] { saveDensities(Picture::Png); });
    connect(densitySvg, &QPushButton::clicked, this, [this] { saveDensities(Picture::Svg); });
    connect(strengthPng, &QPushButton::clicked, this, [this] { saveStrengths(Picture::Png); });
    connect(strengthSvg, &QPushButton::clicked, this, [this] { saveStrengths(Picture::Svg); });
    clear();
}

void DensityCharts::clear() {
    runner_->abandon();
    run_.reset();
    distribution_.reset();
    textRun_.reset();
    position_ = -1;
    textDrawn_ = true;
    for (QChartView* view : {densities_, strengths_}) {
        replaceChart(view, newChart(QString()));
    }
}

void DensityCharts::showRun(std::shared_ptr<const RunResult> run) {
    run_ = std::move(run);
    distribution_.reset();
    replaceChart(strengths_, newChart(QString()));
    if (!run_) {
        runner_->abandon();
        return;
    }
    // Every pair of the run counted: away from the window's thread.
    runner_->start<StrengthDistribution>(
        [run = run_](JobControl&) -> Result<StrengthDistribution> {
            return strengthDistribution(*run);
        },
        [this](StrengthDistribution d) {
            distribution_ = d;
            replaceChart(strengths_, strengthChart());
        });
}

void DensityCharts::showText(std::shared_ptr<const RunResult> run, int position) {
    textRun_ = std::move(run);
    position_ = textRun_ && position >= 0 && position < static_cast<int>(textRun_->texts.size())
                    ? position
                    : -1;
    // Every row selected in Details comes here; a chart not in view is drawn when it is.
    textDrawn_ = false;
    if (isVisible()) {
        drawText();
    }
}

void DensityCharts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!textDrawn_) {
        drawText();
    }
}

void DensityCharts::drawText() {
    textDrawn_ = true;
    replaceChart(densities_, position_ >= 0 ? densityChart(true) : newChart(QString()));
}

QChart* DensityCharts::densityChart(bool live) {
    const TextRecord& t = textRun_->texts[static_cast<std::size_t>(position_)];
    const std::array<DensityBar, kDensityBars> figures = densityBars(t, textRun_->rules);
    QChart* chart =
        newChart(QStringLiteral("Densities per word of \"%1\" (%2 words); lines: thresholds")
                     .arg(toQt(t.name), toQt(t.text(Measure::TextLength))));
    chart->legend()->hide();
    double top = 0.01;  // the least height of the axis, for a text without any of the words
    auto* bars = new QStackedBarSeries;
    QStringList categories;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const DensityBar& bar = figures[i];
        categories.append(labelOf(bar.count));
        top = std::max(top, bar.number);
        QBarSet* set = barAt(bars, figures.size(), i, bar.number, labelOf(bar.density));
        set->setColor(measureColour(bar.count));
        set->setBorderColor(measureLineColour(bar.count));
        if (live) {
            const QString tip =
                QStringLiteral("%1 %2: %3 %4 in %5 words. Click to list them.\n%6")
                    .arg(labelOf(bar.density), toQt(bar.value), toQt(t.text(bar.count)),
                         labelOf(bar.count), toQt(t.text(Measure::TextLength)),
                         toQt(countedWordsTip(bar.count)));
            connect(set, &QBarSet::clicked, this,
                    [this, m = bar.count] { emit measureClicked(m); });
            connect(set, &QBarSet::hovered, this, [tip](bool on) {
                on ? QToolTip::showText(QCursor::pos(), tip) : QToolTip::hideText();
            });
        }
        for (const ThresholdMark& mark : bar.thresholds) {
            top = std::max(top, mark.limit);
        }
    }
    QBarCategoryAxis* x = barNames(chart, categories);
    QValueAxis* y = valueAxis(chart, top * 1.15, QString(), QStringLiteral("%.3f"));
    attach(chart, bars, x, y);
    bars->setBarWidth(0.7);

    addThresholdLines(chart, figures, y, live ? this : nullptr);
    return chart;
}

QChart* DensityCharts::strengthChart() const {
    const StrengthDistribution& d = *distribution_;
    std::int64_t pairs = 0, most = 1;
    for (const std::int64_t n : d.pairs) {
        pairs += n;
        most = std::max(most, n);
    }
    QChart* chart =
        newChart(QStringLiteral("Pair strengths of the run: %1 pairs, mean %2, sample SD %3")
                     .arg(pairs)
                     .arg(toQt(run_->mean), toQt(run_->stDev)));
    auto* bars = new QStackedBarSeries;
    QStringList categories;
    constexpr std::size_t kStrengths = kHighestStrength + 1;
    for (std::size_t s = 0; s < kStrengths; ++s) {
        categories.append(QString::number(s));
        QBarSet* set = barAt(bars, kStrengths, s, static_cast<double>(d.pairs[s]),
                             QStringLiteral("strength %1").arg(s));
        set->setColor(strengthColour(static_cast<int>(s)));
        // Outlined as in the matrix: pairs of this strength are off the norm.
        set->setPen(d.significant[s] ? QPen(Qt::black, 2.5) : QPen(QColor(0x60, 0x60, 0x60), 1));
    }
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(QStringLiteral("strength (agreeing digits); outlined: off the norm"));
    chart->addAxis(x, Qt::AlignBottom);
    const double top = static_cast<double>(most) * 1.15;
    QValueAxis* y = valueAxis(chart, top, QStringLiteral("pairs"), QStringLiteral("%d"));

    QValueAxis* across = overBars(chart, kStrengths);
    const double lowest = -0.5, highest = static_cast<double>(kStrengths) - 0.5;
    const double height = y->max();
    if (d.band) {
        const double from = std::clamp(d.band->first, lowest, highest);
        const double to = std::clamp(d.band->second, lowest, highest);
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        upper->append(from, height);
        upper->append(to, height);
        lower->append(from, 0);
        lower->append(to, 0);
        auto* band = new QAreaSeries(upper, lower);
        // The area does not own its edges.
        upper->setParent(band);
        lower->setParent(band);
        band->setName(toQt(significanceBandText(d.band->first, d.band->second)));
        band->setColor(QColor(0x3b, 0x6e, 0xc8, 50));
        band->setBorderColor(QColor(0x3b, 0x6e, 0xc8));
        attach(chart, band, across, y);
    }
    // Over the band, under the mean.
    attach(chart, bars, x, y);
    bars->setBarWidth(0.7);
    hideMarkersOf(chart, bars);
    if (d.mean) {
        auto* mean = new QLineSeries;
        mean->setName(QStringLiteral("arithmetic mean %1").arg(toQt(run_->mean)));
        const double at = std::clamp(*d.mean, lowest, highest);
        mean->append(at, 0);
        mean->append(at, height);
        mean->setPen(QPen(QColor(0xb0, 0x10, 0x10), 2.5));
        attach(chart, mean, across, y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setShowToolTips(true);  // the whole name of one cut short
    chart->legend()->setVisible(d.mean.has_value());
    return chart;
}

bool DensityCharts::saveDensities(Picture picture) {
    if (position_ < 0) {
        return false;
    }
    return save([this] { return densityChart(false); }, picture, textRun_ ? textRun_ : run_,
                "densities");
}

bool DensityCharts::saveStrengths(Picture picture) {
    if (!run_ || !distribution_) {
        return false;
    }
    return save([this] { return strengthChart(); }, picture, run_, "strengths");
}

bool DensityCharts::save(const std::function<QChart*()>& make, Picture picture,
                         const std::shared_ptr<const RunResult>& run, const char* what) {
    const bool png = picture == Picture::Png;
    const QString name = toQt(runFileName(*run, what, png ? ".png" : ".svg"));
    const QString path = png ? choosePath(QStringLiteral("Save chart as PNG"), name,
                                          QStringLiteral("PNG images (*.png)"))
                             : choosePath(QStringLiteral("Save chart as SVG"), name,
                                          QStringLiteral("SVG images (*.svg)"));
    if (path.isEmpty()) {
        return false;
    }
    // Drawn apart from the window, at the size of a saved picture.
    QChartView view;
    QChart* chart = make();
    view.setChart(chart);
    view.setRenderHint(QPainter::Antialiasing);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(kPictureWidth, kPictureHeight);
    view.show();
    // Laid out twice: the bars' names and the thresholds' values are placed for the width
    // the first gives them.
    for (int pass = 0; pass < 2; ++pass) {
        chart->layout()->invalidate();
        chart->layout()->activate();
    }
    const QByteArray bytes = captionedPicture(
        view.size(), pictureCaption(*run), !png, chart->title(),
        [&view](QPainter& painter, const QRect& area) { view.render(&painter, QRectF(area)); });
    if (bytes.isEmpty()) {
        reportProblem(QStringLiteral("Could not make the picture of the chart."));
        return false;
    }
    return writeChosenFile(path, bytes, reportProblem);
}

QChart* pairDensityChart(const RunResult& run, int first, int second) {
    const TextRecord& a = run.texts[static_cast<std::size_t>(first)];
    const TextRecord& b = run.texts[static_cast<std::size_t>(second)];
    const std::array<DensityBar, kDensityBars> figures = densityBars(a, run.rules);
    const std::array<DensityBar, kDensityBars> others = densityBars(b, run.rules);
    QChart* chart = newChart(QStringLiteral("Densities per word of both texts; lines: thresholds"));
    auto* bars = new QBarSeries;
    auto* firstSet = new QBarSet(toQt(a.name));
    auto* secondSet = new QBarSet(toQt(b.name));
    firstSet->setColor(QColor(0x3b, 0x6e, 0xc8));
    secondSet->setColor(QColor(0xe0, 0x8a, 0x1e));
    double top = 0.01;  // the least height of the axis, for texts without any of the words
    QStringList categories;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        categories.append(labelOf(figures[i].count));
        firstSet->append(figures[i].number);
        secondSet->append(others[i].number);
        top = std::max({top, figures[i].number, others[i].number});
        for (const ThresholdMark& mark : figures[i].thresholds) {
            top = std::max(top, mark.limit);
        }
    }
    bars->append(firstSet);
    bars->append(secondSet);
    QBarCategoryAxis* x = barNames(chart, categories);
    QValueAxis* y = valueAxis(chart, top * 1.15, QString(), QStringLiteral("%.3f"));
    attach(chart, bars, x, y);
    bars->setBarWidth(0.8);
    // The rule book's thresholds are the run's, the same for both texts.
    addThresholdLines(chart, figures, y, nullptr);
    for (QAbstractSeries* series : chart->series()) {
        if (series != bars) {
            hideMarkersOf(chart, series);
        }
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

}  // namespace pelmora
