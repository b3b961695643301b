// The punctuation clean-up and space normalisation of a text, the counts taken on the way
// (quotes, modal and affect words, key words, "-ed" and "n't"), text length and word-length
// average, and the two shared look-ups GetFreq and AddDensity.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "analysis/normalisation.h"
#include "forms/program_context.h"

namespace pelmora {
namespace {

// The analysis form after the clean-up and counting of `text`.
Form1& principes(ProgramContext& context, const std::string& text) {
    context.form1().Text1.setText(text);
    Form1Commands(context).cmdPrincipes();
    return context.form1();
}

std::string normalised(std::string text) {
    removePunctuation(text);
    padWithSingleSpaces(text);
    return text;
}

TEST(Normalisation, StepsRewriteTheTextInTheirOrder) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "  "},
        {"...!?", "  "},
        {"Mr. Smith", " mr Smith "},
        {"MRS. X met Dr. No", " mrs X met dr No "},
        // « becomes a space only after the "mrs. " step has looked, and then "mrs. " is seen.
        {"Mrs.\u00ABX", " mrs X "},
        {"mr.\u00BBX", " mr X "},
        {"I dont know", " I don't know "},
        {"Dont go", " Dont go "},
        {"I dont.", " I dont "},
        {"x dont dont dont x", " x don't dont don't x "},
        {"x dont cant wont didnt ime youre x", " x don't can't won't didn't I'm you're x "},
        {"He said, \u201Cyes\u201D and left.", " He said \u201Cyes\u201D and left "},
        {"the boys' books", " the boys books "},
        {"don't", " don't "},
        {"don\u2019t", " don't "},
        {"'Stop!", " op "},
        // A curly apostrophe is made straight only after the "'st" step.
        {"\u2019Stop", " 'Stop "},
        {"x \u2019Stop", " x Stop "},
        {"rock 'n' roll", " rock n roll "},
        {"x '' y", " x y "},
        {"x '''", " x '' "},
        {"well-known [1] (see) a;b:c", " well known 1 see abc "},
        {"\u00ABBonjour\u00BB dit-il", " Bonjour dit il "},
        {"a\r\nb\rc\nd", " a b\rc\nd "},
        {"a\r.\nb", " a b "},
        {"a\r'\nb", " a\r'\nb "},
        {"a\tb   c", " a\tb c "},
        {"  lead and trail  ", " lead and trail "},
        {"\"Quoted\" text", " Quoted text "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(normalised(c.text), c.expected) << c.text;
    }
}

TEST(KeyWords, CountWholeWordsBetweenSpacesWithoutOverlap) {
    struct Case {
        const char* text;
        const char* word;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"", "the", 0},
        {"the", "the", 1},
        {"the the", "the", 1},
        {"the the the", "the", 2},
        {"the  the", "the", 1},  // the two spaces collapse to one, which both would need
        {"The THE tHe", "the", 2},
        {"theme other bathe", "the", 0},
        {"the.the", "the", 0},  // the full stop is dropped: "thethe"
        {"the, the", "the", 1},
        {"i think I am", "I", 2},
        {"It's it. its", "it", 1},
        {"It's it. its", "it's", 1},
        {"I'm I\u2019m", "I'm", 1},  // shared space again
        {"I'm and I\u2019m", "I'm", 2},
        {"a A an An", "a", 1},
        {"a A an An", "an", 1},
        {"wasn't was", "was", 1},
        {"need walked bed", "-ed", 3},
        {"ed edge Ed", "-ed", 2},
        {"don't shouldn't n't", "n't", 3},
        {"unknown", "nosuchword", 0},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        principes(context, c.text);
        EXPECT_EQ(Form1Commands(context).GetFreq(c.word), c.expected) << c.word << " in \"" << c.text << "\"";
    }
}

