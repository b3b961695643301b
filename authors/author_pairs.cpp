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
    const auto columns = static_cast<std::size_t>(f.lstAuthor.count()) *
                         static_cast<std::size_t>(f.lstAuthorComp.count());
    // Columns that exist already are kept, so a second press only re-writes the captions.
    f.lblAuthorPair.grow(columns);
    f.lstAuthorPair.grow(columns);
    f.lblAuthorPair.writeCaptions(f.lstAuthor, f.lstAuthorComp);
}

void Form2Commands::cmdAssignResults() {
    Form2& f = form();
    // A guess at a line's length, so that millions of lines are not copied as the text grows;
    // a longer line only makes it grow.
    constexpr std::size_t kLineGuess = 32;
    f.Text4.reserve(f.Text4.text().size() + f.lstAuthorPair.filledColumns() * kLineGuess);
    for (std::size_t p = 0; p < f.lstAuthorPair.size(); ++p) {
        double sum = 0.0;
        f.lstAuthorPair.forEachNumber(p, [&sum](double v) { sum += v; });
        if (!std::isfinite(sum)) {
            // Lines written so far stay; the columns after this one are not looked at.
            context_.raiseMessage(kNullValueMessage);
            return;
        }
        if (sum != 0.0) {
            f.Text4.append(f.lblAuthorPair.text(p));
            f.Text4.append("\t");
            f.Text4.append(doubleText(sum / f.lstAuthorPair.count(p)));
            f.Text4.append("\r\n");
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
