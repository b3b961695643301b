// The Details window's word-level evidence against the core: the text with its occurrences
// coloured, the concordance of a measure, a digit or a density bar, the charts and their
// pictures, and the texts that are awkward to show.

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedBarSeries>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>
#include <QThreadPool>
#include <fstream>

#include "app/form2_commands.h"
#include "exports/chart_figures.h"
#include "explanation/concordance.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "run/batch.h"
#include "stores/number_text.h"
#include "ui/concordance_model.h"
#include "ui/density_charts.h"
#include "ui/job_runner.h"
#include "ui/details_window.h"
#include "ui/occurrence_highlighter.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"
#include "ui/text_loading.h"
#include "ui/texts_model.h"

namespace pelmora {
namespace {

// Selects the row of the list that holds the text at `position`.
void selectPosition(DetailsWindow& window, int position) {
    const TextsModel* model = window.textsModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->positionAt(row) == position) {
            window.texts()->setCurrentIndex(model->index(row, 0));
            return;
        }
    }
    QFAIL("no row holds the text");
}

std::shared_ptr<const RunResult> runOn(const std::filesystem::path& folder) {
    ProgramContext context(folder);
    startProgram(context);
    return runBatch(context);
}

void writeFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    std::ofstream(std::filesystem::path(dir.filePath(QString::fromUtf8(name)).toStdString()),
                  std::ios::binary)
        << bytes;
}

const TextRecord& textNamed(const RunResult& run, const std::string& name) {
    for (const TextRecord& t : run.texts) {
        if (t.nameBytes == name) {
            return t;
        }
    }
    qFatal("no text %s in the run", name.c_str());
}

std::size_t indexOf(Measure m) {
    return static_cast<std::size_t>(std::find(kCountedMeasures.begin(), kCountedMeasures.end(), m) -
                                    kCountedMeasures.begin());
}

// Every coloured range of the document in order: its measure's position, the text under it,
// and whether it is marked as inside a longer word.
using Laid = std::vector<std::tuple<int, QString, bool>>;

Laid laidRanges(const QTextDocument* document) {
    Laid out;
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        for (const QTextLayout::FormatRange& r : b.layout()->formats()) {
            out.emplace_back(r.format.property(OccurrenceHighlighter::kMeasureProperty).toInt(),
                             b.text().mid(r.start, r.length),
                             r.format.underlineStyle() == QTextCharFormat::DotLine);
        }
    }
    return out;
}

// What the core found, as the view should colour it, for the measures not switched off.
Laid expectedRanges(const TextOccurrences& found, const std::vector<Measure>& off = {}) {
    Laid out;
    for (const Occurrence& o : found.occurrences) {
        if (std::find(off.begin(), off.end(), o.measure) == off.end()) {
            out.emplace_back(static_cast<int>(indexOf(o.measure)), toQt(o.form), o.insideWord);
        }
    }
    return out;
}

bool settled(const TextEvidenceView* view) {
    return !view->isLoading() && view->highlighter()->isDone();
}

// Shows the text and waits until it is read and coloured.
bool shown(TextEvidenceView& view, const std::shared_ptr<const RunResult>& run,
           const std::string& name) {
    view.showText(run, textNamed(*run, name).position);
    return QTest::qWaitFor([&] { return settled(&view); }, 20000);
}

QListWidgetItem* legendItem(const TextEvidenceView* view, Measure m) {
    return view->legend()->item(static_cast<int>(indexOf(m)));
}

void click(QListWidget* list, QListWidgetItem* item) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The concordance as shown: before, counted, after.
std::vector<TableRow> shownLines(const ConcordanceModel* model) {
    std::vector<TableRow> rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        TableRow row;
        for (int c : {ConcordanceModel::Left, ConcordanceModel::Match, ConcordanceModel::Right}) {
            row.push_back(fromQt(model->data(model->index(r, c)).toString()));
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<TableRow> coreLines(const TextRecord& t, const TextOccurrences& found,
                                const std::vector<Measure>& measures) {
    std::vector<TableRow> rows;
    for (const TableRow& row : concordanceTable(t.name, found, nullptr, false)) {
        for (const Measure m : measures) {
            if (row[1] == kMeasures[static_cast<std::size_t>(m)].column) {
                rows.push_back({row[6], row[3], row[7]});
            }
        }
    }
    return rows;
}

std::string fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
}

}  // namespace

