#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "rules/rule_book.h"
#include "stores/list_store.h"
#include "stores/pair_list.h"
#include "tests/support/pair_lines.h"

namespace pelmora {
namespace {

using test::linesOf;

using Lines = std::vector<std::string>;
const std::optional<int> kAll;
const std::optional<int> kMinimal = RuleBook::kMinimalBelow;

// Texts told apart by their names, as the names of one folder are.
struct Gathered {
    ListStore codes, names;
    std::vector<std::string> keys;
    void add(const std::string& code, const std::string& name) {
        codes.append(code);
        names.append(name);
        keys.push_back(name);
    }
    void compareInto(PairList& list) const {
        list.appendComparison(codes, names, keys, typeCodeStrength);
    }
};

// Builds the list by comparing after every gathered text, as a batch run does.
PairList runOneByOne(std::optional<int> below,
                     const std::vector<std::pair<const char*, const char*>>& texts) {
    PairList list(below);
    Gathered g;
    for (const auto& [code, name] : texts) {
        g.add(code, name);
        g.compareInto(list);
    }
    return list;
}

TEST(PairList, ReadsLikeTheLiteralListAndRemovalKeepsEveryPairOnceInLastOrder) {
    // Four texts, all strengths 5 but c-d 0: the literal list of ten lines, and the full
    // removal that leaves each of the six pairs once.
    const std::vector<std::pair<const char*, const char*>> four = {
        {"11111", "a.txt"}, {"11111", "b.txt"}, {"11111", "c.txt"}, {"22222", "d.txt"}};
    PairList box = runOneByOne(kAll, four);
    PairList house = runOneByOne(kMinimal, four);
    EXPECT_EQ(linesOf(box),
              (Lines{"a.txt-b.txt\t5", "a.txt-b.txt\t5", "a.txt-c.txt\t5", "b.txt-c.txt\t5",
                     "a.txt-b.txt\t5", "a.txt-c.txt\t5", "a.txt-d.txt\t0", "b.txt-c.txt\t5",
                     "b.txt-d.txt\t0", "c.txt-d.txt\t0"}));
    EXPECT_EQ(linesOf(house), (Lines{"a.txt-d.txt\t0", "b.txt-d.txt\t0", "c.txt-d.txt\t0"}));
    box.removeRepeats();
    house.removeRepeats();
    EXPECT_EQ(linesOf(box), (Lines{"a.txt-b.txt\t5", "a.txt-c.txt\t5", "a.txt-d.txt\t0",
                                  "b.txt-c.txt\t5", "b.txt-d.txt\t0", "c.txt-d.txt\t0"}));
    EXPECT_EQ(linesOf(house), (Lines{"a.txt-d.txt\t0", "b.txt-d.txt\t0", "c.txt-d.txt\t0"}));

    // Case twins are different texts whose lines read alike when case is ignored; a repeated
    // name is the same text and gives no line. Removal merges neither.
    PairList twins = runOneByOne(kAll,
                                 {{"1", "A.txt"}, {"1", "a.txt"}, {"1", "b.txt"}, {"2", "a.txt"}});
    twins.removeRepeats();
    EXPECT_EQ(linesOf(twins), (Lines{"A.txt-a.txt\t5", "A.txt-b.txt\t5", "A.txt-a.txt\t4",
                                    "a.txt-b.txt\t5", "b.txt-a.txt\t4"}));
    const PairList::Pair p = twins.pairAt(2);
    EXPECT_EQ(std::make_tuple(p.first, p.second, p.strength, twins.name(p.roster, p.first),
                              twins.name(p.roster, p.second)),
              std::make_tuple(0, 3, 4, std::string("A.txt"), std::string("a.txt")));

    // Removal on an empty list and on a list of one text.
    PairList empty;
    empty.removeRepeats();
    EXPECT_EQ(empty.count(), 0);
    PairList one = runOneByOne(kAll, {{"1", "a.txt"}});
    one.removeRepeats();
    EXPECT_EQ(one.count(), 0);
}

TEST(PairList, CopiesAreIndependentAndMovesKeepTheLines) {
    PairList original = runOneByOne(kAll, {{"1", "a"}, {"2", "b"}, {"1", "c"}});
    const Lines before = linesOf(original);
    PairList copy(original);
    PairList assigned;
    assigned = original;
    Gathered g;
    g.add("1", "a");
    g.add("2", "b");
    g.add("1", "c");
    g.add("3", "d");
    g.compareInto(original);
    original.removeRepeats();
    EXPECT_EQ(linesOf(copy), before);
    EXPECT_EQ(linesOf(assigned), before);
    EXPECT_EQ(original.count(), 6);

    PairList moved(std::move(copy));
    EXPECT_EQ(linesOf(moved), before);
    PairList moveAssigned(kMinimal);
    moveAssigned = std::move(moved);
    EXPECT_EQ(linesOf(moveAssigned), before);
    moveAssigned.clear();
    g.compareInto(moveAssigned);
    EXPECT_EQ(moveAssigned.count(), 6);  // the filter came along with the move
}

// The literal list: every comparison appends its block of lines, and the removal keeps one
// line per pair of texts, where a text is its position in a gathering that continues the
// previous one (same code and name at every shared position).
class LiteralModel {
public:
    explicit LiteralModel(std::optional<int> below) : below_(below) {}

