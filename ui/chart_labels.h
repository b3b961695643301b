#pragma once
// Chart labels kept legible at any width: category names wrapped (or turned upright) to the
// room each bar has, and labels moved apart where they would overlap.

#include <QRectF>
#include <QStringList>
#include <vector>

class QBarCategoryAxis;
class QChart;
class QFontMetrics;

namespace pelmora {

struct CategoryLabels {
    QStringList labels;    // lines parted by <br>
    bool upright = false;  // turned a quarter, one line each: too narrow to wrap
};

// `names` as axis labels whose every line is at most `width` wide in `metrics`: broken after
// spaces and hyphens, a word still too wide broken with a hyphen; upright when a bar cannot
// hold a few letters.
[[nodiscard]] CategoryLabels wrappedCategories(const QStringList& names,
                                               const QFontMetrics& metrics, qreal width);

// Keeps `axis`'s labels `names` wrapped to the width of a bar of `chart` as it is resized.
void keepCategoriesLegible(QChart* chart, QBarCategoryAxis* axis, const QStringList& names);

// The rectangles `wanted`, each moved the least up or down so that none overlaps one placed
// before it, within `bounds` where that leaves room.
[[nodiscard]] std::vector<QRectF> placedApart(const std::vector<QRectF>& wanted,
                                              const QRectF& bounds);

}  // namespace pelmora
