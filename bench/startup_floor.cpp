// The floor for start-up: the least a Qt program does to put a window with text
// on screen, a main window of Quorvik's size holding one label. Drawing the
// label loads the font database, as any real window does. It stays open until
// it is told to end; the start-up measure watches for its window to appear.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Quorvik")));
    window.resize(856, 349);  // Quorvik's main window: its client area and the menu bar
    window.show();
    return QApplication::exec();
}
