#pragma once
// The analysed texts of a run as a table for Details, a row per text in run order: its name,
// code, the marks that should make the linguist look twice, and its stability once measured.
// Rows are texts by position, never by the name shown.

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "explanation/input_quality.h"
#include "run/run_result.h"
#include "stability/stability.h"

namespace pelmora {

class TextsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, CodeColumn, MarksColumn, StabilityColumn, ColumnCount };
    // The text's position in the run (int), in every column.
    static constexpr int PositionRole = Qt::UserRole + 1;
    // Whether a digit of the text's code is unstable (bool), in every column.
    static constexpr int UnstableRole = Qt::UserRole + 2;

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
        bool near = false;    // a digit within reach of its threshold, as the run marked it
        bool warned = false;  // the file has input warnings
    };
    static QString marks(const Row& row);
    QVariant stabilityData(const TextStability* text, int role) const;

    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunStability> stability_;
    std::vector<Row> rows_;
};

}  // namespace pelmora
