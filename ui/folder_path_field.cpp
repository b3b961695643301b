#include "ui/folder_path_field.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>

#include "app/recent_places.h"
#include "desktop/user_settings.h"

namespace pelmora {

namespace {

const QString kRecentKey = QStringLiteral("recentFolders");

}  // namespace

FolderPathField::FolderPathField(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("cboFolderPath"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    setToolTip(
        QStringLiteral("Type or paste a folder and press Enter, or choose one of the "
                       "folders last run."));
    lineEdit()->setPlaceholderText(QStringLiteral("Folder"));
    showRecent();
    connect(lineEdit(), &QLineEdit::returnPressed, this,
            [this] { emit folderWanted(currentText()); });
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit folderWanted(itemText(index)); });
}

void FolderPathField::showFolder(const QString& path) {
    if (!lineEdit()->hasFocus()) {
        setEditText(QDir::toNativeSeparators(path));
    }
}

QStringList FolderPathField::recentFolders() {
    return userSettings().value(kRecentKey).toStringList();
}

void FolderPathField::remember(const QString& path) {
    rememberPlace(kRecentKey, path, kMostRecentFolders);
    showRecent();
}

void FolderPathField::showRecent() {
    const QSignalBlocker quiet(this);
    const QString shown = currentText();
    clear();
    addItems(recentFolders());
    setEditText(shown);
}

}  // namespace pelmora
