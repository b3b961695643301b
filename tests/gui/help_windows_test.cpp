// The help and type-code explanation windows: one instance each, opened from every place
// that opens them, closed as the user expects, with their fixed texts.

#include <QAbstractButton>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "analysis/occurrences.h"

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "help/explanation_window.h"
#include "help/help_pages.h"
#include "help/help_window.h"
#include "help/help_windows.h"
#include "ui/analysis_window.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/main_window.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"

namespace pelmora {
using namespace Qt::StringLiterals;
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

using Texts = std::vector<std::pair<const char*, const char*>>;  // label name, its text

void expectTexts(QWidget* window, const Texts& texts) {
    for (const auto& [name, text] : texts) {
        QCOMPARE(child<QLabel>(window, name)->text(), QString::fromUtf8(text));
    }
}

const Texts kHelpTexts = {
    {"Label1", "What this programme does:"},
    {"Label2",
     "This programme uses a variety of textual measures (primarily the density of certain types "
     "of word (e.g. pronouns, deteminers, etc) to classify a text. Each text in a group (i.e. all "
     "the texts within a selected folder or directory on your computer) is compared with every "
     "other text in the group and a compatability factor is assigned to the relationship between "
     "the texts. Texts which are highly compatible will score 4 or 5 (the maximum is 5). A value "
     "of 3 is considered borderline. A value of 2 or less indicates the relationship is "
     "minimal."},
    {"Label3",
     "When comparing two texts, for example for authorship purposes, it is desirable that the "
     "texts have as much in common with each other linguistically as possible at the text "
     "typology level: that is what this programme tests. However, a low or minimal "
     "compatability rating does not imply that two texts cannot be compared. The final "
     "judgement, as always, is that of the experienced linguist who uses the programme."},
    {"Label4", "How to use this programme:"},
    {"Label5",
     "On the main form, simply use the file controls to navigate to a folder where you have "
     "already stored a set of text files you may wish to compare with each other. You will see "
     "the texts for comparison in the pale blue file list box at the bottom of the main form. "
     "Now click on 'Auto-check all files in folder'. Click only once - no double-clicking is "
     "necessary."},
    {"Label6",
     "The programme will quickly process all your files and deliver a report in the yellow "
     "report box on the right of the form. Copy and paste this information into a "
     "word-processor or spreadsheet application for further consideration or analysis."},
    {"Label7",
     "After obtaining your report, be sure to click 'Refresh' before trying to load your next "
     "selection otherwise you will not be able to process any more texts."},
    {"Label8",
     "Pelmora works on the basis of comparing intertextual type codes. To view an example click "
     "here:"},
};

}  // namespace

class HelpWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void helpOpensOnceWithItsTextsAndOkEndsIt() {
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
        expectTexts(help, kHelpTexts);
        // The version a report should name: the project's, and the revision it was built from.
        const QRegularExpression version(
            QStringLiteral("^Pelmora %1 \\(revision [^ ]+\\)$")
                .arg(QRegularExpression::escape(QStringLiteral(PELMORA_TEST_VERSION))));
        QVERIFY(version.match(child<QLabel>(help, "helpVersion")->text()).hasMatch());
        QCOMPARE(child<QPushButton>(help, "cmdView")->text(),
                 QStringLiteral("View example of an inter-text type code"));
        // Beside them, what the main form offers around the report, with the figures it uses.
        const std::pair<const char*, const char*> further[] = {
            {"helpSummary", "'Refresh'"},
            {"helpDetails", "within 0.002 of its threshold"},
            {"helpMatrix", "'Save PNG…'"},
            {"helpExports", "'Export measures…'"},
            {"helpWarnings", "fewer than 200 words"},
        };
        for (const auto& [name, words] : further) {
            QVERIFY2(child<QLabel>(help, name)->text().contains(QString::fromUtf8(words)), name);
        }

