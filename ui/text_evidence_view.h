#pragma once
// The selected text of a run, word by word: the text whole with every counted occurrence
// coloured by its measure, a legend that switches each measure on and off, the digits with
// their rules, the text's input warnings, and the concordance lines of whatever measure,
// digit or density bar was chosen, counted by form. The text is read again in the background
// and checked against the run; a newer selection always wins over an older one.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "explanation/input_quality.h"
#include "run/run_result.h"
#include "ui/text_loading.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QSortFilterProxyModel;
class QSplitter;
class QTableView;
class QTextDocument;

namespace pelmora {

class ConcordanceModel;
class JobRunner;
class OccurrenceHighlighter;

class TextEvidenceView : public QWidget {
    Q_OBJECT

public:
    explicit TextEvidenceView(QWidget* parent = nullptr);
    ~TextEvidenceView() override;

    void showText(std::shared_ptr<const RunResult> run, int position);
    void clear();
    // Lists every occurrence of these measures, in text order.
    void listMeasures(std::vector<Measure> measures);
    // Scrolls the text to the occurrence of a concordance row, as shown, and marks it.
    void showRow(int row);

    // Reading the text asked for last.
    bool isLoading() const { return loading_; }
    QPlainTextEdit* text() const { return text_; }
    QListWidget* legend() const { return legend_; }
    QListWidget* digits() const { return digits_; }
    QTableView* concordance() const { return concordance_; }
    // The text and its lists over the concordance.
    QSplitter* split() const { return split_; }
    // The concordance as shown: sorted by the column clicked, filtered by the line above it.
    QSortFilterProxyModel* concordanceShown() const { return shownLines_; }
    const ConcordanceModel* model() const { return model_; }
    const OccurrenceHighlighter* highlighter() const { return highlighter_; }
    QString statusLine() const;
    QString warningsLine() const;
    QString formsLine() const;

signals:
    // The text asked for last has been read: shown, or why not said.
    void textShown();
    // "Words counted in Help" chosen on a measure of the legend.
    void wordsHelpRequested(Measure measure);

private:
    // The parts of the constructor: the concordance table, and every part in its place.
    void buildConcordance();
    void layOutParts();
    // Empties the text and the concordance until another text is read.
    void dropText();
    void apply(const TextLoad& load);
    void showForms();
    void measureSwitched(QListWidgetItem* item);

    std::shared_ptr<const RunResult> run_;
    std::vector<FileQuality> quality_;
    int position_ = -1;
    bool loading_ = false;
    // Reads the text asked for last; a newer request abandons the load before it.
    JobRunner* runner_ = nullptr;
    std::vector<Measure> listed_;  // kept from text to text
    std::shared_ptr<const LoadedText> loaded_;
    SharedDocument document_;
    QTextDocument* blank_ = nullptr;

    QLabel* warnings_ = nullptr;
    QLabel* status_ = nullptr;
    QListWidget* legend_ = nullptr;
    QListWidget* digits_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* forms_ = nullptr;
    QTableView* concordance_ = nullptr;
    QSplitter* split_ = nullptr;
    ConcordanceModel* model_ = nullptr;
    QSortFilterProxyModel* shownLines_ = nullptr;
    OccurrenceHighlighter* highlighter_ = nullptr;
};

}  // namespace pelmora
