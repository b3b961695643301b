// The Details window's word-level evidence against the core: the text with its occurrences
// coloured, the concordance of a measure, a digit or a density bar, the charts and their
// pictures, and the texts that are awkward to show.

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QLineEdit>
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
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "run/batch.h"
#include "ui/concordance_model.h"
#include "ui/density_charts.h"
#include "ui/details_window.h"
#include "ui/job_runner.h"
#include "ui/occurrence_highlighter.h"
#include "ui/text_bridge.h"
#include "ui/text_evidence_view.h"
#include "ui/text_loading.h"
#include "ui/texts_model.h"

namespace pelmora {
namespace {

using namespace Qt::StringLiterals;

// Selects the row of the list that holds the text at `position`.
void selectPosition(DetailsWindow& window, int position) {
    const QAbstractItemModel* model = window.texts()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data(TextsModel::PositionRole).toInt() == position) {
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

// The ranges of `laid` but those of the measures in `off`.
Laid without(const Laid& laid, const std::vector<Measure>& off) {
    Laid out;
    for (const auto& range : laid) {
        if (std::none_of(off.begin(), off.end(), [&](Measure m) {
                return static_cast<int>(indexOf(m)) == get<0>(range);
            })) {
            out.push_back(range);
        }
    }
    return out;
}

// A range as the hand-worked expectations write it.
std::tuple<int, QString, bool> range(Measure m, const char* form, bool inside = false) {
    return {static_cast<int>(indexOf(m)), QString::fromUtf8(form), inside};
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
std::vector<TableRow> shownLines(const QAbstractItemModel* model) {
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

std::string fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
}

// A run's Details with its Text tab in front.
struct TextTab {
    std::shared_ptr<const RunResult> run;
    DetailsWindow window;
    TextEvidenceView* view = nullptr;

    explicit TextTab(const std::filesystem::path& folder) : run(runOn(folder)) {
        window.showRun(run);
        window.show();
        view = window.textView();
        window.tabs()->setCurrentWidget(view);
    }
    // Selects the text named `name`; true once it is read and coloured.
    bool select(const std::string& name) {
        selectPosition(window, textNamed(*run, name).position);
        return QTest::qWaitFor([&] { return settled(view); }, 20000);
    }
};

}  // namespace

class TextEvidenceTest : public QObject {
    Q_OBJECT

private slots:
    // The diary of the samples, whose obligation words are worked out by hand from the list
    // of modal verbs: "should" inside "shouldn't" and "shoulders", "shouldn't" whole, "need"
    // inside "needed", and "will".
    void highlightsOfADiary() {
        TextTab tab(testing::sampleFolder());
        QVERIFY(tab.select("diary_sunday.txt"));
        TextEvidenceView* view = tab.view;
        const TextRecord& t = textNamed(*tab.run, "diary_sunday.txt");
        QFile file(pathToQt(testing::sampleFolder() / "diary_sunday.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(view->text()->toPlainText(),
                 QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), u"\n"_s));
        const Laid all = laidRanges(view->text()->document());
        const std::vector<Measure> others = {Measure::Contractions,
                                             Measure::FirstPerson,
                                             Measure::SecondPerson,
                                             Measure::ThirdPerson,
                                             Measure::PastTenseWords,
                                             Measure::PastTenseForms,
                                             Measure::DefiniteArticle,
                                             Measure::IndefiniteArticle,
                                             Measure::It,
                                             Measure::AffectCount,
                                             Measure::Quotes};
        QVERIFY(without(all, others) == (Laid{range(Measure::ObligationCount, "should", true),
                                              range(Measure::ObligationCount, "shouldn't"),
                                              range(Measure::ObligationCount, "need", true),
                                              range(Measure::ObligationCount, "should", true),
                                              range(Measure::ObligationCount, "will")}));
        for (const Measure m : kCountedMeasures) {
            QCOMPARE(legendItem(view, m)->text(),
                     QString::fromUtf8(kMeasures[static_cast<std::size_t>(m)].label) +
                         QStringLiteral("  ") + toQt(t.text(m)));
        }
        QCOMPARE(view->warningsLine(), QStringLiteral("No input warnings for this text."));
        // A measure's tooltip names the words it counts, what it leaves, and where Help has more.
        const QString third = legendItem(view, Measure::ThirdPerson)->toolTip();
        QVERIFY2(third.contains(u"\nthird-person words: he, he's, he'll, he'd, she, she's, "
                                u"she'll, she'd. Not counted: him, his, her, hers, they,"_s),
                 qPrintable(third));
        QVERIFY(
            third.endsWith(u"Right-click a measure in the legend for all its words in Help."_s));

        // Switched off, a measure loses its colours and nothing else does; and back on.
        legendItem(view, Measure::ObligationCount)->setCheckState(Qt::Unchecked);
        legendItem(view, Measure::DefiniteArticle)->setCheckState(Qt::Unchecked);
        QTRY_VERIFY(settled(view));
        QVERIFY(laidRanges(view->text()->document()) ==
                without(all, {Measure::ObligationCount, Measure::DefiniteArticle}));
        QVERIFY(laidRanges(view->text()->document()).size() < all.size() - 5);
        legendItem(view, Measure::ObligationCount)->setCheckState(Qt::Checked);
        QTRY_VERIFY(settled(view));
        QVERIFY(laidRanges(view->text()->document()) == without(all, {Measure::DefiniteArticle}));
        legendItem(view, Measure::DefiniteArticle)->setCheckState(Qt::Checked);
    }

    // The diary's obligation words listed in context, and a line clicked.
    void concordanceOfADiary() {
        TextTab tab(testing::sampleFolder());
        QVERIFY(tab.select("diary_sunday.txt"));
        TextEvidenceView* view = tab.view;
        // A measure: its lines in context, and its counts by form.
        click(view->legend(), legendItem(view, Measure::ObligationCount));
        QVERIFY(shownLines(view->model()) ==
                (std::vector<TableRow>{{"it of him that's left. The nurse said I ", "should",
                                        "n't take it to heart, that he has good d"},
                                       {"it of him that's left. The nurse said I ", "shouldn't",
                                        " take it to heart, that he has good days"},
                                       {"o fix anything, which is exactly what I ", "need",
                                        "ed. I'm lucky to have her. I'd be lost w"},
                                       {"d used to carry me up the stairs on his ", "should",
                                        "ers, singing that silly song. I miss him"},
                                       {" when he's usually brighter. Maybe that ", "will",
                                        " feel better. I hope so. I'm so tired of"}}));
        QCOMPARE(view->formsLine(),
                 QStringLiteral("modal verbs 5 — will 1; need 1: needed 1; should 2: shouldn't 1, "
                                "shoulders 1; shouldn't 1"));

        // A line clicked: the text goes to it and marks it.
        QTableView* table = view->concordance();
        QTest::mouseClick(
            table->viewport(), Qt::LeftButton, {},
            table->visualRect(table->model()->index(4, ConcordanceModel::Match)).center());
        const QList<QTextEdit::ExtraSelection> marks = view->text()->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("will"));
        QVERIFY(view->text()->viewport()->rect().contains(view->text()->cursorRect()));

        // Sorted by the form counted, and by the words before it read backwards from the
        // match; filtered by a word of the context; a line clicked is still its own.
        const auto matches = [&] {
            std::vector<std::string> forms;
            for (const TableRow& line : shownLines(table->model())) {
                forms.push_back(line[1]);
            }
            return forms;
        };
        using Forms = std::vector<std::string>;
        // "...on his", "...said I" twice, "...what I", "...Maybe that".
        table->sortByColumn(ConcordanceModel::Left, Qt::AscendingOrder);
        QVERIFY(matches() == (Forms{"should", "should", "shouldn't", "need", "will"}));
        table->sortByColumn(ConcordanceModel::Match, Qt::DescendingOrder);
        QVERIFY(matches() == (Forms{"will", "shouldn't", "should", "should", "need"}));
        testing::child<QLineEdit>(view, "txtConcordanceFilter")->setText(QStringLiteral("NURSE"));
        QVERIFY(matches() == (Forms{"shouldn't", "should"}));
        QTest::mouseClick(
            table->viewport(), Qt::LeftButton, {},
            table->visualRect(table->model()->index(0, ConcordanceModel::Match)).center());
        QCOMPARE(view->text()->extraSelections().at(0).cursor.selectedText(),
                 QStringLiteral("shouldn't"));
    }

