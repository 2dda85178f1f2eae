#include <QApplication>

#include "app/qt/form1_window.h"

#ifdef _WIN32
#include "platform/win32/win32_system.h"
using NativeSystem = quorvik::platform::win32::Win32System;
#else
#include "platform/posix/posix_system.h"
using NativeSystem = quorvik::platform::posix::PosixSystem;
#endif

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvik"));

    NativeSystem system;
    // The start-up question is the first thing on screen; the controls are
    // built once it is answered.
    using quorvik::qt::Form1Window;
    Form1Window window(system, nullptr, Form1Window::Controls::AfterStartUpQuestion);
    window.load();
    window.show();
    return QApplication::exec();
}
