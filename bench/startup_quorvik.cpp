// Quorvik's start-up as main() does it, up to the window shown: the start-up
// question answered No at once, so only the program's own time counts.
// Prints "shown" and exits.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/qt/form1_window.h"
#include "bench_support.h"
#include "platform/posix/posix_system.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quorvik::bench::SilentDialogs dialogs;
    quorvik::platform::posix::PosixSystem system;
    quorvik::qt::Form1Window window(system, &dialogs);
    window.load();
    window.show();
    QTimer::singleShot(0, [] {
        std::puts("shown");
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}
