#include "ui/report_chart_view.h"

#include <QPainter>
#include <utility>

#include "render/chart_painter.h"
#include "ui/export_actions.h"
#include "ui/picture_caption.h"

namespace pelmora {

ReportChartView::ReportChartView(QWidget* parent, const char* objectName) : QWidget(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setMinimumSize(320, 220);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ReportChartView::showChart(ReportChart chart, const QString& empty) {
    chart_ = std::move(chart);
    empty_ = empty;
    setAccessibleName(QString::fromStdString(chart_.title));
    update();
}

void ReportChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    if (!hasChart()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         empty_);
        return;
    }
    painter.setPen(Qt::black);
    paintChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), chart_);
}

bool ReportChartView::save(const QString& path,
                           const std::function<void(const QString&)>& reportProblem) const {
    if (!hasChart()) {
        reportProblem(QStringLiteral("There is no chart to save."));
        return false;
    }
    const QByteArray bytes = captionedPicture(
        kPictureSize, caption_, path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive),
        QString::fromStdString(chart_.title), [this](QPainter& painter, const QRect& area) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::black);
            paintChart(painter, QRectF(area), chart_);
        });
    if (bytes.isEmpty()) {
        reportProblem(QStringLiteral("Could not make the picture of the chart."));
        return false;
    }
    return writeChosenFile(path, bytes, reportProblem);
}

}  // namespace pelmora
