#include "ui/analysis_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "desktop/window_fit.h"
#include "forms/form1.h"
#include "help/window_parts.h"
#include "ui/text_bridge.h"

namespace pelmora {

namespace {

QPlainTextEdit* makeBox(QWidget* parent, const char* name, bool readOnly) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(readOnly);
    if (readOnly) {
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

// Sets `box` to the store text when it differs from what the box shows.
void showIfChanged(QPlainTextEdit* box, std::string& shown, const std::string& text) {
    if (shown == text) {
        return;
    }
    shown = text;
    box->setPlainText(shownText(text));
    box->document()->setModified(false);
}

}  // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Pelmora: Process Form"));

    auto* cmdDoItAll = makeButton(this, "cmdDoItAll", "&All");
    auto* cmdReset = makeButton(this, "cmdReset", "Reset");
    auto* cmdTotalReset = makeButton(this, "cmdTotalReset", "Total Reset");
    text1_ = makeBox(this, "Text1", false);
    txtTypes_ = makeBox(this, "txtTypes", true);
    text2_ = makeBox(this, "Text2", true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDoItAll);
    buttons->addWidget(cmdReset);
    buttons->addWidget(cmdTotalReset);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(buttons);
    left->addWidget(text1_, 3);
    left->addWidget(makeHeading(this, "captionResults", "RESULTS:"));
    left->addWidget(txtTypes_, 2);
    left->addWidget(makeHeading(this, "captionLegend", "LEGEND:"));
    left->addWidget(text2_, 2);

    auto* right = new QVBoxLayout;
    right->addWidget(makeText(this, "explanation1",
                              "Next to each text in the results box you will see a five digit "
                              "type code. This type code is the classification of the text."));
    right->addWidget(makeText(this, "explanation2",
                              "The first digit relates to formality, with a formal text being "
                              "'2', an informal or less formal text being '1' and a text which "
                              "is neutral in formality terms being '0'."));
    right->addWidget(makeText(this, "explanation3",
                              "The second digit relates to 'personage': first person is '1', "
                              "2nd person is '2' and, naturally, 3rd person is '3'. A neutral "
                              "text is '0'."));
    right->addWidget(makeText(this, "explanation4",
                              "For a legend of all the digits in the type code, see the "
                              "adjacent LEGEND box on the left."));
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    auto* cmdFurtherDetails = makeButton(this, "cmdFurtherDetails", "Further Details");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdFurtherDetails);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(makeLine(this, "ruleBelowColumns"));
    layout->addLayout(bottom);

    setTabOrder(cmdDoItAll, cmdReset);
    setTabOrder(cmdReset, cmdTotalReset);
    setTabOrder(cmdTotalReset, text1_);
    setTabOrder(text1_, txtTypes_);
    setTabOrder(txtTypes_, text2_);
    setTabOrder(text2_, cmdFurtherDetails);
    // Tab moves between the boxes instead of typing a tab into the working text.
    text1_->setTabChangesFocus(true);

    connect(cmdDoItAll, &QPushButton::clicked, this, &AnalysisWindow::doItAllPressed);
    connect(cmdReset, &QPushButton::clicked, this, &AnalysisWindow::resetPressed);
    connect(cmdTotalReset, &QPushButton::clicked, this, &AnalysisWindow::totalResetPressed);
    connect(cmdFurtherDetails, &QPushButton::clicked, this, &AnalysisWindow::furtherDetailsPressed);
    fitToScreen(this, {820, 620});
}

void AnalysisWindow::showStores(const Form1& form) {
    showIfChanged(text1_, shownText1_, form.Text1.text());
    if (shownTypes_ != form.txtTypes.text()) {
        showIfChanged(txtTypes_, shownTypes_, form.txtTypes.text());
        // The newest result is the one the user wants to see.
        txtTypes_->verticalScrollBar()->setValue(txtTypes_->verticalScrollBar()->maximum());
    }
    showIfChanged(text2_, shownLegend_, form.Text2.text());
}

void AnalysisWindow::takeEdits(Form1& form) {
    if (!text1_->document()->isModified()) {
        return;
    }
    // The raw text keeps non-breaking spaces, which the plain-text view turns into spaces.
    QString raw = text1_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    form.Text1.setText(typedText(raw));
    shownText1_ = form.Text1.text();
    text1_->document()->setModified(false);
}

void AnalysisWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closedByUser();
}

}  // namespace pelmora
