// The matrix window over a run: its cells against the report, the marks and tooltips, where
// it is scrolled to from one run to the next, and the pictures it saves, small and large.

#include <QFont>
#include <QImage>
#include <QScrollBar>
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
#include "tests/support/report_texts.h"
#include "tests/support/run_builder.h"
#include "ui/matrix_image.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;
using Texts = std::pair<int, int>;  // positions in the run, first < second

std::vector<std::string> reportLines(const RunResult& run) {
    std::vector<std::string> lines;
    const std::string text = run.report.text();
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
        lines.push_back(text.substr(from, end - from));
    }
    return lines;
}

// The pair lines ("earlier-later<TAB>strength") of the report from line `from` to the next
// empty line, by the positions of the texts they name.
std::map<Texts, int> pairLines(const RunResult& run, const std::vector<std::string>& lines,
                               std::size_t from) {
    std::map<std::string, int> position;
    for (const TextRecord& t : run.texts) {
        position[t.name] = t.position;
    }
    std::map<Texts, int> pairs;
    for (std::size_t k = from; k < lines.size() && !lines[k].empty(); ++k) {
        const std::string& line = lines[k];
        const std::size_t tab = line.rfind('\t');
        const std::string names = line.substr(0, tab);
        bool found = false;
        for (const auto& [name, first] : position) {
            const auto second =
                position.find(names.substr(std::min(name.size() + 1, names.size())));
            if (names.rfind(name + "-", 0) == 0 && second != position.end()) {
                pairs[{first, second->second}] = std::stoi(line.substr(tab + 1));
                found = true;
            }
        }
        if (!found) {
            qFatal("report line names no two texts: %s", line.c_str());
        }
    }
    return pairs;
}

// Every pair the report lists, and those it lists as off the norm.
struct ReportPairs {
    std::map<Texts, int> all;
    std::set<Texts> offTheNorm;
};

