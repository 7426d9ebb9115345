#include "canvas.h"

#include "picture.h"
#include "picture_p.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace {

// Draws the backdrop at its own size from the top-left corner: a canvas that
// grows with its window shows more background, not a stretched picture. Mouse
// presses pass on to the window: the canvas handles none itself.
class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(QWidget* parent) : QWidget(parent) {}

    void SetImage(const QImage& image) {
        image_ = image;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (image_.isNull())
            return;
        QPainter painter(this);
        // A twice-size picture on a screen of another ratio is still scaled.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPoint(), image_);
    }

    void mousePressEvent(QMouseEvent* event) override { event->ignore(); }

private:
    QImage image_;
};

} // namespace

const ClassRecord Canvas::kClassRecord{"Canvas", "RectControl", {}};

QWidget* Canvas::CreateWidget(QWidget* parent) {
    return new CanvasWidget(parent);
}

void Canvas::SetBackdrop(const std::shared_ptr<Picture>& picture) {
    backdrop_ = picture;
    WidgetAs<CanvasWidget>().SetImage(picture ? picture->Data().image : QImage());
}

void Canvas::SetProperty(std::string_view name, const PropertyValue& value) {
    if (name == "AllowFocus") {
        allowFocus_ = BooleanValue(name, value);
        ApplyFocusPolicy();
    } else if (name == "AllowTabs") {
        BooleanValue(name, value); // a canvas takes no text, tabs or otherwise
    } else
        RectControl::SetProperty(name, value);
}
