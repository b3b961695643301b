// The help and type-code explanation windows: one instance each, opened from every place
// that opens them, closed as the user expects, with their fixed texts.

#include <QTemporaryDir>
#include <QTest>

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "help/explanation_window.h"
#include "help/help_window.h"
#include "help/help_windows.h"
#include "ui/analysis_window.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;
using testing::processDeletions;

template <typename Window>
QList<Window*> openWindows(QWidget* owner) {
    QList<Window*> open;
    for (Window* window : owner->findChildren<Window*>()) {
        if (window->isVisible()) {
            open.append(window);
        }
    }
    return open;
}

void expectTexts(QWidget* window, const std::vector<std::pair<const char*, const char*>>& texts) {
    for (const auto& [name, text] : texts) {
        QCOMPARE(child<QLabel>(window, name)->text(), QString::fromUtf8(text));
    }
}

}  // namespace

class HelpWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void helpOpensOnceAndOkDestroysIt();
    void bothCommandsShareOneExplanationWhichAClickCloses();
};

void HelpWindowsTest::helpOpensOnceAndOkDestroysIt() {
    QTemporaryDir folder;
    ProgramContext context(pathFromQt(folder.path()));
    MainWindow window(context);
    window.show();
    auto* cmdHelp = child<QPushButton>(&window, "cmdHelp");

    QTest::mouseClick(cmdHelp, Qt::LeftButton);
    QTest::mouseClick(cmdHelp, Qt::LeftButton);
    QCOMPARE(openWindows<HelpWindow>(&window).size(), 1);
    HelpWindow* help = window.helpWindows()->helpWindow();
    QCOMPARE(help->objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Pelmora Help"));
    // Modeless: the main window still takes presses.
    QVERIFY(!help->isModal());
    expectTexts(help, {
                          {"Label1", "What this programme does:"},
                          {"Label4", "How to use this programme:"},
                          {"Label7",
                           "After obtaining your report, be sure to click 'Refresh' before "
                           "trying to load your next selection otherwise you will not be able "
                           "to process any more texts."},
                          {"Label8",
                           "Pelmora works on the basis of comparing intertextual type codes. To "
                           "view an example click here:"},
                      });
    QCOMPARE(child<QPushButton>(help, "cmdView")->text(),
             QStringLiteral("View example of an inter-text type code"));

    // OK destroys it; the next Help creates a fresh one, even before the old one is deleted.
    QTest::mouseClick(child<QPushButton>(help, "cmdOK"), Qt::LeftButton);
    QTest::mouseClick(cmdHelp, Qt::LeftButton);
    QCOMPARE(openWindows<HelpWindow>(&window).size(), 1);
    processDeletions();
    QCOMPARE(window.findChildren<HelpWindow*>().size(), 1);
    QVERIFY(window.helpWindows()->helpWindow()->isVisible());
}

void HelpWindowsTest::bothCommandsShareOneExplanationWhichAClickCloses() {
    QTemporaryDir folder;
    ProgramContext context(pathFromQt(folder.path()));
    MainWindow window(context);
    window.show();
    window.helpWindows()->openHelp();
    HelpWindow* help = window.helpWindows()->helpWindow();
    auto* cmdView = child<QPushButton>(help, "cmdView");
    auto* cmdFurtherDetails = child<QPushButton>(window.analysisWindow(), "cmdFurtherDetails");
    QCOMPARE(cmdFurtherDetails->text(), QStringLiteral("Further Details"));

    QTest::mouseClick(cmdView, Qt::LeftButton);
    ExplanationWindow* explanation = window.helpWindows()->explanationWindow();
    QVERIFY(explanation != nullptr && explanation->isVisible());
    cmdFurtherDetails->click();
    QCOMPARE(window.helpWindows()->explanationWindow(), explanation);
    QCOMPARE(openWindows<ExplanationWindow>(&window).size(), 1);

    QCOMPARE(explanation->objectName(), QStringLiteral("Form4"));
    QCOMPARE(explanation->windowTitle(), QStringLiteral("Pelmora: Type-code explanation"));
    expectTexts(explanation, {
                                 {"Label1", "20100"},
                                 {"Label2", "20201"},
                                 {"Label10", "20100"},
                                 {"Label12", "Example:"},
                                 {"Label13", "Text 1 type-code:"},
                                 {"Label14", "Text 2 type-code:"},
                                 {"Label15", "(Click to dismiss this form)"},
                             });
    for (int line = 1; line <= 5; ++line) {
        QVERIFY(explanation->findChild<QFrame*>(QStringLiteral("Line%1").arg(line)) != nullptr);
    }

    // Closing the help window leaves the explanation open.
    help->close();
    processDeletions();
    QVERIFY(explanation->isVisible());

    // A click on one of its texts closes it, whichever command opened it.
    QTest::mouseClick(child<QLabel>(explanation, "Label11"), Qt::LeftButton);
    QVERIFY(!explanation->isVisible());
    processDeletions();
    QVERIFY(window.helpWindows()->explanationWindow() == nullptr);

    // Reopened from the analysis window, a click on the bare background closes it too.
    cmdFurtherDetails->click();
    explanation = window.helpWindows()->explanationWindow();
    QVERIFY(explanation != nullptr && explanation->isVisible());
    QTest::mouseClick(explanation, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!explanation->isVisible());
}

}  // namespace pelmora

QTEST_MAIN(pelmora::HelpWindowsTest)
#include "help_windows_test.moc"
