#include "ui/matrix_window.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "case/role_order.h"
#include "desktop/window_fit.h"
#include "explanation/captions.h"
#include "exports/run_names.h"
#include "run/run_result.h"
#include "ui/export_actions.h"
#include "ui/job_runner.h"
#include "ui/matrix_image.h"
#include "ui/matrix_model.h"
#include "ui/metadata_model.h"
#include "ui/picture_caption.h"
#include "ui/stability_bar.h"
#include "ui/stability_marks.h"
#include "ui/table_rows.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kCell = 22;
constexpr int kMaxNameWidth = 220;
constexpr int kNamePadding = 8;

// Column names written upwards, so that a column stays one cell wide.
class UprightNamesHeader : public QHeaderView {
public:
    explicit UprightNamesHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setSectionsClickable(true);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        const QVariant tint = model()->headerData(logicalIndex, orientation(), Qt::BackgroundRole);
        if (tint.canConvert<QBrush>()) {
            option.palette.setBrush(QPalette::Button, tint.value<QBrush>());
            option.palette.setBrush(QPalette::Window, tint.value<QBrush>());
        }
        if (highlightSections() && selectionModel() != nullptr &&
            selectionModel()->columnIntersectsSelection(logicalIndex, rootIndex())) {
            option.state |= QStyle::State_On;
        }
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        const QString name = model()->headerData(logicalIndex, orientation()).toString();
        const int length = rect.height() - kNamePadding;
        painter->save();
        painter->translate(rect.left(), rect.bottom() - kNamePadding / 2);
        painter->rotate(-90);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(QRect(0, 0, length, rect.width()), Qt::AlignLeft | Qt::AlignVCenter,
                          fontMetrics().elidedText(name, Qt::ElideMiddle, length));
        painter->restore();
    }
};

// Pairs off the norm get a star after their strength and an outline, as in the picture;
// fragile pairs a dark corner.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const bool outlined = index.data(MatrixModel::SignificantRole).toBool();
        const bool fragile = index.data(MatrixModel::FragileRole).toBool();
        const int edges = index.data(MatrixModel::BlockEdgeRole).toInt();
        if (!outlined && !fragile && edges == 0) {
            return;
        }
        painter->save();
        // The edge of a block of one role, between the last cell of a block and this one.
        painter->setPen(QPen(Qt::black, 3));
        if ((edges & MatrixModel::kTopEdge) != 0) {
            painter->drawLine(option.rect.topLeft(), option.rect.topRight());
        }
        if ((edges & MatrixModel::kLeftEdge) != 0) {
            painter->drawLine(option.rect.topLeft(), option.rect.bottomLeft());
        }
        if (outlined) {
            painter->setPen(QPen(Qt::black, 2));
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        }
        if (fragile) {
            const QRect r = option.rect;
            const int side = std::max(6, r.width() / 2);
            const QPoint corner = r.topRight() + QPoint(1, 0);
            const QPolygon triangle({corner, corner - QPoint(side, 0), corner + QPoint(0, side)});
            painter->setPen(Qt::NoPen);
            painter->setBrush(fragileColour());
            painter->drawPolygon(triangle);
        }
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(MatrixModel::SignificantRole).toBool()) {
            option->text += u'*';
        }
    }
};

QString legendText(const RunResult& run, bool withStability) {
    QString key;
    for (int s = 0; s <= 5; ++s) {
        key += QStringLiteral("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span>")
                   .arg(strengthColour(s).name())
                   .arg(s);
    }
    return QStringLiteral(
               "Arithmetic Mean %1 &nbsp; Sample Standard Deviation %2 &nbsp;&nbsp; %3 "
               "%4; <b>bold*</b> outlined: significantly different from the norm; grey: no "
               "pair%5")
        .arg(toQt(run.mean).toHtmlEscaped(), toQt(run.stDev).toHtmlEscaped(), key,
             toQt(strengthKeyText()),
             withStability
                 ? QStringLiteral("<br><span style=\"background-color:%1\">&nbsp;%2name&nbsp;"
                                  "</span> %3; <span style=\"color:%4\">&#9698;</span> %5")
                       .arg(unstableTint().name(), unstableMark().toHtmlEscaped(),
                            toQt(unstableKeyText()), fragileColour().name(), toQt(fragileKeyText()))
                 : QString());
}

// The widest name a header shows, as it shows it.
int widestName(const MatrixModel& model, const QFontMetrics& metrics) {
    int widest = 0;
    for (int section = 0; section < model.rowCount(); ++section) {
        const QString name = model.headerData(section, Qt::Vertical).toString();
        widest = std::max(widest, metrics.horizontalAdvance(name));
        if (widest >= kMaxNameWidth) {
            return kMaxNameWidth;
        }
    }
    return widest;
}

}  // namespace

