// Stability measured from Details and the matrix after a run in the main window: it runs
// beside the windows, fills the list, the evidence and the matrix marks with the core's
// figures, can be cancelled, and belongs to one run only.

#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "record/run_record.h"
#include "stability/stability.h"
#include "forms/program_context.h"
#include "gui_test_support.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/main_window.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/sensitivity_view.h"
#include "ui/job_runner.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"

namespace pelmora {
namespace {

using testing::child;
using State = StabilityTask::State;

constexpr int kWait = 120000;  // ms; a debug build on a shared machine is slow

// Texts of the sample corpus that waver and that hold, and one too short to resample.
bool writeCorpus(const QString& folder) {
    const QString samples = pathToQt(testing::sampleFolder());
    for (const char* name :
         {"diary_sunday.txt", "headphones_review.txt", "kettle_instructions.txt",
          "flood_news_report.txt", "graduation_speech.txt", "letter_to_gran.txt"}) {
        const QString file = QString::fromLatin1(name);
        if (!QFile::copy(samples + u'/' + file, folder + u'/' + file)) {
            return false;
        }
    }
    QFile shortText(folder + QStringLiteral("/short note.txt"));
    return shortText.open(QIODevice::WriteOnly) &&
           shortText.write(
               "I must go now, you know. It was a long day and I think it will "
               "rain.") > 0;
}

QString share(double x) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.3f", x);
    return QString::fromLatin1(buf);
}

// The share of resamples that gave the run's digit, from the counts.
double keptShare(const DigitStability& d) {
    return static_cast<double>(d.ofDigit[static_cast<std::size_t>(d.digit - '0')]) / d.resamples;
}

bool wavers(const TextStability& t) {
    if (t.tooShort) {
        return false;
    }
    for (const DigitStability& d : t.digits) {
        if (keptShare(d) < 0.8) {
            return true;
        }
    }
    return false;
}

// A run of the corpus in the main window, with Details and the matrix open.
struct Session {
    QTemporaryDir folder;
    std::unique_ptr<ProgramContext> context;
    std::unique_ptr<MainWindow> window;
    EvidencePanel* panel = nullptr;
    DetailsWindow* details = nullptr;
    MatrixWindow* matrix = nullptr;
    StabilityTask* task = nullptr;

    bool open() {
        if (!folder.isValid() || !writeCorpus(folder.path())) {
            return false;
        }
        context = std::make_unique<ProgramContext>(pathFromQt(folder.path()));
        window = std::make_unique<MainWindow>(*context);
        window->show();
        runAndOpen();
        panel = child<EvidencePanel>(window.get(), "EvidencePanel");
        details = panel->detailsWindow();
        matrix = panel->matrixWindow();
        task = panel->stabilityTask();
        return details != nullptr && matrix != nullptr && task != nullptr &&
               window->run() != nullptr && window->run()->analysedCount() == 7;
    }
    void press(const char* button) { child<QPushButton>(window.get(), button)->click(); }
    // The folder run as the user does it, with both windows opened.
    void runAndOpen() {
        for (const char* button : {"cmdAuto", "cmdDetails", "cmdMatrix"}) {
            press(button);
        }
    }
    void runAgain() {
        press("cmdRefresh");
        runAndOpen();
    }
    void measure(QWidget* from) { child<QPushButton>(from, "cmdMeasureStability")->click(); }

    QAbstractItemModel& list() const {
        return *child<QTableView>(details, "lstDetailsTexts")->model();
    }
    QStringList stabilityColumn() const {
        QStringList cells;
        for (int row = 0; row < list().rowCount(); ++row) {
            cells.append(list().index(row, 3).data().toString());
        }
        return cells;
    }
    bool marked() const {
        const MatrixModel& m = *matrix->model();
        for (int i = 0; i < m.rowCount(); ++i) {
            if (m.headerData(i, Qt::Vertical, MatrixModel::UnstableRole).toBool()) {
                return true;
            }
            for (int j = 0; j < m.columnCount(); ++j) {
                if (m.index(i, j).data(MatrixModel::FragileRole).toBool()) {
                    return true;
                }
            }
        }
        return false;
    }
    QString status(QWidget* w) const { return child<QLabel>(w, "lblStability")->text(); }
};

bool notComputed(const QStringList& cells) {
    return !cells.isEmpty() && cells == QStringList(cells.size(), QStringLiteral("not computed"));
}

}  // namespace

class StabilityWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void measuringFillsTheListTheEvidenceAndTheMatrixWithTheCoresFigures() {
        Session s;
        QVERIFY(s.open());
        const RunResult& run = *s.window->run();
        QCOMPARE(s.status(s.details), QStringLiteral("Stability: not computed."));
        QVERIFY(notComputed(s.stabilityColumn()));
        QVERIFY(!s.marked());
        auto* sensitivity = child<QTableWidget>(s.details, "tblSensitivity");
        QCOMPARE(sensitivity->rowCount(), 0);  // not measured until it is looked at

        auto* measure = child<QPushButton>(s.details, "cmdMeasureStability");
        s.measure(s.details);
        // Measuring goes on beside the windows, which show it in both bars.
        QCOMPARE(s.task->state(), State::Measuring);
        for (QWidget* w : {static_cast<QWidget*>(s.details), static_cast<QWidget*>(s.matrix)}) {
            QVERIFY(!child<QPushButton>(w, "cmdMeasureStability")->isEnabled());
            QVERIFY(child<QPushButton>(w, "cmdCancelStability")->isVisibleTo(w));
            QVERIFY(child<QProgressBar>(w, "stabilityProgress")->isVisibleTo(w));
        }
        QCOMPARE(child<QProgressBar>(s.details, "stabilityProgress")->maximum(), 7);
        QVERIFY(notComputed(s.stabilityColumn()));
        QTRY_COMPARE_WITH_TIMEOUT(s.task->state(), State::Measured, kWait);
        QVERIFY(!child<QPushButton>(s.details, "cmdCancelStability")->isVisibleTo(s.details));
        QVERIFY(!measure->isEnabled());

        const Result<RunStability> core = measureStability(run, StabilityOptions{});
        QVERIFY(core.ok());
        const RunStability& figures = core.value();

        // The list: each row's text, by its position, with its code's share and the digits
        // that waver.
        QAbstractItemModel& list = s.list();
        int unstableTexts = 0, wavering = -1;
        bool tooShortSeen = false;
        for (int row = 0; row < list.rowCount(); ++row) {
            const int position = list.index(row, 0).data(Qt::UserRole + 1).toInt();
            const TextStability& t = *figures.of(position);
            const QString cell = list.index(row, 3).data().toString();
            const bool unstable = wavers(t);
            unstableTexts += unstable ? 1 : 0;
            wavering = unstable && wavering < 0 ? row : wavering;
            QCOMPARE(list.index(row, 3).data(Qt::BackgroundRole).isValid(), unstable);
            if (t.tooShort) {
                tooShortSeen = true;
                QCOMPARE(cell, QStringLiteral("too short to resample"));
                continue;
            }
            QVERIFY2(cell.startsWith(QStringLiteral("code kept ") + share(t.codeKept)),
                     qPrintable(cell));
            QCOMPARE(cell.contains(QStringLiteral("unstable")), unstable);
            const QString tip = list.index(row, 3).data(Qt::ToolTipRole).toString();
            for (std::size_t k = 0; k < 5; ++k) {
                const QString name = toQt(kCategoryNames[k]);
                const bool digitWavers = keptShare(t.digits[k]) < 0.8;
                QCOMPARE(cell.contains(name), digitWavers);
                // Every digit's share in the tooltip.
                QVERIFY2(tip.contains(name + QStringLiteral(": ") + QLatin1Char(t.digits[k].digit) +
                                      QStringLiteral(" kept ") + share(keptShare(t.digits[k]))),
                         qPrintable(tip));
            }
        }
        QVERIFY(tooShortSeen);
        QVERIFY(unstableTexts >= 1);

        // The evidence of a wavering text: each digit's share and what the resamples gave.
        child<QTableView>(s.details, "lstDetailsTexts")->selectRow(wavering);
        const QString evidence = s.details->evidence()->toPlainText();
        const int position = list.index(wavering, 0).data(Qt::UserRole + 1).toInt();
        QVERIFY(evidence.startsWith(toQt("Text: " + run.texts[position].name + "\n")));
        QVERIFY(evidence.contains(QStringLiteral("Stability (200 resamples of 50-word blocks)")));
        for (std::size_t k = 0; k < 5; ++k) {
            const DigitStability& d = figures.of(position)->digits[k];
            QString spread;
            for (std::size_t g = 0; g < 10; ++g) {
                if (d.ofDigit[g] > 0) {
                    spread += (spread.isEmpty() ? QString() : QStringLiteral(", ")) +
                              QString::number(g) + QStringLiteral(": ") +
                              share(d.ofDigit[g] / 200.0);
                }
            }
            const QString line = QStringLiteral("  %1 %2: %3 kept %4; resampled %5")
                                     .arg(k + 1)
                                     .arg(toQt(kCategoryNames[k]), QString(QLatin1Char(d.digit)),
                                          share(keptShare(d)), spread) +
                                 (keptShare(d) < 0.8 ? QStringLiteral("  [unstable]") : QString()) +
                                 u'\n';
            QVERIFY2(evidence.contains(line), qPrintable(line + evidence));
        }