// Quotes are counted before the clean-up, modal and affect words anywhere in words.
TEST(KeyWords, PrincipesWritesCountsLengthsAndTheTrimmedText) {
    struct Case {
        const char* text;
        const char* text1;
        const char* textLength;
        const char* wordLengthAverage;
        const char* contractions;
        const char* quotes;
        const char* modal;
        const char* affect;
    };
    const Case cases[] = {
        // A text without words: nothing is divided by its zero length.
        {"", "", "0", "0", "0", "0", "0", "0"},
        {" .;  ", "", "0", "0", "0", "0", "0", "0"},
        {"Hello.", "Hello ", "1", "5", "0", "0", "0", "0"},
        {"Don't, I won't", "Don't I won't ", "3", "3.6667", "2", "0", "0", "0"},
        {"a\r\nbb   ccc\n", "a bb ccc\n ", "3", "2.3333", "0", "0", "0", "0"},
        {"na\u00EFve caf\u00E9", "na\u00EFve caf\u00E9 ", "2", "4.5", "0", "0", "0", "0"},
        {"\"a\" \"b\" \u201Cc\u201D", "a b \u201Cc\u201D ", "3", "1.6667", "0", "4", "0", "0"},
        {"He needs it.", "He needs it ", "3", "3", "0", "0", "2", "0"},
        {"I shouldn't, thought I", "I shouldn't thought I ", "4", "4.5", "1", "0", "3", "0"},
        {"oughtn't", "oughtn't ", "1", "8", "1", "0", "2", "0"},
        {"Willing, SHALL, must", "Willing SHALL must ", "3", "5.3333", "0", "0", "3", "0"},
        {"feelings", "feelings ", "1", "8", "0", "0", "0", "3"},
        {"heartbreaking", "heartbreaking ", "1", "13", "0", "0", "0", "3"},
        {"Sorely felt", "Sorely felt ", "2", "5", "0", "0", "0", "3"},
        // The modal count is taken after the full stops are gone: "shal.l" reads "shall".
        {"shal.l", "shall ", "1", "5", "0", "0", "1", "0"},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        const Form1& form = principes(context, c.text);
        EXPECT_EQ(form.Text1.text(), c.text1) << c.text;
        EXPECT_EQ(form.lblTextLength.text(), c.textLength) << c.text;
        EXPECT_EQ(form.lblWordLenAv.text(), c.wordLengthAverage) << c.text;
        EXPECT_EQ(form.lblContractions.text(), c.contractions) << c.text;
        EXPECT_EQ(form.lblNumOfQuotes.text(), c.quotes) << c.text;
        EXPECT_EQ(form.lblObligation.text(), c.modal) << c.text;
        EXPECT_EQ(form.lblAffectTotal.text(), c.affect) << c.text;
    }
    ProgramContext context;
    const Form1& form = principes(context, "");
    ASSERT_EQ(form.lstKeyFunctionWords.count(), 48);
    ASSERT_EQ(form.lstKeyFunctionWordFrequency.count(), 48);
    EXPECT_EQ(form.lstKeyFunctionWords.at(46), "-ed");
    EXPECT_EQ(form.lstKeyFunctionWords.at(47), "n't");
}

TEST(KeyWords, SecondPressAppendsASecondSetAndGetFreqReadsTheLast) {
    ProgramContext context;
    principes(context, "the cat and the dog didn't");
    EXPECT_EQ(Form1Commands(context).GetFreq("the"), 2);
    const Form1& form = principes(context, "the end");
    // The lists are no longer parallel: "the" still reads the first count, and the second
    // "n't" reads the second set's count of "a".
    EXPECT_EQ(form.lstKeyFunctionWords.count(), 50);
    EXPECT_EQ(form.lstKeyFunctionWordFrequency.count(), 48 + 50);
    EXPECT_EQ(Form1Commands(context).GetFreq("the"), 2);
    EXPECT_EQ(form.lstKeyFunctionWordFrequency.at(48), "1");
    EXPECT_EQ(Form1Commands(context).GetFreq("n't"), 0);
    EXPECT_EQ(form.lblContractions.text(), "1");
}

TEST(KeyWords, AWordListChangedBetweenTextsCountsAsItNowReads) {
    ProgramContext context;
    const auto affectOf = [&](const std::string& text) {
        const std::string affect = principes(context, text).lblAffectTotal.text();
        Form1Commands(context).cmdReset();
        return affect;
    };
    EXPECT_EQ(affectOf("sad sad day"), "2");
    ListStore& affect = context.form1().lstWordsOfAffect;
    for (int i = 0; i < affect.count(); ++i) {
        if (affect.at(i) == "sad") {
            affect.setAt(i, "day");
        }
    }
    EXPECT_EQ(principes(context, "sad sad day").lblAffectTotal.text(), "1");
    Form1Commands(context).cmdReset();
    EXPECT_EQ(affectOf("sad sad day"), "2");  // the reset loads the lists afresh
}

TEST(KeyWords, LookupsBeforeAnyCountReadZero) {
    ProgramContext context;
    Form1& form = context.form1();
    EXPECT_EQ(Form1Commands(context).GetFreq("the"), 0);
    form.lblDefiniteArticle.setInt(5);
    Form1Commands(context).AddDensity(form.lblDefiniteArticle);  // text length still "0"
    form.lblTextLength.setInt(3);
    Form1Commands(context).AddDensity(form.lblDefiniteArticle);
    EXPECT_EQ(form.lstTypeFrequencies.items(), (std::vector<std::string>{"0", "1.6667"}));
}

}  // namespace
}  // namespace pelmora
