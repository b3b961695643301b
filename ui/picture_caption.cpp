#include "ui/picture_caption.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "exports/run_names.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

constexpr int kCaptionPixels = 12;  // the caption's size, whatever the screen's resolution
constexpr int kCaptionMargin = 6;
constexpr int kCaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere;

QFont captionFont() {
    QFont font;
    font.setPixelSize(kCaptionPixels);
    return font;
}

QRect captionText(int width, const QString& caption) {
    const QRect room(0, 0, std::max(1, width - 2 * kCaptionMargin), 1 << 20);
    return QFontMetrics(captionFont()).boundingRect(room, kCaptionFlags, caption);
}

void paintWhole(QPainter& painter, QSize size, const QString& caption,
                const std::function<void(QPainter&, const QRect&)>& paint) {
    const int band = captionBandHeight(size.width(), caption);
    painter.fillRect(QRect(0, 0, size.width(), size.height() + band), Qt::white);
    paint(painter, QRect(QPoint(0, 0), size));
    painter.setFont(captionFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(kCaptionMargin, size.height(), size.width() - 2 * kCaptionMargin, band),
                     kCaptionFlags, caption);
}

}  // namespace

QString pictureCaption(const RunResult& run) {
    return toQt(runCaption(run));
}

int captionBandHeight(int width, const QString& caption) {
    return caption.isEmpty() ? 0 : captionText(width, caption).height() + 2 * kCaptionMargin;
}

QByteArray captionedPicture(QSize size, const QString& caption, bool svg, const QString& title,
                            const std::function<void(QPainter&, const QRect&)>& paint) {
    const QSize whole(size.width(), size.height() + captionBandHeight(size.width(), caption));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(whole);
        generator.setViewBox(QRect(QPoint(0, 0), whole));
        generator.setTitle(title);
        QPainter painter(&generator);
        paintWhole(painter, size, caption, paint);
        return painter.end() ? bytes : QByteArray();
    }
    QImage image(whole, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        paintWhole(painter, size, caption, paint);
    }
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

}  // namespace pelmora
