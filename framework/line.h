#pragma once

#include "control.h"

// A straight line between two points of its window.
class Line : public RectControl {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    bool CanTakeFocus() const override { return false; }

private:
    void ApplyEnds();

    double x1_ = 0;
    double y1_ = 0;
    double x2_ = 0;
    double y2_ = 0;
    double thickness_ = 1;
};
