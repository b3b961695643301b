#include "ui/measure_colours.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "analysis/occurrences.h"

namespace pelmora {

namespace {

// A qualitative palette of pastels, in the order of the counted measures.
constexpr std::array<QRgb, kCountedMeasures.size()> kFills = {
    0x8dd3c7, 0xfdb462, 0xbebada, 0xfb8072, 0x80b1d3, 0xb3de69,
    0xffed6f, 0xfccde5, 0xd9d9d9, 0xbc80bd, 0xccebc5, 0xe5c494,
};

}  // namespace

std::optional<std::size_t> countedPosition(Measure measure) {
    const auto at = std::find(kCountedMeasures.begin(), kCountedMeasures.end(), measure);
    if (at == kCountedMeasures.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(at - kCountedMeasures.begin());
}

QColor measureColour(Measure measure) {
    const std::optional<std::size_t> at = countedPosition(measure);
    return at ? QColor(kFills[*at]) : QColor(0xc8c8c8);
}

QColor insideWordColour(Measure measure) {
    const QColor c = measureColour(measure);
    const auto lighter = [](int v) { return v + (255 - v) * 11 / 20; };
    return QColor(lighter(c.red()), lighter(c.green()), lighter(c.blue()));
}

QColor measureLineColour(Measure measure) {
    return measureColour(measure).darker(190);
}

QIcon measureSwatch(Measure measure) {
    QPixmap swatch(14, 14);
    swatch.fill(measureColour(measure));
    QPainter painter(&swatch);
    painter.setPen(measureLineColour(measure));
    painter.drawRect(0, 0, 13, 13);
    return QIcon(swatch);
}

}  // namespace pelmora
