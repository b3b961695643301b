#include "ui/run_summary_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include "explanation/run_summary.h"
#include "help/window_parts.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// A path shown whole when it fits, else with its middle elided; text() and the tooltip keep
// it whole. It asks for no width of its own, so a long path cannot widen the window.
class PathLabel : public QLabel {
public:
    explicit PathLabel(QWidget* parent) : QLabel(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setTextInteractionFlags(Qt::NoTextInteraction);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
    }
};

QLabel* makeValue(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* makeCaption(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

RunSummaryPanel::RunSummaryPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("RunSummary"));
    setFrameShape(QFrame::StyledPanel);

    folder_ = new PathLabel(this);
    folder_->setObjectName(QStringLiteral("lblRunFolder"));
    texts_ = makeValue(this, "lblRunTexts");
    leftOut_ = makeValue(this, "lblRunLeftOut");
    warnings_ = makeValue(this, "lblRunWarnings");
    pairs_ = makeValue(this, "lblRunPairs");
    mean_ = makeValue(this, "lblRunMean");
    stDev_ = makeValue(this, "lblRunStDev");
    minimal_ = makeValue(this, "lblRunMinimal");
    significant_ = makeValue(this, "lblRunSignificant");
    unlisted_ = makeText(this, "lblRunUnlisted", "");
    notes_ = makeText(this, "lblRunNotes", "");
    refresh_ = makeText(this, "lblRunRefresh", kRefreshEnablesAuto);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(makeCaption(this, "Folder analysed:"), 0, 0);
    grid->addWidget(folder_, 0, 1, 1, 5);
    const struct {
        const char* caption;
        QLabel* value;
        int row, column;
    } figures[] = {
        {"Texts analysed:", texts_, 1, 0},
        {"Texts left out:", leftOut_, 2, 0},
        {"Warnings:", warnings_, 3, 0},
        {"Pairs:", pairs_, 1, 2},
        {"Mean:", mean_, 2, 2},
        {"Standard deviation:", stDev_, 3, 2},
        {"Minimal pairs:", minimal_, 1, 4},
        {"Significant pairs:", significant_, 2, 4},
    };
    for (const auto& f : figures) {
        grid->addWidget(makeCaption(this, f.caption), f.row, f.column);
        grid->addWidget(f.value, f.row, f.column + 1);
    }
    grid->addWidget(unlisted_, 4, 0, 1, 6);
    grid->addWidget(notes_, 5, 0, 1, 6);
    grid->addWidget(refresh_, 6, 0, 1, 6);
    grid->setColumnMinimumWidth(1, 48);
    grid->setColumnMinimumWidth(3, 64);
    grid->setColumnStretch(5, 1);
    hide();
}

void RunSummaryPanel::showRun(const std::shared_ptr<const RunResult>& run, bool autoEnabled) {
    refresh_->setVisible(!autoEnabled);
    if (run == shown_) {
        return;
    }
    shown_ = run;
    if (!run) {
        hide();
        return;
    }
    const RunSummary s = summariseRun(*run);
    folder_->setText(toQt(s.folder));
    folder_->setToolTip(folder_->text());
    texts_->setText(QString::number(s.textsAnalysed));
    leftOut_->setText(QString::number(s.textsLeftOut));
    warnings_->setText(QString::number(s.warnings));
    pairs_->setText(QString::number(s.pairs));
    mean_->setText(toQt(s.mean));
    stDev_->setText(toQt(s.stDev));
    minimal_->setText(QString::number(s.minimalPairs));
    significant_->setText(QString::number(s.significantPairs));
    unlisted_->setText(toQt(s.unlisted));
    unlisted_->setVisible(!s.unlisted.empty());
    QStringList notes;
    for (const std::string& note : s.notes) {
        notes.append(toQt(note));
    }
    notes_->setText(notes.join(QLatin1Char('\n')));
    notes_->setVisible(!notes.isEmpty());
    show();
}

}  // namespace pelmora
