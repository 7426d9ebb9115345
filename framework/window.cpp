#include "window.h"

#include "application.h"
#include "captions.h"
#include "menuitem.h"
#include "panechild.h"
#include "pushbutton.h"
#include "qtconvert.h"
#include "runtime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

bool IsModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_Meta || key == Qt::Key_Super_L ||
           key == Qt::Key_Super_R || key == Qt::Key_CapsLock;
}

// The window as Qt sees it: a main window whose central widget is the
// content area the layouts measure, below the menu bar.
class WindowWidget : public QMainWindow {
public:
    explicit WindowWidget(Window& window) : window_(window) {}

    Window& Model() const { return window_; }

protected:
    void closeEvent(QCloseEvent* event) override {
        // The framework keeps a closed window, with its controls, as its
        // class's instance: closing raises Close and hides it.
        event->ignore();
        // The handler may make the framework let go of the window: it and
        // this widget live until the widget is hidden.
        std::shared_ptr<Object> keepAlive;
        DispatchEvent([&] {
            keepAlive = window_.shared_from_this();
            if (window_.Implements("Close"))
                window_.Event_Close();
        });
        hide();
    }

    void changeEvent(QEvent* event) override {
        QMainWindow::changeEvent(event);
        if (event->type() != QEvent::ActivationChange || !isActiveWindow())
            return;
        DispatchEvent([this] {
            const auto window = std::static_pointer_cast<Window>(window_.shared_from_this());
            if (window_.Implements("Activate"))
                window_.Event_Activate();
            UpdateMenuItems(window);
        });
    }

    void keyPressEvent(QKeyEvent* event) override {
        // Keys that no control took arrive here. A modifier alone is no key
        // press: Alt on its own leads to the menu bar.
        if (IsModifier(event->key()))
            return QMainWindow::keyPressEvent(event);
        bool handled = false;
        DispatchEvent([&] {
            const auto keepAlive = window_.shared_from_this();
            const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
            const std::shared_ptr<PushButton> button = window_.DefaultButton();
            const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (isReturn && plain && button && button->Visible() && button->Enabled()) {
                button->Push();
                handled = true;
            } else if (window_.Implements("KeyDown")) {
                handled = window_.Event_KeyDown(ToStdString(event->text()));
            }
        });
        event->setAccepted(handled);
    }

    bool event(QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
            event->type() == QEvent::Show)
            window_.PlaceAgainOnceFramed();
        return QMainWindow::event(event);
    }

private:
    Window& window_;
};

class ContentWidget : public QWidget {
public:
    explicit ContentWidget(Window& window) : window_(window) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        bool handled = false;
        DispatchEvent([&] {
            const auto keepAlive = window_.shared_from_this();
            if (window_.Implements("MouseDown"))
                handled = window_.Event_MouseDown(event->position().toPoint().x(),
                                                  event->position().toPoint().y());
        });
        event->setAccepted(handled);
    }

    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        for (const std::shared_ptr<Control>& control : window_.Controls())
            if (auto rect = std::dynamic_pointer_cast<RectControl>(control))
                rect->FollowResize(width(), height());
    }

private:
    Window& window_;
};

std::vector<std::shared_ptr<Window>>& ImplicitWindowList() {
    static std::vector<std::shared_ptr<Window>> windows;
    return windows;
}

} // namespace

struct WindowPrivate {
    QPointer<WindowWidget> widget;
    QPointer<ContentWidget> content;
    int width = 100;
    int height = 100;
    int minimumWidth = 0;
    int minimumHeight = 0;
    int maximumWidth = QWIDGETSIZE_MAX;
    int maximumHeight = QWIDGETSIZE_MAX;
    bool resizeable = true;
    bool closeButton = true;
    bool minimizeButton = true;
    bool maximizeButton = true;
    bool fullScreen = false;
    bool visible = false;
    bool menuBarVisible = true;
    bool placed = false;
    // The first placement, done again once the window manager's frame is
    // known, which it is not before the first show: where it cascades the
    // frame to, none when centred, and where it put it.
    bool awaitingFrame = false;
    std::optional<QPoint> cascadeTo;
    QPoint placedAt;
    std::weak_ptr<PushButton> defaultButton;
    std::map<std::string, std::shared_ptr<Delegate>> menuHandlers;
    std::vector<std::shared_ptr<Control>> controls;
};

