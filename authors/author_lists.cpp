#include <cstdint>

#include "app/form2_commands.h"
#include "rules/author_code.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// Each pass removes an entry equal to its left neighbour without stepping back, so one
// pass per entry is enough to leave every run of equal neighbours as a single entry; a pass
// that removes nothing leaves nothing for the passes after it.
void removeAdjacentRepeats(ListStore& list) {
    const int passes = list.count();
    for (int pass = 0; pass < passes; ++pass) {
        const int m = list.count();
        bool removed = false;
        for (int i = 0; i < m; ++i) {
            if (i < list.count() && equalsIgnoreCase(list.get(i), list.get(i - 1))) {
                list.removeAt(i);
                removed = true;
            }
        }
        if (!removed) {
            break;
        }
    }
}

}  // namespace

void Form2Commands::cmdGetAuthors() {
    Form2& f = form();
    const int n = f.File1.count();
    for (int i = 0; i < n; ++i) {
        const std::string_view name = f.File1.entries.get(i);
        if (!equalsIgnoreCase(name, f.File1.entries.get(i - 1))) {
            f.lstAuthor.append(authorCode(name));
            f.lstAuthorComp.append(authorCode(name));
        }
    }
}

void Form2Commands::Command3() {
    form().lstAuthor.clear();
}

void Form2Commands::cmdRemDupesListAuthors() {
    removeAdjacentRepeats(form().lstAuthor);
    removeAdjacentRepeats(form().lstAuthorComp);
}

void Form2Commands::cmdNumOfTextsPerAuthor() {
    Form2& f = form();
    // The files' codes are folded once, so each author costs a pass of comparisons only.
    std::vector<std::string> codes;
    codes.reserve(static_cast<std::size_t>(f.File1.count()));
    for (const std::string& name : f.File1.entries.items()) {
        codes.push_back(foldCase(authorCode(name)));
    }
    const int authors = f.lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        std::int32_t texts = 0;
        const std::string author = foldCase(f.lstAuthor.at(a));
        for (const std::string& code : codes) {
            texts += code == author ? 1 : 0;
        }
        f.lstNumOfAuthorTexts.append(intText(texts));
    }
}

}  // namespace pelmora
