#include "ui/case_details_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/text_bridge.h"

namespace pelmora {

CaseDetailsDialog::CaseDetailsDialog(const CaseDetails& details, QWidget* parent)
    : QDialog(parent) {
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Case &number"), number_);
    form->addRow(QStringLiteral("&Examiner"), examiner_);
    form->addRow(QStringLiteral("&Question asked"), question_);
    form->addRow(QStringLiteral("N&otes"), notes_);
    form->addRow(buttons);
}

CaseDetails CaseDetailsDialog::details() const {
    return {fromQt(number_->text()), fromQt(examiner_->text()), fromQt(question_->toPlainText()),
            fromQt(notes_->toPlainText())};
}

}  // namespace pelmora