MatrixWindow::MatrixWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MatrixWindow"));
    setWindowTitle(QStringLiteral("Pelmora: Matrix"));
    model_ = new MatrixModel(this);
    filter_ = new MatrixFilterModel(this);
    filter_->setDynamicSortFilter(false);
    filter_->setSourceModel(model_);
    filtering_ = new JobRunner(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("matrixTable"));
    table_->setHorizontalHeader(new UprightNamesHeader(table_));
    table_->setModel(filter_);
    table_->setItemDelegate(new CellDelegate(table_));
    table_->setWordWrap(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setGridStyle(Qt::SolidLine);
    // Every section the same fixed size: the headers then never measure their sections.
    for (QHeaderView* header : {table_->horizontalHeader(), table_->verticalHeader()}) {
        header->setMinimumSectionSize(kCell);
        header->setDefaultSectionSize(kCell);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setTextElideMode(Qt::ElideMiddle);
        header->setHighlightSections(true);
    }
    legend_ = new QLabel(this);
    legend_->setObjectName(QStringLiteral("matrixLegend"));
    legend_->setTextFormat(Qt::RichText);
    legend_->setWordWrap(true);
    auto* save = new QPushButton(QStringLiteral("Save PNG…"), this);
    save->setObjectName(QStringLiteral("cmdSavePng"));
    stabilityBar_ = new StabilityBar(this);
    byRole_ = new QCheckBox(QStringLiteral("Order by role"), this);
    byRole_->setObjectName(QStringLiteral("chkOrderByRole"));
    byRole_->setToolTip(
        QStringLiteral("Questioned, known and reference texts in blocks, then "
                       "the texts without a role"));
    byRole_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(byRole_);
    buttons->addWidget(stabilityBar_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFilterBar());
    layout->addWidget(table_, 1);
    layout->addWidget(legend_);
    layout->addLayout(buttons);
    fitToScreen(this, {860, 660});

    choosePngPath = [this] {
        const std::shared_ptr<const RunResult> run = model_->run();
        return chooseSavePath(this, QStringLiteral("Save matrix as PNG"),
                              run ? toQt(runFileName(*run, "matrix", ".png")) : QString(),
                              QStringLiteral("PNG images (*.png)"));
    };
    reportProblem = [this](const QString& text) { showProblem(this, text); };
    connect(save, &QPushButton::clicked, this, [this] { savePng(); });
    connect(stabilityBar_, &StabilityBar::figuresChanged, this, &MatrixWindow::stabilityChanged);
    connect(byRole_, &QCheckBox::toggled, this, &MatrixWindow::applyOrder);
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& cell) {
        const int first = filter_->positionAt(cell.row());
        const int second = filter_->positionAt(cell.column());
        const std::shared_ptr<const RunResult>& run = model_->run();
        if (run && run->pairs.between(first, second)) {
            emit pairActivated(first, second);
        }
    });
}

QHBoxLayout* MatrixWindow::buildFilterBar() {
    nameFilter_ = filterLine(this, "txtMatrixName", QStringLiteral("Texts whose name holds…"));
    lowest_ = new QSpinBox(this);
    lowest_->setObjectName(QStringLiteral("spnLowestStrength"));
    highest_ = new QSpinBox(this);
    highest_->setObjectName(QStringLiteral("spnHighestStrength"));
    for (QSpinBox* box : {lowest_, highest_}) {
        box->setRange(0, 5);
    }
    highest_->setValue(5);
    onlyMinimal_ = new QCheckBox(QStringLiteral("Only minimal"), this);
    onlyMinimal_->setObjectName(QStringLiteral("chkOnlyMinimal"));
    onlyOffTheNorm_ = new QCheckBox(QStringLiteral("Only off the norm"), this);
    onlyOffTheNorm_->setObjectName(QStringLiteral("chkOnlyOffTheNorm"));
    roleFilter_ = roleChoice(this, "cboMatrixRole");
    roleFilter_->setEnabled(false);
    shown_ = new QLabel(this);
    shown_->setObjectName(QStringLiteral("lblMatrixShown"));
    auto* bar = new QHBoxLayout;
    bar->addWidget(nameFilter_, 2);
    bar->addWidget(new QLabel(QStringLiteral("Strength"), this));
    bar->addWidget(lowest_);
    bar->addWidget(new QLabel(QStringLiteral("to"), this));
    bar->addWidget(highest_);
    bar->addWidget(onlyMinimal_);
    bar->addWidget(onlyOffTheNorm_);
    bar->addWidget(roleFilter_);
    bar->addWidget(shown_, 1);
    connect(nameFilter_, &QLineEdit::textChanged, this, &MatrixWindow::applyFilter);
    for (QSpinBox* box : {lowest_, highest_}) {
        connect(box, &QSpinBox::valueChanged, this, &MatrixWindow::applyFilter);
    }
    for (QCheckBox* box : {onlyMinimal_, onlyOffTheNorm_}) {
        connect(box, &QCheckBox::toggled, this, &MatrixWindow::applyFilter);
    }
    connect(roleFilter_, &QComboBox::currentIndexChanged, this, &MatrixWindow::applyFilter);
    return bar;
}