    // A digit lists the counts its rule rests on, in this text and the next one shown.
    void digitListsTheWordsOfItsRule() {
        TextTab tab(testing::sampleFolder());
        TextEvidenceView* view = tab.view;
        const std::vector<Measure> formality = {Measure::Contractions, Measure::DefiniteArticle,
                                                Measure::IndefiniteArticle};
        for (const char* name : {"diary_sunday.txt", "parking_notice.txt"}) {
            const TextRecord& t = textNamed(*tab.run, name);
            QVERIFY(tab.select(name));
            if (std::string_view(name) == "diary_sunday.txt") {
                click(view->digits(), view->digits()->item(0));
                QVERIFY(view->digits()->item(0)->text().startsWith(
                    QStringLiteral("1 formality: %1 ").arg(QChar::fromLatin1(t.code[0]))));
                QCOMPARE(view->formsLine().count(u'\n'), 2);
            }
            // The next text keeps the measures listed.
            QVERIFY(view->model()->measures() == formality);
            QCOMPARE(view->model()->rowCount(),
                     static_cast<int>(t.number(Measure::Contractions) +
                                      t.number(Measure::DefiniteArticle) +
                                      t.number(Measure::IndefiniteArticle)));
            for (const TableRow& line : shownLines(view->model())) {
                const QString match = toQt(line[1]).toLower();
                QVERIFY2(
                    match == u"the" || match == u"a" || match == u"an" || match.contains(u'\''),
                    line[1].c_str());
            }
        }
    }

