#include <cmath>
#include <cstdint>

#include "app/form2_commands.h"
#include "rules/author_code.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr const char* kNullValueMessage =
    "There was a null value in the comparison and this means your results may have been "
    "truncated.";

}  // namespace

void Form2Commands::cmdAuthorPermutations() {
    Form2& f = form();
    const int authors = f.lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        const int partners = f.lstAuthor.count();
        for (int b = 0; b < partners; ++b) {
            f.List1.append(f.lstAuthor.at(a));
            f.List2.append(f.lstAuthor.at(b));
        }
    }
}

void Form2Commands::Command5() {
    Form2& f = form();
    const std::int64_t columns =
        static_cast<std::int64_t>(f.lstAuthor.count()) * f.lstAuthorComp.count();
    // Columns that exist already are kept, so a second press only re-writes the captions.
    // Millions of columns for thousands of authors: room for them all at once, not by doubling.
    if (columns > static_cast<std::int64_t>(f.lblAuthorPair.size())) {
        f.lblAuthorPair.reserve(static_cast<std::size_t>(columns));
        f.lstAuthorPair.reserve(static_cast<std::size_t>(columns));
        f.authorPairLeft.reserve(static_cast<std::size_t>(columns));
    }
    for (auto i = static_cast<std::int64_t>(f.lblAuthorPair.size()); i < columns; ++i) {
        f.lblAuthorPair.emplace_back();
        f.lstAuthorPair.emplace_back();
        f.authorPairLeft.push_back(f.authorPairLeft.back() + Form2::kAuthorPairStep);
    }
    std::size_t k = 0;
    for (int a = 0; a < f.lstAuthor.count(); ++a) {
        for (int b = 0; b < f.lstAuthorComp.count(); ++b) {
            f.lblAuthorPair[k++].setText(f.lstAuthor.at(a) + " " + f.lstAuthorComp.at(b));
        }
    }
}

void Form2Commands::cmdAssignResults() {
    Form2& f = form();
    for (std::size_t p = 0; p < f.lstAuthorPair.size(); ++p) {
        const ListStore& values = f.lstAuthorPair[p];
        double sum = 0.0;
        for (const std::string& v : values.items()) {
            sum += decimalParse(v);
        }
        if (!std::isfinite(sum)) {
            // Lines written so far stay; the columns after this one are not looked at.
            context_.raiseMessage(kNullValueMessage);
            return;
        }
        if (sum != 0.0) {
            f.Text4.append(f.lblAuthorPair[p].text() + "\t" + doubleText(sum / values.count()) +
                         "\r\n");
        }
    }
}

void Form2Commands::Command2() {
    Form2& f = form();
    const int authors = f.lstAuthor.count();
    for (int a = 0; a < authors; ++a) {
        for (int t = 0; t < f.lstFirstText.count(); ++t) {
            if (equalsIgnoreCase(authorCode(f.lstFirstText.get(t)), f.lstAuthor.get(a)) &&
                equalsIgnoreCase(authorCode(f.lstSecondText.get(t)), f.lstAuthorComp.get(a))) {
                f.lstAuthPermVal.append(std::string(f.lstCLF.get(t)));
            }
        }
        Command4();
    }
}

void Form2Commands::Command4() {
    Form2& f = form();
    ListStore& values = f.lstAuthPermVal;
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

}  // namespace pelmora
