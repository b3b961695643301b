// The texts of the rule book's ids: the category texts the rules write, and the words for
// what a check names.

#include "rules/rule_book.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

std::string_view textOf(CategoryValue value) {
    switch (value.category()) {
        case Category::Formality:
            return std::array{"Neutral", "Informal", "Formal"}.at(
                static_cast<std::size_t>(value.digit() - '0'));
        case Category::Personage:
            return std::array{"Not first person", "First Person", "Second person", "Third person"}
                .at(static_cast<std::size_t>(value.digit() - '0'));
        case Category::PastTenseness:
            return value.digit() == '1' ? "Past Tense" : "Not Past Tense";
        case Category::Obligation:
            return value.digit() == '1' ? "Obligation/Intention" : "Obligation/Intention - strong";
        case Category::Affect:
            return value.digit() == '1' ? "Affective" : "Highly Affective";
    }
    return {};
}

std::optional<CategoryValue> categoryValueOf(Category category, std::string_view text) {
    // The texts of the digit table; "Not first person" is no text of it and reads as none.
    static constexpr std::array<CategoryValue, 12> kTable = {
        Formality::Formal,       Formality::Informal,    Formality::Neutral,
        Personage::First,        Personage::Second,      Personage::Third,
        PastTenseness::Past,     PastTenseness::NotPast, ObligationLevel::Obligation,
        ObligationLevel::Strong, AffectLevel::Affective, AffectLevel::High};
    for (const CategoryValue v : kTable) {
        if (v.category() == category && equalsIgnoreCase(text, textOf(v))) {
            return v;
        }
    }
    return std::nullopt;
}

std::optional<CategoryValue> categoryValueOf(Category category, char digit) {
    const auto in = [digit](char low, char high) { return digit >= low && digit <= high; };
    switch (category) {
        case Category::Formality:
            return in('0', '2') ? std::optional<CategoryValue>(static_cast<Formality>(digit))
                                : std::nullopt;
        case Category::Personage:
            return in('0', '3') ? std::optional<CategoryValue>(static_cast<Personage>(digit))
                                : std::nullopt;
        case Category::PastTenseness:
            return in('1', '2') ? std::optional<CategoryValue>(static_cast<PastTenseness>(digit))
                                : std::nullopt;
        case Category::Obligation:
            return in('1', '2') ? std::optional<CategoryValue>(static_cast<ObligationLevel>(digit))
                                : std::nullopt;
        case Category::Affect:
            return in('1', '2') ? std::optional<CategoryValue>(static_cast<AffectLevel>(digit))
                                : std::nullopt;
    }
    return std::nullopt;
}

std::string Decision::text() const {
    return step != 0 && value ? std::string(textOf(*value)) : before;
}

std::string_view textClassOf(bool classifiable) {
    return classifiable ? "Classifiable" : "Unclassifiable";
}

std::optional<char> digitOf(Category category, const std::optional<CategoryValue>& value) {
    if (value) {
        return value->digit();
    }
    if (category == Category::Formality) {
        return std::nullopt;
    }
    return '0';
}

std::optional<char> digitOf(Category category, std::string_view text) {
    return digitOf(category, categoryValueOf(category, text));
}

std::string_view relationText(Check::Relation relation) {
    switch (relation) {
        case Check::Relation::Above:
            return "above";
        case Check::Relation::Below:
            return "below";
        case Check::Relation::OneOf:
            return "one of";
        case Check::Relation::FewerThan:
            return "fewer than";
        case Check::Relation::Is:
            return "is";
    }
    return {};
}

std::string measureText(const Check& c) {
    switch (c.kind) {
        case Check::Kind::Threshold:
            return c.threshold ? thresholdInfo(*c.threshold).measure : "density";
        case Check::Kind::Ranking:
            return "rank " + std::to_string(c.subject + 1);
        case Check::Kind::Count:
            return kPersonWords.at(static_cast<std::size_t>(c.subject));
        case Check::Kind::Label:
            return "feature name " + std::to_string(c.subject + 1);
    }
    return {};
}

std::string limitText(const Check& c) {
    return doubleText(c.limit);
}

}  // namespace pelmora