    void compare(const std::vector<std::pair<std::string, std::string>>& texts) {
        const std::size_t shared = std::min(texts.size(), roster_.size());
        if (!std::equal(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(shared),
                        roster_.begin()) ||
            !started_) {
            ++generation_;
            roster_.clear();
            started_ = true;
        }
        for (std::size_t k = roster_.size(); k < texts.size(); ++k) {
            roster_.push_back(texts[k]);
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                if (texts[i].second == texts[j].second) {
                    continue;
                }
                const int s = typeCodeStrength(texts[i].first, texts[j].first);
                if (below_ && s >= *below_) {
                    continue;
                }
                lines_.push_back(
                    {texts[i].second + "-" + texts[j].second + "\t" + std::to_string(s),
                     {generation_, static_cast<int>(i), static_cast<int>(j)}});
            }
        }
    }
    void clear() {
        lines_.clear();
        roster_.clear();
        started_ = false;
    }
    void removeRepeats() {
        std::stable_sort(lines_.begin(), lines_.end(),
                         [](const Line& a, const Line& b) { return a.pair < b.pair; });
        lines_.erase(std::unique(lines_.begin(), lines_.end(),
                                 [](const Line& a, const Line& b) { return a.pair == b.pair; }),
                     lines_.end());
    }
    Lines lines() const {
        Lines out;
        for (const Line& l : lines_) {
            out.push_back(l.text);
        }
        return out;
    }

private:
    struct Line {
        std::string text;
        std::tuple<int, int, int> pair;
    };
    std::optional<int> below_;
    std::vector<Line> lines_;
    std::vector<std::pair<std::string, std::string>> roster_;
    bool started_ = false;
    int generation_ = 0;
};

TEST(PairList, AgreesWithTheLiteralListOverRandomRuns) {
    const char* const codes[] = {"21201", "10100", "0100", "", "03222", "2120", "21101", "11111"};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        std::vector<std::pair<std::string, std::string>> texts;
        PairList box(kAll), house(kMinimal);
        LiteralModel boxModel(kAll), houseModel(kMinimal);
        int fresh = 0;
        for (int step = 0; step < 40; ++step) {
            const int op = pick(100);
            if (op < 40 && texts.size() < 12) {
                std::string name = std::string("t").append(std::to_string(fresh++)).append(".txt");
                if (!texts.empty() && pick(4) == 0) {
                    name = texts[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))]
                               .second;
                    if (pick(2) == 0) {
                        name[0] = 'T';  // a case twin
                    }
                }
                texts.emplace_back(codes[pick(8)], name);
            } else if (op < 80) {
                Gathered g;
                for (const auto& [code, name] : texts) {
                    g.add(code, name);
                }
                g.compareInto(box);
                g.compareInto(house);
                boxModel.compare(texts);
                houseModel.compare(texts);
            } else if (op < 85 && !texts.empty()) {
                texts.resize(texts.size() - 1 -
                             static_cast<std::size_t>(pick(2) == 0 && texts.size() > 1));
            } else if (op < 90 && !texts.empty()) {
                texts[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))] = {
                    codes[pick(8)], std::string("r").append(std::to_string(fresh++)).append(".txt")};
            } else if (op < 94) {
                box.clear();
                house.clear();
                boxModel.clear();
                houseModel.clear();
            } else {
                box.removeRepeats();
                house.removeRepeats();
                boxModel.removeRepeats();
                houseModel.removeRepeats();
            }
            ASSERT_EQ(linesOf(box), boxModel.lines()) << "step " << step;
            ASSERT_EQ(linesOf(house), houseModel.lines()) << "step " << step;
        }
    }
}

TEST(PairList, ThousandTextsGatheredOneByOneStayCompact) {
    constexpr int kTexts = 1000;
    PairList box(kAll), house(kMinimal);
    Gathered g;
    for (int k = 0; k < kTexts; ++k) {
        // Codes 0xxxx and 1xxxx: equal first digits for k of equal parity.
        std::string code = std::to_string(k % 2) + "1111";
        g.add(code, "text " + std::to_string(k) + ".txt");
        g.compareInto(box);
        g.compareInto(house);
    }
    const std::int64_t literal = std::int64_t{kTexts + 1} * kTexts * (kTexts - 1) / 6;
    EXPECT_EQ(box.count(), literal);
    EXPECT_EQ(house.count(), 0);
    EXPECT_EQ(box.at(0), "text 0.txt-text 1.txt\t4");
    EXPECT_EQ(box.at(literal - 1), "text 998.txt-text 999.txt\t4");
    // The first line of the last block, after the blocks of 2 to 999 texts.
    const std::int64_t beforeLast = std::int64_t{kTexts} * (kTexts - 1) * (kTexts - 2) / 6;
    EXPECT_EQ(box.at(beforeLast), "text 0.txt-text 1.txt\t4");
    EXPECT_EQ(box.at(beforeLast + 1), "text 0.txt-text 2.txt\t5");
    EXPECT_EQ(box.at(beforeLast + kTexts - 1), "text 1.txt-text 2.txt\t4");
    box.removeRepeats();
    EXPECT_EQ(box.count(), std::int64_t{kTexts} * (kTexts - 1) / 2);
    EXPECT_EQ(box.at(kTexts - 2), "text 0.txt-text 999.txt\t4");
    EXPECT_EQ(box.at(box.count() - 1), "text 998.txt-text 999.txt\t4");
}

}  // namespace
}  // namespace pelmora