        // The matrix: fragile pairs and wavering texts marked, as the core judges them.
        const MatrixModel& matrix = *s.matrix->model();
        int fragile = 0;
        for (int i = 0; i < matrix.rowCount(); ++i) {
            const bool unstable = figures.of(i) != nullptr && wavers(*figures.of(i));
            QCOMPARE(matrix.headerData(i, Qt::Vertical, MatrixModel::UnstableRole).toBool(),
                     unstable);
            QCOMPARE(matrix.headerData(i, Qt::Horizontal).toString(),
                     (unstable ? QStringLiteral("\u2248 ") : QString()) + toQt(run.texts[i].name));
            for (int j = 0; j < matrix.columnCount(); ++j) {
                const std::optional<RunPair> p = run.pairs.between(i, j);
                const bool expected = p && figures.pair(run, *p).fragile;
                QCOMPARE(matrix.index(i, j).data(MatrixModel::FragileRole).toBool(), expected);
                fragile += expected && i < j ? 1 : 0;
                if (p) {
                    QVERIFY(matrix.index(i, j)
                                .data(Qt::ToolTipRole)
                                .toString()
                                .contains(QStringLiteral("\nStability: strength held in ")) ||
                            !figures.pair(run, *p).known);
                }
            }
        }
        QVERIFY(fragile >= 1);
        QCOMPARE(s.status(s.details),
                 QStringLiteral("Stability: 200 resamples of 50-word blocks; %1 %2, %3 %4.")
                     .arg(unstableTexts)
                     .arg(QString::fromLatin1(unstableTexts == 1 ? "text with unstable digits"
                                                                 : "texts with unstable digits"))
                     .arg(fragile)
                     .arg(QString::fromLatin1(fragile == 1 ? "fragile pair" : "fragile pairs")));
        QCOMPARE(s.status(s.matrix), s.status(s.details));
        QVERIFY(s.matrix->legend().contains(QStringLiteral("fragile")));

        // A fragile cell shows its dark corner on screen, a firm one does not.
        QTableView* table = s.matrix->table();
        QVERIFY(QTest::qWaitForWindowExposed(s.matrix));
        const QImage shown = table->viewport()->grab().toImage();
        for (int i = 0; i < matrix.rowCount(); ++i) {
            for (int j = 0; j < matrix.columnCount(); ++j) {
                const QRect cell = table->visualRect(matrix.index(i, j));
                if (!shown.rect().contains(cell)) {
                    continue;
                }
                const QColor corner = shown.pixelColor(cell.topRight() + QPoint(-2, 2));
                QCOMPARE(corner == QColor(0x6a, 0x1b, 0x9a),
                         matrix.index(i, j).data(MatrixModel::FragileRole).toBool());
            }
        }