void MatrixWindow::applyFilter() {
    const std::shared_ptr<const RunResult> run = model_->run();
    MatrixFilter filter;
    filter.name = nameFilter_->text().toStdString();
    filter.lowest = std::min(lowest_->value(), highest_->value());
    filter.highest = std::max(lowest_->value(), highest_->value());
    filter.onlyMinimal = onlyMinimal_->isChecked();
    filter.onlyOffTheNorm = onlyOffTheNorm_->isChecked();
    if (roleFilter_->isEnabled() && roleFilter_->currentIndex() > 0) {
        filter.role = roleFromText(roleFilter_->currentData().toString().toStdString());
    }
    const auto show = [this](std::vector<bool> kept, MatrixFilter chosen) {
        filter_->setKept(std::move(kept), std::move(chosen));
        shown_->setText(
            QStringLiteral("%1 of %2 texts").arg(filter_->rowCount()).arg(model_->rowCount()));
    };
    if (!run || (filter.name.empty() && !filter.role && !filter.filtersPairs())) {
        filtering_->abandon();
        show({}, filter);
        return;
    }
    // Every pair is read for a pair filter: away from the window's thread.
    filtering_->start<std::vector<bool>>(
        [run, metadata = metadata_, filter](JobControl& control) -> Result<std::vector<bool>> {
            std::optional<std::vector<bool>> kept =
                keptTexts(*run, metadata, filter, &control.token());
            return kept ? Result<std::vector<bool>>(std::move(*kept))
                        : Result<std::vector<bool>>(cancelledError("Filtering the matrix"));
        },
        [show, filter](std::vector<bool> kept) { show(std::move(kept), filter); });
}

void MatrixWindow::showRun(const std::shared_ptr<const RunResult>& run) {
    if (run == model_->run()) {
        return;
    }
    model_->setRun(run);
    applyOrder();
    applyFilter();
    stabilityChanged();
    table_->horizontalScrollBar()->setValue(0);
    table_->verticalScrollBar()->setValue(0);
}

void MatrixWindow::showRoles(const Metadata& metadata) {
    metadata_ = metadata;
    const bool any = std::any_of(metadata_.rows.begin(), metadata_.rows.end(),
                                 [](const MetadataRow& row) { return row.role != Role::None; });
    byRole_->setEnabled(any);
    roleFilter_->setEnabled(any);
    applyOrder();
    applyFilter();
}

void MatrixWindow::applyOrder() {
    const std::shared_ptr<const RunResult>& run = model_->run();
    if (!run) {
        return;
    }
    model_->setOrder(byRole_->isEnabled() && byRole_->isChecked() ? roleOrder(*run, metadata_)
                                                                  : RoleOrder{});
    fitHeaders();
}

void MatrixWindow::setStabilityTask(StabilityTask* task) {
    stabilityBar_->setTask(task);
}

void MatrixWindow::stabilityChanged() {
    model_->setStability(model_->run(), stabilityBar_->figuresOf(model_->run()));
    fitHeaders();
}

void MatrixWindow::fitHeaders() {
    const std::shared_ptr<const RunResult>& run = model_->run();
    if (!run) {
        legend_->clear();
        return;
    }
    const int names = widestName(*model_, table_->verticalHeader()->fontMetrics());
    table_->verticalHeader()->setFixedWidth(names + 2 * kNamePadding);
    table_->horizontalHeader()->setFixedHeight(
        widestName(*model_, table_->horizontalHeader()->fontMetrics()) + 2 * kNamePadding);
    legend_->setText(legendText(*run, model_->stability() != nullptr));
}

QString MatrixWindow::legend() const {
    return legend_->text();
}

bool MatrixWindow::savePng() {
    const std::shared_ptr<const RunResult> run = model_->run();
    if (!run) {
        return false;
    }
    const QString path = choosePngPath();
    if (path.isEmpty()) {
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage picture = matrixImage(*run);
    const QByteArray png = captionedPicture(
        picture.deviceIndependentSize().toSize(), pictureCaption(*run), false, {},
        [&picture](QPainter& painter, const QRect& area) { painter.drawImage(area, picture); });
    QGuiApplication::restoreOverrideCursor();
    if (png.isEmpty()) {
        reportProblem(QStringLiteral("Could not make the picture of the matrix."));
        return false;
    }
    return writeChosenFile(path, png, reportProblem);
}

}  // namespace pelmora
