#pragma once
// The pair matrix drawn whole: names on both axes, cells coloured from minimal to identical,
// pairs off the norm outlined. The window shows it and "Save PNG…" writes it.

#include <QColor>
#include <QImage>

#include "run/run_result.h"

namespace pelmora {

// Cell colour of a strength 0 to 5; strengths below 3 are minimal relationships.
QColor strengthColour(int strength);

QImage matrixImage(const RunResult& run);

}  // namespace pelmora
