#pragma once
// How every view marks what the stability figures warn of, so that the marks read alike in
// Details and the matrix.

#include <QColor>
#include <QString>

namespace pelmora {

// The background of a text with an unstable digit.
inline QColor unstableTint() {
    return QColor(0xff, 0xe1, 0xa8);
}
// Before the name of a text with an unstable digit.
inline QString unstableMark() {
    return QStringLiteral("\u2248 ");
}
// The corner of a fragile pair's cell.
inline QColor fragileColour() {
    return QColor(0x6a, 0x1b, 0x9a);
}

}  // namespace pelmora