Window::Window() : d_(std::make_unique<WindowPrivate>()) {
    d_->widget = new WindowWidget(*this);
    d_->content = new ContentWidget(*this);
    d_->widget->setCentralWidget(d_->content);
    ApplyTitleBar();
    ApplyGeometry();
}

Window::~Window() {
    d_->controls.clear();
    delete d_->widget.data();
}

const ClassRecord Window::kClassRecord{"Window", "Object", {}};

bool Window::Implements(const std::string& eventName) const {
    return RuntimeIsEventHandled(*this, Class().name, eventName, false);
}

void Window::SetProperty(std::string_view name, const PropertyValue& value) {
    auto dimension = [&] {
        const int64_t pixels = IntegerValue(name, value);
        if (pixels < 0 || pixels > QWIDGETSIZE_MAX)
            throw OutOfBoundsException("The window's " + std::string(name) + " is out of range");
        return static_cast<int>(pixels);
    };
    if (name == "Width")
        d_->width = dimension();
    else if (name == "Height")
        d_->height = dimension();
    else if (name == "MinimumWidth")
        d_->minimumWidth = dimension();
    else if (name == "MinimumHeight")
        d_->minimumHeight = dimension();
    else if (name == "MaximumWidth")
        d_->maximumWidth = dimension();
    else if (name == "MaximumHeight")
        d_->maximumHeight = dimension();
    else if (name == "Resizeable")
        d_->resizeable = BooleanValue(name, value);
    else if (name == "HasCloseButton")
        d_->closeButton = BooleanValue(name, value);
    else if (name == "HasMinimizeButton")
        d_->minimizeButton = BooleanValue(name, value);
    else if (name == "HasMaximizeButton")
        d_->maximizeButton = BooleanValue(name, value);
    else if (name == "FullScreen")
        d_->fullScreen = BooleanValue(name, value);
    else if (name == "Visible")
        d_->visible = BooleanValue(name, value);
    else if (name == "MenuBarVisible")
        d_->menuBarVisible = BooleanValue(name, value);
    else if (name == "Title") {
        const QString title = ToQString(StringValue(name, value));
        d_->widget->setWindowTitle(title);
        // A screen reader names a window by its title, an untitled one by the
        // application.
        d_->widget->setAccessibleName(title.isEmpty() ? QGuiApplication::applicationDisplayName()
                                                      : QString());
    } else if (name == "HasBackgroundColor")
        d_->content->setAutoFillBackground(BooleanValue(name, value));
    else if (name == "BackgroundColor") {
        QPalette palette = d_->content->palette();
        palette.setColor(QPalette::Window, ToQColor(ColorValue(name, value)));
        d_->content->setPalette(palette);
    } else if (name == "Type" || name == "MacProcID" || name == "DefaultLocation") {
        // Every kind of window is a plain one here, placed as the layouts'
        // DefaultLocation 0 asks when it is first shown (PlaceOnFirstShow).
        IntegerValue(name, value);
    } else if (name == "HasFullScreenButton" || name == "Composite" || name == "LiveResize") {
        // macOS title-bar and drawing options that Qt has no counterpart for.
        BooleanValue(name, value);
    } else {
        Object::SetProperty(name, value);
    }
    ApplyTitleBar();
    ApplyGeometry();
}

void Window::ApplyTitleBar() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (d_->closeButton)
        flags |= Qt::WindowCloseButtonHint;
    if (d_->minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (d_->maximizeButton && d_->resizeable)
        flags |= Qt::WindowMaximizeButtonHint;
    if (d_->widget->windowFlags() != flags) {
        const bool shown = d_->widget->isVisible();
        d_->widget->setWindowFlags(flags);
        if (shown)
            d_->widget->show();
    }
}