    // Line ends of every kind, a paragraph separator, a character beyond the BMP and a
    // Latin-1 text, coloured as worked out by hand: a lone CR joins "should" to "not", so it
    // is inside a word; the curly apostrophe's "It’s" is none of the words; the paragraph
    // separator joins "end" and the second "the".
    void awkwardTextsShowEveryOccurrenceWhereItStands() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        writeFile(dir, "a breaks.txt",
                  "I will go.\r\nYou should\rnot, shan't.\nIt\xE2\x80\x99s \xF0\x9F\x98\x80 the "
                  "end\xE2\x80\xA9the fee, \"it's\" needed\r\n\r\n");
        writeFile(dir, "b latin.txt", "caf\xe9 the will \xe9t\xe9 I'm sad");
        const auto run = runOn(pathFromQt(dir.path()));
        using enum Measure;
        const std::pair<const char*, Laid> expected[] = {
            {"a breaks.txt",
             {range(FirstPerson, "I"), range(ObligationCount, "will"), range(SecondPerson, "You"),
              range(ObligationCount, "should", true), range(Contractions, "n't", true),
              range(DefiniteArticle, "the"), range(Quotes, "\""), range(Contractions, "it's"),
              range(It, "it's"), range(Quotes, "\""), range(ObligationCount, "need", true),
              range(PastTenseForms, "ed", true)}},
            {"b latin.txt",
             {range(DefiniteArticle, "the"), range(ObligationCount, "will"),
              range(Contractions, "I'm"), range(FirstPerson, "I'm"), range(AffectCount, "sad")}},
        };
        TextEvidenceView view;
        view.show();
        for (const auto& [name, ranges] : expected) {
            QVERIFY(shown(view, run, name));
            QVERIFY2(laidRanges(view.text()->document()) == ranges, name);
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
        const TextLoad large = loadText(
            *run, textNamed(*run, "a breaks.txt").position, QFont(), QThread::currentThread(),
            [] { return false; }, 40);
        QVERIFY(large.text != nullptr && large.document == nullptr);
        QVERIFY(large.text->problem.startsWith(QStringLiteral("This text is too large to show")));
        QCOMPARE(large.text->found.occurrences.size(), expected[0].second.size());
    }

    // A text that is not what the run read shows why, and a text asked for later wins over
    // one asked for earlier, however late that comes.
    void changedTextsShowWhyAndTheNewestSelectionWins() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        writeFile(dir, "c changed.txt", "the will of the people");
        writeFile(dir, "d gone.txt", "they were gone");
        std::string longText;
        while (longText.size() < 3'000'000) {
            longText += "I should think the dog walked in, and it's late.\r\n";
        }
        writeFile(dir, "e long.txt", longText);
        writeFile(dir, "f short.txt", "We will see the sea.");
        const auto run = runOn(pathFromQt(dir.path()));
        QCOMPARE(run->analysedCount(), 4);
        writeFile(dir, "c changed.txt", "the will of the public");
        QFile::remove(dir.filePath(QStringLiteral("d gone.txt")));

        TextEvidenceView view;
        view.show();
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

        QSignalSpy shownTexts(&view, &TextEvidenceView::textShown);
        view.showText(run, textNamed(*run, "e long.txt").position);
        QVERIFY(shown(view, run, "f short.txt"));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(shownTexts.count(), 1);
        QCOMPARE(view.text()->toPlainText(), QStringLiteral("We will see the sea."));
        using enum Measure;
        QVERIFY(laidRanges(view.text()->document()) ==
                (Laid{range(FirstPerson, "We"), range(ObligationCount, "will"),
                      range(DefiniteArticle, "the")}));
        view.showText(run, textNamed(*run, "e long.txt").position);
        view.clear();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(shownTexts.count(), 1);
        QCOMPARE(view.text()->toPlainText(), QString());
    }

