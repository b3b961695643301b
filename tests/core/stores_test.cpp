#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "stores/large_buffer.h"
#include "stores/list_store.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

TEST(TextOps, ReplaceAllIsCaseInsensitiveLeftToRightAndNonOverlapping) {
    struct Case {
        const char* text;
        const char* pattern;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"", "x", "y", ""},
        {"Mr. Smith and MR. Jones", "mr. ", "mr ", "mr Smith and mr Jones"},
        {"aaaa", "aa", "a", "aa"},
        {"aaa", "aa", "b", "ba"},
        {"a  b", "  ", " ", "a b"},
        {"x.y.z", ".", "", "xyz"},
        {"«quoted»", "«", " ", " quoted»"},
        {"don’t", "’", "'", "don't"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replaceAll(c.text, c.pattern, c.replacement), c.expected) << c.text;
    }
}

TEST(TextOps, SplitCountCountsNonOverlappingOccurrencesAndNoneInEmptyText) {
    EXPECT_EQ(SplitCount("", "the"), 0);
    EXPECT_EQ(SplitCount(" the the ", " the "), 1);
    EXPECT_EQ(SplitCount(" The THE the ", " the "), 2);
    EXPECT_EQ(SplitCount("thought brought", "ought"), 2);
    EXPECT_EQ(SplitCount("aaaa", "aa"), 2);
    EXPECT_EQ(SplitCount("feelings", "feel"), 1);
}

TEST(TextOps, CharactersCountCodePointsNotBytes) {
    EXPECT_EQ(utf8Length("abc"), 3);
    EXPECT_EQ(utf8Length("Zoë’s"), 5);
    EXPECT_EQ(firstChars("ab.txt", 4), "ab.t");
    EXPECT_EQ(firstChars("ab", 4), "ab");
    EXPECT_EQ(firstChars("Éçoleß.txt", 4), "Éçol");
    EXPECT_TRUE(equalsIgnoreCase("Hello", "hELLO"));
    EXPECT_FALSE(equalsIgnoreCase("Hello", "Hell"));
}

TEST(NumberText, FourDecimalTextRoundsOnTheBinaryValueAndDropsZeros) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, "0"},        {-0.0, "0"},         {-0.00001, "0"},    {0.5, "0.5"},
        {0.06123, "0.0612"}, {3.0, "3"},        {11.0 / 3.0, "3.6667"}, {0.378, "0.378"},
        {0.00005, "0.0001"}, {0.00015, "0.0001"}, {1.65, "1.65"},    {-1.5, "-1.5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fourDecimalText(c.value), c.expected) << c.value;
    }
}

TEST(NumberText, DoubleTextAndParsing) {
    EXPECT_EQ(doubleText(12.0), "12");
    EXPECT_EQ(doubleText(-3.0), "-3");
    EXPECT_EQ(doubleText(-0.0), "0");
    EXPECT_EQ(doubleText(999999999999999.0), "999999999999999");
    EXPECT_EQ(doubleText(1e15), "1e+15");
    EXPECT_EQ(doubleText(2.5), "2.5");
    EXPECT_EQ(doubleText(0.51022449), "0.51022449");
    EXPECT_EQ(doubleText(0.00009025), "9.025e-05");
    EXPECT_EQ(intText(-1), "-1");

    EXPECT_DOUBLE_EQ(decimalParse("9.025e-05"), 0.00009025);
    EXPECT_DOUBLE_EQ(decimalParse("4abc"), 4.0);
    EXPECT_DOUBLE_EQ(decimalParse(""), 0.0);
    EXPECT_DOUBLE_EQ(decimalParse("a.txt-b.txt\t4"), 0.0);
    EXPECT_DOUBLE_EQ(decimalParse("2e"), 2.0);

    EXPECT_EQ(strictParse("0.0612"), 0.0612);
    EXPECT_EQ(strictParse("-3"), -3.0);
    EXPECT_FALSE(strictParse("n/a").has_value());
    EXPECT_FALSE(strictParse("").has_value());
    EXPECT_FALSE(strictParse("1.5x").has_value());
}

// The desktop toolkit adopts the user's locale; one that writes 0,5 must change no figure.
TEST(NumberText, APointWhateverTheLocaleWritesAndReads) {
    const test::TempFolder locales;
    const std::string made = "localedef -i de_DE -f UTF-8 '" + locales.path().string() +
                             "/de_DE.UTF-8' >/dev/null 2>&1";
    ASSERT_EQ(std::system(made.c_str()), 0) << "localedef needs the locales package";
    ::setenv("LOCPATH", locales.path().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    char comma[8];
    std::snprintf(comma, sizeof comma, "%.1f", 0.5);
    EXPECT_STREQ(comma, "0,5");  // the locale is in force

    EXPECT_EQ(fourDecimalText(0.06123), "0.0612");
    EXPECT_EQ(doubleText(0.00009025), "9.025e-05");
    EXPECT_EQ(fixedText(0.5, 3), "0.500");
    EXPECT_EQ(fixedText(2.5, 0), "2");  // ties to even, as the C library rounds
    EXPECT_DOUBLE_EQ(decimalParse("0.25"), 0.25);
    EXPECT_EQ(strictParse("1.5e2"), 150.0);
    EXPECT_FALSE(strictParse("1,5").has_value());
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
}

TEST(ListStore, SortedVariantInsertsIntoTextOrderIgnoringCase) {
    ListStore sorted(ListStore::Order::Sorted);
    for (const char* s : {"0.02", "0", "0.04", "0.01", "0", "0.1", "0.0099"}) {
        sorted.append(s);
    }
    const std::vector<std::string> expected{"0", "0", "0.0099", "0.01", "0.02", "0.04", "0.1"};
    EXPECT_EQ(sorted.items(), expected);

    ListStore plain;
    plain.append("b");
    plain.append("a");
    plain.append("c");
    plain.select(2);
    plain.removeAt(0);
    EXPECT_EQ(plain.items(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(plain.selected(), 1);
    EXPECT_EQ(plain.get(5), "");
    EXPECT_EQ(plain.get(-1), "");
}

TEST(LargeString, HoldsExactlyItsSizeOfNulBytesSmallOrLarge) {
    // Below, at and beyond the size from which the pages are advised, and not a page multiple.
    for (const std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{8} << 20,
                                   (std::size_t{21} << 20) + 3}) {
        std::string s = largeString(size);
        ASSERT_EQ(s.size(), size);
        EXPECT_EQ(s.find_first_not_of('\0'), std::string::npos) << size;
        if (size > 0) {
            s.back() = 'x';  // writable to its last byte
            EXPECT_EQ(s[size - 1], 'x');
        }
    }
}

TEST(ListStore, ACopyChangesAloneWhateverTheChange) {
    ListStore original;
    original.append("a");
    original.append("b");
    ListStore appended = original;
    appended.append("c");
    ListStore replaced = original;
    replaced.setAt(0, "z");
    ListStore removed = original;
    removed.removeAt(1);
    ListStore cleared = original;
    cleared.clear();
    cleared.append("y");
    EXPECT_EQ(original.items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(appended.items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(replaced.items(), (std::vector<std::string>{"z", "b"}));
    EXPECT_EQ(removed.items(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(cleared.items(), (std::vector<std::string>{"y"}));
    // The original, changed after its copies, leaves them as they were.
    ListStore before = original;
    original.setAt(1, "x");
    EXPECT_EQ(before.items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(original.items(), (std::vector<std::string>{"a", "x"}));
}

}  // namespace
}  // namespace pelmora
