#include "desktop/user_settings.h"

#include <string>
#include <vector>

#include "app/recent_places.h"

namespace pelmora {

QStringList rememberPlace(const QString& key, const QString& place, std::size_t kept) {
    QSettings settings = userSettings();
    std::vector<std::string> recent;
    for (const QString& p : settings.value(key).toStringList()) {
        recent.push_back(p.toStdString());
    }
    QStringList shown;
    for (const std::string& p : withRecentPlace(std::move(recent), place.toStdString(), kept)) {
        shown.append(QString::fromStdString(p));
    }
    settings.setValue(key, shown);
    return shown;
}

}  // namespace pelmora
