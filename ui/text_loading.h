#pragma once
// A text of a run read again for the text view, away from the window's thread: its
// occurrences as the core finds them, and a document of it in which each one is placed.

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>

#include "explanation/concordance.h"
#include "run/run_result.h"
#include "ui/shown_text.h"

class QFont;
class QTextDocument;
class QThread;

namespace pelmora {

struct LoadedText {
    int position = -1;
    QString problem;        // why the text is not shown whole, when it is not
    TextOccurrences found;  // nothing when the file could not be read or has changed
    ShownText shown;        // where each occurrence stands in the document; its text dropped
};

// Made on a worker thread and handed over to `target`; deleted there when dropped.
using SharedDocument = std::shared_ptr<QTextDocument>;

struct TextLoad {
    std::shared_ptr<const LoadedText> text;  // null when given up
    SharedDocument document;                 // null when there is nothing to show
};

// Decoded texts larger than this have their occurrences listed but are not shown whole: the
// window would hold several times their size.
inline constexpr std::size_t kShownTextLimit = std::size_t{16} << 20;

// Reads the text at `position` of `run` again, checked against what the run measured. Gives
// up, with nothing, as soon as `stale` says that a newer request has come.
TextLoad loadText(const RunResult& run, int position, const QFont& font, QThread* target,
                  const std::function<bool()>& stale, std::size_t shownLimit = kShownTextLimit);

}  // namespace pelmora
