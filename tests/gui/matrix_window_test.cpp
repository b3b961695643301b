// The matrix window over a run: its cells against the report, the marks and tooltips, where
// it is scrolled to from one run to the next, and the pictures it saves, small and large.

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <set>
#include <string>

#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "run/batch.h"
#include "tests/support/report_pairs.h"
#include "tests/support/run_builder.h"
#include "ui/job_runner.h"
#include "ui/matrix_image.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;
using Texts = std::pair<int, int>;  // positions in the run, first < second

// Every pair the report lists, by the positions of the texts it names, and those it lists as
// off the norm.
struct ReportPairs {
    std::map<Texts, int> all;
    std::set<Texts> offTheNorm;
};

ReportPairs reportPairs(const RunResult& run) {
    std::map<std::string, Texts> named;  // as a pair line names its texts, "one-other"
    for (const TextRecord& a : run.texts) {
        for (const TextRecord& b : run.texts) {
            named[a.name + "-" + b.name] = {a.position, b.position};
        }
    }
    const auto texts = [&](const std::string& line) {
        const auto found = named.find(line.substr(0, line.rfind('\t')));
        if (found == named.end()) {
            qFatal("report line names no two texts: %s", line.c_str());
        }
        return found->second;
    };
    const test::ReportedPairs reported = test::reportedPairs(run.report.text());
    ReportPairs report;
    for (const std::string& line : reported.all) {
        report.all[texts(line)] = std::stoi(line.substr(line.rfind('\t') + 1));
    }
    for (const std::string& line : reported.significant) {
        report.offTheNorm.insert(texts(line));
    }
    return report;
}

std::shared_ptr<const RunResult> sampleRun() {
    ProgramContext context(testing::sampleFolder());
    startProgram(context);
    return runBatch(context);
}

// Six texts of known strengths: 0 and 1 are alike (5), 2 is opposite to both (0), 3 differs
// from them in its last digit (4) and from 2 in all but it (1); 4 and 5 are one file twice, so
// they form no pair. Pairs of strength 0 are off the norm.
std::shared_ptr<const RunResult> handfulRun() {
    std::array<bool, 16> offTheNorm{};
    offTheNorm[0] = true;
    RunResult run = test::runOf({{"alpha.txt", "11111"},
                                 {"beta.txt", "11111"},
                                 {"gamma.txt", "22222"},
                                 {"delta.txt", "11112"},
                                 {"twice.txt", "11111"},
                                 {"twice.txt", "11111"}},
                                offTheNorm);
    run.mean = "2.5";
    run.stDev = "1.9";
    return std::make_shared<const RunResult>(std::move(run));
}

const std::map<Texts, int> kHandfulStrengths = {
    {{0, 1}, 5}, {{0, 2}, 0}, {{0, 3}, 4}, {{0, 4}, 5}, {{0, 5}, 5}, {{1, 2}, 0}, {{1, 3}, 4},
    {{1, 4}, 5}, {{1, 5}, 5}, {{2, 3}, 1}, {{2, 4}, 0}, {{2, 5}, 0}, {{3, 4}, 4}, {{3, 5}, 4},
};

// `count` texts all alike but for `odd`, which is opposite to every other.
std::shared_ptr<const RunResult> alikeRunBut(int count, int odd) {
    std::vector<test::BuiltText> texts;
    for (int k = 0; k < count; ++k) {
        texts.push_back({"text " + std::to_string(k) + ".txt", k == odd ? "22222" : "11111"});
    }
    return std::make_shared<const RunResult>(test::runOf(texts));
}

// The strength a cell shows, -1 when it is blank.
int shownStrength(const MatrixModel& model, int row, int column) {
    const QString shown = model.index(row, column).data().toString();
    return shown.isEmpty() ? -1 : shown.toInt();
}

QColor background(const MatrixModel& model, int row, int column) {
    return model.index(row, column).data(Qt::BackgroundRole).value<QBrush>().color();
}