        // At the size it opens, which a 1366x768 screen holds, every text of the first page
        // takes the height its width needs and none overlaps another; the other pages hold a
        // section for every measure's words and every mnemonic of the main form.
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QVERIFY(help->width() <= 1366 && help->height() <= 768);
        auto* page = child<QWidget>(help, "helpStartPage");
        QList<QRect> taken;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            const QString name = label->objectName();
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(name));
            const QRect at(label->mapTo(page, QPoint(0, 0)), label->size());
            for (const QRect& other : taken) {
                QVERIFY2(!at.intersects(other), qPrintable(name));
            }
            taken.append(at);
        }

        const QString words = child<QTextBrowser>(help, "helpWordsPage")->toHtml();
        for (const Measure m : kCountedMeasures) {
            const QString anchor = wordsAnchor(m);
            QVERIFY2(words.contains(u"name=\""_s + anchor + u'"'), qPrintable(anchor));
        }
        const QString keys = child<QTextBrowser>(help, "helpKeysPage")->toPlainText();
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            const qsizetype at = button->text().indexOf(u'&');
            if (at >= 0 && at + 1 < button->text().size() && button->isVisibleTo(&window)) {
                const QString alt = u"Alt+"_s + button->text().at(at + 1).toUpper();
                QVERIFY2(keys.contains(alt), qPrintable(alt));
            }
        }
        QVERIFY(keys.contains(u"Ctrl+F"_s));
        const QString warnings = child<QTextBrowser>(help, "helpWarningsPage")->toPlainText();
        QVERIFY(warnings.contains(u"fewer than 200 words"_s));

        // OK destroys Help; the next Help is a fresh one, even before the old one is deleted.
        QTest::mouseClick(child<QPushButton>(help, "cmdOK"), Qt::LeftButton);
        QTest::mouseClick(cmdHelp, Qt::LeftButton);
        QCOMPARE(openWindows<HelpWindow>(&window).size(), 1);
        processDeletions();
        QCOMPARE(window.findChildren<HelpWindow*>().size(), 1);
        QVERIFY(window.helpWindows()->helpWindow()->isVisible());
        // Escape closes it as OK does.
        QTest::keyClick(window.helpWindows()->helpWindow(), Qt::Key_Escape);
        processDeletions();
        QVERIFY(window.helpWindows()->helpWindow() == nullptr);
    }

    // A measure's context action in Details' legend opens the one Help at that measure's
    // words, scrolled down to the row for the last measures of the list.
    void aMeasuresWordsOpenHelpAtItsRow() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid() && testing::writeHandFolder(folder.path()));
        ProgramContext context(pathFromQt(folder.path()));
        MainWindow window(context);
        window.show();
        child<QPushButton>(&window, "cmdAuto")->click();
        QTRY_VERIFY(window.run() != nullptr);
        child<QPushButton>(&window, "cmdDetails")->click();
        DetailsWindow* details = child<EvidencePanel>(&window, "EvidencePanel")->detailsWindow();
        details->tabs()->setCurrentWidget(details->textView());
        QVERIFY(QTest::qWaitForWindowExposed(details));
        QListWidget* legend = details->textView()->legend();
        const auto ask = [&](int row) {
            QTimer::singleShot(0, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr || menu->actions().size() != 1) {
                    qFatal("no menu of one action");
                }
                QCOMPARE(menu->actions()[0]->text(), u"Words counted in Help"_s);
                menu->actions()[0]->trigger();
                menu->close();
            });
            const QPoint at = legend->visualItemRect(legend->item(row)).center();
            emit legend->customContextMenuRequested(at);
        };
        ask(legend->count() - 1);
        HelpWindow* help = window.helpWindows()->helpWindow();
        QVERIFY(help != nullptr && help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        auto* words = child<QTextBrowser>(help, "helpWordsPage");
        QCOMPARE(child<QTabWidget>(help, "helpTabs")->currentWidget(), words);
        QTRY_VERIFY(words->verticalScrollBar()->value() > 0);
        // The first measure is further up, in the same window.
        const int last = words->verticalScrollBar()->value();
        ask(0);
        QCOMPARE(window.helpWindows()->helpWindow(), help);
        QTRY_VERIFY(words->verticalScrollBar()->value() < last);
    }

    // The example in Help and "Further Details" share one explanation, which a click on one of
    // its texts, on its bare background or Escape closes, whichever opened it; closing Help
    // leaves it.
    void explanationIsSharedAndClosesOnAClick_data() {
        QTest::addColumn<bool>("fromHelp");    // else from the analysis form
        QTest::addColumn<QString>("closing");  // a click on a text or the background, or Escape
        QTest::newRow("from Help, on a text") << true << u"text"_s;
        QTest::newRow("from Help, on the background") << true << u"background"_s;
        QTest::newRow("from Further Details, on a text") << false << u"text"_s;
        QTest::newRow("from Further Details, on the background") << false << u"background"_s;
        QTest::newRow("from Help, by Escape") << true << u"Escape"_s;
    }

    void explanationIsSharedAndClosesOnAClick() {
        QFETCH(bool, fromHelp);
        QFETCH(QString, closing);
        QTemporaryDir folder;
        ProgramContext context(pathFromQt(folder.path()));
        MainWindow window(context);
        window.show();
        QTest::mouseClick(child<QPushButton>(&window, "cmdHelp"), Qt::LeftButton);
        HelpWindow* help = window.helpWindows()->helpWindow();
        auto* cmdView = child<QPushButton>(help, "cmdView");
        auto* cmdFurtherDetails = child<QPushButton>(window.analysisWindow(), "cmdFurtherDetails");
        QCOMPARE(cmdFurtherDetails->text(), QStringLiteral("Further Details"));

        QTest::mouseClick(fromHelp ? cmdView : cmdFurtherDetails, Qt::LeftButton);
        ExplanationWindow* explanation = window.helpWindows()->explanationWindow();
        QVERIFY(explanation != nullptr && explanation->isVisible());
        (fromHelp ? cmdFurtherDetails : cmdView)->click();
        QCOMPARE(window.helpWindows()->explanationWindow(), explanation);
        QCOMPARE(openWindows<ExplanationWindow>(&window).size(), 1);
        QCOMPARE(explanation->objectName(), QStringLiteral("Form4"));
        QCOMPARE(explanation->windowTitle(), QStringLiteral("Pelmora: Type-code explanation"));
        expectTexts(explanation, {{"Label1", "20100"},
                                  {"Label2", "20201"},
                                  {"Label10", "20100"},
                                  {"Label12", "Example:"},
                                  {"Label13", "Text 1 type-code:"},
                                  {"Label14", "Text 2 type-code:"},
                                  {"Label15", "(Click to dismiss this form)"}});
        for (int line = 1; line <= 5; ++line) {
            QVERIFY(explanation->findChild<QFrame*>(QStringLiteral("Line%1").arg(line)) != nullptr);
        }
        QTest::mouseClick(child<QPushButton>(help, "cmdOK"), Qt::LeftButton);
        QVERIFY(explanation->isVisible());

        if (closing == u"text"_s) {
            QTest::mouseClick(child<QLabel>(explanation, "Label11"), Qt::LeftButton);
        } else if (closing == u"Escape"_s) {
            QTest::keyClick(explanation, Qt::Key_Escape);
        } else {
            QTest::mouseClick(explanation, Qt::LeftButton, {}, QPoint(2, 2));
        }
        QVERIFY(!explanation->isVisible());
        processDeletions();
        QVERIFY(window.helpWindows()->explanationWindow() == nullptr);
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::HelpWindowsTest)
#include "help_windows_test.moc"
