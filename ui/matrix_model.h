#pragma once
// The strengths of a run as a table, texts by texts in run order. Every cell is read from the
// run's pairs when a view asks for it, so a corpus of thousands of texts costs no more than
// the cells on screen.

#include <QAbstractTableModel>
#include <memory>

#include "run/run_result.h"

namespace pelmora {

class MatrixModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Whether the cell's pair is off the norm (bool), beside the standard roles.
    static constexpr int SignificantRole = Qt::UserRole + 1;

    explicit MatrixModel(QObject* parent = nullptr);

    // Resets the model, also when it is the run already shown.
    void setRun(std::shared_ptr<const RunResult> run);
    const std::shared_ptr<const RunResult>& run() const { return run_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: the strength (nothing on the diagonal or for texts that form no pair);
    // background: its colour; font: bold off the norm; tooltip: both texts and the evidence.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Display: the text's name; tooltip: the name and its type code.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant pairData(int row, int column, int role) const;

    std::shared_ptr<const RunResult> run_;
};

}  // namespace pelmora