bool reddish(const QColor& c) {
    return c.red() > c.green() + 40;
}
bool greenish(const QColor& c) {
    return c.green() > c.red() + 40;
}
bool greyish(const QColor& c) {
    return c.red() == c.green() && c.green() == c.blue() && c.red() > 200;
}

// Whether any pixel of `area` is nearly black.
bool darkIn(const QImage& image, const QRect& area) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 64) {
                return true;
            }
        }
    }
    return false;
}

QImage savedPicture(MatrixWindow& window, const QString& path) {
    QStringList problems;
    window.choosePngPath = [&] { return path; };
    window.reportProblem = [&](const QString& text) { problems.append(text); };
    if (!window.savePng() || !problems.isEmpty()) {
        return {};
    }
    return QImage(path);
}

}  // namespace

class MatrixWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cellsAndTooltipsAreTheReportedPairsBothWaysWithAnEmptyDiagonal() {
        const auto run = sampleRun();
        const ReportPairs report = reportPairs(*run);
        MatrixWindow window;
        window.showRun(run);
        const MatrixModel& model = *window.model();
        QCOMPARE(child<QTableView>(&window, "matrixTable")->model(), window.filterModel());
        const int n = static_cast<int>(run->texts.size());
        QVERIFY(n >= 8);
        QCOMPARE(model.rowCount(), n);
        QCOMPARE(model.columnCount(), n);
        QCOMPARE(report.all.size(), static_cast<std::size_t>(n * (n - 1) / 2));
        QVERIFY(!report.offTheNorm.empty());
        for (int i = 0; i < n; ++i) {
            QCOMPARE(model.headerData(i, Qt::Horizontal).toString(), toQt(run->texts[i].name));
            QCOMPARE(model.headerData(i, Qt::Vertical).toString(), toQt(run->texts[i].name));
            QCOMPARE(shownStrength(model, i, i), -1);
            QVERIFY(greyish(background(model, i, i)));
        }
        for (const auto& [texts, strength] : report.all) {
            const auto [a, b] = texts;
            const bool offTheNorm = report.offTheNorm.count(texts) > 0;
            for (const auto& [r, c] : {texts, Texts{b, a}}) {
                QCOMPARE(shownStrength(model, r, c), strength);
                const QColor colour = background(model, r, c);
                QVERIFY(strength < 3 ? reddish(colour) : strength > 3 ? greenish(colour) : true);
                const QModelIndex cell = model.index(r, c);
                QCOMPARE(cell.data(MatrixModel::SignificantRole).toBool(), offTheNorm);
                QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(), offTheNorm);
                // The tooltip names the row's text first, and the digits where they differ.
                const TextRecord& row = run->texts[r];
                const TextRecord& column = run->texts[c];
                const QString tip = cell.data(Qt::ToolTipRole).toString();
                const QStringList lines = tip.split(u'\n');
                QVERIFY2(lines.size() == 4, qPrintable(tip));
                QVERIFY(lines[0].startsWith(QStringLiteral("Strength %1 of 5").arg(strength)));
                QCOMPARE(lines[0].contains(QStringLiteral("minimal")), strength < 3);
                QCOMPARE(lines[0].contains(QStringLiteral("off the norm")), offTheNorm);
                QCOMPARE(lines[1], toQt(row.name + ", code " + row.code));
                QCOMPARE(lines[2], toQt(column.name + ", code " + column.code));
                for (int k = 0; k < 5; ++k) {
                    const QString differs = toQt(std::string(kCategoryNames[k]) + " (" +
                                                 row.code[k] + " vs " + column.code[k] + ")");
                    QCOMPARE(lines[3].contains(differs), row.code[k] != column.code[k]);
                }
            }
        }
    }

    void aHandfulOfTextsIsOutlinedOnScreenAndSavedWithNamesDigitsAndOutlines() {
        const auto run = handfulRun();
        MatrixWindow window;
        window.resize(700, 600);
        window.showRun(run);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const MatrixModel& model = *window.model();
        QTableView* table = window.table();
        const QImage shown = table->viewport()->grab().toImage();
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QImage saved = savedPicture(window, out.filePath(QStringLiteral("handful.png")));
        QVERIFY(!saved.isNull());
        const MatrixPictureLayout layout = matrixPictureLayout(*run);
        QVERIFY(layout.detailed);
        // The matrix, and under it the caption line that names the run.
        QCOMPARE(saved.width(), layout.size.width());
        QVERIFY(saved.height() > layout.size.height());
        QVERIFY(darkIn(saved, QRect(0, layout.size.height(), saved.width(),
                                    saved.height() - layout.size.height())));
        QVERIFY(layout.pixelsPerText >= 16);
        const std::map<int, QColor> colourOf = {{0, QColor(0xd7, 0x30, 0x27)},
                                                {1, QColor(0xf4, 0x6d, 0x43)},
                                                {4, QColor(0xa6, 0xd9, 0x6a)},
                                                {5, QColor(0x1a, 0x98, 0x50)}};
        for (int row = 0; row < 6; ++row) {
            const QRect rowCells = layout.cellOf(row, 0);
            QVERIFY(darkIn(saved, QRect(0, rowCells.top(), layout.grid.x(), rowCells.height())));
            QVERIFY(darkIn(saved, QRect(layout.cellOf(0, row).left(), 0,
                                        layout.cellOf(0, row).width(), layout.grid.y())));
            for (int column = 0; column < 6; ++column) {
                const auto listed =
                    kHandfulStrengths.find({std::min(row, column), std::max(row, column)});
                // One file listed twice is one text to the pairs.
                const bool pair = row != column && listed != kHandfulStrengths.end();
                const bool offTheNorm = pair && listed->second == 0;
                const QModelIndex index = model.index(row, column);
                QCOMPARE(shownStrength(model, row, column), pair ? listed->second : -1);
                QVERIFY(pair || greyish(background(model, row, column)));
                QCOMPARE(index.data(MatrixModel::SignificantRole).toBool(), offTheNorm);
                const QRect onScreen =
                    table->visualRect(window.filterModel()->mapFromSource(index));
                QCOMPARE(darkIn(shown, QRect(onScreen.left(), onScreen.center().y() - 1, 3, 3)),
                         offTheNorm);

                const QRect cell = layout.cellOf(row, column);
                QCOMPARE(saved.pixelColor(cell.topLeft() + QPoint(4, 4)),
                         pair ? colourOf.at(listed->second) : QColor(0xee, 0xee, 0xee));
                // A strength is written in the middle of every cell with a pair.
                QCOMPARE(darkIn(saved, cell.adjusted(6, 6, -6, -6)), pair);
                QCOMPARE(darkIn(saved, QRect(cell.left() + 1, cell.center().y(), 3, 1)),
                         offTheNorm);
            }
        }
        QVERIFY(model.index(4, 5)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("No pair listed\ntwice.txt")));
        QVERIFY(model.index(0, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("Strength 0 of 5: minimal, off the norm\n")));
        QVERIFY(window.legend().contains(QStringLiteral("Arithmetic Mean 2.5")));
        QVERIFY(window.legend().contains(QStringLiteral("Sample Standard Deviation 1.9")));
    }

    // Each filter on the handful, as worked out from their codes; roles: Q alpha, K gamma and
    // delta. Rows and columns keep the same texts, and a cell opens its pair.
    void filtersKeepTheTextsAndPairsAskedFor() {
        const auto run = handfulRun();
        MatrixWindow window;
        window.showRun(run);
        Metadata roles;
        roles.setRole("alpha.txt", Role::Questioned);
        roles.setRole("gamma.txt", Role::Known);
        roles.setRole("delta.txt", Role::Known);
        window.showRoles(roles);
        auto* name = child<QLineEdit>(&window, "txtMatrixName");
        auto* lowest = child<QSpinBox>(&window, "spnLowestStrength");
        auto* highest = child<QSpinBox>(&window, "spnHighestStrength");
        auto* minimal = child<QCheckBox>(&window, "chkOnlyMinimal");
        auto* offTheNorm = child<QCheckBox>(&window, "chkOnlyOffTheNorm");
        auto* role = child<QComboBox>(&window, "cboMatrixRole");  // every, Q, K, R, none
        const MatrixFilterModel& shown = *window.filterModel();
        const auto kept = [&] {
            static_cast<void>(window.filtering()->wait());
            std::vector<int> texts;
            for (int r = 0; r < shown.rowCount(); ++r) {
                texts.push_back(shown.positionAt(r));
            }
            return shown.columnCount() == shown.rowCount() ? texts : std::vector<int>{-1};
        };
        struct Filter {
            const char* name;
            int lowest, highest;
            bool minimal, offTheNorm;
            int role;
            std::vector<int> kept;
        };
        const Filter filters[] = {
            {"ta", 0, 5, false, false, 0, {1, 3}},         // beta, delta
            {"ALPHA", 0, 5, false, false, 0, {0}},         // any case
            {"", 0, 0, false, false, 0, {0, 1, 2, 4, 5}},  // each forms a 0 with gamma
            {"", 4, 5, false, false, 0, {0, 1, 3, 4, 5}},  // gamma forms none above 1
            {"", 0, 5, true, false, 0, {0, 1, 2, 3, 4, 5}},
            {"", 0, 5, false, true, 0, {0, 1, 2, 4, 5}},  // only the 0s are off the norm
            {"", 0, 5, false, false, 2, {2, 3}},          // known
            {"", 0, 5, false, false, 4, {1, 4, 5}},       // without a role
            {"a", 0, 5, false, true, 0, {0, 1, 2}},       // twice.txt has no "a"
            {"", 5, 5, false, false, 1, {}},              // alpha's 5s are with texts not Q
            {"", 0, 5, false, false, 0, {0, 1, 2, 3, 4, 5}},
        };
        for (const Filter& f : filters) {
            name->setText(QString::fromLatin1(f.name));
            lowest->setValue(f.lowest);
            highest->setValue(f.highest);
            minimal->setChecked(f.minimal);
            offTheNorm->setChecked(f.offTheNorm);
            role->setCurrentIndex(f.role);
            QVERIFY2(kept() == f.kept, f.name);
        }

        // Only minimal: the 5 of alpha and beta is left blank, their 0s with gamma stay.
        minimal->setChecked(true);
        QCOMPARE(kept().size(), std::size_t{6});
        QCOMPARE(shown.index(0, 1).data().toString(), QString());
        QVERIFY(greyish(shown.index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color()));
        QCOMPARE(shown.index(0, 2).data().toInt(), 0);
        QVERIFY(shown.index(0, 2).data(MatrixModel::SignificantRole).toBool());

        // Known only: the first cell is gamma's with delta.
        minimal->setChecked(false);
        role->setCurrentIndex(2);
        QCOMPARE(kept(), (std::vector<int>{2, 3}));
        QSignalSpy opened(&window, &MatrixWindow::pairActivated);
        QTableView* table = window.table();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // As a window system sends it: press, release, press, double-click, release.
        const QPoint cell = table->visualRect(shown.index(0, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell);
        QMouseEvent twice(QEvent::MouseButtonDblClick, cell, table->viewport()->mapToGlobal(cell),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &twice);
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0][0].toInt(), 2);
        QCOMPARE(opened[0][1].toInt(), 3);
    }

    void theSameRunKeepsItsScrollPositionAndAnotherStartsAtTheTopLeft() {
        const auto first = alikeRunBut(120, 7);
        MatrixWindow window;
        window.resize(600, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showRun(first);
        QCoreApplication::processEvents();
        QScrollBar* across = window.table()->horizontalScrollBar();
        QScrollBar* down = window.table()->verticalScrollBar();
        QVERIFY(across->maximum() > 40 && down->maximum() > 40);
        across->setValue(40);
        down->setValue(30);

        window.showRun(first);
        QCoreApplication::processEvents();
        QCOMPARE(across->value(), 40);
        QCOMPARE(down->value(), 30);

        // Texts of the same names and codes, but another run.
        window.showRun(alikeRunBut(120, 7));
        QCoreApplication::processEvents();
        QCOMPARE(across->value(), 0);
        QCOMPARE(down->value(), 0);
        across->setValue(25);
        window.showRun(first);
        QCoreApplication::processEvents();
        QCOMPARE(across->value(), 0);
    }

    void largeRunsAreSavedAsOverviewsThatHideNoMinimalPair() {
        // A thousand texts, a pixel each, saved from the window; every tenth is named.
        const auto thousand = alikeRunBut(1000, 500);
        MatrixWindow window;
        window.showRun(thousand);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QImage saved = savedPicture(window, out.filePath(QStringLiteral("thousand.png")));
        const MatrixPictureLayout layout = matrixPictureLayout(*thousand);
        QVERIFY(!saved.isNull() && !layout.detailed);
        QCOMPARE(saved.width(), layout.size.width());
        QVERIFY(saved.height() > layout.size.height());
        QVERIFY(layout.size.width() <= 8000 && layout.size.height() <= 8000);
        QCOMPARE(layout.textsPerPixel, 1);
        QCOMPARE(layout.nameEvery, 10);
        const auto at = [&](int row, int column) {
            return saved.pixelColor(layout.cellOf(row, column).center());
        };
        QVERIFY(greenish(at(0, 1)) && greenish(at(999, 998)) && greenish(at(501, 499)));
        QVERIFY(reddish(at(500, 3)) && reddish(at(3, 500)) && reddish(at(500, 999)));
        QVERIFY(greyish(at(7, 7)) && greyish(at(500, 500)));
        // Names beside text 10's row and above its column, none beside text 5's.
        const auto rowNamed = [&](int text) {
            const int y = layout.cellOf(text, 0).center().y();
            return darkIn(saved, QRect(0, y - 1, layout.grid.x(), 3));
        };
        const auto columnNamed = [&](int text) {
            const int x = layout.cellOf(0, text).center().x();
            return darkIn(saved, QRect(x - 1, 0, 3, layout.grid.y()));
        };
        QVERIFY(rowNamed(0) && rowNamed(10) && rowNamed(990) && !rowNamed(5) && !rowNamed(995));
        QVERIFY(columnNamed(10) && columnNamed(500) && !columnNamed(5) && !columnNamed(505));

        // More texts than pixels: text 4001 shares its pixels with 4000, which is alike to
        // every other; an average would hide it, the lowest strength shows it.
        const auto crowd = alikeRunBut(8000, 4001);
        const MatrixPictureLayout shared = matrixPictureLayout(*crowd);
        QVERIFY(!shared.detailed && shared.textsPerPixel >= 2);
        const QImage picture = matrixImage(*crowd);
        QCOMPARE(picture.size(), shared.size);
        QVERIFY(picture.width() <= 8000 && picture.height() <= 8000);
        QCOMPARE(shared.cellOf(4000, 0), shared.cellOf(4001, 0));
        const auto pixel = [&](int row, int column) {
            return picture.pixelColor(shared.cellOf(row, column).topLeft());
        };
        QVERIFY(reddish(pixel(4000, 10)) && reddish(pixel(10, 4000)) && reddish(pixel(4000, 4000)));
        QVERIFY(greenish(pixel(0, 0)) && greenish(pixel(0, 7999)) && greenish(pixel(7999, 3990)));
        QVERIFY(picture.rect().contains(shared.cellOf(7999, 7999)));
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::MatrixWindowTest)
#include "matrix_window_test.moc"
