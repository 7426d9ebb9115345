#pragma once

#include "control.h"
#include "delegate.h"
#include "object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QRect;
class QWidget;
class PushButton;
struct WindowPrivate;

// A top-level window, built from its layout and its controls' layouts. A
// subclass implements the events its class record lists by overriding the
// matching member; the framework raises only those.
class Window : public Object {
public:
    Window();
    ~Window() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    // Builds the window: raises Layout, CreateControls and AddMenuHandlers,
    // holds it as its class's implicit instance, and shows it when its layout
    // says Visible.
    void Constructor();

    // Shows the window, restored if it was minimised, brings it to the front
    // and activates it.
    void Show();
    void Hide();
    bool Visible() const;

    // A new control of class T for this window, not yet constructed.
    template <class T> std::shared_ptr<T> New() {
        auto control = std::make_shared<T>();
        control->SetOwner(std::static_pointer_cast<Window>(shared_from_this()));
        return control;
    }
    // Registers the control under its name; the window keeps it alive.
    void AddControl(const std::string& name, const std::shared_ptr<Control>& control);
    // The control registered under the name, or nil.
    std::shared_ptr<Control> ControlByName(const std::string& name) const;

    // Binds a menu item, by its name, to a handler on this window.
    void AddMenuHandler(const std::string& itemName, const std::shared_ptr<Delegate>& handler);
    bool HasMenuHandler(const std::string& itemName) const;
    // Calls the handler bound to the item; false when there is none or it
    // did not handle the choice.
    bool HandleMenuItem(const std::string& itemName);

    // The window's events, raised by the framework when the class's record lists them.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers(const std::shared_ptr<Window>&) {}
    virtual void Event_Activate() {}
    virtual void Event_Close() {}
    virtual void Event_EnableMenuItems() {}
    virtual bool Event_KeyDown(const std::string&) { return false; }
    virtual bool Event_MouseDown(int64_t, int64_t) { return false; }

    // Framework side.
    bool Implements(const std::string& eventName) const;
    QWidget* Content() const;
    QWidget* TopLevelWidget() const;
    // The first button offered becomes the one Return presses.
    void OfferDefaultButton(const std::shared_ptr<PushButton>& button);
    std::shared_ptr<PushButton> DefaultButton() const;
    const std::vector<std::shared_ptr<Control>>& Controls() const;
    // Puts the application's menu bar on the window, when its layout shows one.
    void InstallMenuBar();
    // Redoes the first placement once the window manager's frame is known.
    void PlaceAgainOnceFramed();

private:
    void ApplyGeometry();
    void PlaceOnFirstShow();
    void Place(const QRect& available);
    void ApplyTitleBar();
    void ApplyTabOrder();

    std::unique_ptr<WindowPrivate> d_;
};

// The window of that registered class name that the framework holds, or nil.
std::shared_ptr<Window> GetImplicitWindow(const std::string& className);
// Every window the framework holds, in the order they were built.
std::vector<std::shared_ptr<Window>> ImplicitWindows();
// The window whose widget is active, or nil.
std::shared_ptr<Window> ActiveWindow();
// Lets go of every window; the finalizers call this.
void ReleaseImplicitWindows();
