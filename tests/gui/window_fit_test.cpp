// Windows that fit a small screen: every window opens inside a 1366x768 screen's available
// area on a run of the samples, Details keeps its splitters between openings, and chart labels
// stay whole and apart at any width.

#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "desktop/user_settings.h"
#include "desktop/window_fit.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "help/help_windows.h"
#include "ui/case_details_dialog.h"
#include "ui/case_panel.h"
#include "ui/chart_labels.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/import_panel.h"
#include "ui/main_window.h"
#include "ui/pair_window.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;

constexpr QSize kScreen{1366, 768};

QWidget* topLevelNamed(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

// The whole window, frame included, on the screen, and its layout able to shrink to it.
void expectOnScreen(QWidget* window, const char* name) {
    QVERIFY2(window != nullptr, name);
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                       .arg(QLatin1String(name))
                                                       .arg(frame.x())
                                                       .arg(frame.y())
                                                       .arg(frame.width())
                                                       .arg(frame.height())));
    // The least it may take, in a window manager's frame, within the small screen less a panel.
    const QSize least =
        window->minimumSizeHint().expandedTo(window->minimumSize()).grownBy({6, 40, 6, 6});
    QVERIFY2(least.width() <= kSmallScreen.width() && least.height() <= kSmallScreen.height(),
             qPrintable(QStringLiteral("%1 needs %2x%3")
                            .arg(QLatin1String(name))
                            .arg(least.width())
                            .arg(least.height())));
}

// Each line of a wrapped label as shown.
QStringList linesOf(const QString& label) {
    QString text = label;
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.split(QStringLiteral("<br>"));
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void theScreenIsSmall();
    void everyWindowOpensWithinTheScreen();
    void fittedFrameGrowsWithTheScreenAndStaysInside_data();
    void fittedFrameGrowsWithTheScreenAndStaysInside();
    void splittersAreRestoredOnReopening();
    void categoryLabelsFitTheirBars_data();
    void categoryLabelsFitTheirBars();
    void labelsMovedApartNeverOverlap();

private:
    QTemporaryDir settings_;
};

void WindowFitTest::initTestCase() {
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
}

void WindowFitTest::theScreenIsSmall() {
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), kScreen);
}

void WindowFitTest::everyWindowOpensWithinTheScreen() {
    ProgramContext context{pathFromQt(QString::fromStdString(testing::sampleFolder().string()))};
    MainWindow window{context};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    child<QPushButton>(&window, "cmdAuto")->click();
    EvidencePanel* evidence = window.evidencePanel();
    evidence->openDetails();
    evidence->openMatrix();
    evidence->openPair(0, 1);
    window.helpWindows()->openHelp();
    window.helpWindows()->openExplanation();
    child<QPushButton>(&window, "cmdCase")->click();
    QTest::qWait(50);  // every window laid out and framed
    for (const char* name : {"Form2", "Form1", "DetailsWindow", "MatrixWindow", "PairWindow",
                             "frmHelp", "Form4", "CaseWindow"}) {
        expectOnScreen(topLevelNamed(name), name);
    }

    CaseDetailsDialog details({}, &window);
    details.show();
    QVERIFY(QTest::qWaitForWindowExposed(&details));
    expectOnScreen(&details, "CaseDetails");
    bool checked = false;
    QTimer::singleShot(50, this, [&checked] {
        QWidget* dialog = QApplication::activeModalWidget();
        expectOnScreen(dialog, "importDialog");
        checked = dialog != nullptr;
        if (dialog != nullptr) {
            dialog->close();
        }
    });
    QVERIFY(!askForImport(&window));
    QVERIFY(checked);
}

