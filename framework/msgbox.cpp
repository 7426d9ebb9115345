#include "msgbox.h"

#include "qtconvert.h"

#include <QApplication>
#include <QMessageBox>

void MsgBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), ToQString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
