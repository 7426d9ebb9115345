#include "windows/controlwnd.h"

#include "menus/menuitems.h"
#include "windows/aboutwnd.h"
#include "windows/controls.h"
#include "windows/instances.h"
#include "windows/pictures.h"
#include "windows/qwindow.h"

#include "framework/conversions.h"
#include "framework/msgbox.h"
#include "framework/runtime.h"
#include "resources/texts.h"

namespace {

// Reliabilities outside these bounds are rejected; the bounds themselves pass.
constexpr double kLowestReliability = 0.0001;
constexpr double kHighestReliability = 0.9999;

constexpr LayoutEntry kWindowLayout[] = {
    {"Width", Integer{500}},
    {"Height", Integer{400}},
    {"MinimumWidth", Integer{64}},
    {"MinimumHeight", Integer{64}},
    {"MaximumWidth", Integer{500}},
    {"MaximumHeight", Integer{500}},
    {"Type", Integer{0}},
    {"Title", String{"Velk"}},
    {"HasCloseButton", Boolean{true}},
    {"HasMaximizeButton", Boolean{false}},
    {"HasMinimizeButton", Boolean{true}},
    {"HasFullScreenButton", Boolean{false}},
    {"Resizeable", Boolean{false}},
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

constexpr LayoutEntry kCalcBtnLayout[] = {
    {"Name", String{"CalcBtn"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{20}},
    {"Top", Integer{345}},
    {"Width", Integer{80}},
    {"Height", Integer{40}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"MacButtonStyle", Integer{0}},
    {"Cancel", Boolean{false}},
    {"Caption", String{"Calculate"}},
    {"Default", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Tooltip", String{""}},
    {"Transparent", Boolean{true}},
    {"Visible", Boolean{true}},
    {"FontName", String{"System"}},
    {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},
    {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kClearBtnLayout[] = {
    {"Name", String{"ClearBtn"}},   {"Index", Integer{-2147483648}},
    {"Left", Integer{400}},         {"Top", Integer{345}},
    {"Width", Integer{80}},         {"Height", Integer{40}},
    {"LockLeft", Boolean{true}},    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},   {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{0}},       {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},    {"AllowAutoDeactivate", Boolean{true}},
    {"MacButtonStyle", Integer{0}}, {"Cancel", Boolean{false}},
    {"Caption", String{"Clear"}},   {"Default", Boolean{true}},
    {"Enabled", Boolean{true}},     {"Tooltip", String{""}},
    {"Transparent", Boolean{true}}, {"Visible", Boolean{true}},
    {"FontName", String{"System"}}, {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},          {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},     {"Underline", Boolean{false}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kQBtnLayout[] = {
    {"Name", String{"QBtn"}},       {"Index", Integer{-2147483648}},
    {"Left", Integer{226}},         {"Top", Integer{345}},
    {"Width", Integer{50}},         {"Height", Integer{40}},
    {"LockLeft", Boolean{true}},    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},   {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{0}},       {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},    {"AllowAutoDeactivate", Boolean{true}},
    {"MacButtonStyle", Integer{0}}, {"Cancel", Boolean{false}},
    {"Caption", String{"?"}},       {"Default", Boolean{true}},
    {"Enabled", Boolean{true}},     {"Tooltip", String{""}},
    {"Transparent", Boolean{true}}, {"Visible", Boolean{true}},
    {"FontName", String{"System"}}, {"FontSize", Single{16.0f}},
    {"FontUnit", Byte{0}},          {"Bold", Boolean{true}},
    {"Italic", Boolean{false}},     {"Underline", Boolean{false}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kcopyrightLayout[] = {
    {"Name", String{"copyright"}},   {"Index", Integer{-2147483648}},
    {"Left", Integer{11}},           {"Top", Integer{133}},
    {"Width", Integer{139}},         {"Height", Integer{17}},
    {"LockLeft", Boolean{true}},     {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{0}},        {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{true}},      {"AllowAutoDeactivate", Boolean{true}},
    {"Enabled", Boolean{true}},      {"Tooltip", String{""}},
    {"Multiline", Boolean{true}},    {"Selectable", Boolean{false}},
    {"TextAlignment", Integer{2}},   {"TextColor", Color{0x80808000}},
    {"Transparent", Boolean{false}}, {"Value", String{kCreditLine}},
    {"Visible", Boolean{true}},      {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},      {"FontName", String{"System"}},
    {"Underline", Boolean{false}},   {"FontSize", Single{10.0f}},
    {"FontUnit", Byte{0}},           {"DataSource", String{""}},
    {"DataField", String{""}},       {"InitialParent", String{""}},
};

constexpr LayoutEntry kDiffFldLayout[] = {
    {"Name", String{"DiffFld"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{380}},
    {"Top", Integer{281}},
    {"Width", Integer{60}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{true}},
    {"LockBottom", Boolean{true}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xe6e6e600}},
    {"HasBorder", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{false}},
    {"Visible", Boolean{false}},
    {"FontName", String{"System"}},
    {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},
    {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{""}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{2}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{4}},
    {"ValidationMask", String{""}},
    {"ReadOnly", Boolean{true}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kTextField1Layout[] = {
    {"Name", String{"TextField1"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{45}},
    {"Top", Integer{196}},
    {"Width", Integer{231}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{false}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{false}},
    {"Visible", Boolean{true}},
    {"FontName", String{"System"}},
    {"FontSize", Single{16.0f}},
    {"FontUnit", Byte{2}},
    {"Bold", Boolean{true}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{"Reliability of Test A"}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{1}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{0}},
    {"ValidationMask", String{""}},
    {"ReadOnly", Boolean{true}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
};

constexpr LayoutEntry kTextField2Layout[] = {
    {"Name", String{"TextField2"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{45}},
    {"Top", Integer{231}},
    {"Width", Integer{231}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{false}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{false}},
    {"Visible", Boolean{true}},
    {"FontName", String{"System"}},
    {"FontSize", Single{16.0f}},
    {"FontUnit", Byte{2}},
    {"Bold", Boolean{true}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{"Reliability of Test B"}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{1}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{0}},
    {"ValidationMask", String{""}},
    {"ReadOnly", Boolean{true}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
};

constexpr LayoutEntry kMaxFldLayout[] = {
    {"Name", String{"MaxFld"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{45}},
    {"Top", Integer{279}},
    {"Width", Integer{231}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{false}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{false}},
    {"Visible", Boolean{false}},
    {"FontName", String{"System"}},
    {"FontSize", Single{16.0f}},
    {"FontUnit", Byte{2}},
    {"Bold", Boolean{true}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{"Maximum Validity"}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{1}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{0}},
    {"ValidationMask", String{""}},
    {"ReadOnly", Boolean{true}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
};

constexpr LayoutEntry kAFldLayout[] = {
    {"Name", String{"AFld"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{380}},
    {"Top", Integer{196}},
    {"Width", Integer{60}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{1}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{true}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{true}},
    {"Visible", Boolean{true}},
    {"FontName", String{"System"}},
    {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},
    {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{""}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{2}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{5}},
    {"ValidationMask", String{".####"}},
    {"ReadOnly", Boolean{false}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
};

constexpr LayoutEntry kBFldLayout[] = {
    {"Name", String{"BFld"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{380}},
    {"Top", Integer{232}},
    {"Width", Integer{60}},
    {"Height", Integer{24}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{2}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{true}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"BackgroundColor", Color{0xffffff00}},
    {"HasBorder", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Format", String{""}},
    {"Tooltip", String{""}},
    {"Password", Boolean{false}},
    {"TextColor", Color{0x00000000}},
    {"Transparent", Boolean{true}},
    {"AllowFocusRing", Boolean{true}},
    {"Visible", Boolean{true}},
    {"FontName", String{"System"}},
    {"FontSize", Single{12.0f}},
    {"FontUnit", Byte{0}},
    {"Bold", Boolean{false}},
    {"Italic", Boolean{false}},
    {"Underline", Boolean{false}},
    {"Hint", String{""}},
    {"Value", String{""}},
    {"AllowTabs", Boolean{false}},
    {"TextAlignment", Integer{2}},
    {"AllowSpellChecking", Boolean{false}},
    {"MaximumCharactersAllowed", Integer{5}},
    {"ValidationMask", String{".####"}},
    {"ReadOnly", Boolean{false}},
    {"DataSource", String{""}},
    {"DataField", String{""}},
};

constexpr LayoutEntry kLine1Layout[] = {
    {"Name", String{"Line1"}},
    {"Index", Integer{-2147483648}},
    {"X1", Double{45.0}},
    {"X2", Double{440.0}},
    {"Y1", Double{267.0}},
    {"Y2", Double{267.0}},
    {"TabPanelIndex", Integer{0}},
    {"Thickness", Double{1.0}},
    {"LineColor", Color{0x66666600}},
    {"Transparent", Boolean{true}},
    {"Visible", Boolean{true}},
    {"InitialParent", String{""}},
};

constexpr LayoutEntry kCanvas1Layout[] = {
    {"Name", String{"Canvas1"}},
    {"Index", Integer{-2147483648}},
    {"Left", Integer{11}},
    {"Top", Integer{0}},
    {"Width", Integer{139}},
    {"Height", Integer{135}},
    {"LockLeft", Boolean{true}},
    {"LockTop", Boolean{true}},
    {"LockRight", Boolean{false}},
    {"LockBottom", Boolean{false}},
    {"TabIndex", Integer{0}},
    {"TabPanelIndex", Integer{0}},
    {"TabStop", Boolean{false}},
    {"AllowAutoDeactivate", Boolean{true}},
    {"Enabled", Boolean{true}},
    {"Tooltip", String{""}},
    {"AllowFocusRing", Boolean{false}},
    {"Visible", Boolean{true}},
    {"AllowFocus", Boolean{false}},
    {"AllowTabs", Boolean{false}},
    {"Transparent", Boolean{true}},
    {"DoubleBuffer", Boolean{false}},
    {"Transparent", Boolean{true}},
    {"InitialParent", String{""}},
};

// Reports a rejected input, then empties the field and gives it the focus.
void RejectInput(const std::shared_ptr<TextField>& field, const std::string& message) {
    MsgBox(message);
    NotNil(field).SetText("");
    NotNil(field).SetFocus();
}

bool OutOfRange(double reliability) {
    return reliability < kLowestReliability || reliability > kHighestReliability;
}

} // namespace

const ClassRecord ControlWnd::kClassRecord{
    "ControlWnd.ControlWnd",
    "Window",
    {"Activate", "AddMenuHandlers", "Close", "CreateControls", "EnableMenuItems", "Layout"}};

void ControlWnd::Layout() {
    SetProperties(*this, kWindowLayout);
}

void ControlWnd::CreateControls() {
    CreateControls0();
}

void ControlWnd::CreateControls0() {
    // Each control is complete, laid out and bound, before the next is made;
    // a handler is bound only after its layout, so no layout raises it.
    const auto self = RuntimeCheckCast<ControlWnd>(shared_from_this());

    NewControl<PushButton>(*this, "CalcBtn");
    SetProperties(NotNil(CalcBtn()), kCalcBtnLayout);
    RuntimeAddEventHandler(
        CalcBtn(), PushButton::kActionEvent,
        RuntimeCreateDelegate(&ControlWnd::CalcBtn_Action, self, "( PushButton )"));

    NewControl<PushButton>(*this, "ClearBtn");
    SetProperties(NotNil(ClearBtn()), kClearBtnLayout);
    RuntimeAddEventHandler(
        ClearBtn(), PushButton::kActionEvent,
        RuntimeCreateDelegate(&ControlWnd::ClearBtn_Action, self, "( PushButton )"));

    NewControl<Label>(*this, "copyright");
    SetProperties(NotNil(copyright()), kcopyrightLayout);

    NewControl<PushButton>(*this, "QBtn");
    SetProperties(NotNil(QBtn()), kQBtnLayout);
    RuntimeAddEventHandler(QBtn(), PushButton::kMouseDownEvent,
                           RuntimeCreateDelegate(&ControlWnd::QBtn_MouseDown, self,
                                                 "( PushButton, Integer, Integer ) as Boolean"));

    NewControl<TextField>(*this, "DiffFld");
    SetProperties(NotNil(DiffFld()), kDiffFldLayout);

    NewControl<TextField>(*this, "TextField1");
    SetProperties(NotNil(TextField1()), kTextField1Layout);

    NewControl<TextField>(*this, "TextField2");
    SetProperties(NotNil(TextField2()), kTextField2Layout);

    NewControl<TextField>(*this, "MaxFld");
    SetProperties(NotNil(MaxFld()), kMaxFldLayout);

    NewControl<Line>(*this, "Line1");
    SetProperties(NotNil(Line1()), kLine1Layout);

    // The picture goes on before the layout, which leaves it in place.
    NewControl<Canvas>(*this, "Canvas1");
    NotNil(Canvas1()).SetBackdrop(Velk32());
    SetProperties(NotNil(Canvas1()), kCanvas1Layout);

    NewControl<TextField>(*this, "AFld");
    SetProperties(NotNil(AFld()), kAFldLayout);
    RuntimeAddEventHandler(
        AFld(), RectControl::kKeyDownEvent,
        RuntimeCreateDelegate(&ControlWnd::AFld_KeyDown, self, "( TextField, String ) as Boolean"));

    NewControl<TextField>(*this, "BFld");
    SetProperties(NotNil(BFld()), kBFldLayout);
    RuntimeAddEventHandler(
        BFld(), RectControl::kKeyDownEvent,
        RuntimeCreateDelegate(&ControlWnd::BFld_KeyDown, self, "( TextField, String ) as Boolean"));
}

std::shared_ptr<PushButton> ControlWnd::CalcBtn() const {
    return ControlAs<PushButton>(*this, "CalcBtn");
}

std::shared_ptr<PushButton> ControlWnd::ClearBtn() const {
    return ControlAs<PushButton>(*this, "ClearBtn");
}

std::shared_ptr<Label> ControlWnd::copyright() const {
    return ControlAs<Label>(*this, "copyright");
}

std::shared_ptr<PushButton> ControlWnd::QBtn() const {
    return ControlAs<PushButton>(*this, "QBtn");
}

std::shared_ptr<TextField> ControlWnd::DiffFld() const {
    return ControlAs<TextField>(*this, "DiffFld");
}

std::shared_ptr<TextField> ControlWnd::TextField1() const {
    return ControlAs<TextField>(*this, "TextField1");
}

std::shared_ptr<TextField> ControlWnd::TextField2() const {
    return ControlAs<TextField>(*this, "TextField2");
}

std::shared_ptr<TextField> ControlWnd::MaxFld() const {
    return ControlAs<TextField>(*this, "MaxFld");
}

std::shared_ptr<Line> ControlWnd::Line1() const {
    return ControlAs<Line>(*this, "Line1");
}

std::shared_ptr<Canvas> ControlWnd::Canvas1() const {
    return ControlAs<Canvas>(*this, "Canvas1");
}

std::shared_ptr<TextField> ControlWnd::AFld() const {
    return ControlAs<TextField>(*this, "AFld");
}

std::shared_ptr<TextField> ControlWnd::BFld() const {
    return ControlAs<TextField>(*this, "BFld");
}

void ControlWnd::CalcBtn_Action(const std::shared_ptr<PushButton>&) {
    // Both inputs are read before either is judged; only the first that
    // fails is reported.
    const double a = Val(NotNil(AFld()).Text());
    const double b = Val(NotNil(BFld()).Text());
    if (OutOfRange(a)) {
        RejectInput(AFld(), "Reliability for Test A must range from .0001 to .9999");
        return;
    }
    if (OutOfRange(b)) {
        RejectInput(BFld(), "Reliability for Test B must range from .0001 to .9999");
        return;
    }

    const double r = Sqrt(a * b);
    if (r < 0.0 || r > 1.0) {
        MsgBox("There was a result less than zero or greater than 1 (" + Format(r, "+.000") +
               "). Please check the data and retry");
        NotNil(AFld()).SetFocus();
        return;
    }

    NotNil(DiffFld()).SetEnabled(true);
    NotNil(DiffFld()).SetVisible(true);
    NotNil(MaxFld()).SetVisible(true);
    NotNil(DiffFld()).SetText(Format(r, ".000"));
}

void ControlWnd::ClearBtn_Action(const std::shared_ptr<PushButton>&) {
    // The result keeps its text, hidden, until the next result replaces it.
    NotNil(DiffFld()).SetEnabled(false);
    NotNil(DiffFld()).SetVisible(false);
    NotNil(MaxFld()).SetVisible(false);
    NotNil(AFld()).SetText("");
    NotNil(BFld()).SetText("");
    NotNil(AFld()).SetFocus();
}

bool ControlWnd::QBtn_MouseDown(const std::shared_ptr<PushButton>&, int64_t, int64_t) {
    // The help window opens on the press itself: "?" has no Action handler.
    NotNil(instance::Qwindow()).Show();
    return false;
}

// What the inputs admit is their mask's business; keys are not judged.
bool ControlWnd::AFld_KeyDown(const std::shared_ptr<TextField>&, const std::string&) {
    return false;
}

bool ControlWnd::BFld_KeyDown(const std::shared_ptr<TextField>&, const std::string&) {
    return false;
}

void ControlWnd::AddMenuHandlers(const std::shared_ptr<Window>& window) {
    const auto self = RuntimeCheckCast<ControlWnd>(window);
    AddMenuHandler("AboutMenuItem", RuntimeCreateDelegate(&ControlWnd::AboutMenuItem_Action, self,
                                                          "(  ) as Boolean"));
    AddMenuHandler("AboutVelk",
                   RuntimeCreateDelegate(&ControlWnd::AboutVelk_Action, self, "(  ) as Boolean"));
}

void ControlWnd::Event_Close() {
    Quit(0);
}

void ControlWnd::Event_Activate() {
    NotNil(instance::AboutWnd()).Hide();
}

void ControlWnd::Event_EnableMenuItems() {
    NotNil(ControlMenuItem()).SetEnabled(false);
    NotNil(AboutMenuItem()).SetEnabled(true);
    NotNil(AboutVelk()).SetEnabled(true);
}

bool ControlWnd::AboutMenuItem_Action() {
    NotNil(instance::AboutWnd()).Show();
    return false;
}

bool ControlWnd::AboutVelk_Action() {
    NotNil(instance::AboutWnd()).Show();
    return false;
}

bool ControlWnd::IsEventImplemented(const std::string& eventName) const {
    return RuntimeIsEventHandled(*this, "ControlWnd.ControlWnd", eventName, true);
}