    // The hand-worked texts with the obligation threshold moved to 0.0222; a_high_above.txt
    // has 10 first-person and 10 third-person words and 5 affect words in 99.
    void chartsDrawTheHandWorkedFigures() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && testing::writeHandFolder(dir.path()));
        auto moved = std::make_shared<RunResult>(*runOn(pathFromQt(dir.path())));
        moved->rules = moved->rules.with(Threshold::Obligation, 0.0222);
        const std::shared_ptr<const RunResult> run = moved;
        DetailsWindow window;
        window.showRun(run);
        window.show();
        DensityCharts* charts = window.charts();
        // Selected while the charts are out of view, drawn when they come into it.
        selectPosition(window, textNamed(*run, "a_high_above.txt").position);
        window.tabs()->setCurrentWidget(charts);

        // D0 to D8, then the obligation and the affect density.
        const double bars[] = {0, 0.101, 0, 0.101, 0, 0, 0, 0, 0, 0, 0.0505};
        QChart* densities = charts->densityView()->chart();
        auto* barSeries = qobject_cast<QStackedBarSeries*>(densities->series().at(0));
        QVERIFY(barSeries != nullptr);
        QCOMPARE(barSeries->count(), 11);
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(barSeries->barSets()[i]->at(i), bars[i]);
        }
        QStringList lines;
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

        // The strengths 4 3 3 2 5 4 3 4 3 2, their mean 3.4 and the band 1.65 times 0.9661
        // either side, once counted.
        QTRY_VERIFY(!charts->counting()->running());
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
        const double counts[] = {0, 0, 2, 3, 4, 1};
        for (int s = 0; s <= 5; ++s) {
            QCOMPARE(strengthBars->barSets()[s]->at(s), counts[s]);
        }
        QCOMPARE(mean->at(0).x(), 3.4);
        QCOMPARE(band->lowerSeries()->at(0).x(), 3.4 - 1.594065);
        QCOMPARE(band->lowerSeries()->at(1).x(), 3.4 + 1.594065);

        // The first of the tallest bars clicked lists its count's words in the text view.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Each threshold's value stands within the plot, the last bar's too.
        int values = 0;
        for (QGraphicsItem* item : densities->childItems()) {
            auto* value = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item);
            if (value != nullptr && value->text().startsWith(u"0."_s)) {
                ++values;
                const QRectF at = value->sceneBoundingRect();
                QVERIFY2(at.right() <= densities->plotArea().right() + 0.5 &&
                             at.left() >= densities->plotArea().left(),
                         qPrintable(value->text()));
            }
        }
        QCOMPARE(values, 5);  // 0.01, 0.02, 0.0222, 0.03, 0.05
        const QPointF inBar = densities->mapToPosition(QPointF(1, 0.05), barSeries);
        QTest::mouseClick(charts->densityView()->viewport(), Qt::LeftButton, {},
                          charts->densityView()->mapFromScene(inBar));
        QCOMPARE(window.tabs()->currentWidget(), window.textView());
        QVERIFY(window.textView()->model()->measures() ==
                std::vector<Measure>{Measure::FirstPerson});
    }

    // Pictures of both charts at the chosen place, and nothing when cancelled or not writable.
    void chartsAreSavedAsPictures() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid() && testing::writeHandFolder(dir.path()));
        DetailsWindow window;
        window.showRun(runOn(pathFromQt(dir.path())));
        window.show();
        DensityCharts* charts = window.charts();
        window.tabs()->setCurrentWidget(charts);
        // The strengths are counted away from the window's thread.
        QTRY_VERIFY(!charts->counting()->running());
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
                // The chart, and its caption under it.
                const QImage saved(chosen);
                QCOMPARE(saved.width(), DensityCharts::kPictureWidth);
                QVERIFY(saved.height() > DensityCharts::kPictureHeight);
            } else {
                QVERIFY(QSvgRenderer(chosen).isValid());
            }
        }
        // The caption names the folder and the day of the run.
        const std::string svg = fileBytes(out.filePath(QStringLiteral("strengths.svg")));
        QVERIFY(svg.find("Pair strengths of the run") != std::string::npos);
        QVERIFY(svg.find("Folder " + fromQt(dir.path())) != std::string::npos);
        QVERIFY(svg.find(fromQt(QDateTime::currentDateTimeUtc().toString(u"yyyy-MM-dd"_s))) !=
                std::string::npos);
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
