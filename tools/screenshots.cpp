// Saves a PNG of each of Pelmora's windows after a run over the sample corpus, for checking
// the look by eye: main.png, analysis.png, details.png, matrix.png, help.png, explanation.png.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "forms/program_context.h"
#include "help/help_windows.h"
#include "ui/analysis_window.h"
#include "ui/details_window.h"
#include "ui/export_actions.h"
#include "ui/main_window.h"
#include "ui/matrix_window.h"

namespace {

// The folder tree and the window manager fill in the background; give them a moment.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(800, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget* window, const QDir& folder, const char* name) {
    QCoreApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (window == nullptr || !window->isVisible() || !window->grab().save(path, "PNG", 0)) {
        std::fprintf(stderr, "pelmora-screenshots: could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "pelmora-screenshots: cannot create %s\n", qPrintable(folder.path()));
        return 2;
    }

    pelmora::ProgramContext context;
    pelmora::MainWindow window(context);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QPushButton*>(QStringLiteral("cmdAuto"))->click();
    pelmora::EvidencePanel* evidence = window.evidencePanel();
    evidence->openDetails();
    evidence->openMatrix();
    window.helpWindows()->openHelp();
    window.helpWindows()->openExplanation();
    settle();

    bool saved = save(&window, folder, "main.png");
    saved = save(window.analysisWindow(), folder, "analysis.png") && saved;
    saved = save(evidence->detailsWindow(), folder, "details.png") && saved;
    saved = save(evidence->matrixWindow(), folder, "matrix.png") && saved;
    saved = save(window.helpWindows()->helpWindow(), folder, "help.png") && saved;
    saved = save(window.helpWindows()->explanationWindow(), folder, "explanation.png") && saved;
    return saved ? 0 : 1;
}
