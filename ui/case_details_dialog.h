#pragma once
// "Pelmora: Case details": the case number, the examiner, the question asked and notes, as the
// case file keeps them.

#include <QDialog>

#include "casefile/case_file.h"

class QLineEdit;
class QPlainTextEdit;

namespace pelmora {

class CaseDetailsDialog : public QDialog {
    Q_OBJECT

public:
    CaseDetailsDialog(const CaseDetails& details, QWidget* parent = nullptr);
    // The details as the fields hold them now.
    [[nodiscard]] CaseDetails details() const;

private:
    QLineEdit* number_ = nullptr;
    QLineEdit* examiner_ = nullptr;
    QPlainTextEdit* question_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

}  // namespace pelmora
