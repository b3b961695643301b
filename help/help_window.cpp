#include "help/help_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "explanation/captions.h"
#include "help/further_help.h"
#include "help/window_parts.h"
#include "version/version.h"

namespace pelmora {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Pelmora Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout;
    layout->addWidget(makeHeading(this, "Label1", "What this programme does:"));
    layout->addWidget(makeText(this, "Label2", strengthHelpText().c_str()));
    layout->addWidget(makeText(
        this, "Label3",
        "When comparing two texts, for example for authorship purposes, it is desirable that "
        "the texts have as much in common with each other linguistically as possible at the "
        "text typology level: that is what this programme tests. However, a low or minimal "
        "compatability rating does not imply that two texts cannot be compared. The final "
        "judgement, as always, is that of the experienced linguist who uses the programme."));
    layout->addWidget(makeHeading(this, "Label4", "How to use this programme:"));
    layout->addWidget(makeText(
        this, "Label5",
        "On the main form, simply use the file controls to navigate to a folder where you have "
        "already stored a set of text files you may wish to compare with each other. You will "
        "see the texts for comparison in the pale blue file list box at the bottom of the main "
        "form. Now click on 'Auto-check all files in folder'. Click only once - no "
        "double-clicking is necessary."));
    layout->addWidget(makeText(
        this, "Label6",
        "The programme will quickly process all your files and deliver a report in the yellow "
        "report box on the right of the form. Copy and paste this information into a "
        "word-processor or spreadsheet application for further consideration or analysis."));
    layout->addWidget(makeText(
        this, "Label7",
        "After obtaining your report, be sure to click 'Refresh' before trying to load your "
        "next selection otherwise you will not be able to process any more texts."));
    layout->addWidget(makeText(this, "Label8",
                               "Pelmora works on the basis of comparing intertextual type codes. "
                               "To view an example click here:"));

    auto* cmdView = makeButton(this, "cmdView", "View example of an inter-text type code");
    layout->addWidget(cmdView, 0, Qt::AlignLeft);
    layout->addStretch();
    auto* cmdOK = makeButton(this, "cmdOK", "OK");
    cmdOK->setDefault(true);

    // What the main form offers around the report stands beside the original help.
    auto* columns = new QHBoxLayout;
    columns->addLayout(layout, 1);
    columns->addSpacing(12);
    columns->addWidget(makeFurtherHelp(this), 1);
    auto* window = new QVBoxLayout(this);
    window->addLayout(columns, 1);
    // The version and source revision a report should name, beside the button.
    auto* bottom = new QHBoxLayout;
    QLabel* version = makeText(this, "helpVersion", programVersion().c_str());
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(version, 1);
    bottom->addWidget(cmdOK, 0, Qt::AlignRight);
    window->addLayout(bottom);

    connect(cmdView, &QPushButton::clicked, this, &HelpWindow::viewExampleRequested);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
    setMinimumWidth(900);
}

// Escape closes it, as it would a dialog.
void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace pelmora
