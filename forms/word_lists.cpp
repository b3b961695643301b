#include "forms/form1.h"
#include "rules/feature_names.h"

namespace pelmora {

// Order is behaviour: the counters address entries by position.
const std::array<const char*, 98> kWordsOfAffect = {
    "ache",        "ached",       "aches",        "angst",          "anxiety",     "anxious",
    "anxiously",   "apathy",      "apprehensive", "apprehensively", "bad",         "badly",
    "best",        "cheerful",    "cheerfully",   "contented",      "desperate",   "desperately",
    "desperation", "detest",      "detested",     "detests",        "detesting",   "distress",
    "distresses",  "distressing", "euphoric",     "feel",           "feeling",     "feelings",
    "feels",       "felt",        "frustrated",   "frustrating",    "frustration", "frustrations",
    "greatest",    "happily",     "happy",        "hate",           "hated",       "hatred",
    "hates",       "hating",      "heart",        "heartache",      "heartbreak",  "heartbreaking",
    "horrified",   "horror",      "horrors",      "loathe",         "loathed",     "loathes",
    "loathing",    "longed",      "longing",      "longs",          "love",        "loves",
    "loved",       "loving",      "miseries",     "misery",         "nerve",       "nerves",
    "nervous",     "nervously",   "pain",         "painful",        "pains",       "peace",
    "peaceful",    "poorly",      "rest",         "restful",        "rough",       "sad",
    "sadly",       "scared",      "severe",       "severely",       "sore",        "sorely",
    "sorrow",      "sorrowful",   "sorrows",      "sorry",          "terrified",   "terror",
    "terrors",     "torture",     "tortures",     "tremendous",     "unnerved",    "unnerving",
    "worse",       "worst",
};

const std::array<const char*, 46> kKeyFunctionWords = {
    "the",     "a",      "an",      "it",    "it's",    "if",     "however", "then",
    "I'm",     "I'll",   "I've",    "I",     "I'd",     "you",    "you're",  "you'll",
    "you've",  "you'd",  "he",      "she",   "he's",    "he'll",  "he'd",    "she's",
    "she'll",  "she'd",  "we",      "we'll", "we're",   "we've",  "we'd",    "they'll",
    "they're", "they'd", "they've", "and",   "knew",    "bought", "said",    "brought",
    "took",    "went",   "was",     "were",  "thought", "felt",
};

const std::array<const char*, 9> kModalVerbs = {
    "will", "shall", "must", "need", "needs", "should", "shouldn't", "ought", "oughtn't",
};

namespace {

template <std::size_t N>
ListStore loaded(const std::array<const char*, N>& words) {
    ListStore list;
    list.reserve(static_cast<int>(N));
    for (const char* word : words) {
        list.append(word);
    }
    return list;
}

}  // namespace

void Form1::Form_Load() {
    // Loaded once per text of a run: the lists share one load until a text changes them.
    static const ListStore affect = loaded(kWordsOfAffect);
    static const ListStore keyWords = loaded(kKeyFunctionWords);
    static const ListStore types = loaded(kFeatureNames);
    for (auto [list, words] :
         {std::pair{&lstWordsOfAffect, &affect}, std::pair{&lstKeyFunctionWords, &keyWords},
          std::pair{&lstTypes, &types}}) {
        if (list->empty()) {
            *list = *words;
        } else {
            for (const std::string& word : words->items()) {
                list->append(word);
            }
        }
    }
}

}  // namespace pelmora
