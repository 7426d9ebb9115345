#pragma once

#include "control.h"

// A push button: Action when clicked, MouseDown as soon as the mouse button
// goes down on it.
class PushButton : public RectControl {
public:
    static constexpr int kActionEvent = 15;
    static constexpr int kMouseDownEvent = 18;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    // Presses the button as a click would: raises Action.
    void Push();

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    // Clicking a button leaves the focus where it was.
    bool TakesClickFocus() const override { return false; }
    bool HasEvent(int eventNumber) const override;
};
