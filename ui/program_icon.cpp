#include "ui/program_icon.h"

#include <QApplication>
#include <QIcon>

namespace pelmora {

void useProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/pelmora.png").arg(size));
    }
    QApplication::setWindowIcon(icon);
}

}  // namespace pelmora
