#include "render/chart_painter.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

// One colour per series, told apart in grey print as well.
const std::array<QColor, 4> kSeriesColours = {QColor(0x1f, 0x5f, 0xa8), QColor(0xe0, 0x8a, 0x1e),
                                              QColor(0x3a, 0x9a, 0x4a), QColor(0x8e, 0x3b, 0x8f)};

QColor colourOf(std::size_t series) {
    return kSeriesColours[series % kSeriesColours.size()];
}

QString textOf(const std::string& s) {
    return QString::fromStdString(s);
}

// A round step for about five ticks up to `top`.
double tickStep(double top) {
    if (top <= 0) {
        return 1;
    }
    const double raw = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * power >= raw) {
            return m * power;
        }
    }
    return 10 * power;
}

QString tickText(double value) {
    return QString::number(value, 'g', 4);
}

struct Frame {
    QRectF plot;
    double xTop = 1, yTop = 1;
    QPointF at(double x, double y) const {
        return {plot.left() + plot.width() * x / xTop, plot.bottom() - plot.height() * y / yTop};
    }
};

void drawLegend(QPainter& p, const QRectF& area, const ReportChart& chart) {
    const QFontMetricsF metrics(p.font());
    double x = area.left();
    const double y = area.bottom() - metrics.height();
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        p.fillRect(QRectF(x, y + metrics.height() * 0.25, 10, metrics.height() * 0.5), colourOf(i));
        const QString name = textOf(chart.series[i].name);
        p.drawText(QPointF(x + 14, y + metrics.ascent()), name);
        x += 14 + metrics.horizontalAdvance(name) + 16;
    }
}

void drawAxes(QPainter& p, const Frame& f, const ReportChart& chart) {
    const QFontMetricsF metrics(p.font());
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(f.plot.bottomLeft(), f.plot.bottomRight());
    p.drawLine(f.plot.bottomLeft(), f.plot.topLeft());
    const double step = chart.unitSquare ? 0.25 : tickStep(f.yTop);
    for (double y = 0; y <= f.yTop + 1e-9; y += step) {
        const QPointF at = f.at(0, y);
        p.setPen(QPen(QColor(0xdd, 0xdd, 0xdd), 1));
        p.drawLine(at, QPointF(f.plot.right(), at.y()));
        p.setPen(Qt::black);
        const QString t = tickText(y);
        p.drawText(
            QPointF(at.x() - metrics.horizontalAdvance(t) - 4, at.y() + metrics.ascent() / 2), t);
    }
    if (chart.unitSquare) {
        for (double x = 0; x <= 1 + 1e-9; x += 0.25) {
            const QPointF at = f.at(x, 0);
            const QString t = tickText(x);
            p.drawText(
                QPointF(at.x() - metrics.horizontalAdvance(t) / 2, at.y() + metrics.height()), t);
        }
    }
    const QString x = textOf(chart.xLabel);
    p.drawText(QPointF(f.plot.center().x() - metrics.horizontalAdvance(x) / 2,
                       f.plot.bottom() + 2 * metrics.height()),
               x);
    p.save();
    p.translate(f.plot.left() - 3.2 * metrics.height(), f.plot.center().y());
    p.rotate(-90);
    const QString y = textOf(chart.yLabel);
    p.drawText(QPointF(-metrics.horizontalAdvance(y) / 2, 0), y);
    p.restore();
}

void drawBars(QPainter& p, const Frame& f, const ReportChart& chart) {
    const QFontMetricsF metrics(p.font());
    const std::size_t groups = chart.categories.size();
    const std::size_t n = std::max<std::size_t>(1, chart.series.size());
    const double group = f.plot.width() / static_cast<double>(std::max<std::size_t>(1, groups));
    const double bar = group * 0.8 / static_cast<double>(n);
    for (std::size_t g = 0; g < groups; ++g) {
        const double left = f.plot.left() + group * static_cast<double>(g) + group * 0.1;
        for (std::size_t s = 0; s < chart.series.size(); ++s) {
            const std::vector<double>& values = chart.series[s].values;
            const double v = g < values.size() ? values[g] : 0;
            const QPointF top = f.at(0, v);
            p.fillRect(QRectF(left + bar * static_cast<double>(s), top.y(), bar,
                              f.plot.bottom() - top.y()),
                       colourOf(s));
        }
        const QString label = textOf(chart.categories[g]);
        p.setPen(Qt::black);
        p.drawText(QPointF(left + group * 0.4 - metrics.horizontalAdvance(label) / 2,
                           f.plot.bottom() + metrics.height()),
                   label);
    }
}

void drawLines(QPainter& p, const Frame& f, const ReportChart& chart) {
    if (chart.diagonal) {
        p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        p.drawLine(f.at(0, 0), f.at(f.xTop, f.yTop));
    }
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        QPainterPath path;
        const auto& points = chart.series[s].points;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF at = f.at(points[i].first, points[i].second);
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        p.setPen(QPen(colourOf(s), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setBrush(colourOf(s));
        for (const auto& [x, y] : points) {
            p.drawEllipse(f.at(x, y), 2.5, 2.5);
        }
    }
}

double highest(const ReportChart& chart) {
    double top = 0;
    for (const ReportChart::Series& s : chart.series) {
        for (const double v : s.values) {
            top = std::max(top, v);
        }
        for (const auto& point : s.points) {
            top = std::max(top, point.second);
        }
    }
    return top;
}

}  // namespace

void paintChart(QPainter& painter, const QRectF& area, const ReportChart& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    const QRectF plot = area.adjusted(4.5 * line, 1.8 * line, -line, -4.2 * line);
    Frame frame{plot};
    if (chart.unitSquare) {
        frame.xTop = frame.yTop = 1;
    } else {
        const double top = highest(chart);
        const double step = tickStep(top);
        frame.yTop = std::max(step, std::ceil(top / step) * step);
    }
    painter.setPen(Qt::black);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    // A narrow chart gets its title in a smaller type rather than cut at both ends.
    const QString title = textOf(chart.title);
    const qreal wide = QFontMetricsF(bold).horizontalAdvance(title);
    if (wide > area.width() && wide > 0) {
        const qreal shrink = std::max(area.width() / wide, 0.7);
        if (bold.pointSizeF() > 0) {
            bold.setPointSizeF(bold.pointSizeF() * shrink);
        } else {
            bold.setPixelSize(std::max(1, qRound(bold.pixelSize() * shrink)));
        }
    }
    painter.setFont(bold);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), 1.5 * line),
                     Qt::AlignHCenter | Qt::AlignTop,
                     QFontMetricsF(bold).elidedText(title, Qt::ElideRight, area.width()));
    painter.restore();
    drawAxes(painter, frame, chart);
    if (chart.kind == ReportChart::Kind::Bars) {
        drawBars(painter, frame, chart);
    } else {
        drawLines(painter, frame, chart);
    }
    painter.setPen(Qt::black);
    drawLegend(painter, area, chart);
    painter.restore();
}

QByteArray chartSvg(const ReportChart& chart, QSize size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(textOf(chart.title));
    {
        QPainter painter(&svg);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        paintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), chart);
    }
    return buffer.data();
}

QImage chartImage(const ReportChart& chart, QSize size, qreal scale) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), chart);
    return image;
}

}  // namespace pelmora
