#pragma once
// The user's settings, which outlast the program: recent cases, recent folders.

#include <QSettings>

namespace pelmora {

inline QSettings userSettings() {
    return QSettings(QStringLiteral("Pelmora"), QStringLiteral("Pelmora"));
}

}  // namespace pelmora
