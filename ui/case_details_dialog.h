#pragma once
// "Pelmora: Case details": the case number, the examiner, the question asked and notes, as the
// case file keeps them, and whether the case examines its questioned texts first (fixed once
// they are locked).

#include <QDialog>

#include "case/unmasking.h"
#include "casefile/case_file.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace pelmora {

// What the dialog edits.
struct CaseSettings {
    CaseDetails details;
    UnmaskingStage unmasking = UnmaskingStage::Off;
    bool operator==(const CaseSettings&) const = default;
};

class CaseDetailsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CaseDetailsDialog(const CaseSettings& settings, QWidget* parent = nullptr);
    // The settings as the fields hold them now.
    [[nodiscard]] CaseSettings settings() const;

private:
    QLineEdit* number_ = nullptr;
    QLineEdit* examiner_ = nullptr;
    QPlainTextEdit* question_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QCheckBox* unmasking_ = nullptr;
    bool locked_ = false;
};

}  // namespace pelmora
