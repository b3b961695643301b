#pragma once
// One colour for each counted measure, shared by the text view, its legend and the charts:
// light enough that black text stays readable on it, and told apart from the others.

#include <QColor>
#include <QIcon>
#include <cstddef>
#include <optional>

#include "forms/form1.h"

namespace pelmora {

// Where a measure stands among the counted measures, which the view and its legend follow;
// nothing for a measure that counts no words.
std::optional<std::size_t> countedPosition(Measure measure);

// The fill of an occurrence; grey for a measure that counts no words.
QColor measureColour(Measure measure);
// The fill of an occurrence inside a longer word: the same, lighter.
QColor insideWordColour(Measure measure);
// For lines and outlines in the measure's colour.
QColor measureLineColour(Measure measure);
// A small square of the measure's colour, for legends.
QIcon measureSwatch(Measure measure);

}  // namespace pelmora
