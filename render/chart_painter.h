#pragma once
// Report charts drawn with a painter: on a window, into an SVG file or an image, the same
// drawing each time.

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>

#include "report/report_document.h"

class QPainter;

namespace pelmora {

// Draws `chart` (title, axes, bars or lines, legend) inside `area`.
void paintChart(QPainter& painter, const QRectF& area, const ReportChart& chart);

// The chart as an SVG document of `size` points.
QByteArray chartSvg(const ReportChart& chart, QSize size);
// The chart as an image of `size` logical pixels at `scale` device pixels each, white behind.
QImage chartImage(const ReportChart& chart, QSize size, qreal scale = 1);

}  // namespace pelmora
