#pragma once
// Conversions between the stores' UTF-8 texts and the toolkit's strings. Stores keep the
// CR LF line ends of a multi-line text box; widgets show plain line feeds.

#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

class QWidget;

namespace pelmora {

QString toQt(const std::string& text);
std::string fromQt(const QString& text);

// A store text as a widget shows it: every CR LF becomes one line feed.
QString shownText(const std::string& text);
// A text typed into a multi-line widget as the store holds it: every line feed becomes
// CR LF, so that the analysis separates words across line breaks.
std::string typedText(const QString& text);

// A clipboard copy is one string in memory, twice over as the toolkit holds it: more lines than
// this are not copied (tests lower it).
inline std::int64_t mostCopiedLines = 5'000'000;
// When `lines` are too many to copy, says so next to `parent`, without blocking, and returns
// true.
bool refusedAsTooLongToCopy(QWidget* parent, std::int64_t lines);

QString pathToQt(const std::filesystem::path& path);
std::filesystem::path pathFromQt(const QString& path);

}  // namespace pelmora
