#include "ui/metadata_model.h"

#include <algorithm>

#include "ui/text_bridge.h"

namespace pelmora {

void MetadataModel::setFolder(std::vector<std::string> nameBytes, QStringList shown) {
    if (nameBytes == names_ && shown == shown_) {
        return;
    }
    beginResetModel();
    if (nameBytes != names_) {
        metadata_ = Metadata{};
    }
    names_ = std::move(nameBytes);
    shown_ = std::move(shown);
    endResetModel();
    emit metadataChanged();
}

void MetadataModel::setMetadata(Metadata metadata) {
    beginResetModel();
    metadata_ = std::move(metadata);
    endResetModel();
    emit metadataChanged();
}

Role MetadataModel::roleAt(int row) const {
    if (row < 0 || row >= static_cast<int>(names_.size())) {
        return Role::None;
    }
    return metadata_.roleOf(names_[static_cast<std::size_t>(row)]);
}

void MetadataModel::setRole(const std::vector<int>& rows, Role role) {
    bool changed = false;
    for (const int row : rows) {
        if (row >= 0 && row < static_cast<int>(names_.size()) && roleAt(row) != role) {
            metadata_.setRole(names_[static_cast<std::size_t>(row)], role);
            changed = true;
        }
    }
    if (changed) {
        // A first role may have added the role column to the table: every cell may move.
        beginResetModel();
        endResetModel();
        emit metadataChanged();
    }
}

MetadataRow& MetadataModel::rowFor(const std::string& nameBytes) {
    if (metadata_.row(nameBytes) == nullptr) {
        metadata_.rows.push_back(MetadataRow{
            nameBytes, Role::None, std::vector<std::string>(metadata_.valueColumns().size())});
    }
    return *std::find_if(metadata_.rows.begin(), metadata_.rows.end(),
                         [&](const MetadataRow& r) { return r.nameBytes == nameBytes; });
}

int MetadataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

int MetadataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0
                            : FirstValueColumn + static_cast<int>(metadata_.valueColumns().size());
}

QVariant MetadataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (role == RoleLetterRole) {
        return toQt(std::string(roleLetter(roleAt(index.row()))));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    if (index.column() == FileColumn) {
        return row < static_cast<std::size_t>(shown_.size()) ? shown_[static_cast<qsizetype>(row)]
                                                             : toQt(names_[row]);
    }
    if (index.column() == RoleColumn) {
        const Role r = roleAt(index.row());
        return r == Role::None ? QString() : toQt(std::string(roleName(r)));
    }
    const MetadataRow* found = metadata_.row(names_[row]);
    const auto value = static_cast<std::size_t>(index.column() - FirstValueColumn);
    return found != nullptr && value < found->values.size() ? toQt(found->values[value])
                                                            : QString();
}

bool MetadataModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == FileColumn) {
        return false;
    }
    const std::string text = fromQt(value.toString());
    if (index.column() == RoleColumn) {
        const std::optional<Role> given = roleFromText(text);
        if (!given) {
            return false;  // the cell keeps the role it had
        }
        setRole({index.row()}, *given);
        return true;
    }
    MetadataRow& row = rowFor(names_[static_cast<std::size_t>(index.row())]);
    row.values[static_cast<std::size_t>(index.column() - FirstValueColumn)] = text;
    emit dataChanged(index, index);
    emit metadataChanged();
    return true;
}

Qt::ItemFlags MetadataModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() != FileColumn ? flags | Qt::ItemIsEditable : flags;
}

QVariant MetadataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section == FileColumn) {
        return toQt(std::string(Metadata::kFileColumn));
    }
    if (section == RoleColumn) {
        return toQt(std::string(Metadata::kRoleColumn));
    }
    return toQt(metadata_.valueColumns()[static_cast<std::size_t>(section - FirstValueColumn)]);
}

QComboBox* roleChoice(QWidget* parent, const char* objectName) {
    auto* choice = new QComboBox(parent);
    choice->setObjectName(QString::fromLatin1(objectName));
    choice->addItem(QStringLiteral("Every role"));
    for (const Role role : {Role::Questioned, Role::Known, Role::Reference, Role::None}) {
        const QString name = toQt(std::string(roleName(role)));
        choice->addItem(
            role == Role::None ? QStringLiteral("No role") : name.at(0).toUpper() + name.mid(1),
            toQt(std::string(roleLetter(role))));
    }
    return choice;
}

}  // namespace pelmora
