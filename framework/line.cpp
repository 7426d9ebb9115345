#include "line.h"

#include "qtconvert.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace {

// Paints the line across its own rectangle; clicks go through it.
class LineWidget : public QWidget {
public:
    explicit LineWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void SetLine(QLineF line, double thickness) {
        line_ = line;
        thickness_ = thickness;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(
            QPen(palette().color(QPalette::WindowText), thickness_, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(line_);
    }

private:
    QLineF line_;
    double thickness_ = 1;
};

} // namespace

const ClassRecord Line::kClassRecord{"Line", "RectControl", {}};

QWidget* Line::CreateWidget(QWidget* parent) {
    return new LineWidget(parent);
}

void Line::ApplyEnds() {
    // The widget spans the two ends plus half the thickness on every side.
    const double margin = std::ceil(thickness_ / 2);
    const int left = static_cast<int>(std::floor(std::min(x1_, x2_) - margin));
    const int top = static_cast<int>(std::floor(std::min(y1_, y2_) - margin));
    const int right = static_cast<int>(std::ceil(std::max(x1_, x2_) + margin));
    const int bottom = static_cast<int>(std::ceil(std::max(y1_, y2_) + margin));
    SetBounds(left, top, right - left, bottom - top);
    const QPointF origin(left, top);
    // Qt centres a pen on its path; a one-pixel line at y sits on the pixel row y.
    const QPointF pixelCentre(0.5, 0.5);
    WidgetAs<LineWidget>().SetLine(
        QLineF(QPointF(x1_, y1_) - origin + pixelCentre, QPointF(x2_, y2_) - origin + pixelCentre),
        thickness_);
}

void Line::SetProperty(std::string_view name, const PropertyValue& value) {
    if (name == "X1")
        x1_ = DoubleValue(name, value);
    else if (name == "Y1")
        y1_ = DoubleValue(name, value);
    else if (name == "X2")
        x2_ = DoubleValue(name, value);
    else if (name == "Y2")
        y2_ = DoubleValue(name, value);
    else if (name == "Thickness")
        thickness_ = DoubleValue(name, value);
    else if (name == "LineColor") {
        SetPaletteColor(WidgetAs<QWidget>(), QPalette::WindowText, ColorValue(name, value));
        return;
    } else {
        RectControl::SetProperty(name, value);
        return;
    }
    ApplyEnds();
}
