// Stability measured from Details and the matrix after a run in the main window: it runs
// beside the windows, fills the list, the evidence and the matrix marks with figures worked out
// by hand for texts made to hold or to waver, can be cancelled, and belongs to one run only.

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "record/run_record.h"
#include "ui/details_window.h"
#include "ui/evidence_panel.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"
#include "ui/matrix_model.h"
#include "ui/matrix_window.h"
#include "ui/pair_window.h"
#include "ui/stability_task.h"
#include "ui/text_bridge.h"
#include "ui/texts_model.h"

namespace pelmora {
namespace {

using namespace Qt::StringLiterals;
using testing::child;
using testing::evidenceOf;
using State = StabilityTask::State;

constexpr int kWait = 120000;  // ms; a debug build on a shared machine is slow

// Three texts whose stability is known without resampling them. "steady.txt" repeats one
// sentence of ten words, so every block of 50 words counts as the whole text does: each digit
// is kept by every resample. "wavering.txt" is two blocks of 50 words alike but for 4 "sad" in
// the first: a resample of the first block twice has affect density 0.08 (digit 2), of the
// second twice 0 (digit 0), of both 0.04 (digit 1, the run's), so its affect digit is kept by
// about half the resamples and every other digit by all. The two differ in three digits (11200
// and 20201), a minimal pair, that is not minimal once the affect digit falls to 0: about a
// quarter of the resamples, a fragile pair. "short note.txt" is too short to resample.
bool writeCorpus(const QString& folder) {
    const auto write = [&](const char* name, const QString& text) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
    };
    const QString block = QStringLiteral("the ").repeated(5);
    return write("steady.txt",
                 QStringLiteral("I'm sure I think it is what we went for ").repeated(20)) &&
           write("wavering.txt", block + QStringLiteral("sad ").repeated(4) +
                                     QStringLiteral("word ").repeated(41) + block +
                                     QStringLiteral("word ").repeated(45)) &&
           write("short note.txt", QStringLiteral("I must go now, you know. It was a long day "
                                                  "and I think it will rain."));
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
               window->run() != nullptr && window->run()->analysedCount() == 3;
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
    // The list's row of the text named `name`, and that text's position in the run.
    int row(const char* name) const {
        for (int r = 0; r < list().rowCount(); ++r) {
            if (list().index(r, 0).data().toString() == QString::fromLatin1(name)) {
                return r;
            }
        }
        return -1;
    }
    int position(const char* name) const {
        return list().index(row(name), 0).data(Qt::UserRole + 1).toInt();
    }
    void measured() {
        measure(details);
        QTRY_COMPARE_WITH_TIMEOUT(task->state(), State::Measured, kWait);
    }
};

bool notComputed(const QStringList& cells) {
    return !cells.isEmpty() && cells == QStringList(cells.size(), QStringLiteral("not computed"));
}

}  // namespace

class StabilityWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void measuringRunsBesideTheWindowsAndShowsInBothBars() {
        Session s;
        QVERIFY(s.open());
        QCOMPARE(s.status(s.details), QStringLiteral("Stability: not computed."));
        QVERIFY(notComputed(s.stabilityColumn()));
        QVERIFY(!s.marked());

