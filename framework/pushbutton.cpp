#include "pushbutton.h"

#include "qtconvert.h"
#include "runtime.h"
#include "window.h"

#include <QMouseEvent>
#include <QPushButton>

namespace {

// Raises MouseDown on the press itself; a handler that returns true keeps
// the press from the button.
class ButtonWidget : public QPushButton {
public:
    ButtonWidget(QWidget* parent, std::function<bool(QPoint)> mouseDown)
        : QPushButton(parent), mouseDown_(std::move(mouseDown)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        bool handled = false;
        DispatchEvent([&] { handled = mouseDown_(event->position().toPoint()); });
        if (!handled)
            QPushButton::mousePressEvent(event);
    }

private:
    std::function<bool(QPoint)> mouseDown_;
};

} // namespace

const ClassRecord PushButton::kClassRecord{"PushButton", "RectControl", {}};

QWidget* PushButton::CreateWidget(QWidget* parent) {
    // The widget dies with its window; it reaches this control only while it lives.
    std::weak_ptr<PushButton> self = std::static_pointer_cast<PushButton>(shared_from_this());
    auto* button = new ButtonWidget(parent, [self](QPoint at) {
        const auto button = self.lock();
        return button && button->RaiseEvent(kMouseDownEvent, {std::shared_ptr<Object>(button),
                                                              int64_t{at.x()}, int64_t{at.y()}});
    });
    QObject::connect(button, &QPushButton::clicked, button, [self] {
        if (const auto button = self.lock())
            DispatchEvent([&] { button->Push(); });
    });
    return button;
}

void PushButton::Push() {
    RaiseEvent(kActionEvent, {shared_from_this()});
}

bool PushButton::HasEvent(int eventNumber) const {
    return eventNumber == kActionEvent || eventNumber == kMouseDownEvent ||
           RectControl::HasEvent(eventNumber);
}

void PushButton::SetProperty(std::string_view name, const PropertyValue& value) {
    auto& button = WidgetAs<QPushButton>();
    if (name == "Caption")
        button.setText(ToQString(StringValue(name, value)));
    else if (name == "Default") {
        if (BooleanValue(name, value))
            NotNil(Owner()).OfferDefaultButton(
                std::static_pointer_cast<PushButton>(shared_from_this()));
    } else if (name == "Cancel") {
        BooleanValue(name, value); // Escape presses no button here
    } else if (name == "MacButtonStyle") {
        IntegerValue(name, value); // Qt draws one style of push button
    } else
        RectControl::SetProperty(name, value);
}
