#pragma once
// The analysed texts of a run as a table for Details, a row per text in run order: its name,
// code, the marks that should make the linguist look twice, its stability once measured and
// its input warnings. Rows are texts by position, never by the name shown; a proxy sorts and
// filters them.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <memory>
#include <vector>

#include "explanation/input_quality.h"
#include "run/run_result.h"
#include "stability/stability.h"

namespace pelmora {

class TextsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        NameColumn,
        CodeColumn,
        MarksColumn,
        StabilityColumn,
        WarningsColumn,
        ColumnCount
    };
    // The text's position in the run (int), in every column.
    static constexpr int PositionRole = Qt::UserRole + 1;
    // Whether a digit of the text's code is unstable (bool), in every column.
    static constexpr int UnstableRole = Qt::UserRole + 2;
    // What a column sorts by: the name and code as texts; the marks by the digits near a
    // threshold, then the warnings; the stability by the share keeping the code (-1 where not
    // known), the warnings by their number.
    static constexpr int SortRole = Qt::UserRole + 3;
    // Whether a digit lies near a threshold (bool), and whether the file has warnings (bool).
    static constexpr int NearRole = Qt::UserRole + 4;
    static constexpr int WarnedRole = Qt::UserRole + 5;

    explicit TextsModel(QObject* parent = nullptr);

    // `quality` is the run's. Drops the stability shown.
    void setRun(std::shared_ptr<const RunResult> run, const std::vector<FileQuality>& quality);
    // Taken only when `of` is the run shown; nothing shows "not computed".
    void setStability(const std::shared_ptr<const RunResult>& of,
                      std::shared_ptr<const RunStability> stability);
    const std::shared_ptr<const RunStability>& stability() const { return stability_; }

    // The text position of a row, -1 when there is none.
    int positionAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        int position = 0;
        int nearDigits = 0;  // digits within reach of their thresholds, as the run marked them
        std::vector<std::string> warnings;  // the file's input warnings
    };
    static QString marks(const Row& row);
    QVariant stabilityData(const TextStability* text, int role) const;
    QVariant sortKey(const Row& row, int column) const;

    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunStability> stability_;
    std::vector<Row> rows_;
};

// The texts list as Details shows it: sorted by any column, and filtered to the texts whose
// name holds a part and to those near a threshold, with warnings or unstable.
class TextsFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    enum class Show { Every, NearThreshold, Warned, Unstable };

    explicit TextsFilterModel(QObject* parent = nullptr);

    void setNamePart(const QString& part);
    void setShown(Show show);
    // The text position of a row, -1 when there is none.
    int positionAt(int row) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QString namePart_;
    Show show_ = Show::Every;
};

}  // namespace pelmora
