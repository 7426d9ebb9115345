// Velk's splash window written directly in Qt, without Velk's framework: a
// main window with the same visible menus, the bold grey rights line, the
// picture and the window icon, 400 x 350 below the menu bar. Velk measured
// against it shows what its own code costs; the floor measured against it,
// what the window's contents cost.

#include "resources/texts.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>

namespace {

// Draws the picture at its own size from the top-left corner, as Velk's
// canvas does.
class PictureWidget : public QWidget {
public:
    PictureWidget(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPoint(), image_);
    }

private:
    QImage image_;
};

void AddItem(QMenu* menu, const char* text, const char* keys = nullptr) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    if (keys)
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString resources =
        QCoreApplication::applicationDirPath() + QStringLiteral("/resources/");
    QGuiApplication::setDesktopFileName(QStringLiteral("velk"));
    QApplication::setWindowIcon(QIcon(resources + QStringLiteral("velk.png")));
    QMainWindow window;

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    AddItem(file, "Print");
    AddItem(file, "Quit", "Ctrl+Q");
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("Edit"));
    AddItem(edit, "Undo", "Ctrl+Z");
    edit->addSeparator();
    AddItem(edit, "Cut", "Ctrl+X");
    AddItem(edit, "Copy", "Ctrl+C");
    AddItem(edit, "Paste", "Ctrl+V");
    QMenu* windows = window.menuBar()->addMenu(QStringLiteral("Window"));
    AddItem(windows, "Control");
    AddItem(windows, "About Velk");

    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, Qt::white);
    content->setPalette(palette);
    window.setCentralWidget(content);

    auto* rights = new QLabel(QString::fromUtf8(kRightsLine), content);
    QFont font = rights->font();
    font.setPointSizeF(10);
    font.setBold(true);
    rights->setFont(font);
    rights->setAlignment(Qt::AlignCenter);
    palette = rights->palette();
    palette.setColor(QPalette::WindowText, QColor(0x7f, 0x7f, 0x7f));
    rights->setPalette(palette);
    rights->setGeometry(0, 310, 400, 40);

    const QImage image(resources + QStringLiteral("Velk64.jpg"));
    auto* picture = new PictureWidget(image, content);
    picture->setGeometry(69, 20, 262, 266);

    window.resize(400, 350 + window.menuBar()->sizeHint().height());
    QRect frame(QPoint(), window.size());
    frame.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    window.move(frame.topLeft());
    window.show();
    return QApplication::exec();
}
