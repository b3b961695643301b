// Key-word counts, the "-ed" and "n't" counts, text length and word-length average, and the
// two shared look-ups GetFreq and AddDensity.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/program_context.h"

namespace pelmora {
namespace {

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
        Form1& form = context.form1();
        form.Text1.setText(c.text);
        form.cmdPrincipes();
        EXPECT_EQ(form.GetFreq(c.word), c.expected) << c.word << " in \"" << c.text << "\"";
    }
}

TEST(KeyWords, PrincipesWritesCountsLengthsAndTheTrimmedText) {
    struct Case {
        const char* text;
        const char* text1;
        const char* textLength;
        const char* wordLengthAverage;
        const char* contractions;
    };
    const Case cases[] = {
        // A text without words: nothing is divided by its zero length.
        {"", "", "0", "0", "0"},
        {" .;  ", "", "0", "0", "0"},
        {"Hello.", "Hello ", "1", "5", "0"},
        {"Don't, I won't", "Don't I won't ", "3", "3.6667", "2"},
        {"a\r\nbb   ccc\n", "a bb ccc\n ", "3", "2.3333", "0"},
        {"na\u00EFve caf\u00E9", "na\u00EFve caf\u00E9 ", "2", "4.5", "0"},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        Form1& form = context.form1();
        form.Text1.setText(c.text);
        form.cmdPrincipes();
        EXPECT_EQ(form.Text1.text(), c.text1) << c.text;
        EXPECT_EQ(form.lblTextLength.text(), c.textLength) << c.text;
        EXPECT_EQ(form.lblWordLenAv.text(), c.wordLengthAverage) << c.text;
        EXPECT_EQ(form.lblContractions.text(), c.contractions) << c.text;
        ASSERT_EQ(form.lstKeyFunctionWords.count(), 48);
        ASSERT_EQ(form.lstKeyFunctionWordFrequency.count(), 48);
        EXPECT_EQ(form.lstKeyFunctionWords.at(46), "-ed");
        EXPECT_EQ(form.lstKeyFunctionWords.at(47), "n't");
    }
}

TEST(KeyWords, SecondPressAppendsASecondSetAndGetFreqReadsTheLast) {
    ProgramContext context;
    Form1& form = context.form1();
    form.Text1.setText("the cat and the dog didn't");
    form.cmdPrincipes();
    EXPECT_EQ(form.GetFreq("the"), 2);
    form.Text1.setText("the end");
    form.cmdPrincipes();
    // The lists are no longer parallel: "the" still reads the first count, and the second
    // "n't" reads the second set's count of "a".
    EXPECT_EQ(form.lstKeyFunctionWords.count(), 50);
    EXPECT_EQ(form.lstKeyFunctionWordFrequency.count(), 48 + 50);
    EXPECT_EQ(form.GetFreq("the"), 2);
    EXPECT_EQ(form.lstKeyFunctionWordFrequency.at(48), "1");
    EXPECT_EQ(form.GetFreq("n't"), 0);
    EXPECT_EQ(form.lblContractions.text(), "1");
}

TEST(KeyWords, LookupsBeforeAnyCountReadZero) {
    ProgramContext context;
    Form1& form = context.form1();
    EXPECT_EQ(form.GetFreq("the"), 0);
    form.lblDefiniteArticle.setInt(5);
    form.AddDensity(form.lblDefiniteArticle);  // text length still "0"
    form.lblTextLength.setInt(3);
    form.AddDensity(form.lblDefiniteArticle);
    EXPECT_EQ(form.lstTypeFrequencies.items(), (std::vector<std::string>{"0", "1.6667"}));
}

}  // namespace
}  // namespace pelmora
