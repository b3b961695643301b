// The type code: one digit per category text, by the rule book's digit table, gathered with
// the file name for the comparison.

#include "analysis/form1_commands.h"
#include "stores/text_encoding.h"

namespace pelmora {

void Form1Commands::cmdTypeText() {
    Form1& f = form();
    const ValueField* fields[] = {&f.lblFormality, &f.lblPersonage, &f.lblPastTenseness,
                                  &f.lblObligationIntention, &f.lblAffect};
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        // A formality field holding none of its texts gives no digit: a four-character code.
        if (const auto digit = digitOf(static_cast<Category>(k), fields[k]->text())) {
            f.lstTypology.append(std::string(1, *digit));
        }
    }
    std::string code;
    for (const std::string& digit : f.lstTypology.items()) {
        code += digit;
    }
    f.txtTypes.append(code + "\t" + f.txtFileName.text() + "\r\n");
    f.lstAllTypes.append(code);
    f.lstTypeNames.append(f.txtFileName.text());
    // The bytes belong to the name only while the name is still the text they display as.
    const bool bytesOfName =
        !f.fileNameBytes.empty() && displayText(f.fileNameBytes) == f.txtFileName.text();
    f.typeNameBytes.push_back(bytesOfName ? f.fileNameBytes : f.txtFileName.text());
    f.lstTypology.clear();
}

}  // namespace pelmora
