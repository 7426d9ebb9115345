// The floor with one line of text on it: what showing any text at all adds
// to a bare Qt 6 Widgets window (the font system: fontconfig, the font
// database, FreeType and HarfBuzz). A reference beside the floor.

#include "resources/texts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 350);
    auto* line = new QLabel(QString::fromUtf8(kRightsLine), &window);
    line->setGeometry(0, 310, 400, 40);
    window.show();
    return QApplication::exec();
}
