#include <cmath>
#include <cstdint>

#include "app/form2.h"
#include "app/program_context.h"
#include "authors/author_code.h"
#include "authors/author_results.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr const char* kNullValueMessage =
    "There was a null value in the comparison and this means your results may have been "
    "truncated.";

// The first position of `code` in `list`, ignoring case, or -1.
int positionOf(const ListStore& list, std::string_view code) {
    for (int i = 0; i < list.count(); ++i) {
        if (equalsIgnoreCase(list.at(i), code)) {
            return i;
        }
    }
    return -1;
}

}  // namespace

void Form2::cmdAuthorPermutations() {
    const int authors = lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        const int partners = lstAuthor.count();
        for (int b = 0; b < partners; ++b) {
            List1.append(lstAuthor.at(a));
            List2.append(lstAuthor.at(b));
        }
    }
}

void Form2::Command5() {
    const std::int64_t columns =
        static_cast<std::int64_t>(lstAuthor.count()) * lstAuthorComp.count();
    // Columns that exist already are kept, so a second press only re-writes the captions.
    for (auto i = static_cast<std::int64_t>(lblAuthorPair.size()); i < columns; ++i) {
        lblAuthorPair.emplace_back();
        lstAuthorPair.emplace_back();
        authorPairLeft.push_back(authorPairLeft.back() + kAuthorPairStep);
    }
    std::size_t k = 0;
    for (int a = 0; a < lstAuthor.count(); ++a) {
        for (int b = 0; b < lstAuthorComp.count(); ++b) {
            lblAuthorPair[k++].setText(lstAuthor.at(a) + " " + lstAuthorComp.at(b));
        }
    }
}

void Form2::cmdAssignResults() {
    for (std::size_t p = 0; p < lstAuthorPair.size(); ++p) {
        const ListStore& values = lstAuthorPair[p];
        double sum = 0.0;
        for (const std::string& v : values.items()) {
            sum += decimalParse(v);
        }
        if (!std::isfinite(sum)) {
            // Lines written so far stay; the columns after this one are not looked at.
            context_->raiseMessage(kNullValueMessage);
            return;
        }
        if (sum != 0.0) {
            Text4.append(lblAuthorPair[p].text() + "\t" + doubleText(sum / values.count()) +
                         "\r\n");
        }
    }
}

void Form2::Command2() {
    const int authors = lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        for (int t = 0; t < lstFirstText.count(); ++t) {
            if (equalsIgnoreCase(authorCode(lstFirstText.get(t)), lstAuthor.get(a)) &&
                equalsIgnoreCase(authorCode(lstSecondText.get(t)), lstAuthorComp.get(a))) {
                lstAuthPermVal.append(std::string(lstCLF.get(t)));
            }
        }
        Command4();
    }
}

void Form2::Command4() {
    ListStore& values = lstAuthPermVal;
    const int n = values.count();
    for (int i = 0; i < n; ++i) {
        const int m = values.count();
        for (int j = i + 1; j < m; ++j) {
            if (i < values.count() && j < values.count() &&
                equalsIgnoreCase(values.get(i), values.get(j))) {
                values.removeAt(j);
            }
        }
    }
}

void fillAuthorPairColumns(Form2& form) {
    const PairList& pairs = form.lstDogBox;
    const auto partners = static_cast<std::size_t>(form.lstAuthorComp.count());
    for (std::int64_t k = 0; k < pairs.count(); ++k) {
        const PairList::Pair pair = pairs.pairAt(k);
        const int a = positionOf(form.lstAuthor, authorCode(pair.firstName));
        const int b = positionOf(form.lstAuthorComp, authorCode(pair.secondName));
        if (a < 0 || b < 0) {
            continue;
        }
        // Found by position, not by caption: codes may hold spaces, so captions can collide.
        const std::size_t column =
            static_cast<std::size_t>(a) * partners + static_cast<std::size_t>(b);
        const std::string caption = form.lstAuthor.at(a) + " " + form.lstAuthorComp.at(b);
        if (column < form.lstAuthorPair.size() && form.lblAuthorPair[column].text() == caption) {
            form.lstAuthorPair[column].append(intText(pair.strength));
        }
    }
}

void assignAuthorResults(Form2& form) {
    form.cmdGetAuthors();
    form.cmdRemDupesListAuthors();
    form.cmdNumOfTextsPerAuthor();
    form.Command5();
    fillAuthorPairColumns(form);
    form.cmdAssignResults();
}

}  // namespace pelmora
