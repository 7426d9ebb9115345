#pragma once

#include "delegate.h"
#include "object.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class QWidget;
class Window;

// Anything a window holds under a name: the visual controls and the timer.
class Control : public Object {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    // The window the control was made on, nil once that window is gone.
    std::shared_ptr<Window> Owner() const { return owner_.lock(); }
    void SetOwner(const std::shared_ptr<Window>& owner) { owner_ = owner; }

    // Binds a handler to one of the control's events, by its event number.
    void AddEventHandler(int eventNumber, const std::shared_ptr<Delegate>& handler);

protected:
    // The event numbers the class raises.
    virtual bool HasEvent(int eventNumber) const;
    // Calls the handler bound to the event, if any; false when there is none.
    bool RaiseEvent(int eventNumber, const EventArguments& arguments);

private:
    std::string name_;
    std::weak_ptr<Window> owner_;
    std::map<int, std::shared_ptr<Delegate>> handlers_;
};

// Attaches the handler to the control's event number.
void RuntimeAddEventHandler(const std::shared_ptr<Control>& control, int eventNumber,
                            const std::shared_ptr<Delegate>& handler);

struct RectControlPrivate;

// A control drawn in a rectangle of its window.
class RectControl : public Control {
public:
    static constexpr int kKeyDownEvent = 9;

    RectControl();
    ~RectControl() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    // Makes the control's widget on its window.
    void Constructor();

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // Gives the control the keyboard focus.
    void SetFocus();

    int64_t TabIndex() const;
    bool TabStop() const;

    // Framework side: the widget, nil before Constructor and after the window is gone.
    QWidget* Widget() const;
    // Moves the control as its locked edges say when its window's content changes size.
    void FollowResize(int contentWidth, int contentHeight);

protected:
    // Makes the widget for this class inside the parent.
    virtual QWidget* CreateWidget(QWidget* parent) = 0;
    // Whether the control can take the keyboard focus at all.
    virtual bool CanTakeFocus() const { return true; }
    // Whether a click gives the control the focus when it is no tab stop.
    virtual bool TakesClickFocus() const { return true; }
    void ApplyFocusPolicy();
    bool HasEvent(int eventNumber) const override;
    // Raises KeyDown with the key's text; true when the handler took the key.
    bool RaiseKeyDown(const std::string& key);
    // Places the widget and makes this rectangle the one its edge locks keep.
    void SetBounds(int left, int top, int width, int height);
    // The widget as the class made it; raises when the control is not constructed.
    template <class W> W& WidgetAs() const { return static_cast<W&>(ConstructedWidget()); }

private:
    QWidget& ConstructedWidget() const;
    void ApplyFont();

    std::unique_ptr<RectControlPrivate> d_;
};
