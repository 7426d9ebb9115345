#pragma once

#include "control.h"

// A static text.
class Label : public RectControl {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    std::string Text() const;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    // A static text never takes the focus, tab stop or not.
    bool CanTakeFocus() const override { return false; }
};