        auto* measure = child<QPushButton>(s.details, "cmdMeasureStability");
        s.measure(s.details);
        QCOMPARE(s.task->state(), State::Measuring);
        for (QWidget* w : {static_cast<QWidget*>(s.details), static_cast<QWidget*>(s.matrix)}) {
            QVERIFY(!child<QPushButton>(w, "cmdMeasureStability")->isEnabled());
            QVERIFY(child<QPushButton>(w, "cmdCancelStability")->isVisibleTo(w));
            QVERIFY(child<QProgressBar>(w, "stabilityProgress")->isVisibleTo(w));
        }
        QCOMPARE(child<QProgressBar>(s.details, "stabilityProgress")->maximum(), 3);
        QVERIFY(notComputed(s.stabilityColumn()));
        QTRY_COMPARE_WITH_TIMEOUT(s.task->state(), State::Measured, kWait);
        QVERIFY(!child<QPushButton>(s.details, "cmdCancelStability")->isVisibleTo(s.details));
        QVERIFY(!measure->isEnabled());
        QCOMPARE(s.status(s.details),
                 QStringLiteral("Stability: 200 resamples of 50-word blocks; 1 text with unstable "
                                "digits, 1 fragile pair."));
        QCOMPARE(s.status(s.matrix), s.status(s.details));
    }

    // The list and the evidence: each text's figures as worked out by hand.
    void listAndEvidenceShowTheHandWorkedFigures() {
        Session s;
        QVERIFY(s.open());
        s.measured();
        const QAbstractItemModel& list = s.list();
        const auto cell = [&](const char* name) { return list.index(s.row(name), 3); };
        QCOMPARE(cell("short note.txt").data().toString(), QStringLiteral("too short to resample"));
        QCOMPARE(cell("steady.txt").data().toString(), QStringLiteral("code kept 1.000"));
        // The tooltip: every digit's share and what the resamples gave.
        QCOMPARE(cell("steady.txt").data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Stability (200 resamples of 50-word blocks): code kept 1.000\n"
                                "  1 formality: 1 kept 1.000; resampled 1: 1.000\n"
                                "  2 personage: 1 kept 1.000; resampled 1: 1.000\n"
                                "  3 past tenseness: 2 kept 1.000; resampled 2: 1.000\n"
                                "  4 obligation/intention: 0 kept 1.000; resampled 0: 1.000\n"
                                "  5 affect: 0 kept 1.000; resampled 0: 1.000\n"));
        const QString wavering = cell("wavering.txt").data().toString();
        const QString tip = cell("wavering.txt").data(Qt::ToolTipRole).toString();
        // The code is kept exactly when the affect digit is.
        const QString kept = wavering.mid(10, 5);
        QVERIFY2(wavering == QStringLiteral("code kept %1; unstable: affect").arg(kept),
                 qPrintable(wavering));
        QVERIFY2(kept.toDouble() > 0.3 && kept.toDouble() < 0.7, qPrintable(kept));
        QVERIFY2(tip.contains(QStringLiteral("\n  5 affect: 1 kept ") + kept + u';'),
                 qPrintable(tip));
        for (const char* name : {"short note.txt", "steady.txt", "wavering.txt"}) {
            QCOMPARE(cell(name).data(Qt::BackgroundRole).isValid(),
                     std::string_view(name) == "wavering.txt");
        }

        // The evidence of the wavering text: what the resamples gave each digit.
        child<QTableView>(s.details, "lstDetailsTexts")->selectRow(s.row("wavering.txt"));
        const QString evidence = evidenceOf(s.details);
        QVERIFY(evidence.startsWith(QStringLiteral("Text: wavering.txt\n")));
        for (const char* line : {"Stability (200 resamples of 50-word blocks): code kept ",
                                 "  1 formality: 2 kept 1.000; resampled 2: 1.000\n",
                                 "  2 personage: 0 kept 1.000; resampled 0: 1.000\n",
                                 "  3 past tenseness: 2 kept 1.000; resampled 2: 1.000\n",
                                 "  4 obligation/intention: 0 kept 1.000; resampled 0: 1.000\n"}) {
            QVERIFY2(evidence.contains(QString::fromLatin1(line)), line);
        }
        const qsizetype affect = evidence.indexOf(QStringLiteral("  5 affect: 1 kept ") + kept);
        QVERIFY2(affect >= 0, qPrintable(evidence));
        const QString affectLine = evidence.mid(affect, evidence.indexOf(u'\n', affect) - affect);
        QVERIFY(affectLine.endsWith(QStringLiteral("  [unstable]")));
        // Every resample gave 0, 1 or 2, in shares that add up to one.
        const QStringList spread = affectLine.section(QStringLiteral("resampled "), 1)
                                       .remove(QStringLiteral("  [unstable]"))
                                       .split(QStringLiteral(", "));
        QCOMPARE(spread.size(), 3);
        double total = 0;
        for (int digit = 0; digit < 3; ++digit) {
            QVERIFY2(spread[digit].startsWith(QStringLiteral("%1: ").arg(digit)),
                     qPrintable(affectLine));
            total += spread[digit].mid(3).toDouble();
        }
        QCOMPARE(total, 1.0);
    }

    // Sorted by stability the least kept code comes first after the text too short to
    // measure; the filter keeps the unstable text; the pair window gives the pair's figures.
    void stabilitySortsAndFiltersTheListAndReachesThePairWindow() {
        Session s;
        QVERIFY(s.open());
        s.measured();
        QTableView* list = child<QTableView>(s.details, "lstDetailsTexts");
        const auto names = [&] {
            QStringList shown;
            for (int row = 0; row < s.list().rowCount(); ++row) {
                shown.append(s.list().index(row, 0).data().toString());
            }
            return shown;
        };
        list->sortByColumn(TextsModel::StabilityColumn, Qt::AscendingOrder);
        QCOMPARE(names(), (QStringList{u"short note.txt"_s, u"wavering.txt"_s, u"steady.txt"_s}));
        list->sortByColumn(TextsModel::StabilityColumn, Qt::DescendingOrder);
        QCOMPARE(names(), (QStringList{u"steady.txt"_s, u"wavering.txt"_s, u"short note.txt"_s}));
        child<QComboBox>(s.details, "cboDetailsShow")->setCurrentIndex(3);
        QCOMPARE(names(), QStringList{u"wavering.txt"_s});

        const RunResult& run = *s.window->run();
        const int steady = run.byNameBytes("steady.txt")->position;
        const int wavering = run.byNameBytes("wavering.txt")->position;
        s.panel->openPair(wavering, steady);
        const QStringList lines = s.panel->pairWindow()->stabilityLine().split(u'\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(u"Stability of the pair: strength held in "_s) &&
                     lines[0].endsWith(u"; fragile"_s),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1], u"steady.txt: code kept 1.000"_s);
        QVERIFY(lines[2].startsWith(u"wavering.txt: code kept "_s));
    }

    // The matrix: the wavering text marked, and its pair with the steady one fragile, on
    // screen as a dark corner.
    void matrixMarksTheWaveringTextAndItsFragilePair() {
        Session s;
        QVERIFY(s.open());
        s.measured();
        const MatrixModel& matrix = *s.matrix->model();
        const int steady = s.position("steady.txt"), wavering = s.position("wavering.txt");
        for (int i = 0; i < matrix.rowCount(); ++i) {
            QCOMPARE(matrix.headerData(i, Qt::Vertical, MatrixModel::UnstableRole).toBool(),
                     i == wavering);
            QCOMPARE(matrix.headerData(i, Qt::Horizontal).toString().startsWith(u"\u2248 "),
                     i == wavering);
            for (int j = 0; j < matrix.columnCount(); ++j) {
                const bool fragile =
                    (i == steady && j == wavering) || (i == wavering && j == steady);
                QCOMPARE(matrix.index(i, j).data(MatrixModel::FragileRole).toBool(), fragile);
            }
        }
        QVERIFY(matrix.index(steady, wavering)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("\nStability: strength held in ")));
        QVERIFY(s.matrix->legend().contains(QStringLiteral("fragile")));

        QTableView* table = s.matrix->table();
        QVERIFY(QTest::qWaitForWindowExposed(s.matrix));
        const QImage shown = table->viewport()->grab().toImage();
        for (int i = 0; i < matrix.rowCount(); ++i) {
            for (int j = 0; j < matrix.columnCount(); ++j) {
                const QRect cell = table->visualRect(table->model()->index(i, j));
                QVERIFY(shown.rect().contains(cell));
                const QColor corner = shown.pixelColor(cell.topRight() + QPoint(-2, 2));
                QCOMPARE(corner == QColor(0x6a, 0x1b, 0x9a),
                         matrix.index(i, j).data(MatrixModel::FragileRole).toBool());
            }
        }
    }

    // The run record saved once measured holds the figures of the texts resampled.
    void runRecordSavedAfterMeasuringHoldsTheFigures() {
        Session s;
        QVERIFY(s.open());
        s.measured();
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
        QCOMPARE(record.value().files.size(), 3u);
        for (const RecordedFile& f : record.value().files) {
            QVERIFY(f.stability.has_value());
            QCOMPARE(f.stability->tooShort, f.nameBytes == "short note.txt");
            if (f.nameBytes == "steady.txt") {
                QCOMPARE(f.stability->codeKept, 200);
                for (std::size_t k = 0; k < 5; ++k) {
                    QCOMPARE(f.stability->digits[k][static_cast<std::size_t>(f.code[k] - '0')],
                             200);
                }
            }
        }
    }

    // Stopped after the first, the second and the last of the three texts: nothing is taken,
    // the bars offer the measuring again, and it then measures whole.
    void measuringStoppedAtAnyTextTakesNothing_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("start") << 1;
        QTest::newRow("middle") << 2;
        QTest::newRow("end") << 3;
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

    void cancelledMeasuringIsNotTaken() {
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
        child<QTableView>(s.details, "lstDetailsTexts")->selectRow(2);
        QVERIFY(evidenceOf(s.details).startsWith(
            toQt("Text: " + s.window->run()->texts[2].name + "\n")));

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
        QCOMPARE(child<QTableView>(s.details, "lstDetailsTexts")->currentIndex().row(), 2);
        QVERIFY(evidenceOf(s.details).startsWith(
            toQt("Text: " + s.window->run()->texts[2].name + "\n")));
        QVERIFY(evidenceOf(s.details).contains(QStringLiteral("\nStability (")));
    }

    // Another run drops the figures, and what a measuring of the earlier one still sends back
    // is ignored: run again once measured or while measuring, and while measuring a run of the
    // same texts, whose figures would be alike but are not its own.
    void anotherRunDropsTheFigures_data() {
        QTest::addColumn<bool>("whileMeasuring");
        QTest::addColumn<bool>("sameTexts");
        QTest::newRow("run again once measured") << false << false;
        QTest::newRow("run again while measuring") << true << false;
        QTest::newRow("the same texts while measuring") << true << true;
    }

    void anotherRunDropsTheFigures() {
        QFETCH(bool, whileMeasuring);
        QFETCH(bool, sameTexts);
        Session s;
        QVERIFY(s.open());
        s.measured();
        if (whileMeasuring) {
            s.runAgain();
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
        QVERIFY(evidenceOf(s.details).contains(QStringLiteral("\nStability: not computed\n")));
        QVERIFY(!s.matrix->legend().contains(QStringLiteral("fragile")));
    }

    // A file changed since the run is not measured and says why in its row, its evidence and
    // the bar; it is neither stable nor unstable, its pairs' stability not known, and the
    // other texts are measured as before.
    void aChangedFileIsLeftOutOfTheMeasuring() {
        Session s;
        QVERIFY(s.open());
        QFile changed(s.folder.filePath(QStringLiteral("wavering.txt")));
        QVERIFY(changed.open(QIODevice::Append));
        QVERIFY(changed.write(" and one more word") > 0);
        changed.close();
        s.measured();
        const QString notMeasured = QStringLiteral("not measured: changed since the run");
        const QModelIndex row = s.list().index(s.row("wavering.txt"), 3);
        QCOMPARE(row.data().toString(), notMeasured);
        QVERIFY(!row.data(Qt::BackgroundRole).isValid());
        QCOMPARE(s.list().index(s.row("steady.txt"), 3).data().toString(),
                 QStringLiteral("code kept 1.000"));
        child<QTableView>(s.details, "lstDetailsTexts")->selectRow(s.row("wavering.txt"));
        QVERIFY2(evidenceOf(s.details).contains(
                     QStringLiteral("Stability (200 resamples of 50-word blocks): ") + notMeasured +
                     u'\n'),
                 qPrintable(evidenceOf(s.details)));
        QVERIFY2(s.status(s.details).endsWith(QStringLiteral("; 1 text not measured.")),
                 qPrintable(s.status(s.details)));
        const MatrixModel& matrix = *s.matrix->model();
        const int wavering = s.position("wavering.txt");
        QVERIFY(!matrix.headerData(wavering, Qt::Vertical, MatrixModel::UnstableRole).toBool());
        for (int other = 0; other < matrix.columnCount(); ++other) {
            if (other != wavering) {
                QVERIFY(!matrix.index(wavering, other).data(MatrixModel::FragileRole).toBool());
                QVERIFY(matrix.index(wavering, other)
                            .data(Qt::ToolTipRole)
                            .toString()
                            .contains(QStringLiteral("\nStability: not known: ")));
            }
        }
        s.press("cmdRefresh");
        QCOMPARE(s.task->state(), State::NoRun);
        QVERIFY(!child<QPushButton>(s.details, "cmdMeasureStability")->isEnabled());
    }

    // Closing the program while measuring stops the measuring with it.
    void closingWhileMeasuringEndsIt() {
        Session s;
        QVERIFY(s.open());
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
