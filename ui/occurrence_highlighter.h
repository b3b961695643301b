#pragma once
// Colours a text's counted occurrences in the text view's document, line by line and a slice
// at a time, so that a long text never holds up the window: the lines in sight go first, the
// rest follow while the window stays free. Every range it lays carries its measure as
// kMeasureProperty, whole-word occurrences filled, those inside longer words lighter and
// underlined with dots.

#include <QObject>
#include <QTextCharFormat>
#include <QTextFormat>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/occurrences.h"
#include "ui/text_loading.h"

class QPlainTextEdit;

namespace pelmora {

class OccurrenceHighlighter : public QObject {
    Q_OBJECT

public:
    // The measure's position in kCountedMeasures.
    static constexpr int kMeasureProperty = QTextFormat::UserProperty + 1;

    explicit OccurrenceHighlighter(QPlainTextEdit* view);

    // Starts over on the text the view now shows; nothing to colour when it is null.
    void setText(std::shared_ptr<const LoadedText> text);
    void setShown(Measure measure, bool shown);
    // Every line holds the ranges of the measures shown.
    bool isDone() const { return pending_ == 0; }

signals:
    void done();

private:
    // Every line again, or only those with an occurrence of the measure at `changed`.
    void restart(std::optional<std::size_t> changed = std::nullopt);
    void inSightFirst();
    void slice();

    QPlainTextEdit* view_;
    std::shared_ptr<const LoadedText> text_;
    // Of each line with occurrences: the generation of the ranges it holds.
    std::vector<unsigned> lineGeneration_;
    std::array<bool, kCountedMeasures.size()> shown_;
    std::array<std::array<QTextCharFormat, 2>, kCountedMeasures.size()> formats_;
    unsigned generation_ = 0;
    std::size_t pending_ = 0;  // lines still to colour
    std::size_t next_ = 0;     // the line to look at next
    QTimer timer_;
};

}  // namespace pelmora
