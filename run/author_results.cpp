#include "run/author_results.h"

#include <unordered_map>

#include "app/form2_commands.h"
#include "rules/author_code.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// The first position of each author code of `list`, folded.
std::unordered_map<std::string, int> firstPositions(const ListStore& list) {
    std::unordered_map<std::string, int> positions;
    for (int i = 0; i < list.count(); ++i) {
        positions.emplace(foldCase(list.at(i)), i);
    }
    return positions;
}

}  // namespace

void fillAuthorPairColumns(Form2& form, const RunResult& run) {
    // Each text's author is looked up once, so a pair costs no search.
    const auto inFirst = firstPositions(form.lstAuthor);
    const auto inSecond = firstPositions(form.lstAuthorComp);
    std::vector<int> first(run.texts.size(), -1), second(run.texts.size(), -1);
    for (const TextRecord& t : run.texts) {
        const std::string code = foldCase(authorCode(t.name));
        if (const auto a = inFirst.find(code); a != inFirst.end()) {
            first[static_cast<std::size_t>(t.position)] = a->second;
        }
        if (const auto b = inSecond.find(code); b != inSecond.end()) {
            second[static_cast<std::size_t>(t.position)] = b->second;
        }
    }
    const auto partners = static_cast<std::size_t>(form.lstAuthorComp.count());
    // When Command5 captioned the columns from these lists, each column is its pair's;
    // otherwise each column is checked the first time it is used.
    const bool captionedFromLists =
        form.lblAuthorPair.lastWrittenFrom(form.lstAuthor, form.lstAuthorComp);
    std::vector<signed char> belongs(captionedFromLists ? 0 : form.lstAuthorPair.size(), -1);
    form.lstAuthorPair.appendStrengths([&](auto add) {
        run.pairs.forEach([&](const RunPair& p) {
            const int a = first[static_cast<std::size_t>(p.first)];
            const int b = second[static_cast<std::size_t>(p.second)];
            if (a < 0 || b < 0) {
                return;
            }
            // Found by position, not by caption: codes may hold spaces, so captions can collide.
            const std::size_t column =
                static_cast<std::size_t>(a) * partners + static_cast<std::size_t>(b);
            if (column >= form.lstAuthorPair.size()) {
                return;
            }
            if (!captionedFromLists) {
                if (belongs[column] < 0) {
                    belongs[column] = form.lblAuthorPair.text(column) ==
                                      form.lstAuthor.at(a) + " " + form.lstAuthorComp.at(b);
                }
                if (belongs[column] != 1) {
                    return;
                }
            }
            add(column, p.strength);
        });
    });
}

void assignAuthorResults(ProgramContext& context, const RunResult& run) {
    Form2Commands commands(context);
    commands.cmdGetAuthors();
    commands.cmdRemDupesListAuthors();
    commands.cmdNumOfTextsPerAuthor();
    commands.Command5();
    fillAuthorPairColumns(context.form2(), run);
    commands.cmdAssignResults();
}

}  // namespace pelmora
