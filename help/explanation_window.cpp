#include "help/explanation_window.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "help/window_parts.h"

namespace pelmora {

namespace {

QLabel* makeCode(QWidget* parent, const char* name, const char* code) {
    QLabel* label = makeHeading(parent, name, code);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    label->setFont(font);
    label->setWordWrap(false);
    return label;
}

}  // namespace

ExplanationWindow::ExplanationWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Pelmora: Type-code explanation"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeText(
        this, "Label3",
        "There are five categories of textual feature which collectively classify the text. "
        "The type-code for a text thus consists of five digits, one for each category. Here is "
        "an example:"));

    auto* example = new QGridLayout;
    example->addWidget(makeHeading(this, "Label12", "Example:"), 0, 0, 1, 2);
    example->addWidget(makeText(this, "Label13", "Text 1 type-code:"), 1, 0);
    example->addWidget(makeCode(this, "Label1", "20100"), 1, 1);
    example->addWidget(makeText(this, "Label14", "Text 2 type-code:"), 2, 0);
    example->addWidget(makeCode(this, "Label2", "20201"), 2, 1);
    example->setColumnStretch(2, 1);
    layout->addLayout(example);

    layout->addWidget(makeCode(this, "Label10", "20100"));
    const char* const digits[][2] = {
        {"Label4", "The first digit relates to how formal the text is."},
        {"Label5",
         "The second digit relates to 'person-orientation'. Is this a first, second or third "
         "person text."},
        {"Label6", "Whether the text is in the past tense or not."},
        {"Label7",
         "This digit relates to aspects of textual modality (primarily intention and "
         "obligation)."},
        {"Label8", "The last digit relates to affect."},
    };
    int lineNumber = 1;
    for (const auto& digit : digits) {
        const QByteArray lineName = "Line" + QByteArray::number(lineNumber++);
        layout->addWidget(makeLine(this, lineName.constData()));
        layout->addWidget(makeText(this, digit[0], digit[1]));
    }

    layout->addWidget(
        makeText(this, "Label9", "See the process form for a legend of all the above."));
    layout->addWidget(makeText(
        this, "Label11",
        "Once each text has been assigned its type-code, the type codes are then compared for "
        "each text pairing in the group. In the above example, the texts appear to have 3 "
        "categories in common: degree of formality, personage, and degree of "
        "intention/obligation. An average (arithmetic mean) is taken for the group, as is a "
        "sample standard deviation. A report is then issued on the main form giving the results "
        "of all of the inter-text comparisons."));
    layout->addWidget(makeText(this, "Label15", "(Click to dismiss this form)"));
    layout->addStretch(1);  // a larger window's room goes below the text
    setMinimumWidth(520);
}

void ExplanationWindow::mousePressEvent(QMouseEvent* event) {
    // The texts ignore mouse presses, so a click on any of them arrives here as well.
    event->accept();
    close();
}

// Escape closes it, as it would a dialog.
void ExplanationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace pelmora
