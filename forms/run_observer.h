#pragma once
// What the batch run tells whoever watches it, as it goes: the texts gathered before it, each
// text right after its full analysis, each file it leaves out, and the end of the run.

#include "forms/file_facts.h"
#include "forms/form1.h"

namespace pelmora {

class Form2;

class RunObserver {
public:
    virtual ~RunObserver() = default;
    // `gathered` holds the texts analysed before the run, which take part in its comparisons.
    virtual void runStarted(const Form2& main, const Form1& gathered) = 0;
    // `form` as the full analysis of the text left it, before the reset; its decisions are
    // handed over in `decisions`, since the reset discards them.
    virtual void textAnalysed(const Form1& form, Form1Decisions decisions,
                              const FileFacts& file) = 0;
    virtual void fileLeftOut(const SkippedFile& file) = 0;
    // After the statistics and the report.
    virtual void runFinished(const Form2& main, const Form1& gathered) = 0;
};

}  // namespace pelmora
