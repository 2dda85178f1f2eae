// The Linux program: the command line, the machine, then the window.

#include <QApplication>

#include "app/command_line.h"
#include "app/qt/form1_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvik"));

    int exitCode = 0;
    const auto options = quorvik::app::readCommandLine(argc, argv, exitCode);
    if (!options) return exitCode;
    const auto system = quorvik::app::linuxSystem(*options);
    // The start-up question is the first thing on screen; the controls are
    // built once it is answered.
    using quorvik::qt::Form1Window;
    Form1Window window(*system, nullptr, Form1Window::Controls::AfterStartUpQuestion);
    window.load();
    window.show();
    return QApplication::exec();
}