void WindowFitTest::fittedFrameGrowsWithTheScreenAndStaysInside_data() {
    QTest::addColumn<QSize>("preferred");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("over");
    QTest::addColumn<QRect>("expected");
    // The frame is 10 wider and 35 taller than the client area.
    // The small screen less a 40-pixel panel at the top: as preferred, centred.
    QTest::newRow("small screen") << QSize(1000, 600) << QSize(400, 300) << QRect(0, 40, 1366, 728)
                                  << QRect() << QRect(178, 86, 1010, 635);
    // Too large for it: the whole available area.
    QTest::newRow("too large") << QSize(1500, 900) << QSize(400, 300) << QRect(0, 40, 1366, 728)
                               << QRect() << QRect(0, 40, 1366, 728);
    // A minimum beyond the screen still stops at its edges.
    QTest::newRow("minimum beyond the screen")
        << QSize(600, 400) << QSize(2000, 1000) << QRect(0, 40, 1366, 728) << QRect()
        << QRect(0, 40, 1366, 728);
    // Twice the small screen's size: half again as large, on the second screen's area.
    QTest::newRow("large second screen")
        << QSize(1000, 600) << QSize(400, 300) << QRect(1366, 0, 2732, 1456) << QRect()
        << QRect(1977, 260, 1510, 935);
    // Centred on the window it opens over, pushed back inside at the screen's edge.
    QTest::newRow("over a window at the edge")
        << QSize(800, 600) << QSize(400, 300) << QRect(0, 40, 1366, 728)
        << QRect(1000, 500, 300, 200) << QRect(556, 133, 810, 635);
}

void WindowFitTest::fittedFrameGrowsWithTheScreenAndStaysInside() {
    QFETCH(QSize, preferred);
    QFETCH(QSize, minimum);
    QFETCH(QRect, available);
    QFETCH(QRect, over);
    QFETCH(QRect, expected);
    QCOMPARE(fittedFrame(preferred, minimum, QMargins(5, 30, 5, 5), available, over), expected);
}

void WindowFitTest::splittersAreRestoredOnReopening() {
    const QString samples = QString::fromStdString(testing::sampleFolder().string());
    QList<int> left, texts, heights;
    for (int start = 0; start < 2; ++start) {
        ProgramContext context{pathFromQt(samples)};
        MainWindow window{context};
        window.show();
        child<QPushButton>(&window, "cmdAuto")->click();
        EvidencePanel* evidence = window.evidencePanel();
        for (int opening = 0; opening < 2; ++opening) {
            evidence->openDetails();
            DetailsWindow* details = evidence->detailsWindow();
            QVERIFY(QTest::qWaitForWindowExposed(details));
            auto* split = child<QSplitter>(details, "splitDetails");
            auto* run = child<QSplitter>(details, "splitDetailsRun");
            if (start == 0 && opening == 0) {
                // Put where the user might: a narrow list, and the run's tables tall.
                const int width = split->sizes()[0] + split->sizes()[1];
                split->setSizes({width / 4, width - width / 4});
                const int height = run->sizes()[0] + run->sizes()[1];
                run->setSizes({height / 5, height - height / 5});
                left = split->sizes();
                texts = run->sizes();
            } else {
                QCOMPARE(split->sizes(), left);
                QCOMPARE(run->sizes(), texts);
            }
            details->close();
            // The pair window keeps its parts' heights the same way.
            evidence->openPair(0, 1);
            PairWindow* pair = evidence->pairWindow();
            QVERIFY(QTest::qWaitForWindowExposed(pair));
            auto* parts = child<QSplitter>(pair, "splitPair");
            if (start == 0 && opening == 0) {
                const QList<int> was = parts->sizes();
                const int height = was[0] + was[1] + was[2];
                parts->setSizes({height / 6, height / 6, height - 2 * (height / 6)});
                QVERIFY(parts->sizes() != was);
                heights = parts->sizes();
            } else {
                QCOMPARE(parts->sizes(), heights);
            }
            pair->close();
        }
    }
    // Without the list's own width kept, the list is fitted to its columns again, whatever
    // the other splitters kept.
    userSettings().remove(QStringLiteral("details/split"));
    ProgramContext context{pathFromQt(samples)};
    MainWindow window{context};
    window.show();
    child<QPushButton>(&window, "cmdAuto")->click();
    window.evidencePanel()->openDetails();
    DetailsWindow* details = window.evidencePanel()->detailsWindow();
    QVERIFY(QTest::qWaitForWindowExposed(details));
    QCOMPARE(child<QSplitter>(details, "splitDetailsRun")->sizes(), texts);
    QTRY_VERIFY(child<QSplitter>(details, "splitDetails")->sizes()[0] > left[0]);
}

