#pragma once
// The path field above the folder tree: a folder typed or pasted there and Enter goes to it, and
// its list holds the folders last run or typed, the latest first, kept in the user's settings
// so that they outlast the program.

#include <QComboBox>
#include <QString>
#include <QStringList>

namespace pelmora {

class FolderPathField : public QComboBox {
    Q_OBJECT

public:
    explicit FolderPathField(QWidget* parent = nullptr);

    // Shows `path` in the field, unless the user is typing there; the list stays as it is.
    void showFolder(const QString& path);
    // Puts `path` first in the list, once, and keeps the list in the user's settings.
    void remember(const QString& path);
    // The list as the user's settings keep it.
    static QStringList recentFolders();

signals:
    // A folder typed (Enter) or chosen from the list, as it stands in the field.
    void folderWanted(const QString& path);

private:
    void showRecent();
};

}  // namespace pelmora
