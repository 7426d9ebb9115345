#include "windows/qwindow.h"

#include "windows/controls.h"
#include "windows/instances.h"

#include "resources/texts.h"

namespace {

constexpr LayoutEntry kWindowLayout[] = {
    {"Width", Integer{500}},
    {"Height", Integer{460}},
    {"MinimumWidth", Integer{64}},
    {"MinimumHeight", Integer{64}},
    {"MaximumWidth", Integer{1000}},
    {"MaximumHeight", Integer{800}},
    {"Type", Integer{0}},
    {"Title", String{"Formula"}},
    {"HasCloseButton", Boolean{true}},
    {"HasMaximizeButton", Boolean{false}},
    {"HasMinimizeButton", Boolean{false}},
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

constexpr LayoutEntry kStaticText1Layout[] = {
    {"Name", String{"StaticText1"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{-1}},
    {"Top", Integer{-1}},
    {"Width", Integer{500}},
    {"Height", Integer{460}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{1}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{true}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"HideSelection", Boolean{true}},
    {"LineHeight", Integer{0}},
    {"LineSpacing", Double{1.0}},
    {"Multiline", Boolean{true}},
    {"HasHorizontalScrollbar", Boolean{false}},
    {"HasVerticalScrollbar", Boolean{true}},
    {"AllowStyledText", Boolean{true}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{true}},
    {"Visible", Boolean{true}},
    {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},
    {"FontName", String{"System"}},
    {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},
    {"Underline", Boolean{false}},
    {"Value", String{kHelpText}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{0}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{0}},
    {"ValidationMask", String{""}},
    {"ReadOnly", Boolean{false}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
    {"InitialParent", String{""}},
};

} // namespace

const ClassRecord Qwindow::kClassRecord{
    "Qwindow.Qwindow", "Window", {"Close", "CreateControls", "KeyDown", "Layout", "MouseDown"}};

void Qwindow::Layout() {
    SetProperties(*this, kWindowLayout);
}

void Qwindow::CreateControls() {
    CreateControls0();
}

void Qwindow::CreateControls0() {
    NewControl<TextArea>(*this, "StaticText1");
    SetProperties(NotNil(StaticText1()), kStaticText1Layout);
}

std::shared_ptr<TextArea> Qwindow::StaticText1() const {
    return ControlAs<TextArea>(*this, "StaticText1");
}

// Closing only hides the help window; "?" shows it again.
void Qwindow::Event_Close() {
    NotNil(instance::Qwindow()).Hide();
}

bool Qwindow::Event_MouseDown(int64_t, int64_t) {
    return false;
}

bool Qwindow::Event_KeyDown(const std::string&) {
    return false;
}

bool Qwindow::IsEventImplemented(const std::string& eventName) const {
    return RuntimeIsEventHandled(*this, "Qwindow.Qwindow", eventName, true);
}
