#pragma once
// The strengths of a run as a table, texts by texts in run order or in blocks by role. Every
// cell is read from the run's pairs by the texts' positions when a view asks for it, so a
// corpus of thousands of texts costs no more than the cells on screen. Once the run's stability
// is given, fragile pairs and texts with an unstable digit are marked.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <memory>

#include "case/matrix_filter.h"
#include "case/role_order.h"
#include "run/run_result.h"
#include "stability/stability.h"

namespace pelmora {

class MatrixModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Whether the cell's pair is off the norm (bool), beside the standard roles.
    static constexpr int SignificantRole = Qt::UserRole + 1;
    // Whether the cell's pair is fragile (bool).
    static constexpr int FragileRole = Qt::UserRole + 2;
    // In the headers: whether a digit of the text's code is unstable (bool).
    static constexpr int UnstableRole = Qt::UserRole + 3;
    // In blocks by role, where the cell's row (kTopEdge) or column (kLeftEdge) begins a
    // block: the flags (int).
    static constexpr int BlockEdgeRole = Qt::UserRole + 4;
    static constexpr int kTopEdge = 1;
    static constexpr int kLeftEdge = 2;

    explicit MatrixModel(QObject* parent = nullptr);

    // Resets the model, also when it is the run already shown.
    void setRun(std::shared_ptr<const RunResult> run);
    const std::shared_ptr<const RunResult>& run() const { return run_; }
    // Taken only when `of` is the run shown; nothing takes the marks away. A new run drops it.
    void setStability(const std::shared_ptr<const RunResult>& of,
                      std::shared_ptr<const RunStability> stability);
    const std::shared_ptr<const RunStability>& stability() const { return stability_; }
    // Rows and columns in `order`, each name after its role's letter; an empty order (or one
    // of another number of texts) is run order. A new run drops it.
    void setOrder(RoleOrder order);
    // The position in the run of the text of row or column `section`.
    int positionAt(int section) const;
    // The role of the text of `section` in blocks by role; nothing in run order.
    std::optional<Role> roleAt(int section) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: the strength (nothing on the diagonal or for texts that form no pair);
    // background: its colour; font: bold off the norm; tooltip: both texts and the evidence,
    // and the stability of both and of the pair once measured.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Display: the text's name, marked when a digit is unstable; tooltip: the name, its type
    // code and its stability.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant pairData(int row, int column, int role) const;
    // Whether `section` begins a block of the order.
    bool beginsBlock(int section) const;

    std::shared_ptr<const RunResult> run_;
    std::shared_ptr<const RunStability> stability_;
    RoleOrder order_;
};

// The matrix filtered: only the texts kept, in the same order as rows and as columns, and of
// their cells only the pairs the filter keeps (the others blank, as texts that form no pair).
class MatrixFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // `kept` by text position, as keptTexts gives it; empty keeps every text.
    void setKept(std::vector<bool> kept, MatrixFilter filter);
    const MatrixFilter& filter() const { return filter_; }
    // The position in the run of the text of row or column `section`.
    int positionAt(int section) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool filterAcceptsColumn(int column, const QModelIndex& parent) const override;

private:
    const MatrixModel* matrix() const;
    bool keepsSection(int section) const;
    // In blocks by role, whether the kept `section` begins a block.
    bool beginsBlock(int section) const;

    std::vector<bool> kept_;
    MatrixFilter filter_;
};

}  // namespace pelmora
