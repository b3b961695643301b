#include "ui/case_details_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "desktop/window_fit.h"
#include "ui/text_bridge.h"

namespace pelmora {

CaseDetailsDialog::CaseDetailsDialog(const CaseSettings& settings, QWidget* parent)
    : QDialog(parent), locked_(settings.unmasking == UnmaskingStage::Locked) {
    const CaseDetails& details = settings.details;
    setObjectName(QStringLiteral("CaseDetails"));
    setWindowTitle(QStringLiteral("Pelmora: Case details"));
    number_ = new QLineEdit(toQt(details.number), this);
    number_->setObjectName(QStringLiteral("txtCaseNumber"));
    examiner_ = new QLineEdit(toQt(details.examiner), this);
    examiner_->setObjectName(QStringLiteral("txtExaminer"));
    question_ = new QPlainTextEdit(toQt(details.question), this);
    question_->setObjectName(QStringLiteral("txtQuestion"));
    notes_ = new QPlainTextEdit(toQt(details.notes), this);
    notes_->setObjectName(QStringLiteral("txtNotes"));
    unmasking_ = new QCheckBox(
        QStringLiteral("&Sequential unmasking: the questioned texts are examined and locked "
                       "before the known and reference results show"),
        this);
    unmasking_->setObjectName(QStringLiteral("chkUnmasking"));
    unmasking_->setChecked(settings.unmasking != UnmaskingStage::Off);
    if (locked_) {
        unmasking_->setEnabled(false);
        unmasking_->setToolTip(QStringLiteral("The questioned texts are locked: it stays on."));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Case &number"), number_);
    form->addRow(QStringLiteral("&Examiner"), examiner_);
    form->addRow(QStringLiteral("&Question asked"), question_);
    form->addRow(QStringLiteral("N&otes"), notes_);
    form->addRow(unmasking_);
    form->addRow(buttons);
    fitToScreen(this, {560, sizeHint().height()});
}

CaseSettings CaseDetailsDialog::settings() const {
    const UnmaskingStage unmasking = locked_                   ? UnmaskingStage::Locked
                                     : unmasking_->isChecked() ? UnmaskingStage::Unlocked
                                                               : UnmaskingStage::Off;
    return {{fromQt(number_->text()), fromQt(examiner_->text()), fromQt(question_->toPlainText()),
             fromQt(notes_->toPlainText())},
            unmasking};
}

}  // namespace pelmora