void Window::ApplyGeometry() {
    // Sizes are those of the content area; the menu bar comes on top.
    const QMenuBar* menuBar = qobject_cast<QMenuBar*>(d_->widget->menuWidget());
    const int menuHeight = menuBar && !menuBar->isHidden() ? menuBar->sizeHint().height() : 0;
    auto withMenu = [menuHeight](int height) {
        return std::min<int64_t>(int64_t{height} + menuHeight, QWIDGETSIZE_MAX);
    };
    if (d_->resizeable) {
        d_->widget->setMinimumSize(d_->minimumWidth, withMenu(d_->minimumHeight));
        d_->widget->setMaximumSize(d_->maximumWidth, withMenu(d_->maximumHeight));
    } else {
        d_->widget->setFixedSize(d_->width, withMenu(d_->height));
    }
    d_->content->resize(d_->width, d_->height);
    d_->widget->resize(d_->width, withMenu(d_->height));
}

void Window::Constructor() {
    RuntimeRegisterClass(Class());
    const auto self = std::static_pointer_cast<Window>(shared_from_this());
    if (Implements("Layout"))
        Layout();
    if (Implements("CreateControls"))
        CreateControls();
    PairFieldsWithTheirCaptions(*d_->content);
    if (Implements("AddMenuHandlers"))
        AddMenuHandlers(self);
    ApplyTabOrder();
    InstallMenuBar();

    auto& windows = ImplicitWindowList();
    std::erase_if(windows, [&](const auto& held) { return held->Class().name == Class().name; });
    windows.push_back(self);

    if (d_->visible)
        Show();
}

void Window::ApplyTabOrder() {
    std::vector<std::shared_ptr<RectControl>> stops;
    for (const auto& control : d_->controls)
        if (auto rect = std::dynamic_pointer_cast<RectControl>(control); rect && rect->TabStop())
            stops.push_back(rect);
    std::ranges::stable_sort(stops, {}, &RectControl::TabIndex);
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1]->Widget(), stops[i]->Widget());
}

void Window::InstallMenuBar() {
    const std::shared_ptr<Application> application = GetAppObject();
    const std::shared_ptr<MenuBar> bar = application ? application->GetMenuBar() : nullptr;
    if (!d_->menuBarVisible || !bar)
        return;
    QMenuBar* menuBar = bar->Build();
    d_->widget->setMenuBar(menuBar);
    ApplyGeometry();
}

void Window::Show() {
    QWidget& widget = *d_->widget;
    if (!d_->placed) {
        // Shown again, a window stays where the user left it.
        d_->placed = true;
        PlaceOnFirstShow();
    }
    // A window the user minimised comes back as it was before.
    widget.setWindowState(widget.windowState() & ~Qt::WindowMinimized);
    if (d_->fullScreen)
        widget.showFullScreen();
    else
        widget.show();
    widget.raise();
    widget.activateWindow();
}

