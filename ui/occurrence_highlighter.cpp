#include "ui/occurrence_highlighter.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "ui/measure_colours.h"

namespace pelmora {

namespace {

// Long enough to do real work, short enough that input is never kept waiting.
constexpr qint64 kSliceMs = 12;

}  // namespace

OccurrenceHighlighter::OccurrenceHighlighter(QPlainTextEdit* view) : QObject(view), view_(view) {
    shown_.fill(true);
    for (std::size_t m = 0; m < kCountedMeasures.size(); ++m) {
        for (bool inside : {false, true}) {
            QTextCharFormat& f = formats_[m][inside ? 1 : 0];
            f.setProperty(kMeasureProperty, static_cast<int>(m));
            f.setBackground(inside ? insideWordColour(kCountedMeasures[m])
                                   : measureColour(kCountedMeasures[m]));
            if (inside) {
                f.setUnderlineStyle(QTextCharFormat::DotLine);
                f.setUnderlineColor(measureLineColour(kCountedMeasures[m]));
            }
        }
    }
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &OccurrenceHighlighter::slice);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &OccurrenceHighlighter::inSightFirst);
}

void OccurrenceHighlighter::setText(std::shared_ptr<const LoadedText> text) {
    text_ = std::move(text);
    lineGeneration_.assign(text_ ? text_->shown.lines.size() : 0, 0);
    restart();
}

void OccurrenceHighlighter::setShown(Measure measure, bool shown) {
    const std::optional<std::size_t> m = countedPosition(measure);
    if (m && shown_[*m] != shown) {
        shown_[*m] = shown;
        restart(*m);
    }
}

void OccurrenceHighlighter::restart(std::optional<std::size_t> changed) {
    ++generation_;
    pending_ = 0;
    next_ = 0;
    for (std::size_t i = 0; i < lineGeneration_.size(); ++i) {
        // When one measure is switched, only the lines with an occurrence of it change.
        const ShownText::Line& line = text_->shown.lines[i];
        const auto first = text_->shown.spans.begin() + static_cast<std::ptrdiff_t>(line.firstSpan);
        const auto end = text_->shown.spans.begin() + static_cast<std::ptrdiff_t>(line.endSpan);
        if (changed && std::none_of(first, end, [&](const ShownText::Span& s) {
                return s.measure == *changed;
            })) {
            lineGeneration_[i] = generation_;
        } else {
            ++pending_;
        }
    }
    if (pending_ == 0) {
        timer_.stop();
        emit done();
        return;
    }
    inSightFirst();
    timer_.start();
}

void OccurrenceHighlighter::inSightFirst() {
    if (pending_ == 0) {
        return;
    }
    const int first = view_->cursorForPosition(QPoint(0, 0)).blockNumber();
    const std::vector<ShownText::Line>& lines = text_->shown.lines;
    next_ = static_cast<std::size_t>(
        std::lower_bound(lines.begin(), lines.end(), first,
                         [](const ShownText::Line& l, int block) { return l.block < block; }) -
        lines.begin());
}

void OccurrenceHighlighter::slice() {
    if (!text_) {
        timer_.stop();
        return;
    }
    QTextDocument* document = view_->document();
    const std::vector<ShownText::Line>& lines = text_->shown.lines;
    const std::vector<ShownText::Span>& spans = text_->shown.spans;
    QElapsedTimer clock;
    clock.start();
    // The lines changed in one stretch, marked for a new layout together.
    int dirtyFrom = -1, dirtyTo = -1;
    const auto markDirty = [&] {
        if (dirtyFrom >= 0) {
            document->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
        }
        dirtyFrom = -1;
    };
    QTextBlock block;
    while (pending_ > 0 && clock.elapsed() < kSliceMs) {
        if (next_ >= lines.size()) {
            next_ = 0;
            markDirty();
        }
        const std::size_t at = next_++;
        if (lineGeneration_[at] == generation_) {
            continue;
        }
        lineGeneration_[at] = generation_;
        const ShownText::Line& line = lines[at];
        --pending_;
        // Walk on to a line close ahead; look further ones up.
        constexpr int kWalk = 64;
        if (!block.isValid() || block.blockNumber() > line.block ||
            block.blockNumber() + kWalk < line.block) {
            block = document->findBlockByNumber(line.block);
        }
        while (block.isValid() && block.blockNumber() < line.block) {
            block = block.next();
        }
        if (!block.isValid()) {
            continue;
        }
        QList<QTextLayout::FormatRange> ranges;
        for (std::size_t k = line.firstSpan; k < line.endSpan; ++k) {
            const ShownText::Span& s = spans[k];
            if (s.measure < shown_.size() && shown_[s.measure] && s.length > 0) {
                ranges.append({s.start, s.length, formats_[s.measure][s.insideWord ? 1 : 0]});
            }
        }
        block.layout()->setFormats(ranges);
        const int end = block.position() + block.length();
        dirtyFrom = dirtyFrom < 0 ? block.position() : dirtyFrom;
        dirtyTo = end;
    }
    markDirty();
    if (pending_ == 0) {
        timer_.stop();
        emit done();
    }
}

}  // namespace pelmora
