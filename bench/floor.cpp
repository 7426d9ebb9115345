// The floor of the stack Velk stands on: the least a Qt 6 Widgets program
// does to show one 400 x 350 window. Velk's start-up is measured against it.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 350);
    window.show();
    return QApplication::exec();
}
