#pragma once
// The user's settings, which outlast the program: recent cases, recent folders, the sizes
// windows were left at.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstddef>

namespace pelmora {

inline QSettings userSettings() {
    return QSettings(QStringLiteral("Pelmora"), QStringLiteral("Pelmora"));
}

// Puts `place` first in the list kept under `key`, once, and keeps at most `kept` places;
// returns the list as kept.
QStringList rememberPlace(const QString& key, const QString& place, std::size_t kept);

}  // namespace pelmora