void WindowFitTest::categoryLabelsFitTheirBars_data() {
    // The room a bar has, as wide as a piece of text.
    QTest::addColumn<QString>("room");
    QTest::addColumn<bool>("upright");
    QTest::newRow("wide") << QStringLiteral("common past-tense words, wide") << false;
    QTest::newRow("a word a line") << QStringLiteral("indefinite") << false;
    QTest::newRow("words broken") << QStringLiteral("articles") << false;
    QTest::newRow("too narrow to wrap") << QStringLiteral("in") << true;
}

void WindowFitTest::categoryLabelsFitTheirBars() {
    QFETCH(QString, room);
    QFETCH(bool, upright);
    const QStringList names = {QStringLiteral("definite articles"),
                               QStringLiteral("indefinite articles"),
                               QStringLiteral("common past-tense words"),
                               QStringLiteral("second-person words"),
                               QStringLiteral("'it'"),
                               QStringLiteral("R&D notes")};
    const QFontMetrics metrics(QApplication::font());
    const qreal width = metrics.horizontalAdvance(room);
    const CategoryLabels fitted = wrappedCategories(names, metrics, width);
    QCOMPARE(fitted.upright, upright);
    if (upright) {
        QCOMPARE(fitted.labels, names);
        return;
    }
    QCOMPARE(fitted.labels.size(), names.size());
    const auto letters = [](QString text) { return text.remove(u'-').remove(u' '); };
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QStringList lines = linesOf(fitted.labels[i]);
        for (const QString& line : lines) {
            QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
            // Never a stub of a broken word: at least three letters a line.
            QVERIFY2(letters(line).size() >= 3, qPrintable(line));
        }
        // Nothing of the name lost or added but its breaks.
        QCOMPARE(letters(lines.join(QString())), letters(names[i]));
        QCOMPARE(lines.size() > 1, metrics.horizontalAdvance(names[i]) > width);
    }
    QVERIFY(fitted.labels[5].startsWith(QStringLiteral("R&amp;D")));  // as rich text
}

void WindowFitTest::labelsMovedApartNeverOverlap() {
    // Three labels wanted at one place and one clear of them.
    const std::vector<QRectF> wanted = {QRectF(10, 50, 30, 12), QRectF(12, 52, 30, 12),
                                        QRectF(8, 49, 30, 12), QRectF(200, 50, 30, 12)};
    const std::vector<QRectF> placed = placedApart(wanted, QRectF(0, 0, 400, 100));
    QCOMPARE(placed.size(), wanted.size());
    QCOMPARE(placed[0], wanted[0]);
    QCOMPARE(placed[3], wanted[3]);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        QCOMPARE(placed[i].left(), wanted[i].left());  // moved up or down only
        for (std::size_t j = 0; j < i; ++j) {
            QVERIFY(!placed[i].intersects(placed[j]));
        }
    }
    // The second moves the least: just below the first (10 down against 14 up).
    QCOMPARE(placed[1].top(), 62.0);
    QCOMPARE(placed[2].top(), 38.0);
    // Against the top of the bounds, the way up is closed.
    const std::vector<QRectF> atTop =
        placedApart({QRectF(0, 2, 30, 12), QRectF(0, 4, 30, 12)}, QRectF(0, 0, 400, 100));
    QCOMPARE(atTop[1].top(), 14.0);
}

}  // namespace pelmora

// A screen of 1366x768 in place of the offscreen platform's default.
int main(int argc, char** argv) {
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366,
                       "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0) {
        return 2;
    }
    file.close();
    qputenv("QT_QPA_PLATFORM", (QStringLiteral("offscreen:configfile=") + config).toLocal8Bit());
    QApplication app(argc, argv);
    pelmora::WindowFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_fit_test.moc"
