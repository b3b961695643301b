#pragma once
// The metadata of the texts of the folder shown, as an editable table: a row per text of the
// folder in its order, the file, its role and every other column of the table. It holds the
// case's one Metadata; the file list, the case window and the exports read it from here.

#include <QAbstractTableModel>
#include <QComboBox>
#include <QString>
#include <string>
#include <vector>

#include "case/metadata.h"

namespace pelmora {

class MetadataModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileColumn, RoleColumn, FirstValueColumn };
    // The role's letter ("Q", "K", "R"; empty for none), in every column: the filter by role.
    static constexpr int RoleLetterRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // The texts of the folder shown: exact name bytes and the names as shown. Another folder
    // drops the metadata; the same names keep it.
    void setFolder(std::vector<std::string> nameBytes, QStringList shown);
    const std::vector<std::string>& folderNames() const { return names_; }
    const Metadata& metadata() const { return metadata_; }
    // Replaces the metadata; every row of it must name a text of the folder.
    void setMetadata(Metadata metadata);

    Role roleAt(int row) const;
    // Gives the texts of these rows one role.
    void setRole(const std::vector<int>& rows, Role role);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The metadata changed in any way: a role, a value, a new table or another folder.
    void metadataChanged();

private:
    // The text's row of the metadata, added with empty values when it has none.
    MetadataRow& rowFor(const std::string& nameBytes);

    std::vector<std::string> names_;
    QStringList shown_;
    Metadata metadata_;
};

// A choice named `objectName` of "Every role" and each role, "No role" last; each item's data
// is its role letter (none for every role).
[[nodiscard]] QComboBox* roleChoice(QWidget* parent, const char* objectName);

}  // namespace pelmora
