#include <string>

#include "app/form2.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

namespace {

constexpr const char* kHeader =
    "name\tcode\tclass\ttext_length\tword_length_avg\tcontractions\tfirst_person\t"
    "second_person\tthird_person\tpast_tense_words\tpast_tense_forms\tdefinite_article\t"
    "indefinite_article\tit\tobligation_count\tobligation_density\taffect_count\t"
    "affect_density\tquotes\td0\td1\td2\td3\td4\td5\td6\td7\td8\tformality\tpersonage\t"
    "past_tenseness\tobligation_intention\taffect";

std::string row(const TextMeasures& m) {
    std::string line;
    for (const std::string* value :
         {&m.name, &m.code, &m.textClass, &m.textLength, &m.wordLengthAvg, &m.contractions,
          &m.firstPerson, &m.secondPerson, &m.thirdPerson, &m.pastTenseWords, &m.pastTenseForms,
          &m.definiteArticle, &m.indefiniteArticle, &m.it, &m.obligationCount, &m.obligationDensity,
          &m.affectCount, &m.affectDensity, &m.quotes}) {
        line.append(*value).append("\t");
    }
    for (const std::string& density : m.densities) {
        line.append(density).append("\t");
    }
    line.append(m.formality).append("\t").append(m.personage).append("\t");
    line.append(m.pastTenseness).append("\t").append(m.obligationIntention).append("\t");
    return line.append(m.affect).append("\r\n");
}

}  // namespace

int runMeasuresCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        std::string table = std::string(kHeader) + "\r\n";
        for (const TextMeasures& measures : context.form2().runMeasures) {
            table += row(measures);
        }
        return table;
    });
}

}  // namespace pelmora::cli
