#include "windows/aboutwnd.h"

#include "windows/controls.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"
#include "windows/pictures.h"
#include "windows/wrapper_timer1.h"

#include "framework/runtime.h"
#include "resources/texts.h"

namespace {

constexpr LayoutEntry kWindowLayout[] = {
    {"Width", Integer{400}},
    {"Height", Integer{350}},
    {"MinimumWidth", Integer{64}},
    {"MinimumHeight", Integer{64}},
    {"MaximumWidth", Integer{32000}},
    {"MaximumHeight", Integer{32000}},
    {"Type", Integer{2}},
    {"Title", String{""}},
    {"HasCloseButton", Boolean{true}},
    {"HasMaximizeButton", Boolean{true}},
    {"HasMinimizeButton", Boolean{true}},
    {"HasFullScreenButton", Boolean{false}},
    {"Resizeable", Boolean{true}},
    {"Composite", Boolean{false}},
    {"MacProcID", Integer{0}},
    {"FullScreen", Boolean{false}},
    {"DefaultLocation", Integer{0}},
    {"Visible", Boolean{true}},
    {"HasBackgroundColor", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"MenuBarVisible", Boolean{true}},
    {"LiveResize", Boolean{false}},
};

constexpr LayoutEntry kStaticText5Layout[] = {
    {"Name", String{"StaticText5"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{0}},
    {"Top", Integer{310}},
    {"Width", Integer{400}},
    {"Height", Integer{40}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{1}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Tooltip", String{""}},
    {"Multiline", Boolean{false}},
    {"Selectable", Boolean{false}},
    {"TextAlignment", Integer{2}},
    {"TextColor", Color{0x7f7f7f00}},
    {"Transparent", Boolean{false}},
    {"Value", String{kRightsLine}},
    {"Visible", Boolean{true}},
    {"Bold", Boolean{true}},
    {"Italic", Boolean{false}},
    {"FontName", String{"System"}},
    {"Underline", Boolean{false}},
    {"FontSize", Single{10.0f}},
    {"FontUnit", Byte{0}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kCanvas1Layout[] = {
    {"Name", String{"Canvas1"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{69}},
    {"Top", Integer{20}},
    {"Width", Integer{262}},
    {"Height", Integer{266}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{2}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{true}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Tooltip", String{""}},
    {"AllowFocusRing", Boolean{true}},
    {"Visible", Boolean{true}},
    {"AllowFocus", Boolean{false}},
    {"AllowTabs", Boolean{false}},
    {"Transparent", Boolean{true}},
    {"DoubleBuffer", Boolean{false}},
    {"Transparent", Boolean{true}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kTimer1Layout[] = {
    {"RunMode", Integer{1}},
    {"Period", Integer{4000}},
};

// Hides the About window, then shows the calculator window, building it the
// first time. Any key, click or timer action does the same.
void DismissSplash() {
    NotNil(instance::AboutWnd()).Hide();
    NotNil(instance::ControlWnd()).Show();
}

} // namespace

const ClassRecord AboutWnd::kClassRecord{
    "AboutWnd.AboutWnd",
    "Window",
    {"AddMenuHandlers", "CreateControls", "KeyDown", "Layout", "MouseDown"}};

void AboutWnd::Layout() {
    SetProperties(*this, kWindowLayout);
}

void AboutWnd::CreateControls() {
    CreateControls0();
}

void AboutWnd::CreateControls0() {
    NewControl<Label>(*this, "StaticText5");
    SetProperties(NotNil(StaticText5()), kStaticText5Layout);

    // The picture goes on before the layout, which leaves it in place.
    NewControl<Canvas>(*this, "Canvas1");
    NotNil(Canvas1()).SetBackdrop(Velk64());
    SetProperties(NotNil(Canvas1()), kCanvas1Layout);

    // The timer runs once, from its layout on; its handler is hooked after
    // that. Nothing stops it later, not even dismissing the splash early: it
    // then brings the calculator forward once more.
    NewControl<_wrapper_Timer1>(*this, "Timer1");
    SetProperties(NotNil(Timer1()), kTimer1Layout);
    RuntimeAddEventHandler(Timer1(), Timer::kActionEvent,
                           RuntimeCreateDelegate(&AboutWnd::Timer1_Action,
                                                 RuntimeCheckCast<AboutWnd>(shared_from_this()),
                                                 "( Timer )"));
}

std::shared_ptr<Label> AboutWnd::StaticText5() const {
    return ControlAs<Label>(*this, "StaticText5");
}

std::shared_ptr<Canvas> AboutWnd::Canvas1() const {
    return ControlAs<Canvas>(*this, "Canvas1");
}

std::shared_ptr<Timer> AboutWnd::Timer1() const {
    return ControlAs<Timer>(*this, "Timer1");
}

void AboutWnd::Timer1_Action(const std::shared_ptr<Timer>&) {
    DismissSplash();
}

void AboutWnd::AddMenuHandlers(const std::shared_ptr<Window>& window) {
    AddMenuHandler("AboutMenuItem",
                   RuntimeCreateDelegate(&AboutWnd::AboutMenuItem_Action,
                                         RuntimeCheckCast<AboutWnd>(window), "(  ) as Boolean"));
}

bool AboutWnd::Event_KeyDown(const std::string&) {
    DismissSplash();
    return false;
}

bool AboutWnd::Event_MouseDown(int64_t, int64_t) {
    DismissSplash();
    return false;
}

bool AboutWnd::AboutMenuItem_Action() {
    NotNil(instance::AboutWnd()).Show();
    return false;
}

bool AboutWnd::IsEventImplemented(const std::string& eventName) const {
    return RuntimeIsEventHandled(*this, "AboutWnd.AboutWnd", eventName, true);
}
