#include <QApplication>

#include "app/qt/form1_window.h"

#ifdef _WIN32
#include "platform/win32/win32_system.h"
using NativeSystem = quorvik::platform::win32::Win32System;
#else
#include "app/command_line.h"
#endif

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvik"));

#ifdef _WIN32
    NativeSystem system;
#else
    int exitCode = 0;
    const auto options = quorvik::app::readCommandLine(argc, argv, exitCode);
    if (!options) return exitCode;
    const auto native = quorvik::app::linuxSystem(*options);
    auto& system = *native;
#endif
    quorvik::qt::Form1Window window(system);
    window.load();
    window.show();
    return QApplication::exec();
}