class TextEvidenceTest : public QObject {
    Q_OBJECT

private slots:
    void highlightsAndConcordanceAreTheCoresOccurrences() {
        const auto run = runOn(testing::sampleFolder());
        DetailsWindow window;
        window.showRun(run);
        window.show();
        TextEvidenceView* view = window.textView();
        window.tabs()->setCurrentWidget(view);
        const TextRecord& t = textNamed(*run, "diary_sunday.txt");
        selectPosition(window, t.position);
        QTRY_VERIFY_WITH_TIMEOUT(settled(view), 20000);
        const Result<TextOccurrences> found = occurrencesOf(*run, t);
        QVERIFY(found.ok());
        const TextOccurrences& core = found.value();

        QCOMPARE(view->text()->toPlainText(),
                 toQt(core.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(laidRanges(view->text()->document()) == expectedRanges(core));
        for (const Measure m : kCountedMeasures) {
            QCOMPARE(legendItem(view, m)->text(),
                     QString::fromUtf8(kMeasures[static_cast<std::size_t>(m)].label) +
                         QStringLiteral("  ") + toQt(t.text(m)));
        }
        QCOMPARE(view->warningsLine(), QStringLiteral("No input warnings for this text."));

        // A measure: its lines as the core gives them, and its counts by form.
        click(view->legend(), legendItem(view, Measure::ObligationCount));
        QVERIFY(shownLines(view->model()) == coreLines(t, core, {Measure::ObligationCount}));
        QCOMPARE(view->model()->rowCount(), 5);
        QCOMPARE(view->formsLine(),
                 QStringLiteral("modal verbs 5 — will 1; need 1: needed 1; should 2: shouldn't 1, "
                                "shoulders 1; shouldn't 1"));

        // Switched off, a measure loses its colours and nothing else does; and back on.
        legendItem(view, Measure::ObligationCount)->setCheckState(Qt::Unchecked);
        legendItem(view, Measure::DefiniteArticle)->setCheckState(Qt::Unchecked);
        QTRY_VERIFY(settled(view));
        QVERIFY(laidRanges(view->text()->document()) ==
                expectedRanges(core, {Measure::ObligationCount, Measure::DefiniteArticle}));
        legendItem(view, Measure::ObligationCount)->setCheckState(Qt::Checked);
        QTRY_VERIFY(settled(view));
        QVERIFY(laidRanges(view->text()->document()) ==
                expectedRanges(core, {Measure::DefiniteArticle}));
        legendItem(view, Measure::DefiniteArticle)->setCheckState(Qt::Checked);

        // A line clicked: the text goes to it and marks it.
        QTableView* table = view->concordance();
        const QModelIndex shouldnt = view->model()->index(4, ConcordanceModel::Match);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(shouldnt).center());
        const Occurrence& o =
            core.occurrences[static_cast<std::size_t>(view->model()->occurrenceAt(4))];
        const QList<QTextEdit::ExtraSelection> marks = view->text()->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), toQt(o.form));
        QVERIFY(view->text()->viewport()->rect().contains(view->text()->cursorRect()));

        // A digit lists the counts its rule rests on.
        click(view->digits(), view->digits()->item(0));
        const std::vector<Measure> formality = {Measure::Contractions, Measure::DefiniteArticle,
                                                Measure::IndefiniteArticle};
        QVERIFY(view->model()->measures() == formality);
        QVERIFY(shownLines(view->model()) == coreLines(t, core, formality));
        QCOMPARE(view->model()->rowCount(), static_cast<int>(t.number(Measure::Contractions) +
                                                             t.number(Measure::DefiniteArticle) +
                                                             t.number(Measure::IndefiniteArticle)));
        QCOMPARE(view->formsLine().count(u'\n'), 2);
        QVERIFY(view->digits()->item(0)->text().startsWith(
            QStringLiteral("1 formality: %1 ").arg(QChar::fromLatin1(t.code[0]))));

