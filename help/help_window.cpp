#include "help/help_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "explanation/captions.h"
#include "help/further_help.h"
#include "help/help_pages.h"
#include "help/window_parts.h"
#include "version/version.h"

namespace pelmora {

namespace {

// The original help, and beside it what the main form offers around the report, scrolled as
// one page: a wrapped label takes the height its width needs, so nothing overlaps.
QWidget* startPage(HelpWindow* window) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("helpStartPage"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(makeHeading(page, "Label1", "What this programme does:"));
    layout->addWidget(makeText(page, "Label2", strengthHelpText().c_str()));
    layout->addWidget(makeText(
        page, "Label3",
        "When comparing two texts, for example for authorship purposes, it is desirable that "
        "the texts have as much in common with each other linguistically as possible at the "
        "text typology level: that is what this programme tests. However, a low or minimal "
        "compatability rating does not imply that two texts cannot be compared. The final "
        "judgement, as always, is that of the experienced linguist who uses the programme."));
    layout->addWidget(makeHeading(page, "Label4", "How to use this programme:"));
    layout->addWidget(makeText(
        page, "Label5",
        "On the main form, simply use the file controls to navigate to a folder where you have "
        "already stored a set of text files you may wish to compare with each other. You will "
        "see the texts for comparison in the pale blue file list box at the bottom of the main "
        "form. Now click on 'Auto-check all files in folder'. Click only once - no "
        "double-clicking is necessary."));
    layout->addWidget(makeText(
        page, "Label6",
        "The programme will quickly process all your files and deliver a report in the yellow "
        "report box on the right of the form. Copy and paste this information into a "
        "word-processor or spreadsheet application for further consideration or analysis."));
    layout->addWidget(makeText(
        page, "Label7",
        "After obtaining your report, be sure to click 'Refresh' before trying to load your "
        "next selection otherwise you will not be able to process any more texts."));
    layout->addWidget(makeText(page, "Label8",
                               "Pelmora works on the basis of comparing intertextual type codes. "
                               "To view an example click here:"));
    auto* cmdView = makeButton(page, "cmdView", "View example of an inter-text type code");
    layout->addWidget(cmdView, 0, Qt::AlignLeft);
    layout->addStretch();
    QObject::connect(cmdView, &QPushButton::clicked, window, &HelpWindow::viewExampleRequested);

    auto* columns = new QHBoxLayout(page);
    columns->addLayout(layout, 1);
    columns->addSpacing(12);
    columns->addWidget(makeFurtherHelp(page), 1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("helpStartScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(page);
    return scroll;
}

// A page of rich text whose links go to its own anchors.
QTextBrowser* browserPage(const char* name, const QString& html) {
    auto* browser = new QTextBrowser;
    browser->setObjectName(QString::fromLatin1(name));
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);
    browser->setHtml(html);
    return browser;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Pelmora Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* tabs = tabs_ = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("helpTabs"));
    tabs->addTab(startPage(this), QStringLiteral("Help"));
    tabs->addTab(browserPage("helpWindowsPage", windowsHelpPage()),
                 QStringLiteral("Windows and exports"));
    tabs->addTab(browserPage("helpKeysPage", keysHelpPage()), QStringLiteral("Keyboard"));
    tabs->addTab(browserPage("helpWarningsPage", warningsHelpPage()), QStringLiteral("Warnings"));
    words_ = browserPage("helpWordsPage", wordsHelpPage());
    tabs->addTab(words_, QStringLiteral("Words counted"));

    auto* cmdOK = makeButton(this, "cmdOK", "OK");
    cmdOK->setDefault(true);
    auto* window = new QVBoxLayout(this);
    window->addWidget(tabs, 1);
    // The version and source revision a report should name, beside the button.
    auto* bottom = new QHBoxLayout;
    QLabel* version = makeText(this, "helpVersion", programVersion().c_str());
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(version, 1);
    bottom->addWidget(cmdOK, 0, Qt::AlignRight);
    window->addLayout(bottom);

    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
    setMinimumSize(640, 480);
    resize(1000, 660);
}

void HelpWindow::showWords(Measure measure) {
    tabs_->setCurrentWidget(words_);
    words_->scrollToAnchor(wordsAnchor(measure));
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
