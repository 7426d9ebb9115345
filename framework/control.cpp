#include "control.h"

#include "qtconvert.h"
#include "window.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QWidget>

Qt::Alignment ToQtAlignment(int64_t alignment) {
    switch (alignment) {
    case 0:
    case 1:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case 3:
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    throw OutOfBoundsException("TextAlignment takes 0 to 3");
}

const ClassRecord Control::kClassRecord{"Control", "Object", {}};

void Control::SetProperty(std::string_view name, const PropertyValue& value) {
    if (name == "Name")
        SetName(std::string(StringValue(name, value)));
    else if (name == "Index")
        IntegerValue(name, value); // controls are addressed by name only
    else
        Object::SetProperty(name, value);
}

void Control::AddEventHandler(int eventNumber, const std::shared_ptr<Delegate>& handler) {
    if (!HasEvent(eventNumber))
        throw KeyNotFoundException("The class " + Class().name + " has no event number " +
                                   std::to_string(eventNumber));
    handlers_[eventNumber] = handler;
}

bool Control::HasEvent(int) const {
    return false;
}

bool Control::RaiseEvent(int eventNumber, const EventArguments& arguments) {
    const auto found = handlers_.find(eventNumber);
    if (found == handlers_.end() || !found->second)
        return false;
    // Keep the handler alive while it runs, whatever it rebinds.
    const std::shared_ptr<Delegate> handler = found->second;
    return handler->Invoke(arguments);
}

void RuntimeAddEventHandler(const std::shared_ptr<Control>& control, int eventNumber,
                            const std::shared_ptr<Delegate>& handler) {
    NotNil(control).AddEventHandler(eventNumber, handler);
}

struct RectControlPrivate {
    QPointer<QWidget> widget;
    // The rectangle and the content size that the edge locks measure from.
    QRect bounds;
    QSize contentSize;
    bool lockLeft = false;
    bool lockTop = false;
    bool lockRight = false;
    bool lockBottom = false;
    int64_t tabIndex = 0;
    bool tabStop = true;
    QString fontName = QStringLiteral("System");
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

RectControl::RectControl() : d_(std::make_unique<RectControlPrivate>()) {}

RectControl::~RectControl() {
    delete d_->widget.data();
}

const ClassRecord RectControl::kClassRecord{"RectControl", "Control", {}};

void RectControl::Constructor() {
    const std::shared_ptr<Window> window = Owner();
    if (!window || !window->Content())
        throw NilObjectException("A control is constructed on a window that is gone");
    d_->widget = CreateWidget(window->Content());
    d_->widget->show();
    ApplyFocusPolicy();
}

QWidget& RectControl::ConstructedWidget() const {
    if (!d_->widget)
        throw UnsupportedOperationException("The control " + Name() + " has no widget");
    return *d_->widget;
}

QWidget* RectControl::Widget() const {
    return d_->widget;
}

void RectControl::SetProperty(std::string_view name, const PropertyValue& value) {
    QWidget& widget = ConstructedWidget();
    const QRect bounds = d_->bounds;
    if (name == "Left")
        SetBounds(IntegerValue(name, value), bounds.top(), bounds.width(), bounds.height());
    else if (name == "Top")
        SetBounds(bounds.left(), IntegerValue(name, value), bounds.width(), bounds.height());
    else if (name == "Width")
        SetBounds(bounds.left(), bounds.top(), IntegerValue(name, value), bounds.height());
    else if (name == "Height")
        SetBounds(bounds.left(), bounds.top(), bounds.width(), IntegerValue(name, value));
    else if (name == "LockLeft")
        d_->lockLeft = BooleanValue(name, value);
    else if (name == "LockTop")
        d_->lockTop = BooleanValue(name, value);
    else if (name == "LockRight")
        d_->lockRight = BooleanValue(name, value);
    else if (name == "LockBottom")
        d_->lockBottom = BooleanValue(name, value);
    else if (name == "TabIndex")
        d_->tabIndex = IntegerValue(name, value);
    else if (name == "TabStop") {
        d_->tabStop = BooleanValue(name, value);
        ApplyFocusPolicy();
    } else if (name == "Enabled")
        SetEnabled(BooleanValue(name, value));
    else if (name == "Visible")
        SetVisible(BooleanValue(name, value));
    else if (name == "Tooltip")
        widget.setToolTip(ToQString(StringValue(name, value)));
    else if (name == "FontName") {
        d_->fontName = ToQString(StringValue(name, value));
        ApplyFont();
    } else if (name == "FontSize") {
        d_->fontSize = SingleValue(name, value);
        ApplyFont();
    } else if (name == "FontUnit") {
        // Pixels and points are one size here, at 72 points to the inch.
        if (ByteValue(name, value) > 2)
            throw OutOfBoundsException("FontUnit takes 0 (default), 1 (pixels) or 2 (points)");
    } else if (name == "Bold") {
        d_->bold = BooleanValue(name, value);
        ApplyFont();
    } else if (name == "Italic") {
        d_->italic = BooleanValue(name, value);
        ApplyFont();
    } else if (name == "Underline") {
        d_->underline = BooleanValue(name, value);
        ApplyFont();
    } else if (name == "TabPanelIndex") {
        IntegerValue(name, value); // there are no tab panels
    } else if (name == "AllowAutoDeactivate" || name == "AllowFocusRing" || name == "Transparent" ||
               name == "DoubleBuffer") {
        // Qt draws its own focus frames and decides itself what to paint
        // and buffer.
        BooleanValue(name, value);
    } else if (name == "InitialParent" || name == "DataSource" || name == "DataField") {
        // Every control sits directly on its window; none is bound to data.
        StringValue(name, value);
    } else
        Control::SetProperty(name, value);
}

void RectControl::SetBounds(int left, int top, int width, int height) {
    QWidget& widget = ConstructedWidget();
    d_->bounds = QRect(left, top, width, height);
    d_->contentSize = widget.parentWidget()->size();
    widget.setGeometry(d_->bounds);
}

void RectControl::FollowResize(int contentWidth, int contentHeight) {
    if (!d_->widget)
        return;
    const int dx = contentWidth - d_->contentSize.width();
    const int dy = contentHeight - d_->contentSize.height();
    QRect moved = d_->bounds;
    if (d_->lockRight && d_->lockLeft)
        moved.setWidth(moved.width() + dx);
    else if (d_->lockRight)
        moved.translate(dx, 0);
    if (d_->lockBottom && d_->lockTop)
        moved.setHeight(moved.height() + dy);
    else if (d_->lockBottom)
        moved.translate(0, dy);
    d_->widget->setGeometry(moved);
}

bool RectControl::Visible() const {
    return !ConstructedWidget().isHidden();
}

void RectControl::SetVisible(bool visible) {
    ConstructedWidget().setVisible(visible);
}

bool RectControl::Enabled() const {
    return ConstructedWidget().isEnabled();
}

void RectControl::SetEnabled(bool enabled) {
    ConstructedWidget().setEnabled(enabled);
}

void RectControl::SetFocus() {
    ConstructedWidget().setFocus(Qt::OtherFocusReason);
}

int64_t RectControl::TabIndex() const {
    return d_->tabIndex;
}

bool RectControl::TabStop() const {
    return d_->tabStop && CanTakeFocus();
}

void RectControl::ApplyFocusPolicy() {
    Qt::FocusPolicy policy = Qt::NoFocus;
    if (TabStop())
        policy = Qt::StrongFocus;
    else if (CanTakeFocus() && TakesClickFocus())
        policy = Qt::ClickFocus;
    ConstructedWidget().setFocusPolicy(policy);
}

bool RectControl::HasEvent(int eventNumber) const {
    return eventNumber == kKeyDownEvent;
}

bool RectControl::RaiseKeyDown(const std::string& key) {
    return RaiseEvent(kKeyDownEvent, {shared_from_this(), key});
}

void RectControl::ApplyFont() {
    QFont font = QApplication::font();
    if (d_->fontName != QLatin1String("System"))
        font.setFamily(d_->fontName);
    // Size 0 keeps the system's size. The layouts count points at 72 to the
    // inch, where a point is a pixel at scale 1: as device-independent
    // pixels the text keeps its place at any font DPI and grows only with
    // the screen's scale factor.
    if (d_->fontSize > 0)
        font.setPixelSize(qRound(d_->fontSize));
    font.setBold(d_->bold);
    font.setItalic(d_->italic);
    font.setUnderline(d_->underline);
    ConstructedWidget().setFont(font);
}
