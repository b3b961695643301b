#pragma once
// The occurrences of some measures of one text as concordance lines: the context before, the
// match and the context after, each line made only when it is shown, so that the table costs
// the same for ten lines as for a hundred thousand.

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "explanation/concordance.h"

namespace pelmora {

class ConcordanceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Left, Match, Right, MeasureColumn, Word, ColumnCount };
    // What a column sorts by, ignoring case: the context before by its words from the match
    // backwards, so that lines group by the word before the match; every other as shown.
    static constexpr int SortRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // A new text lists nothing until measures are chosen.
    void setText(std::shared_ptr<const TextOccurrences> text);
    // Every occurrence of any of `measures`, in text order.
    void list(std::vector<Measure> measures);
    const std::vector<Measure>& measures() const { return measures_; }
    // The occurrence a row shows, by its position among the text's occurrences; -1 beyond
    // the rows.
    int occurrenceAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const TextOccurrences> text_;
    std::vector<Measure> measures_;
    std::vector<int> rows_;  // occurrence positions
};

}  // namespace pelmora
