#include "ui/text_loading.h"

#include <QFont>
#include <QTextDocument>
#include <QThread>

#include "ui/text_bridge.h"

namespace pelmora {

TextLoad loadText(const RunResult& run, int position, const QFont& font, QThread* target,
                  const std::function<bool()>& stale, std::size_t shownLimit) {
    if (stale() || position < 0 || position >= static_cast<int>(run.texts.size())) {
        return {};
    }
    auto loaded = std::make_shared<LoadedText>();
    loaded->position = position;
    Result<TextOccurrences> found =
        occurrencesOf(run, run.texts[static_cast<std::size_t>(position)]);
    if (!found.ok()) {
        loaded->problem = toQt(found.error().message);
        return {loaded, nullptr};
    }
    loaded->found = std::move(found.value());
    if (loaded->found.text.size() > shownLimit) {
        loaded->problem = QStringLiteral(
                              "This text is too large to show here (%1 MB); its counted words are "
                              "listed below.")
                              .arg(static_cast<double>(loaded->found.text.size()) / 1e6, 0, 'f', 1);
        return {loaded, nullptr};
    }
    if (stale()) {
        return {};
    }
    loaded->shown = shownTextOf(loaded->found.text, loaded->found.occurrences);
    if (stale()) {
        return {};
    }
    SharedDocument document(new QTextDocument, [](QTextDocument* d) { d->deleteLater(); });
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(font);
    document->setPlainText(loaded->shown.text);
    loaded->shown.text.clear();
    loaded->shown.text.squeeze();
    document->moveToThread(target);
    return {loaded, document};
}

}  // namespace pelmora
