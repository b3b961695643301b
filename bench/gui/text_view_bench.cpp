// How long the Details window's text view takes to show a 5 MB text and to colour every
// counted word in it, and the longest the window's thread is kept from handling input while
// it does; then the same for switching a measure off and for listing the definite articles.
// Runs offscreen unless a platform is named.

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "analysis/occurrences.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "ui/concordance_model.h"
#include "ui/occurrence_highlighter.h"
#include "ui/text_evidence_view.h"

namespace {

// Prose-like lines of counted and uncounted words, CR LF after each.
std::string generatedText(std::size_t bytes) {
    static const char* const kWords[] = {
        "the",   "a",     "I",       "you",     "he",       "she",    "it",        "it's",
        "was",   "were",  "said",    "walked",  "needed",   "should", "shouldn't", "will",
        "must",  "love",  "feeling", "through", "thought",  "don't",  "we've",     "house",
        "river", "stone", "letter",  "morning", "together", "quiet",  "window",    "road",
        "and",   "of",    "to",      "in",      "that",     "with",   "under",     "\"yes\","};
    std::mt19937 rng(7);
    std::string text;
    text.reserve(bytes + 100);
    std::size_t line = 0;
    while (text.size() < bytes) {
        const std::string word = kWords[rng() % std::size(kWords)];
        text += word;
        line += word.size() + 1;
        if (line > 70) {
            text += ".\r\n";
            line = 0;
        } else {
            text += ' ';
        }
    }
    return text;
}

// The longest time between two turns of the event loop while `until` is false.
struct Stalls {
    qint64 longestMs = 0;
};

qint64 waitFor(const std::function<bool()>& until, Stalls& stalls) {
    QElapsedTimer clock, turn;
    clock.start();
    turn.start();
    while (!until() && clock.elapsed() < 120000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        stalls.longestMs = std::max(stalls.longestMs, turn.restart());
    }
    return clock.elapsed();
}

void report(const char* what, qint64 ms, const Stalls& stalls) {
    std::printf("%-44s %6lld ms; window held up at most %4lld ms at a time\n", what,
                static_cast<long long>(ms), static_cast<long long>(stalls.longestMs));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "text_view_bench: no temporary folder\n");
        return 1;
    }
    const std::string text = generatedText(5u << 20);
    std::ofstream(folder.filePath(QStringLiteral("five megabytes.txt")).toStdString(),
                  std::ios::binary)
        << text;

    QElapsedTimer clock;
    clock.start();
    pelmora::ProgramContext context(folder.path().toStdString());
    pelmora::startProgram(context);
    const auto run = pelmora::runBatch(context);
    std::printf("%.1f MB text, %s words; the run took %lld ms\n",
                static_cast<double>(text.size()) / (1 << 20),
                run->texts.at(0).measures.textLength.c_str(),
                static_cast<long long>(clock.elapsed()));

    pelmora::TextEvidenceView view;
    view.resize(1100, 760);
    view.show();
    QApplication::processEvents();

    Stalls opening;
    clock.restart();
    view.showText(run, 0);
    const qint64 shownMs = waitFor([&] { return !view.isLoading(); }, opening);
    const qint64 colouredMs =
        shownMs + waitFor([&] { return view.highlighter()->isDone(); }, opening);
    std::printf("%zu counted occurrences\n", pelmora::findOccurrences(text).size());
    report("open: text shown", shownMs, opening);
    report("open: every occurrence coloured", colouredMs, opening);

    Stalls toggling;
    auto* item = view.legend()->item(0);
    item->setCheckState(Qt::Unchecked);
    report("contractions switched off, colours redone",
           waitFor([&] { return view.highlighter()->isDone(); }, toggling), toggling);

    clock.restart();
    view.listMeasures({pelmora::Measure::DefiniteArticle});
    QApplication::processEvents();
    const qint64 listedMs = clock.elapsed();
    std::printf("%-44s %6lld ms for %d lines (done on the window's thread)\n",
                "definite articles listed with their forms", static_cast<long long>(listedMs),
                view.model()->rowCount());
    return 0;
}
