// Throughput of the full analysis of one text, on generated English prose.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "analysis/occurrences.h"

namespace pelmora {
namespace {

// Common English words, most frequent first, with a few key, modal and affect words and
// contractions among them; drawn with Zipf-like weights.
const std::vector<std::string> kWords = {
    "the",     "of",        "and",        "to",      "a",        "in",      "that",    "it",
    "was",     "he",        "I",          "for",     "on",       "is",      "with",    "as",
    "his",     "you",       "had",        "at",      "by",       "be",      "not",     "she",
    "but",     "from",      "her",        "this",    "they",     "have",    "which",   "or",
    "were",    "one",       "we",         "all",     "an",       "said",    "there",   "their",
    "been",    "would",     "will",       "when",    "who",      "if",      "so",      "no",
    "him",     "my",        "what",       "up",      "out",      "into",    "then",    "them",
    "could",   "more",      "me",         "like",    "time",     "some",    "about",   "over",
    "only",    "very",      "man",        "little",  "upon",     "went",    "know",    "must",
    "should",  "before",    "now",        "came",    "made",     "great",   "down",    "good",
    "after",   "well",      "it's",       "don't",   "I'm",      "didn't",  "can't",   "thought",
    "felt",    "knew",      "took",       "brought", "looked",   "turned",  "asked",   "seemed",
    "heart",   "love",      "happy",      "pain",    "sorry",    "need",    "ought",   "shall",
    "however", "house",     "night",      "hand",    "face",     "door",    "room",    "away",
    "mother",  "father",    "children",   "morning", "letter",   "moment",  "voice",   "money",
    "nothing", "something", "everything", "perhaps", "although", "because", "through", "against",
};

std::string englishText(std::size_t bytes, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<double> weights;
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        weights.push_back(1.0 / static_cast<double>(i + 2));
    }
    std::discrete_distribution<std::size_t> word(weights.begin(), weights.end());
    std::uniform_int_distribution<int> sentence(6, 24);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text;
    text.reserve(bytes + 200);
    while (text.size() < bytes) {
        const int n = sentence(rng);
        const bool quoted = percent(rng) < 10;
        if (quoted) {
            text += '"';
        }
        for (int i = 0; i < n; ++i) {
            std::string w = kWords[word(rng)];
            if (i == 0) {
                w[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
            }
            text += w;
            if (i + 1 < n) {
                text += percent(rng) < 8 ? ", " : " ";
            }
        }
        text += percent(rng) < 10 ? "?" : ".";
        if (quoted) {
            text += '"';
        }
        text += percent(rng) < 15 ? "\r\n\r\n" : " ";
    }
    text.resize(bytes);
    return text;
}

void analyse(ProgramContext& context, const std::string& text, const std::string& name) {
    Form1& form = context.form1();
    form.Text1.setText(text);
    form.txtFileName.setText(name);
    Form1Commands(context).cmdDoItAll();
    Form1Commands(context).cmdReset();
}

void BM_OneMebibyteText(benchmark::State& state) {
    const std::string text = englishText(1 << 20, 1);
    ProgramContext context;
    for (auto _ : state) {
        analyse(context, text, "large.txt");
        Form1Commands(context).cmdTotalReset();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_OneMebibyteText)->Unit(benchmark::kMillisecond);

// Every counted word of a text found again and placed in the text as read.
void BM_OccurrencesOfOneMebibyte(benchmark::State& state) {
    const std::string text = englishText(1 << 20, 1);
    std::size_t found = 0;
    for (auto _ : state) {
        found = findOccurrences(text).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["occurrences"] = static_cast<double>(found);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_OccurrencesOfOneMebibyte)->Unit(benchmark::kMillisecond);

void BM_HundredTextsOfTenKibibytes(benchmark::State& state) {
    std::vector<std::string> texts;
    for (std::uint32_t i = 0; i < 100; ++i) {
        texts.push_back(englishText(10 << 10, 100 + i));
    }
    ProgramContext context;
    for (auto _ : state) {
        // As the batch run: a reset after every text, the gathered codes growing to 100.
        for (std::size_t i = 0; i < texts.size(); ++i) {
            analyse(context, texts[i], "text " + std::to_string(i) + ".txt");
        }
        Form1Commands(context).cmdTotalReset();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 100 * (10 << 10));
}
BENCHMARK(BM_HundredTextsOfTenKibibytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelmora
