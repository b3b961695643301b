// The fast normalisation and counting passes against the plain step-by-step reading, on
// many generated texts full of the characters and words the steps look for.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "analysis/normalisation.h"
#include "analysis/pattern_counter.h"
#include "app/file_reader.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "tests/support/pair_lines.h"
#include "stores/text_ops.h"
#include "tests/support/reference_analysis.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

// Pieces chosen to meet every step: abbreviations, apostrophe-less spellings, brackets,
// angle and curly quotes, dashes, line ends, key words, modal and affect words, "ed " and
// "n't", and bytes that almost make a curly apostrophe.
const std::vector<std::string> kPieces = test::splitFields(
    "the|The|THE|a|An|it|It's|it’s|its|I|i|I'm|I’ll|I've|I'd|you|You're|you'll|he|She's|"
    "he'd|we|we've|We're|they'll|they’re|and|was|were|said|Felt|thought|wasn't|don't|can’t|"
    "walked|need|needs|needed|will|Willing|shall|must|should|shouldn't|ought|oughtn't|"
    "feelings|through|heartbreaking|sorely|happy|LOVE|mr.|Mr.|mrs.|MRS.|dr.|Dr.|dont|Dont|"
    "cant|wont|didnt|Ime|youre|'st|'St|’st|[|]|«|»|“|”|\"|'|’|''|.|,|;|:|?|!|(|)|-|--|\r\n|"
    "\n|\r|\t|é|naïve|\xE2|\x80\x99|\xC2|mrs.«|dr.»|'\r\n|\r'\n|\r.\n|\xE2.\x80\x99|ed|n't|"
    "tne");

const std::vector<std::string> kSeparators = {" ",  " ",    " ",  " ",  "  ",   "   ",
                                              "",   "\r\n", "\n", "\t", ". ",   ", ",
                                              "' ", " '",   "\"", "-",  "     "};

std::string generatedText(std::mt19937& rng) {
    std::uniform_int_distribution<std::size_t> length(0, 120);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    std::uniform_int_distribution<std::size_t> separator(0, kSeparators.size() - 1);
    std::uniform_int_distribution<int> repeat(0, 9);
    std::string text;
    std::string last;
    const std::size_t n = length(rng);
    for (std::size_t i = 0; i < n; ++i) {
        // Repeated words meet the non-overlapping rule (" the the ", " dont dont ").
        const std::string& p = (repeat(rng) == 0 && !last.empty()) ? last : kPieces[piece(rng)];
        last = p;
        text += p;
        text += kSeparators[separator(rng)];
    }
    return text;
}

std::vector<std::string> everyStore(const Form1& f) {
    std::vector<std::string> s = {
        f.Text1.text(),
        f.lblNumOfQuotes.text(),
        f.lblObligation.text(),
        f.lblAffectTotal.text(),
        f.lblContractions.text(),
        f.lblTextLength.text(),
        f.lblWordLenAv.text(),
        f.lblFirstPerson.text(),
        f.lblSecondPerson.text(),
        f.lblThirdPerson.text(),
        f.lblPastTense.text(),
        f.lblPastTenseForms.text(),
        f.lblDefiniteArticle.text(),
        f.lblIndefiniteArticle.text(),
        f.lblIt.text(),
        f.lblClass.text(),
        f.lblFormality.text(),
        f.lblPersonage.text(),
        f.lblPastTenseness.text(),
        f.lblObligationIntention.text(),
        f.lblAffect.text(),
        f.txtTypes.text(),
        f.txtTheFirst.text(),
        f.txtTheSecond.text(),
    };
    for (const ListStore* list :
         {&f.lstKeyFunctionWords, &f.lstKeyFunctionWordFrequency, &f.lstTypes,
          &f.lstTypeFrequencies, &f.lstCharacterValues, &f.lstSortedValues, &f.lstResults,
          &f.lstAllTypes, &f.lstTypeNames}) {
        std::string joined;
        for (const std::string& item : list->items()) {
            joined += item + "\x1f";
        }
        s.push_back(joined);
    }
    return s;
}

TEST(Differential, NormalisationAndCountsEqualTheStepByStepReading) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 600; ++round) {
        const std::string text = generatedText(rng);
        ProgramContext fastContext, plainContext;
        Form1& fast = fastContext.form1();
        Form1& plain = plainContext.form1();
        fast.Text1.setText(text);
        plain.Text1.setText(text);
        Form1Commands(fastContext).cmdPrincipes();
        test::referencePrincipes(plain);
        for (ProgramContext* context : {&fastContext, &plainContext}) {
            test::pressCounters(*context);
            Form1Commands(*context).cmdEvaluate();
        }
        ASSERT_EQ(everyStore(fast), everyStore(plain)) << "round " << round << ": " << text;
    }
}

// A long text is cleaned in pieces on several cores: the pieces must give the same text and
// counts, wherever the cuts fall.
TEST(Differential, TextsCutIntoPiecesCleanAndCountAsAWhole) {
    std::mt19937 rng(77);
    const std::vector<std::string> patterns = {"will", "need", "needs", "sad", " the ", " a ",
                                               " I ",  " you're ", "ed ", "n't", "feel"};
    const PatternCounter counter(patterns);
    int cut = 0;
    for (int round = 0; round < 300; ++round) {
        std::string whole = generatedText(rng);
        for (int k = 0; k < 3; ++k) {
            whole.append(" ").append(generatedText(rng));
        }
        std::string pieces = whole;
        const CleanedText one = cleanAndCount(whole, counter, 1, 1);
        const CleanedText many = cleanAndCount(pieces, counter, 2 + round % 5, 8);
        ASSERT_EQ(pieces, whole) << "round " << round;
        ASSERT_EQ(many.quotes, one.quotes) << "round " << round;
        ASSERT_EQ(many.counts, one.counts) << "round " << round;
        cut += many.pieces > 1 ? 1 : 0;
    }
    EXPECT_GT(cut, 150);
}

