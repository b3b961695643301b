// "Recent cases": the case files last opened or saved, kept in the user's settings so that
// they outlast the program.

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <string>
#include <vector>

#include "app/recent_places.h"
#include "desktop/user_settings.h"
#include "ui/case_panel.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

const QString kRecentKey = QStringLiteral("recentCases");

}  // namespace

QStringList CasePanel::recentCases() {
    return userSettings().value(kRecentKey).toStringList();
}

void CasePanel::rememberCase() {
    rememberPlace(kRecentKey, casePath_, kMostRecentCases);
    showRecentCases();
}

void CasePanel::showRecentCases() {
    recentMenu_->clear();
    const QStringList recent = recentCases();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent.at(i);
        QAction* action = recentMenu_->addAction(QDir::toNativeSeparators(path));
        action->setObjectName(QStringLiteral("actRecentCase%1").arg(i));
        connect(action, &QAction::triggered, this, [this, path] { openRecentCase(path); });
    }
    if (recent.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("No recent cases"))->setEnabled(false);
    }
}

void CasePanel::openRecentCase(const QString& path) {
    if (QFileInfo::exists(path)) {
        static_cast<void>(openCaseFileAt(path));
        return;
    }
    QStringList recent = recentCases();
    recent.removeAll(path);
    userSettings().setValue(kRecentKey, recent);
    showRecentCases();
    showProblem(QStringLiteral("The case file \"%1\" is no longer there; it is taken off the "
                               "recent cases.")
                    .arg(QDir::toNativeSeparators(path)));
}

}  // namespace pelmora
