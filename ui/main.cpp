// Pelmora's desktop program: the main form on the sample corpus.

#include <QApplication>

#include <cstdio>
#include <string>
#include <string_view>

#include "forms/program_context.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "version/version.h"

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that it needs no screen.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            const std::string line = pelmora::programVersion() + "\n";
            const bool written = std::fputs(line.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
            return written ? 0 : 4;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setApplicationVersion(QString::fromStdString(pelmora::versionText()));
    QApplication::setDesktopFileName(QStringLiteral("pelmora"));
    pelmora::useProgramIcon();
    pelmora::ProgramContext context;
    pelmora::MainWindow window(context);
    QObject::connect(&window, &pelmora::MainWindow::quitRequested, &app, &QApplication::quit);
    window.show();
    return QApplication::exec();
}