ReportPairs reportPairs(const RunResult& run) {
    const std::vector<std::string> lines = reportLines(run);
    const auto withoutLineEnd = [](const std::string& row) {
        return row.substr(0, row.size() - 2);
    };
    ReportPairs report;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k] == withoutLineEnd(test::kReportHeader)) {
            report.all = pairLines(run, lines, k + 1);
        } else if (lines[k] == withoutLineEnd(test::kSignificantHead)) {
            for (const auto& [texts, strength] : pairLines(run, lines, k + 1)) {
                report.offTheNorm.insert(texts);
            }
        }
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
    std::vector<test::TextSpec> texts;
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
    void cellsAreTheReportedStrengthsBothWaysWithAnEmptyDiagonal() {
        const auto run = sampleRun();
        const ReportPairs report = reportPairs(*run);
        MatrixWindow window;
        window.showRun(run);
        const MatrixModel& model = *window.model();
        QCOMPARE(child<QTableView>(&window, "matrixTable")->model(), &model);
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
            for (const auto& [row, column] : {texts, Texts{b, a}}) {
                QCOMPARE(shownStrength(model, row, column), strength);
                const QColor colour = background(model, row, column);
                QVERIFY(strength < 3 ? reddish(colour) : strength > 3 ? greenish(colour) : true);
                const QModelIndex cell = model.index(row, column);
                QCOMPARE(cell.data(MatrixModel::SignificantRole).toBool(), offTheNorm);
                QCOMPARE(cell.data(Qt::FontRole).value<QFont>().bold(), offTheNorm);
            }
        }
    }

    void tooltipsNameBothTextsTheStrengthAndTheDifferingDigits() {
        const auto run = sampleRun();
        const ReportPairs report = reportPairs(*run);
        MatrixWindow window;
        window.showRun(run);
        for (const auto& [texts, strength] : report.all) {
            const TextRecord& row = run->texts[texts.second];
            const TextRecord& column = run->texts[texts.first];
            const QString tip =
                window.model()->index(texts.second, texts.first).data(Qt::ToolTipRole).toString();
            const QStringList lines = tip.split(u'\n');
            QVERIFY2(lines.size() == 4, qPrintable(tip));
            QVERIFY(lines[0].startsWith(QStringLiteral("Strength %1 of 5").arg(strength)));
            QCOMPARE(lines[0].contains(QStringLiteral("minimal")), strength < 3);
            QCOMPARE(lines[0].contains(QStringLiteral("off the norm")),
                     report.offTheNorm.count(texts) > 0);
            QCOMPARE(lines[1], toQt(row.name + ", code " + row.code));
            QCOMPARE(lines[2], toQt(column.name + ", code " + column.code));
            for (int k = 0; k < 5; ++k) {
                const QString differs = toQt(std::string(kCategoryNames[k]) + " (" + row.code[k] +
                                             " vs " + column.code[k] + ")");
                QCOMPARE(lines[3].contains(differs), row.code[k] != column.code[k]);
            }
        }
    }

    void cellsOffTheNormAreOutlinedAndTextsWithoutAPairAreBlank() {
        const auto run = handfulRun();
        MatrixWindow window;
        window.resize(700, 600);
        window.showRun(run);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const MatrixModel& model = *window.model();
        for (const auto& [texts, strength] : kHandfulStrengths) {
            const auto [a, b] = texts;
            QCOMPARE(shownStrength(model, a, b), strength);
            QCOMPARE(shownStrength(model, b, a), strength);
        }
        // One file listed twice is one text to the pairs.
        QCOMPARE(shownStrength(model, 4, 5), -1);
        QVERIFY(greyish(background(model, 5, 4)));
        QVERIFY(model.index(4, 5)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("No pair listed\ntwice.txt")));

        QTableView* table = window.table();
        const QImage shown = table->viewport()->grab().toImage();
        const auto outlined = [&](int row, int column) {
            const QRect cell = table->visualRect(model.index(row, column));
            return darkIn(shown, QRect(cell.left(), cell.center().y() - 1, 3, 3));
        };
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 6; ++column) {
                const bool offTheNorm = shownStrength(model, row, column) == 0;
                QCOMPARE(model.index(row, column).data(MatrixModel::SignificantRole).toBool(),
                         offTheNorm);
                QCOMPARE(outlined(row, column), offTheNorm);
            }
        }
        QVERIFY(model.index(0, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("Strength 0 of 5: minimal, off the norm\n")));
        QVERIFY(window.legend().contains(QStringLiteral("Arithmetic Mean 2.5")));
        QVERIFY(window.legend().contains(QStringLiteral("Sample Standard Deviation 1.9")));
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

    void aHandfulOfTextsIsSavedWithNamesDigitsAndOutlines() {
        const auto run = handfulRun();
        MatrixWindow window;
        window.showRun(run);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QImage saved = savedPicture(window, out.filePath(QStringLiteral("handful.png")));
        QVERIFY(!saved.isNull());
        const MatrixPictureLayout layout = matrixPictureLayout(*run);
        QVERIFY(layout.detailed);
        QCOMPARE(saved.size(), layout.size);
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
                const QRect cell = layout.cellOf(row, column);
                const auto listed =
                    kHandfulStrengths.find({std::min(row, column), std::max(row, column)});
                const bool pair = row != column && listed != kHandfulStrengths.end();
                const QColor expected =
                    pair ? colourOf.at(listed->second) : QColor(0xee, 0xee, 0xee);
                QCOMPARE(saved.pixelColor(cell.topLeft() + QPoint(4, 4)), expected);
                // A strength is written in the middle of every cell with a pair.
                QCOMPARE(darkIn(saved, cell.adjusted(6, 6, -6, -6)), pair);
                const bool offTheNorm = pair && listed->second == 0;
                QCOMPARE(darkIn(saved, QRect(cell.left() + 1, cell.center().y(), 3, 1)),
                         offTheNorm);
            }
        }
    }

    void aThousandTextsAreSavedAsAnOverviewNamingEveryTenth() {
        const auto run = alikeRunBut(1000, 500);
        MatrixWindow window;
        window.showRun(run);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QImage saved = savedPicture(window, out.filePath(QStringLiteral("thousand.png")));
        QVERIFY(!saved.isNull());
        QVERIFY(saved.width() <= 8000 && saved.height() <= 8000);
        const MatrixPictureLayout layout = matrixPictureLayout(*run);
        QVERIFY(!layout.detailed);
        QCOMPARE(saved.size(), layout.size);
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
    }

    void moreTextsThanPixelsShowTheLowestStrengthOfEachPixel() {
        // Text 4001 shares its pixels with 4000, which is alike to every other: an average
        // would hide it, the lowest strength shows it.
        const auto run = alikeRunBut(8000, 4001);
        const MatrixPictureLayout layout = matrixPictureLayout(*run);
        QVERIFY(!layout.detailed);
        QVERIFY(layout.textsPerPixel >= 2);
        const QImage picture = matrixImage(*run);
        QCOMPARE(picture.size(), layout.size);
        QVERIFY(picture.width() <= 8000 && picture.height() <= 8000);
        QCOMPARE(layout.cellOf(4000, 0), layout.cellOf(4001, 0));
        const auto at = [&](int row, int column) {
            return picture.pixelColor(layout.cellOf(row, column).topLeft());
        };
        QVERIFY(reddish(at(4000, 10)) && reddish(at(10, 4000)) && reddish(at(4000, 4000)));
        QVERIFY(greenish(at(0, 0)) && greenish(at(0, 7999)) && greenish(at(7999, 3990)));
        QVERIFY(picture.rect().contains(layout.cellOf(7999, 7999)));
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::MatrixWindowTest)
#include "matrix_window_test.moc"
