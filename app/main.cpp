// DOLV: a decompression planner for technical divers.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("DOLV");
    QMainWindow window;
    window.setWindowTitle("DOLV");
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
