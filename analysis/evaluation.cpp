#include "analysis/form1_commands.h"

namespace pelmora {

void Form1Commands::cmdEvaluate() {
    Form1& f = form();
    SharedState& shared = context_.shared();
    f.decisions.inputs.densityLines = f.lstTypeFrequencies.items();
    f.decisions.inputs.labels = f.lstTypes.items();
    Evaluation e =
        evaluate(context_.rules(), f.lstTypeFrequencies.items(), f.lstTypes.items(),
                 shared.passiveFlag, f.lstCharacterValues.items(), f.lstSortedValues.items());
    shared.passiveFlag = e.passive;
    for (int i = 0; i < f.lstTypes.count() && i < static_cast<int>(e.labels.size()); ++i) {
        f.lstTypes.setAt(i, e.labels[static_cast<std::size_t>(i)]);
    }
    f.lstCharacterValues.clear();
    for (const std::string& line : e.characterValues) {
        f.lstCharacterValues.append(line);
    }
    for (const std::string& line : e.sortedAdded) {
        f.lstSortedValues.append(line);
    }
    for (const std::string& name : e.resultsAdded) {
        f.lstResults.append(name);
    }
    f.lblClass.setText(std::string(textClassOf(e.classifiable)));
    f.decisions.evaluation = std::move(e);
}

}  // namespace pelmora
