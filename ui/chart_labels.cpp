#include "ui/chart_labels.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

// The fewest letters a piece of a broken word may have; a bar narrower than that turns its
// names upright.
constexpr int kLeastLetters = 3;
// Room left between the labels of neighbouring bars.
constexpr qreal kLabelGap = 4;

struct Wrapped {
    QStringList lines;
    bool legible = true;  // no piece of a broken word shorter than kLeastLetters
};

// `word` in pieces that each fit `width` with the hyphen that ends all but the last.
void breakWord(QString word, const QFontMetrics& metrics, qreal width, Wrapped& out) {
    // A hyphen the word ends in stays on its last piece and is no letter of it.
    const QString end = word.endsWith(u'-') ? QStringLiteral("-") : QString();
    word.chop(end.size());
    while (metrics.horizontalAdvance(word + end) > width && word.size() > 1) {
        qsizetype fits = word.size() - 1;
        while (fits > 1 && metrics.horizontalAdvance(word.left(fits) + u'-') > width) {
            --fits;
        }
        // Never a stub of a word left for the next line.
        fits = std::min(fits, word.size() - kLeastLetters);
        out.legible = out.legible && fits >= kLeastLetters;
        if (fits < 1) {
            break;
        }
        out.lines.append(word.left(fits) + u'-');
        word.remove(0, fits);
    }
    out.lines.append(word + end);
}

Wrapped wrap(const QString& name, const QFontMetrics& metrics, qreal width) {
    // Pieces that may end a line: words with the space or hyphen after them.
    static const QRegularExpression kPiece(QStringLiteral("[^ -]*[ -]*"));
    Wrapped out;
    QString line;
    const auto fits = [&](const QString& text) {
        return metrics.horizontalAdvance(text.trimmed()) <= width;
    };
    for (const QRegularExpressionMatch& m : kPiece.globalMatch(name)) {
        const QString piece = m.captured();
        if (piece.isEmpty()) {
            continue;
        }
        if (fits(line + piece)) {
            line += piece;
            continue;
        }
        if (!line.isEmpty()) {
            out.lines.append(line.trimmed());
        }
        line = piece;
        if (!fits(line)) {
            breakWord(line.trimmed(), metrics, width, out);
            line = out.lines.takeLast() + u' ';
        }
    }
    if (!line.trimmed().isEmpty()) {
        out.lines.append(line.trimmed());
    }
    return out;
}

}  // namespace

CategoryLabels wrappedCategories(const QStringList& names, const QFontMetrics& metrics,
                                 qreal width) {
    CategoryLabels fitted;
    for (const QString& name : names) {
        const Wrapped w = wrap(name, metrics, width);
        if (!w.legible) {
            return {names, true};
        }
        QStringList escaped;
        for (const QString& line : w.lines) {
            escaped.append(line.toHtmlEscaped());
        }
        fitted.labels.append(escaped.join(QStringLiteral("<br>")));
    }
    return fitted;
}

void keepCategoriesLegible(QChart* chart, QBarCategoryAxis* axis, const QStringList& names) {
    axis->setTruncateLabels(false);
    axis->append(names);
    if (names.isEmpty()) {
        return;
    }
    const auto fit = [chart, axis, names](const QRectF& plot) {
        const qreal width = plot.width() / static_cast<qreal>(names.size()) - kLabelGap;
        const CategoryLabels fitted =
            wrappedCategories(names, QFontMetrics(axis->labelsFont()), width);
        const QStringList shown = axis->categories();
        // A new label changes the plot's height, and so calls again: only what differs.
        bool changed = axis->labelsAngle() != (fitted.upright ? -90 : 0);
        for (qsizetype i = 0; i < shown.size() && i < fitted.labels.size(); ++i) {
            if (shown[i] != fitted.labels[i]) {
                axis->replace(shown[i], fitted.labels[i]);
                changed = true;
            }
        }
        axis->setLabelsAngle(fitted.upright ? -90 : 0);
        if (changed) {
            // The chart is being laid out with the old labels' heights: once more after it.
            QMetaObject::invokeMethod(
                chart, [chart] { chart->layout()->invalidate(); }, Qt::QueuedConnection);
        }
    };
    QObject::connect(chart, &QChart::plotAreaChanged, axis, fit);
}

std::vector<QRectF> placedApart(const std::vector<QRectF>& wanted, const QRectF& bounds) {
    std::vector<QRectF> placed;
    placed.reserve(wanted.size());
    for (const QRectF& want : wanted) {
        // Where it would touch a placed one from above or below, nearest first.
        std::vector<qreal> tops{want.top()};
        for (const QRectF& p : placed) {
            tops.push_back(p.top() - want.height());
            tops.push_back(p.bottom());
        }
        std::stable_sort(tops.begin(), tops.end(), [&want](qreal a, qreal b) {
            return std::abs(a - want.top()) < std::abs(b - want.top());
        });
        QRectF at = want;
        for (const qreal top : tops) {
            const QRectF tried = want.translated(0, top - want.top());
            const bool inBounds = !bounds.isValid() || (tried.top() >= bounds.top() &&
                                                        tried.bottom() <= bounds.bottom());
            const bool apart =
                std::none_of(placed.begin(), placed.end(),
                             [&tried](const QRectF& p) { return p.intersects(tried); });
            if (inBounds && apart) {
                at = tried;
                break;
            }
        }
        placed.push_back(at);
    }
    return placed;
}

}  // namespace pelmora