        // Sensitivity shows the core's table once its tab is opened.
        child<QTabWidget>(s.details, "runTabs")->setCurrentWidget(s.details->sensitivity());
        const std::vector<TableRow> moves = sensitivityTable(run, runSensitivity(run));
        QTRY_COMPARE_WITH_TIMEOUT(sensitivity->rowCount(), 4, kWait);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < sensitivity->columnCount(); ++c) {
                QCOMPARE(sensitivity->item(r, c)->text(), toQt(moves[r + 1][c]));
            }
        }
        QCOMPARE(sensitivity->item(0, 0)->text(), QStringLiteral("-10%"));

        // The run record saved now holds the figures, as the command line's does.
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QString recordPath = out.filePath(QStringLiteral("record.txt"));
        s.panel->choosePath = [&](const QString&, const QString&, const QString&) {
            return recordPath;
        };
        QVERIFY(s.panel->saveRunRecord());
        QFile saved(recordPath);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const Result<RunRecord> record = parseRecord(saved.readAll().toStdString());
        QVERIFY(record.ok());
        QCOMPARE(record.value().resamples, 200);
        QCOMPARE(record.value().blockWords, 50);
        QVERIFY(verifyRun(record.value(), recordOf(run, "now", &figures)).unchanged());
        QVERIFY(!verifyRun(record.value(), recordOf(run, "now")).stabilityCompared);
    }

    // Stopped after the first, the fourth and the last of the seven texts: nothing is taken,
    // the bars offer the measuring again, and it then measures whole.
    void measuringStoppedAtAnyTextTakesNothing_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("start") << 1;
        QTest::newRow("middle") << 4;
        QTest::newRow("end") << 7;
    }
    void measuringStoppedAtAnyTextTakesNothing() {
        QFETCH(int, at);
        Session s;
        QVERIFY(s.open());
        s.task->runner()->onStep = [at](const JobProgress& p, JobControl& control) {
            if (p.done == at) {
                control.cancel();
            }
        };
        s.measure(s.details);
        QTRY_VERIFY_WITH_TIMEOUT(s.task->state() != State::Measuring, kWait);
        QCOMPARE(s.task->state(), State::Cancelled);
        QCOMPARE(s.status(s.details), QStringLiteral("Stability: cancelled, not computed."));
        QVERIFY(s.task->stability() == nullptr);
        QVERIFY(notComputed(s.stabilityColumn()));
        QVERIFY(!s.marked());
        QVERIFY(child<QPushButton>(s.matrix, "cmdMeasureStability")->isEnabled());

        s.task->runner()->onStep = {};
        s.measure(s.matrix);
        QTRY_VERIFY_WITH_TIMEOUT(s.task->state() != State::Measuring, kWait);
        QCOMPARE(s.task->state(), State::Measured);
        QVERIFY(!notComputed(s.stabilityColumn()));
    }

    void measuringBelongsToOneRunCanBeCancelledAndLeavesOutAChangedFile() {
        Session s;
        QVERIFY(s.open());
        // Started from the matrix, cancelled from Details.
        s.measure(s.matrix);
        QCOMPARE(s.task->state(), State::Measuring);
        child<QPushButton>(s.details, "cmdCancelStability")->click();
        QCOMPARE(s.task->state(), State::Cancelled);
        QCOMPARE(s.status(s.matrix), QStringLiteral("Stability: cancelled, not computed."));
        QVERIFY(child<QPushButton>(s.matrix, "cmdMeasureStability")->isEnabled());
        QVERIFY(!child<QPushButton>(s.matrix, "cmdCancelStability")->isVisibleTo(s.matrix));
        // The stopped measuring ends soon, and what it sends back is not taken.
        QTRY_VERIFY_WITH_TIMEOUT(!s.task->busy(), 10000);
        QCOMPARE(s.task->state(), State::Cancelled);
        QVERIFY(notComputed(s.stabilityColumn()));
        QVERIFY(!s.marked());
        // The window answers as before.
        child<QTableView>(s.details, "lstDetailsTexts")->selectRow(3);
        QVERIFY(s.details->evidence()->toPlainText().startsWith(
            toQt("Text: " + s.window->run()->texts[3].name + "\n")));

        // Started, cancelled and started again at once: what the cancelled measuring sends
        // back is not taken for the new one's.
        s.measure(s.details);
        child<QPushButton>(s.details, "cmdCancelStability")->click();
        s.measure(s.details);
        QCOMPARE(s.task->state(), State::Measuring);
        QTRY_VERIFY_WITH_TIMEOUT(s.task->state() != State::Measuring, kWait);
        QCOMPARE(s.task->state(), State::Measured);
        QVERIFY(!notComputed(s.stabilityColumn()));
        QVERIFY(s.marked());
        // The selected text keeps its place and now shows its figures.
        QCOMPARE(child<QTableView>(s.details, "lstDetailsTexts")->currentIndex().row(), 3);
        QVERIFY(s.details->evidence()->toPlainText().startsWith(
            toQt("Text: " + s.window->run()->texts[3].name + "\n")));
        QVERIFY(s.details->evidence()->toPlainText().contains(QStringLiteral("\nStability (")));

        // Another run drops the figures, and what a measuring of the earlier one still sends
        // back is ignored: run again once measured or while measuring, and while measuring
        // a run of the same texts, whose figures would be alike but are not its own.
        struct Step {
            bool whileMeasuring, sameTexts;
        };
        for (const auto& [whileMeasuring, sameTexts] :
             {Step{false, false}, Step{true, false}, Step{true, true}}) {
            if (whileMeasuring) {
                s.measure(s.details);
                QCOMPARE(s.task->state(), State::Measuring);
            }
            const auto earlier = s.task->run();
            if (sameTexts) {
                s.panel->showRun(std::make_shared<const RunResult>(*earlier));
            } else {
                s.runAgain();
                QCOMPARE(s.task->run(), s.window->run());
            }
            QVERIFY(s.task->run() != earlier);
            QCOMPARE(s.task->state(), State::NotMeasured);
            QTRY_VERIFY_WITH_TIMEOUT(!s.task->busy(), 10000);
            QCoreApplication::processEvents();
            QCOMPARE(s.task->state(), State::NotMeasured);
            QVERIFY(s.task->stability() == nullptr);
            QVERIFY(notComputed(s.stabilityColumn()));
            QVERIFY(!s.marked());
            QCOMPARE(s.status(s.details), QStringLiteral("Stability: not computed."));
            QVERIFY(s.details->evidence()->toPlainText().contains(
                QStringLiteral("\nStability: not computed\n")));
            QVERIFY(!s.matrix->legend().contains(QStringLiteral("fragile")));
        }

        // A file changed since the run is not measured and says why in its row, its evidence
        // and the bar; it is neither stable nor unstable, its pairs' stability not known, and
        // the other texts are measured as before.
        QFile changed(s.folder.filePath(QStringLiteral("letter_to_gran.txt")));
        QVERIFY(changed.open(QIODevice::Append));
        QVERIFY(changed.write(" and one more word") > 0);
        changed.close();
        s.measure(s.details);
        QTRY_COMPARE_WITH_TIMEOUT(s.task->state(), State::Measured, kWait);
        const RunResult& run = *s.window->run();
        const QString notMeasured = QStringLiteral("not measured: changed since the run");
        int letter = -1;
        for (int row = 0; row < s.list().rowCount(); ++row) {
            const int position = s.list().index(row, 0).data(Qt::UserRole + 1).toInt();
            const bool isLetter = run.texts[position].name == "letter_to_gran.txt";
            letter = isLetter ? position : letter;
            const QModelIndex cell = s.list().index(row, 3);
            QCOMPARE(cell.data().toString() == notMeasured, isLetter);
            QVERIFY(!isLetter || !cell.data(Qt::BackgroundRole).isValid());
            QVERIFY(isLetter || cell.data().toString().startsWith(QStringLiteral("code kept ")) ||
                    cell.data().toString() == QStringLiteral("too short to resample"));
            if (isLetter) {
                child<QTableView>(s.details, "lstDetailsTexts")->selectRow(row);
            }
        }
        QVERIFY(letter >= 0);
        QVERIFY2(s.details->evidence()->toPlainText().contains(
                     QStringLiteral("Stability (200 resamples of 50-word blocks): ") + notMeasured +
                     u'\n'),
                 qPrintable(s.details->evidence()->toPlainText()));
        QVERIFY2(s.status(s.details).endsWith(QStringLiteral("; 1 text not measured.")),
                 qPrintable(s.status(s.details)));
        const MatrixModel& matrix = *s.matrix->model();
        QVERIFY(!matrix.headerData(letter, Qt::Vertical, MatrixModel::UnstableRole).toBool());
        for (int other = 0; other < matrix.columnCount(); ++other) {
            if (other != letter) {
                QVERIFY(!matrix.index(letter, other).data(MatrixModel::FragileRole).toBool());
                QVERIFY(matrix.index(letter, other)
                            .data(Qt::ToolTipRole)
                            .toString()
                            .contains(QStringLiteral("\nStability: not known: ")));
            }
        }

        s.press("cmdRefresh");
        QCOMPARE(s.task->state(), State::NoRun);
        QVERIFY(!child<QPushButton>(s.details, "cmdMeasureStability")->isEnabled());

        // Closing the program while measuring stops the measuring with it.
        s.runAgain();
        s.measure(s.details);
        QCOMPARE(s.task->state(), State::Measuring);
        const QPointer<StabilityTask> task = s.task;
        s.window.reset();
        QVERIFY(task.isNull());
    }
};

}  // namespace pelmora

QTEST_MAIN(pelmora::StabilityWindowsTest)
#include "stability_windows_test.moc"
