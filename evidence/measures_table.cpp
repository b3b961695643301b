#include "evidence/measures_table.h"

namespace pelmora {

std::vector<TableRow> measuresTable(const std::vector<TextMeasures>& texts) {
    std::vector<TableRow> rows{{"name",
                                "code",
                                "class",
                                "text_length",
                                "word_length_avg",
                                "contractions",
                                "first_person",
                                "second_person",
                                "third_person",
                                "past_tense_words",
                                "past_tense_forms",
                                "definite_article",
                                "indefinite_article",
                                "it",
                                "obligation_count",
                                "obligation_density",
                                "affect_count",
                                "affect_density",
                                "quotes",
                                "d0",
                                "d1",
                                "d2",
                                "d3",
                                "d4",
                                "d5",
                                "d6",
                                "d7",
                                "d8",
                                "formality",
                                "personage",
                                "past_tenseness",
                                "obligation_intention",
                                "affect"}};
    for (const TextMeasures& m : texts) {
        TableRow row{m.name,
                     m.code,
                     m.textClass,
                     m.textLength,
                     m.wordLengthAvg,
                     m.contractions,
                     m.firstPerson,
                     m.secondPerson,
                     m.thirdPerson,
                     m.pastTenseWords,
                     m.pastTenseForms,
                     m.definiteArticle,
                     m.indefiniteArticle,
                     m.it,
                     m.obligationCount,
                     m.obligationDensity,
                     m.affectCount,
                     m.affectDensity,
                     m.quotes};
        row.insert(row.end(), std::begin(m.densities), std::end(m.densities));
        row.insert(row.end(),
                   {m.formality, m.personage, m.pastTenseness, m.obligationIntention, m.affect});
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace pelmora
