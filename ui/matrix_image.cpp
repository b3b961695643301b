#include "ui/matrix_image.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kCell = 24;
constexpr int kMargin = 8;
constexpr int kMaxNameWidth = 260;

}  // namespace

QColor strengthColour(int strength) {
    static const QColor kColours[] = {QColor(0xd7, 0x30, 0x27), QColor(0xf4, 0x6d, 0x43),
                                      QColor(0xfd, 0xae, 0x61), QColor(0xfe, 0xe0, 0x8b),
                                      QColor(0xa6, 0xd9, 0x6a), QColor(0x1a, 0x98, 0x50)};
    if (strength < 0 || strength > 5) {
        return QColor(0xee, 0xee, 0xee);
    }
    return kColours[strength];
}

QImage matrixImage(const RunResult& run) {
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    QStringList names;
    int nameWidth = 0;
    for (const TextRecord& t : run.texts) {
        names.append(metrics.elidedText(toQt(t.name), Qt::ElideMiddle, kMaxNameWidth));
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(names.back()));
    }
    const int n = static_cast<int>(run.texts.size());
    const int origin = kMargin + nameWidth + kMargin;  // grid starts here on both axes
    const int side = origin + n * kCell + kMargin;
    const int legendHeight = 3 * metrics.height() + kMargin;
    QImage image(std::max(side, 420), side + legendHeight, QImage::Format_RGB32);
    image.fill(Qt::white);

    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < n; ++i) {
        const int at = origin + i * kCell;
        painter.drawText(QRect(kMargin, at, nameWidth, kCell), Qt::AlignRight | Qt::AlignVCenter,
                         names[i]);
        painter.save();
        painter.translate(at, origin - kMargin);
        painter.rotate(-90);
        painter.drawText(QRect(0, 0, nameWidth, kCell), Qt::AlignLeft | Qt::AlignVCenter, names[i]);
        painter.restore();
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const QRect cell(origin + j * kCell, origin + i * kCell, kCell, kCell);
            const std::optional<RunPair> pair = run.pairs.between(i, j);
            painter.fillRect(cell, strengthColour(pair ? pair->strength : -1));
            painter.setPen(QColor(0xcc, 0xcc, 0xcc));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            if (!pair) {
                continue;
            }
            QFont cellFont = font;
            cellFont.setBold(pair->significant);
            painter.setFont(cellFont);
            painter.setPen(Qt::black);
            painter.drawText(cell, Qt::AlignCenter,
                             QString::number(pair->strength) + (pair->significant ? "*" : ""));
            if (pair->significant) {
                painter.setPen(QPen(Qt::black, 2));
                painter.drawRect(cell.adjusted(1, 1, -2, -2));
            }
            painter.setFont(font);
        }
    }
    painter.setPen(Qt::black);
    const int legendTop = side;
    painter.drawText(kMargin, legendTop + metrics.ascent(),
                     QStringLiteral("Arithmetic Mean %1    Sample Standard Deviation %2")
                         .arg(toQt(run.mean), toQt(run.stDev)));
    painter.drawText(kMargin, legendTop + metrics.height() + metrics.ascent(),
                     QStringLiteral("* (outlined): significantly different from the norm"));
    int x = kMargin;
    const int y = legendTop + 2 * metrics.height();
    for (int s = 0; s <= 5; ++s) {
        painter.fillRect(QRect(x, y, kCell, metrics.height()), strengthColour(s));
        painter.drawText(QRect(x, y, kCell, metrics.height()), Qt::AlignCenter, QString::number(s));
        x += kCell;
    }
    painter.drawText(x + kMargin, y + metrics.ascent(), QStringLiteral("0-2 minimal, 5 identical"));
    return image;
}

}  // namespace pelmora
