#pragma once
// How a line of a composed text becomes a row of the report box: the text a row holds, and
// the text drawn for it.

#include <QString>
#include <cstdint>
#include <string_view>

namespace pelmora {

// Selections of more rows than this are copied under a wait cursor.
inline constexpr std::int64_t kWaitCursorRows = 100000;

// A line of the store as its row shows it: without the LF and a CR before it. Decoding the
// line end along keeps a broken sequence before it decoded as in the whole text.
QString shownLine(std::string_view line);

// Control characters are drawn as their pictures, one for one, so columns stay put; a line or
// paragraph separator would otherwise break the row.
QString drawnText(const QString& row);

}  // namespace pelmora
