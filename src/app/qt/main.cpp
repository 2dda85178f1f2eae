// The Linux program: the command line, the machine, then the window. The
// command line comes first, so --help and --version need no display.

#include <QApplication>
#include <iostream>

#include "app/command_line.h"
#include "app/qt/form1_window.h"
#include "console/posix_output.h"

int main(int argc, char* argv[]) {
    // No file the window opens may take the place of a closed standard output.
    quorvik::console::posix::keepStandardDescriptors();
    int exitCode = 0;
    const auto options = quorvik::app::readCommandLine(argc, argv, exitCode, std::cout, std::cerr);
    if (!options) return exitCode;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvik"));
    // On Wayland the window is matched to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvik.Quorvik"));
    const auto system = quorvik::app::linuxSystem(*options);
    // The start-up question is the first thing on screen; the controls are
    // built once it is answered.
    using quorvik::qt::Form1Window;
    Form1Window window(*system, nullptr, Form1Window::Controls::AfterStartUpQuestion);
    window.load();
    window.show();
    return QApplication::exec();
}
