#pragma once
// The pair matrix as a picture, for "Save PNG…". Up to kDetailedUpTo texts it is drawn whole:
// names on both axes, the strength in every cell, pairs off the norm outlined. Above that it
// is an overview heat map that fits in kMaxPictureSide pixels either way, whatever the corpus.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "run/run_result.h"

namespace pelmora {

inline constexpr int kDetailedUpTo = 200;
inline constexpr int kMaxPictureSide = 8000;

// Cell colour of a strength 0 to 5; strengths below 3 are minimal relationships. Any other
// value, for no pair, is grey.
QColor strengthColour(int strength);

// Where a picture puts its grid. A text takes `pixelsPerText` pixels on both axes; when there
// are more texts than pixels, `textsPerPixel` texts share one, and the pixel shows the
// lowest strength among the pairs it covers, so that no minimal pair is hidden.
struct MatrixPictureLayout {
    bool detailed = false;
    int texts = 0;
    QPoint grid;  // top left of the cell of the first two texts
    int pixelsPerText = 1;
    int textsPerPixel = 1;
    int nameEvery = 1;  // names are written for texts 0, nameEvery, 2 * nameEvery, ...
    QSize size;         // of the whole picture

    // The pixels that show the pair of texts `row` and `column`.
    QRect cellOf(int row, int column) const;
};

MatrixPictureLayout matrixPictureLayout(const RunResult& run);
QImage matrixImage(const RunResult& run);

}  // namespace pelmora
