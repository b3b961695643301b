#pragma once
// Saved pictures carry a caption line under them that names the run they show (folder, date
// and the run's identity, as the core words it), so that a picture taken out of its folder
// still says where it comes from.

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

namespace pelmora {

struct RunResult;

// The caption of a picture of `run`.
QString pictureCaption(const RunResult& run);

// The picture `paint` draws into an area of `size`, with `caption` wrapped on a band under it,
// white behind: PNG bytes, or an SVG document titled `title` when `svg`. Empty on failure.
QByteArray captionedPicture(QSize size, const QString& caption, bool svg, const QString& title,
                            const std::function<void(QPainter&, const QRect&)>& paint);

// The height of the band `caption` takes under a picture `width` wide; none for no caption.
int captionBandHeight(int width, const QString& caption);

}  // namespace pelmora
