#include "pushbutton.h"

#include "qtconvert.h"
#include "runtime.h"
#include "window.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>

#include <utility>

namespace {

// Raises MouseDown on every press, then Action when the press ends in a
// click. A mouse press raises MouseDown before the button goes down; a key or
// an assistive "press" as it goes down. A handler that returns true keeps
// the press from the button, and no Action follows.
class ButtonWidget : public QPushButton {
public:
    ButtonWidget(QWidget* parent, std::function<bool(QPoint)> mouseDown,
                 std::function<void()> action)
        : QPushButton(parent), mouseDown_(std::move(mouseDown)), action_(std::move(action)) {
        connect(this, &QPushButton::pressed, this, [this] {
            if (pressingByMouse_)
                return;
            DispatchEvent([this] { pressTaken_ = mouseDown_(rect().center()); });
            if (pressTaken_)
                setDown(false);
        });
        connect(this, &QPushButton::clicked, this, [this] {
            if (!std::exchange(pressTaken_, false))
                DispatchEvent(action_);
        });
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        bool handled = false;
        DispatchEvent([&] { handled = mouseDown_(event->position().toPoint()); });
        if (handled)
            return;
        const QScopedValueRollback pressing(pressingByMouse_, true);
        QPushButton::mousePressEvent(event);
    }

private:
    std::function<bool(QPoint)> mouseDown_;
    std::function<void()> action_;
    bool pressingByMouse_ = false;
    bool pressTaken_ = false;
};

} // namespace

const ClassRecord PushButton::kClassRecord{"PushButton", "RectControl", {}};

QWidget* PushButton::CreateWidget(QWidget* parent) {
    // The widget dies with its window; it reaches this control only while it lives.
    std::weak_ptr<PushButton> self = std::static_pointer_cast<PushButton>(shared_from_this());
    return new ButtonWidget(
        parent,
        [self](QPoint at) {
            const auto button = self.lock();
            return button &&
                   button->RaiseEvent(kMouseDownEvent, {std::shared_ptr<Object>(button),
                                                        int64_t{at.x()}, int64_t{at.y()}});
        },
        [self] {
            if (const auto button = self.lock())
                button->RaiseEvent(kActionEvent, {std::shared_ptr<Object>(button)});
        });
}

void PushButton::Push() {
    const QPoint middle = WidgetAs<QPushButton>().rect().center();
    const auto self = shared_from_this();
    if (!RaiseEvent(kMouseDownEvent, {self, int64_t{middle.x()}, int64_t{middle.y()}}))
        RaiseEvent(kActionEvent, {self});
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