        // Another text keeps the measures listed and switched.
        const TextRecord& other = textNamed(*run, "parking_notice.txt");
        selectPosition(window, other.position);
        QTRY_VERIFY_WITH_TIMEOUT(settled(view), 20000);
        QVERIFY(view->model()->measures() == formality);
        QVERIFY(shownLines(view->model()) ==
                coreLines(other, occurrencesOf(*run, other).value(), formality));
    }

    void awkwardTextsShowEveryOccurrenceWhereItStandsAndTheNewestSelectionWins() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Line ends of every kind, a paragraph separator, a character beyond the BMP.
        writeFile(dir, "a breaks.txt",
                  "I will go.\r\nYou should\rnot, shan't.\nIt\xE2\x80\x99s \xF0\x9F\x98\x80 the "
                  "end\xE2\x80\xA9the fee, \"it's\" needed\r\n\r\n");
        writeFile(dir, "b latin.txt", "caf\xe9 the will \xe9t\xe9 I'm sad");
        writeFile(dir, "c changed.txt", "the will of the people");
        writeFile(dir, "d gone.txt", "they were gone");
        std::string longText;  // read well after a short text asked for after it
        while (longText.size() < 3'000'000) {
            longText += "I should think the dog walked in, and it's late.\r\n";
        }
        writeFile(dir, "e long.txt", longText);
        writeFile(dir, "f short.txt", "We will see the sea.");
        const auto run = runOn(std::filesystem::path(dir.path().toStdString()));
        QCOMPARE(run->analysedCount(), 6);
        writeFile(dir, "c changed.txt", "the will of the public");
        QFile::remove(dir.filePath(QStringLiteral("d gone.txt")));

        TextEvidenceView view;
        view.show();
        for (const char* name : {"a breaks.txt", "b latin.txt"}) {
            QVERIFY(shown(view, run, name));
            const TextOccurrences core = occurrencesOf(*run, textNamed(*run, name)).value();
            QVERIFY2(laidRanges(view.text()->document()) == expectedRanges(core), name);
            QCOMPARE(view.statusLine(), QString());
            QVERIFY(view.warningsLine().startsWith(
                QStringLiteral("Input warnings: fewer than 200 words")));
        }
        QCOMPARE(view.text()->document()->blockCount(), 1);
        QVERIFY(shown(view, run, "a breaks.txt"));
        QCOMPARE(view.text()->toPlainText(),
                 QStringLiteral("I will go.\nYou should\nnot, shan't.\nIt\u2019s \U0001F600 the "
                                "end\u00B6the fee, \"it's\" needed\n\n"));

        // Beyond the size the window shows, a text's words are still listed.
        const TextRecord& breaks = textNamed(*run, "a breaks.txt");
        const TextLoad large = loadText(
            *run, breaks.position, QFont(), QThread::currentThread(), [] { return false; }, 40);
        QVERIFY(large.text != nullptr && large.document == nullptr);
        QVERIFY(large.text->problem.startsWith(QStringLiteral("This text is too large to show")));
        QCOMPARE(large.text->found.occurrences.size(),
                 occurrencesOf(*run, breaks).value().occurrences.size());

        // A text that is not what the run read shows why, and nothing in its place.
        view.listMeasures({Measure::DefiniteArticle});
        QVERIFY(shown(view, run, "c changed.txt"));
        QCOMPARE(
            view.statusLine(),
            QStringLiteral("\"c changed.txt\" has changed since the run; run the folder again."));
        QCOMPARE(view.text()->toPlainText(), QString());
        QCOMPARE(view.model()->rowCount(), 0);
        QVERIFY(shown(view, run, "d gone.txt"));
        QVERIFY(view.statusLine().contains(QStringLiteral("d gone.txt")));
        QCOMPARE(view.text()->toPlainText(), QString());

        // However late the long text comes, the short one asked for after it is shown.
        QSignalSpy shownTexts(&view, &TextEvidenceView::textShown);
        view.showText(run, textNamed(*run, "e long.txt").position);
        QVERIFY(shown(view, run, "f short.txt"));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(shownTexts.count(), 1);
        QCOMPARE(view.text()->toPlainText(), QStringLiteral("We will see the sea."));
        QCOMPARE(laidRanges(view.text()->document()).size(), 3u);  // we, will, the
        view.showText(run, textNamed(*run, "e long.txt").position);
        view.clear();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(shownTexts.count(), 1);
        QCOMPARE(view.text()->toPlainText(), QString());
    }

    void chartsDrawTheRunsFiguresAndSaveThem() {
        auto moved = std::make_shared<RunResult>(*runOn(testing::sampleFolder()));
        moved->rules = moved->rules.with(Threshold::Obligation, 0.0222);
        const std::shared_ptr<const RunResult> run = moved;
        DetailsWindow window;
        window.showRun(run);
        window.show();
        DensityCharts* charts = window.charts();
        window.tabs()->setCurrentWidget(charts);
        const TextRecord& t = textNamed(*run, "graduation_speech.txt");
        selectPosition(window, t.position);

        const auto bars = densityBars(t, run->rules);
        QChart* densities = charts->densityView()->chart();
        auto* barSeries = qobject_cast<QStackedBarSeries*>(densities->series().at(0));
        QVERIFY(barSeries != nullptr);
        QCOMPARE(barSeries->count(), 11);
        QStringList lines;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            QCOMPARE(barSeries->barSets()[static_cast<int>(i)]->at(static_cast<int>(i)),
                     bars[i].number);
        }
        for (QAbstractSeries* s : densities->series()) {
            if (auto* line = qobject_cast<QLineSeries*>(s)) {
                lines.append(QStringLiteral("%1@%2").arg(line->name()).arg(line->at(0).y()));
            }
        }
        QVERIFY2(lines.contains(QStringLiteral("obligation 0.0222@0.0222")),
                 qPrintable(lines.join(u'|')));
        QVERIFY(lines.contains(QStringLiteral("strong obligation 0.03@0.03")));
        QVERIFY(lines.contains(QStringLiteral("classifiable, contractions 0.01@0.01")));
        // One line per constant over each bar: 0.01 over the nine, 0.02 over both articles, two
        // each over obligation and affect.
        QCOMPARE(lines.size(), 9 + 2 + 2 + 2);

        // The strengths of the run, its mean and the band around it, once counted.
        QTRY_VERIFY(!charts->counting()->running());
        const StrengthDistribution d = strengthDistribution(*run);
        QChart* strengths = charts->strengthView()->chart();
        QStackedBarSeries* strengthBars = nullptr;
        QAreaSeries* band = nullptr;
        QLineSeries* mean = nullptr;
        for (QAbstractSeries* series : strengths->series()) {
            strengthBars = strengthBars ? strengthBars : qobject_cast<QStackedBarSeries*>(series);
            band = band ? band : qobject_cast<QAreaSeries*>(series);
            mean = mean ? mean : qobject_cast<QLineSeries*>(series);
        }
        QVERIFY(strengthBars != nullptr && band != nullptr && mean != nullptr);
        for (int s = 0; s <= 5; ++s) {
            QCOMPARE(strengthBars->barSets()[s]->at(s),
                     static_cast<double>(run->pairs.strengthCounts()[static_cast<std::size_t>(s)]));
        }
        QCOMPARE(mean->at(0).x(), *strictParse(run->mean));
        const double reach = 1.65 * *strictParse(run->stDev);
        QCOMPARE(band->lowerSeries()->at(0).x(), std::max(-0.5, *d.mean - reach));
        QCOMPARE(band->lowerSeries()->at(1).x(), std::min(5.5, *d.mean + reach));

        // A bar clicked lists its count's words in the text view.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto tallest =
            static_cast<std::size_t>(std::max_element(bars.begin(), bars.end(),
                                                      [](const DensityBar& a, const DensityBar& b) {
                                                          return a.number < b.number;
                                                      }) -
                                     bars.begin());
        QVERIFY(bars[tallest].number > 0);
        const QPointF inBar = densities->mapToPosition(
            QPointF(static_cast<double>(tallest), bars[tallest].number / 2), barSeries);
        QTest::mouseClick(charts->densityView()->viewport(), Qt::LeftButton, {},
                          charts->densityView()->mapFromScene(inBar));
        QCOMPARE(window.tabs()->currentWidget(), window.textView());
        QVERIFY(window.textView()->model()->measures() ==
                std::vector<Measure>{bars[tallest].count});

        // Pictures of both, at the chosen place, and nothing when cancelled or not writable.
        QTemporaryDir out;
        QString chosen;
        QStringList problems;
        charts->choosePath = [&](const QString&, const QString&, const QString&) { return chosen; };
        charts->reportProblem = [&](const QString& text) { problems.append(text); };
        using enum DensityCharts::Picture;
        for (const auto& [name, picture] : {std::pair{"densities.png", Png},
                                            {"strengths.svg", Svg},
                                            {"densities.svg", Svg},
                                            {"strengths.png", Png}}) {
            chosen = out.filePath(QString::fromLatin1(name));
            QVERIFY(chosen.contains(QStringLiteral("strengths")) ? charts->saveStrengths(picture)
                                                                 : charts->saveDensities(picture));
            if (picture == Png) {
                QCOMPARE(QImage(chosen).size(),
                         QSize(DensityCharts::kPictureWidth, DensityCharts::kPictureHeight));
            } else {
                QVERIFY(QSvgRenderer(chosen).isValid());
            }
        }
        QVERIFY(fileBytes(out.filePath(QStringLiteral("strengths.svg")))
                    .find("Pair strengths of the run") != std::string::npos);
        chosen.clear();
        QVERIFY(!charts->saveStrengths(DensityCharts::Picture::Png));
        chosen = out.filePath(QStringLiteral("no such folder/strengths.png"));
        QVERIFY(!charts->saveStrengths(DensityCharts::Picture::Png));
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].startsWith(QStringLiteral("Could not save \"")));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 4);
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::TextEvidenceTest)
#include "text_evidence_test.moc"
