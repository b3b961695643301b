// Pelmora's desktop program: the main form on the built-in corpus folder.

#include <QApplication>

#include "forms/program_context.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    pelmora::ProgramContext context;
    pelmora::MainWindow window(context);
    QObject::connect(&window, &pelmora::MainWindow::quitRequested, &app, &QApplication::quit);
    window.show();
    return QApplication::exec();
}
