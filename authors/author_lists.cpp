#include <cstdint>

#include "app/form2.h"
#include "authors/author_code.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// Each pass removes an entry equal to its left neighbour without stepping back, so one
// pass per entry is enough to leave every run of equal neighbours as a single entry.
void removeAdjacentRepeats(ListStore& list) {
    const int passes = list.count();
    for (int pass = 0; pass < passes; ++pass) {
        const int m = list.count();
        for (int i = 0; i < m; ++i) {
            if (i < list.count() && equalsIgnoreCase(list.get(i), list.get(i - 1))) {
                list.removeAt(i);
            }
        }
    }
}

}  // namespace

void Form2::cmdGetAuthors() {
    const int n = File1.count();
    for (int i = 0; i < n; ++i) {
        const std::string_view name = File1.entries.get(i);
        if (!equalsIgnoreCase(name, File1.entries.get(i - 1))) {
            lstAuthor.append(authorCode(name));
            lstAuthorComp.append(authorCode(name));
        }
    }
}

void Form2::Command3() {
    lstAuthor.clear();
}

void Form2::cmdRemDupesListAuthors() {
    removeAdjacentRepeats(lstAuthor);
    removeAdjacentRepeats(lstAuthorComp);
}

void Form2::cmdNumOfTextsPerAuthor() {
    const int authors = lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        std::int32_t texts = 0;
        const int files = File1.count();
        for (int f = 0; f < files; ++f) {
            texts += equalsIgnoreCase(authorCode(File1.entries.at(f)), lstAuthor.at(a));
        }
        lstNumOfAuthorTexts.append(intText(texts));
    }
}

}  // namespace pelmora