TEST(Differential, WholePipelineEqualsTheStepByStepReadingOverABatch) {
    std::mt19937 rng(7);
    ProgramContext fastContext, plainContext;
    for (int round = 0; round < 120; ++round) {
        const std::string text = generatedText(rng);
        const std::string name = "text " + std::to_string(round % 40) + ".txt";
        Form1& fast = fastContext.form1();
        Form1& plain = plainContext.form1();
        fast.Text1.setText(text);
        plain.Text1.setText(text);
        fast.txtFileName.setText(name);
        plain.txtFileName.setText(name);
        // Cut into small pieces, so that every text is cleaned on several threads.
        fastContext.jobs = 3;
        fastContext.textPieceBytes = 64;
        Form1Commands(fastContext).cmdDoItAll();
        test::referenceDoItAll(plainContext);
        ASSERT_EQ(everyStore(fast), everyStore(plain)) << "round " << round << ": " << text;
        Form1Commands(fastContext).cmdReset();
        Form1Commands(plainContext).cmdReset();
    }
    EXPECT_EQ(test::linesOf(fastContext.form2().lstDogBox),
              test::linesOf(plainContext.form2().lstDogBox));
}

// Every `step`-th text of each folder, read as the run reads it, gives the same stores as the
// step-by-step reading; at least `atLeast` texts in all.
void expectFilesEqualTheStepByStepReading(
    const std::vector<std::pair<std::filesystem::path, std::size_t>>& folders,
    std::size_t atLeast) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& [folder, step] : folders) {
        std::vector<fs::path> found;
        for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
            if (e.path().extension() == ".txt") {
                found.push_back(e.path());
            }
        }
        std::sort(found.begin(), found.end());
        for (std::size_t i = 0; i < found.size(); i += step) {
            files.push_back(found[i]);
        }
    }
    ASSERT_GE(files.size(), atLeast);
    for (const fs::path& file : files) {
        const Result<ReadText> read = readTextFile(file, file.filename().native());
        ASSERT_TRUE(read.ok()) << file;
        ProgramContext fastContext, plainContext;
        Form1& fast = fastContext.form1();
        Form1& plain = plainContext.form1();
        fast.Text1.setText(read.value().decoded.text);
        plain.Text1.setText(read.value().decoded.text);
        Form1Commands(fastContext).cmdDoItAll();
        test::referenceDoItAll(plainContext);
        ASSERT_EQ(everyStore(fast), everyStore(plain)) << file;
    }
}

// Texts on every threshold.
TEST(Differential, BoundaryTextsEqualTheStepByStepReading) {
    expectFilesEqualTheStepByStepReading({{test::kBoundary, 1}}, 30);
}

// Real, messy texts: curly and straight quotes, no-break spaces, markup, long lines.
TEST(CorporaDifferential, RealTextsEqualTheStepByStepReading) {
    const std::filesystem::path mixed = test::sharedCorpus("real-mixed");
    const std::filesystem::path large = test::sharedCorpus("real-large");
    ASSERT_FALSE(mixed.empty() || large.empty());
    // Every seventh of the large folder keeps the run short and still meets each book.
    expectFilesEqualTheStepByStepReading({{mixed, 1}, {large, 7}}, 50);
}

// Small alphabets make self-overlapping and nested occurrences common.
TEST(Differential, PatternCounterAndAnchoredReplaceEqualSplitCountAndReplaceAll) {
    std::mt19937 rng(99);
    const std::string alphabet = "aAb '.";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    auto randomText = [&](std::size_t max) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, max)(rng), ' ');
        for (char& c : s) {
            c = alphabet[letter(rng)];
        }
        return s;
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> patterns;
        for (int k = 0; k < 6; ++k) {
            std::string p = randomText(4);
            patterns.push_back(p.empty() ? "a" : p);
        }
        const std::string text = randomText(60);
        const std::vector<std::int64_t> counts = PatternCounter(patterns).count(text);
        for (std::size_t k = 0; k < patterns.size(); ++k) {
            ASSERT_EQ(counts[k], SplitCount(text, patterns[k]))
                << "'" << patterns[k] << "' in '" << text << "'";
        }
        // A long text is walked as four interleaved pieces cut at spaces when every pattern
        // allows it: words with at most one space either side, as the counted patterns are. Few
        // words, so that a cut often falls between two alike.
        if (round % 5 == 0) {
            const std::vector<std::string> words = {" a ", " A ", "b ", " ab", "a", " b' "};
            std::string longText;
            while (longText.size() < 20000) {
                longText += words[letter(rng) % words.size()].substr(1, 2) + " ";
            }
            longText += randomText(4000);
            const std::vector<std::int64_t> walked = PatternCounter(words).count(longText);
            for (std::size_t k = 0; k < words.size(); ++k) {
                ASSERT_EQ(walked[k], SplitCount(longText, words[k])) << "'" << words[k] << "'";
            }
        }
        const std::string pattern = patterns[0] + ".";
        for (std::size_t anchor = 0; anchor < pattern.size(); ++anchor) {
            if (pattern[anchor] == 'a' || pattern[anchor] == 'A' || pattern[anchor] == 'b') {
                continue;
            }
            std::string fast = text;
            replaceAllAnchored(fast, pattern, "x.", anchor);
            ASSERT_EQ(fast, replaceAll(text, pattern, "x."))
                << "'" << pattern << "' in '" << text << "'";
        }
    }
}

}  // namespace
}  // namespace pelmora
