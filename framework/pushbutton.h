#pragma once

#include "control.h"

// A push button: MouseDown as soon as it is pressed, by the mouse, a key or
// an assistive tool, and Action when the press ends in a click.
class PushButton : public RectControl {
public:
    static constexpr int kActionEvent = 15;
    static constexpr int kMouseDownEvent = 18;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    // Presses the button as a key would: raises MouseDown, then Action.
    void Push();

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    // Clicking a button leaves the focus where it was.
    bool TakesClickFocus() const override { return false; }
    bool HasEvent(int eventNumber) const override;
};
