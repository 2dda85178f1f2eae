// The Linux program: the command line, the machine, then the window. The
// command line comes first, so --help and --version need no display.

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "app/command_line.h"
#include "app/qt/form1_window.h"
#include "console/posix_output.h"

namespace {

// Whether the window has somewhere to open: an X11 or Wayland display in the
// environment, or a window system plugin or X display chosen in QT_QPA_PLATFORM
// or with Qt's -platform or -display (offscreen and vnc need no display).
// Without any, Qt would end the program with SIGABRT and tell the player to
// reinstall it.
bool displayNamed(int argc, const char* const* argv) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view word = argv[i];
        if (word == "--") break;
        if (!word.starts_with('-')) continue;
        word.remove_prefix(word.starts_with("--") ? 2 : 1);
        word = word.substr(0, word.find('='));
        if (word == "platform" || word == "display") return true;
    }
    return false;
}

constexpr std::string_view kNoDisplay =
    "quorvik: no display was found: neither DISPLAY (X11) nor WAYLAND_DISPLAY (Wayland) is set,\n"
    "so the window cannot open. Start Quorvik from your desktop, or use the console program,\n"
    "which needs no display:\n"
    "  quorvik-cli show                  print every setting\n"
    "  quorvik-cli set MotionBlur=off    change one\n"
    "  quorvik-cli --help                every command and setting\n";

}  // namespace

int main(int argc, char* argv[]) {
    // No file the window opens may take the place of a closed standard output.
    quorvik::console::posix::keepStandardDescriptors();
    int exitCode = 0;
    const auto options = quorvik::app::readCommandLine(argc, argv, exitCode, std::cout, std::cerr);
    if (!options) return exitCode;
    if (!displayNamed(argc, argv)) {
        std::cerr << kNoDisplay;
        return 1;
    }

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
