#include "ui/matrix_image.h"

#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "explanation/captions.h"
#include "exports/strength_colours.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kMargin = 8;
constexpr int kDetailedCell = 24;
constexpr int kDetailedNameWidth = 260;
constexpr int kOverviewNameWidth = 160;
constexpr int kOverviewMaxPixelsPerText = 4;
constexpr int kSwatch = 24;

// The overview is an indexed picture, a quarter of the memory of a true-colour one: the six
// strengths, no pair, and a ramp of greys for the antialiased names.
constexpr uchar kNoPair = 6;
constexpr uchar kFirstGrey = 7;
constexpr int kGreys = 16;
constexpr uchar kWhite = kFirstGrey + kGreys - 1;

QFont pixelFont(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

QFont legendFont() {
    return pixelFont(12);
}

QFont detailedNameFont() {
    return pixelFont(12);
}

QFont overviewNameFont() {
    return pixelFont(10);
}

QList<QRgb> overviewPalette() {
    QList<QRgb> colours;
    for (int s = 0; s <= 5; ++s) {
        colours.append(strengthColour(s).rgb());
    }
    colours.append(strengthColour(-1).rgb());
    for (int g = 0; g < kGreys; ++g) {
        const int level = g * 255 / (kGreys - 1);
        colours.append(qRgb(level, level, level));
    }
    return colours;
}

bool isDetailed(const RunResult& run) {
    return static_cast<int>(run.texts.size()) <= kDetailedUpTo;
}

QString nameOf(const RunResult& run, int text, const QFontMetrics& metrics, int width) {
    return metrics.elidedText(toQt(run.texts[static_cast<std::size_t>(text)].name), Qt::ElideMiddle,
                              width);
}

// The widest name written, at most `limit`, looking at every `every`-th text.
int nameWidth(const RunResult& run, const QFontMetrics& metrics, int limit, int every) {
    int widest = 0;
    for (int i = 0; i < static_cast<int>(run.texts.size()); i += every) {
        widest = std::max(widest, metrics.horizontalAdvance(nameOf(run, i, metrics, limit)));
    }
    return widest;
}

QStringList legendLines(const RunResult& run, const MatrixPictureLayout& layout) {
    QStringList lines{QStringLiteral("Arithmetic Mean %1    Sample Standard Deviation %2")
                          .arg(toQt(run.mean), toQt(run.stDev))};
    if (layout.detailed) {
        lines.append(QStringLiteral("* (outlined): significantly different from the norm"));
    } else if (layout.textsPerPixel == 1) {
        lines.append(QStringLiteral("%1 texts, %2 each; names of every %3th text")
                         .arg(layout.texts)
                         .arg(layout.pixelsPerText == 1
                                  ? QStringLiteral("a pixel")
                                  : QStringLiteral("%1 pixels").arg(layout.pixelsPerText))
                         .arg(layout.nameEvery));
    } else {
        lines.append(QStringLiteral("%1 texts, %2 to a pixel, which shows the lowest strength "
                                    "of the pairs it covers; names of every %3th text")
                         .arg(layout.texts)
                         .arg(layout.textsPerPixel)
                         .arg(layout.nameEvery));
    }
    return lines;
}

const QString& keyText() {
    static const QString text = toQt(strengthKeyText()) + QStringLiteral(", grey: no pair");
    return text;
}

int legendHeight() {
    return 3 * QFontMetrics(legendFont()).height() + kMargin;
}

int legendWidth(const QStringList& lines) {
    const QFontMetrics metrics(legendFont());
    int widest = 6 * kSwatch + kMargin + metrics.horizontalAdvance(keyText());
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest + 2 * kMargin;
}

// The legend's lines and colour key, from `top` down.
void drawLegend(QPainter& painter, const QStringList& lines, int top) {
    painter.setFont(legendFont());
    painter.setPen(Qt::black);
    const QFontMetrics metrics(legendFont());
    int y = top;
    for (const QString& line : lines) {
        painter.drawText(kMargin, y + metrics.ascent(), line);
        y += metrics.height();
    }
    int x = kMargin;
    for (int s = 0; s <= 5; ++s) {
        const QRect swatch(x, y, kSwatch, metrics.height());
        painter.fillRect(swatch, strengthColour(s));
        painter.drawText(swatch, Qt::AlignCenter, QString::number(s));
        x += kSwatch;
    }
    painter.drawText(x + kMargin, y + metrics.ascent(), keyText());
}

MatrixPictureLayout detailedLayout(const RunResult& run) {
    MatrixPictureLayout layout;
    layout.detailed = true;
    layout.texts = static_cast<int>(run.texts.size());
    layout.pixelsPerText = kDetailedCell;
    const int names =
        nameWidth(run, QFontMetrics(detailedNameFont()), kDetailedNameWidth, layout.nameEvery);
    const int origin = kMargin + names + kMargin;
    layout.grid = QPoint(origin, origin);
    const int side = origin + layout.texts * kDetailedCell + kMargin;
    layout.size =
        QSize(std::max(side, legendWidth(legendLines(run, layout))), side + legendHeight());
    return layout;
}

MatrixPictureLayout overviewLayout(const RunResult& run) {
    MatrixPictureLayout layout;
    const int n = static_cast<int>(run.texts.size());
    layout.texts = n;
    const QFontMetrics metrics(overviewNameFont());
    // Every name written is that of a tenth text, whichever tenth the spacing allows.
    const int origin = kMargin + nameWidth(run, metrics, kOverviewNameWidth, 10) + kMargin;
    layout.grid = QPoint(origin, origin);
    const int room = kMaxPictureSide - origin - kMargin - legendHeight();
    if (n <= room) {
        layout.pixelsPerText = std::clamp(room / n, 1, kOverviewMaxPixelsPerText);
    } else {
        layout.textsPerPixel = (n + room - 1) / room;
    }
    const int cells = (n + layout.textsPerPixel - 1) / layout.textsPerPixel;
    const int side = cells * layout.pixelsPerText;
    // Names a line apart at least, at a round spacing of texts.
    const double pixelsPerTextOnAxis =
        static_cast<double>(layout.pixelsPerText) / layout.textsPerPixel;
    for (int factor = 1;; factor *= 10) {
        const int steps[] = {10 * factor, 20 * factor, 50 * factor};
        const int* fits = std::find_if(std::begin(steps), std::end(steps), [&](int step) {
            return step * pixelsPerTextOnAxis >= metrics.height();
        });
        if (fits != std::end(steps)) {
            layout.nameEvery = *fits;
            break;
        }
    }
    layout.size = QSize(std::max(origin + side + kMargin, legendWidth(legendLines(run, layout))),
                        origin + side + kMargin + legendHeight());
    return layout;
}

QImage detailedImage(const RunResult& run, const MatrixPictureLayout& layout) {
    const QFont font = detailedNameFont();
    const QFontMetrics metrics(font);
    const int names = layout.grid.x() - 2 * kMargin;
    QImage image(layout.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int n = layout.texts;
    for (int i = 0; i < n; ++i) {
        const QString name = nameOf(run, i, metrics, kDetailedNameWidth);
        const QRect row = layout.cellOf(i, 0);
        painter.drawText(QRect(kMargin, row.top(), names, row.height()),
                         Qt::AlignRight | Qt::AlignVCenter, name);
        const QRect column = layout.cellOf(0, i);
        painter.save();
        painter.translate(column.left(), layout.grid.y() - kMargin);
        painter.rotate(-90);
        painter.drawText(QRect(0, 0, names, column.width()), Qt::AlignLeft | Qt::AlignVCenter,
                         name);
        painter.restore();
    }
    QFont bold = font;
    bold.setBold(true);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const QRect cell = layout.cellOf(i, j);
            const std::optional<RunPair> pair = run.pairs.between(i, j);
            painter.fillRect(cell, strengthColour(pair ? pair->strength : -1));
            painter.setPen(QColor(0xcc, 0xcc, 0xcc));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            if (!pair) {
                continue;
            }
            painter.setFont(pair->significant ? bold : font);
            painter.setPen(Qt::black);
            painter.drawText(
                cell, Qt::AlignCenter,
                QString::number(pair->strength) + QLatin1String(pair->significant ? "*" : ""));
            if (pair->significant) {
                painter.setPen(QPen(Qt::black, 2));
                painter.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
    }
    drawLegend(painter, legendLines(run, layout), layout.grid.y() + n * kDetailedCell + kMargin);
    return image;
}

// Paints `draw` on white over `area` of an indexed picture, each colour becoming the nearest
// of the picture's.
template <typename Draw>
void paintInto(QImage& image, const QRect& area, Draw draw) {
    if (area.isEmpty()) {
        return;
    }
    QImage strip(area.size(), QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        painter.translate(-area.topLeft());
        draw(painter);
    }
    const QImage indexed = strip.convertToFormat(QImage::Format_Indexed8, image.colorTable());
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(image.scanLine(area.top() + y) + area.left(), indexed.constScanLine(y),
                    static_cast<std::size_t>(area.width()));
    }
}

QImage overviewImage(const RunResult& run, const MatrixPictureLayout& layout) {
    QImage image(layout.size, QImage::Format_Indexed8);
    image.setColorTable(overviewPalette());
    image.fill(kWhite);
    const int n = layout.texts;
    const int side = layout.cellOf(n - 1, n - 1).bottom() + 1 - layout.grid.y();
    const int stride = static_cast<int>(image.bytesPerLine());
    uchar* const grid = image.bits() + layout.grid.y() * stride + layout.grid.x();
    for (int y = 0; y < side; ++y) {
        std::memset(grid + y * stride, kNoPair, static_cast<std::size_t>(side));
    }
    // Strengths and no pair are in that order in the palette: the lowest index is the lowest
    // strength, and a pixel shows no pair only when it covers none.
    const int p = layout.pixelsPerText, k = layout.textsPerPixel;
    const auto mark = [&](int row, int column, uchar value) {
        uchar* at = grid + (row / k) * p * stride + (column / k) * p;
        for (int dy = 0; dy < p; ++dy, at += stride) {
            for (int dx = 0; dx < p; ++dx) {
                at[dx] = std::min(at[dx], value);
            }
        }
    };
    run.pairs.forEach([&](const RunPair& pair) {
        const uchar value =
            pair.strength >= 0 && pair.strength <= 5 ? static_cast<uchar>(pair.strength) : kNoPair;
        mark(pair.first, pair.second, value);
        mark(pair.second, pair.first, value);
    });

    const QFont font = overviewNameFont();
    const QFontMetrics metrics(font);
    const int names = layout.grid.x() - 2 * kMargin;
    const int lineHeight = metrics.height();
    const int below = layout.grid.y() + side + kMargin;
    paintInto(image, QRect(0, 0, layout.grid.x() - kMargin, below), [&](QPainter& painter) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < n; i += layout.nameEvery) {
            const int middle = layout.cellOf(i, 0).center().y();
            painter.drawText(QRect(kMargin, middle - lineHeight / 2, names, lineHeight),
                             Qt::AlignRight | Qt::AlignVCenter,
                             nameOf(run, i, metrics, kOverviewNameWidth));
        }
    });
    const int left = layout.grid.x() - kMargin;
    paintInto(
        image, QRect(left, 0, layout.size.width() - left, layout.grid.y()), [&](QPainter& painter) {
            painter.setFont(font);
            painter.setPen(Qt::black);
            for (int i = 0; i < n; i += layout.nameEvery) {
                painter.save();
                painter.translate(layout.cellOf(0, i).center().x() - lineHeight / 2,
                                  layout.grid.y() - kMargin);
                painter.rotate(-90);
                painter.drawText(QRect(0, 0, names, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                                 nameOf(run, i, metrics, kOverviewNameWidth));
                painter.restore();
            }
        });
    paintInto(image, QRect(0, below, layout.size.width(), layout.size.height() - below),
              [&](QPainter& painter) { drawLegend(painter, legendLines(run, layout), below); });
    return image;
}

}  // namespace

QColor strengthColour(int strength) {
    return QColor::fromRgb(static_cast<QRgb>(strengthRgb(strength)));
}

QRect MatrixPictureLayout::cellOf(int row, int column) const {
    return QRect(grid.x() + column / textsPerPixel * pixelsPerText,
                 grid.y() + row / textsPerPixel * pixelsPerText, pixelsPerText, pixelsPerText);
}

MatrixPictureLayout matrixPictureLayout(const RunResult& run) {
    return isDetailed(run) ? detailedLayout(run) : overviewLayout(run);
}

QImage matrixImage(const RunResult& run) {
    const MatrixPictureLayout layout = matrixPictureLayout(run);
    return layout.detailed ? detailedImage(run, layout) : overviewImage(run, layout);
}

}  // namespace pelmora
