#include "tests/support/pair_lines.h"

#include <gtest/gtest.h>

namespace pelmora::test {

std::vector<std::string> linesOf(const PairList& list) {
    std::vector<std::string> inOrder, byPosition;
    list.forEachPair([&](const PairList::Pair& p) {
        inOrder.emplace_back();
        list.appendLine(inOrder.back(), p);
        return true;
    });
    for (std::int64_t k = 0; k < list.count(); ++k) {
        byPosition.push_back(list.at(k));
    }
    EXPECT_EQ(inOrder, byPosition);
    return inOrder;
}

}  // namespace pelmora::test