// The first window opens centred on the screen. One opened while another
// of the application's windows is on screen opens down and right of the
// active one by a title bar, where it hides neither that window's title nor
// its left edge, and on the screen.
void Window::PlaceOnFirstShow() {
    const QWidget* beside = nullptr;
    if (const std::shared_ptr<Window> active = ActiveWindow(); active && active.get() != this)
        beside = active->TopLevelWidget();
    if (!beside) {
        const auto& windows = ImplicitWindowList();
        const auto shown = std::ranges::find_if(windows, [this](const auto& window) {
            return window.get() != this && window->Visible();
        });
        if (shown != windows.end())
            beside = (*shown)->TopLevelWidget();
    }
    const QScreen* screen = beside ? beside->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (beside) {
        const int titleBar =
            std::max(beside->geometry().top() - beside->frameGeometry().top(),
                     QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
        d_->cascadeTo = beside->frameGeometry().topLeft() + QPoint(titleBar, titleBar);
    }
    Place(screen->availableGeometry());
    d_->awaitingFrame = true;
}

// Fits the frame, title bar and borders included, into the available area:
// shrunk as far as the window's minimum size allows, which for a window that
// cannot be resized is its own size, then centred or cascaded. A frame still
// too large keeps its title bar on screen.
void Window::Place(const QRect& available) {
    QWidget& widget = *d_->widget;
    const QSize margins = widget.frameGeometry().size() - widget.size();
    widget.resize(widget.size().boundedTo(available.size() - margins));
    QRect frame(QPoint(), widget.size() + margins);
    if (d_->cascadeTo)
        frame.moveTopLeft(*d_->cascadeTo);
    else
        frame.moveCenter(available.center());
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    widget.move(frame.topLeft());
    d_->placedAt = frame.topLeft();
}

void Window::PlaceAgainOnceFramed() {
    const QWidget& widget = *d_->widget;
    if (!d_->awaitingFrame || widget.frameGeometry() == widget.geometry())
        return;
    d_->awaitingFrame = false;
    // The frame comes while the window is being shown, so the placement waits
    // for that to end. A window hidden meanwhile is placed once shown again;
    // one moved meanwhile stays where it was moved. At a fractional scale the
    // frame may come back a pixel off where it was put.
    QTimer::singleShot(0, d_->widget, [this] {
        const QWidget& framed = *d_->widget;
        const QPoint moved = framed.frameGeometry().topLeft() - d_->placedAt;
        if (!framed.isVisible())
            d_->awaitingFrame = true;
        else if (std::max(std::abs(moved.x()), std::abs(moved.y())) <= 1 && framed.screen())
            Place(framed.screen()->availableGeometry());
    });
}

void Window::Hide() {
    d_->widget->hide();
}

bool Window::Visible() const {
    return d_->widget->isVisible();
}

void Window::AddControl(const std::string& name, const std::shared_ptr<Control>& control) {
    NotNil(control);
    std::erase_if(d_->controls, [&](const auto& held) { return held->Name() == name; });
    control->SetName(name);
    if (auto child = std::dynamic_pointer_cast<PaneChild>(control))
        child->SetWindow(std::static_pointer_cast<Window>(shared_from_this()));
    d_->controls.push_back(control);
}

std::shared_ptr<Control> Window::ControlByName(const std::string& name) const {
    const auto found = std::ranges::find(d_->controls, name, &Control::Name);
    return found == d_->controls.end() ? nullptr : *found;
}

const std::vector<std::shared_ptr<Control>>& Window::Controls() const {
    return d_->controls;
}

void Window::AddMenuHandler(const std::string& itemName, const std::shared_ptr<Delegate>& handler) {
    NotNil(handler);
    d_->menuHandlers[itemName] = handler;
}

bool Window::HasMenuHandler(const std::string& itemName) const {
    return d_->menuHandlers.contains(itemName);
}

bool Window::HandleMenuItem(const std::string& itemName) {
    const auto found = d_->menuHandlers.find(itemName);
    if (found == d_->menuHandlers.end())
        return false;
    const std::shared_ptr<Delegate> handler = found->second;
    return handler->Invoke({});
}

QWidget* Window::Content() const {
    return d_->content;
}

QWidget* Window::TopLevelWidget() const {
    return d_->widget;
}

void Window::OfferDefaultButton(const std::shared_ptr<PushButton>& button) {
    if (!d_->defaultButton.lock())
        d_->defaultButton = button;
}

std::shared_ptr<PushButton> Window::DefaultButton() const {
    return d_->defaultButton.lock();
}

std::shared_ptr<Window> GetImplicitWindow(const std::string& className) {
    for (const auto& window : ImplicitWindowList())
        if (window->Class().name == className)
            return window;
    return nullptr;
}

std::vector<std::shared_ptr<Window>> ImplicitWindows() {
    return ImplicitWindowList();
}

std::shared_ptr<Window> ActiveWindow() {
    // A window on its way out is active no more.
    if (auto* widget = dynamic_cast<WindowWidget*>(QApplication::activeWindow()))
        return std::static_pointer_cast<Window>(widget->Model().weak_from_this().lock());
    return nullptr;
}

void ReleaseImplicitWindows() {
    ImplicitWindowList().clear();
}
