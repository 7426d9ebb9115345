#include "reference.h"
#include "testsupport.h"

#include "app/velk.h"

#include "framework/menuitem.h"
#include "framework/window.h"

#include <QClipboard>
#include <QKeySequence>
#include <QMenu>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <random>

// A seeded random walk of user events over the three windows, with the
// invariants checked after every event. VELK_WALK_SEED picks the seed, and
// VELK_WALK_TRACE=1 prints each event as it happens, for a walk that crashes.

namespace {

QString Name(const std::shared_ptr<Window>& window) {
    return QString::fromStdString(window->Class().name);
}

// The name of the control whose widget it is.
QString Name(QWidget* widget) {
    for (const auto& window : ImplicitWindows())
        for (const auto& control : window->Controls())
            if (const auto rect = std::dynamic_pointer_cast<RectControl>(control);
                rect && rect->Widget() == widget)
                return QString::fromStdString(control->Name());
    return widget ? widget->metaObject()->className() : "nothing";
}

} // namespace

class RandomWalkTest : public QObject {
    Q_OBJECT

    std::mt19937 random_;
    unsigned seed_ = 0;
    int step_ = 0;
    QStringList log_;
    std::shared_ptr<ControlWnd> calculator_;
    std::vector<std::pair<std::shared_ptr<MenuItem>, std::shared_ptr<MenuItem>>> menuChoices_;
    MessageBoxAnswerer answerer_;
    // The inputs that the current event's presses of Calculate read, in
    // order; a press of Clear is an empty entry.
    QList<QStringList> presses_;
    QStringList pressedCalculate_;
    QString expectedResult_ = QStringLiteral("hidden");

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    template <class T> T PickOf(const std::vector<T>& items) {
        return items[Pick(static_cast<int>(items.size()))];
    }

    void Note(const QString& event) {
        static const bool trace = qEnvironmentVariableIntValue("VELK_WALK_TRACE") != 0;
        log_.append(QStringLiteral("%1: %2").arg(step_).arg(event));
        if (trace) { // at once: a crash must not swallow it
            std::fprintf(stderr, "%s\n", qPrintable(log_.back()));
            std::fflush(stderr);
        }
    }

    QStringList Inputs() const {
        return {FieldEdit(calculator_->AFld())->text(), FieldEdit(calculator_->BFld())->text()};
    }

    // Users mostly stay with the window in front. The calculator is always shown.
    std::shared_ptr<Window> PickWindow() {
        std::vector<std::shared_ptr<Window>> shown = ImplicitWindows();
        std::erase_if(shown, [](const auto& window) { return !window->Visible(); });
        if (std::ranges::count(shown, ActiveWindow()) && Pick(2))
            return ActiveWindow();
        return PickOf(shown);
    }

    // Working in a window makes it the active one first, as the window system would.
    std::shared_ptr<Window> Activate(const std::shared_ptr<Window>& window) {
        window->TopLevelWidget()->activateWindow();
        if (!QTest::qWaitForWindowActive(window->TopLevelWidget(), 1000))
            Note("  (" + Name(window) + " did not become active)");
        return window;
    }

    // A click anywhere in a window or on one of its controls, or only on
    // those that hold text.
    void Click(const std::shared_ptr<Window>& window, bool onText = false) {
        QWidget* content = window->Content();
        std::vector<QWidget*> controls;
        for (QWidget* child : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible() &&
                (!onText || child->inherits("QLineEdit") || child->inherits("QTextEdit")))
                controls.push_back(child);
        const QRect area = controls.empty() || (!onText && Pick(2)) ? content->rect()
                                                                    : PickOf(controls)->geometry();
        const QPoint at(area.left() + Pick(area.width()), area.top() + Pick(area.height()));
        QWidget* target = content->childAt(at) ? content->childAt(at) : content;
        Note("click " + Name(window) + " on " + Name(target));
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(content, at));
    }

    void PressKey() {
        static const QList<QKeySequence> kKeys = QKeySequence::listFromString(
            "0; 4; 9; .; A; Space; Backspace; Del; Left; Right; Home; End; Shift+Left; Tab; "
            "Shift+Backtab; Return; Num+Enter; Esc; Ctrl+A; Ctrl+C; Ctrl+X; Ctrl+V; Ctrl+Z");
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : Activate(PickWindow())->TopLevelWidget();
        const QKeySequence& key = kKeys[Pick(kKeys.size())];
        Note("key " + key.toString() + " to " + Name(target));
        QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    }

    // Clicks into a field or the help text and types or pastes there: digits
    // mostly, and signs that a masked field must refuse, other digits among
    // them. The Edit menu's Paste, among the menu choices, pastes it again.
    void EnterText() {
        static const QString kSigns = QStringLiteral(
            "0123456789012345678901234567890123456789..-+e aZ,\u00bd\u00b2\u0663\uff13\u00e9");
        Click(Activate(PickWindow()), true);
        QString text;
        for (int i = Pick(Pick(20) ? 8 : 300); i >= 0; --i)
            text += kSigns[Pick(kSigns.size())];
        QWidget* target = QApplication::focusWidget();
        const bool typed = Pick(2);
        Note((typed ? "type \"" : "paste \"") + text.left(20) + "\" into " + Name(target));
        QApplication::clipboard()->setText(text);
        if (!target)
            return;
        if (!typed)
            return QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        for (const QChar sign : text)
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(sign), {});
    }

    // Opening the menu lets the framework update its items; a disabled item
    // cannot be chosen.
    void ChooseMenuItem() {
        const auto window = Activate(PickWindow());
        const auto& [item, menu] = PickOf(menuChoices_);
        Q_EMIT menu->ActionIn(*window)->menu<QMenu*>()->aboutToShow();
        QAction* action = item->ActionIn(*window);
        Note("menu " + QString::fromStdString(item->Name()) +
             (action->isEnabled() ? "" : " (disabled)"));
        if (action->isEnabled())
            action->trigger();
    }

    void OneEvent() {
        const int kind = Pick(100);
        if (kind < 30) {
            Click(Activate(PickWindow()));
        } else if (kind < 50) {
            PressKey();
        } else if (kind < 66) {
            EnterText();
        } else if (kind < 84) {
            QWidget* button = PickOf(std::vector{calculator_->CalcBtn(), calculator_->CalcBtn(),
                                                 calculator_->ClearBtn(), calculator_->QBtn()})
                                  ->Widget();
            Activate(calculator_);
            Note("press " + Name(button));
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (kind < 92) {
            ChooseMenuItem();
        } else if (kind < 96) {
            const auto window = PickWindow();
            Note("close " + Name(window) + (window == calculator_ ? ": not this one" : ""));
            if (window != calculator_)
                window->TopLevelWidget()->close();
        } else {
            Note(QStringLiteral("the splash timer runs out"));
            NotNil(instance::AboutWnd()->Timer1()).CallAction();
        }
    }

    // Plays the event's presses on the model, then checks the messages they
    // raised and the invariants.
    QString Check() {
        QStringList expectedBoxes;
        for (const QStringList& press : presses_) {
            const int a = TenThousandths(press.value(0));
            const int b = TenThousandths(press.value(1));
            if (press.isEmpty()) {
                expectedResult_ = QStringLiteral("hidden");
            } else if (!Admitted(a) || !Admitted(b)) {
                expectedBoxes.append(Admitted(a) ? kTestBMessage : kTestAMessage);
            } else {
                expectedResult_ = ExpectedResult(a, b);
                Note("  Calculate on " + press.join(" and ") + " gives " + expectedResult_);
            }
        }
        if (answerer_.texts != expectedBoxes)
            return "messages " + answerer_.texts.join(" | ") + " where due " +
                   expectedBoxes.join(" | ");
        if (UnhandledExceptionCount() != 0)
            return QStringLiteral("an exception reached the framework's report");
        // Velk holds one window of each class; any other window on screen
        // would be a second one of its class.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() &&
                std::ranges::none_of(ImplicitWindows(), [top](const auto& held) {
                    return held->TopLevelWidget() == top;
                }))
                return "a window on screen that Velk does not hold: " + top->windowTitle();
        // A masked field takes ASCII digits only, and closes the gap a deleted
        // digit leaves: what it shows is what Calculate reads.
        static const QRegularExpression kMasked(QStringLiteral("^\\.[0-9]{0,4} *$"));
        for (const auto& field : {calculator_->AFld(), calculator_->BFld()})
            if (!kMasked.match(FieldEdit(field)->displayText()).hasMatch())
                return "a masked field shows \"" + FieldEdit(field)->displayText() + "\"";
        const auto result = calculator_->DiffFld();
        if (result->Visible() != calculator_->MaxFld()->Visible())
            return QStringLiteral("the result and its caption are not shown together");
        const QString shown = !result->Visible()   ? QStringLiteral("hidden")
                              : !result->Enabled() ? QStringLiteral("disabled")
                                                   : FieldEdit(result)->text();
        if (shown != expectedResult_)
            return "the result shows " + shown + ", not " + expectedResult_;
        return {};
    }

    // Return that reaches the calculator window itself presses Calculate.
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (key && watched == calculator_->TopLevelWidget() &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            presses_.append(Inputs());
        return false;
    }

private slots:
    void initTestCase() {
        DropOffscreenNotices();
        bool seedGiven = false;
        const unsigned seed = qEnvironmentVariable("VELK_WALK_SEED").toUInt(&seedGiven);
        seed_ = seedGiven ? seed : 20200611;
        random_.seed(seed_);
        qInfo() << "walk seed" << seed_;
        // The splash timer is stopped, so that a seed repeats its walk: the
        // walk plays the timer's runs itself.
        calculator_ = StartVelkAtTheCalculator();
        QVERIFY(QTest::qWaitForWindowActive(calculator_->TopLevelWidget()));
        qApp->installEventFilter(&answerer_);
        qApp->installEventFilter(this);
        answerer_.pickWay = [this] {
            const int way = Pick(kAnswerWays.size());
            Note("  message \"" + answerer_.texts.back() + "\", answered by " + kAnswerWays[way]);
            return way;
        };
        // Calculate reads the inputs after the button goes up; nothing changes
        // them between its press and its release.
        auto* calculate = qobject_cast<QPushButton*>(calculator_->CalcBtn()->Widget());
        connect(calculate, &QPushButton::pressed, this, [this] { pressedCalculate_ = Inputs(); });
        connect(calculate, &QPushButton::clicked, this,
                [this] { presses_.append(pressedCalculate_); });
        connect(qobject_cast<QPushButton*>(calculator_->ClearBtn()->Widget()),
                &QPushButton::clicked, this, [this] { presses_.append(QStringList()); });
        // Every item a user can choose, with its menu, except Quit.
        const auto menuBar = NotNil(App()).GetMenuBar();
        for (int m = 0; m < menuBar->Count(); ++m)
            for (int i = 0; i < menuBar->Item(m)->Count(); ++i)
                if (const auto item = menuBar->Item(m)->Item(i);
                    item->ActionIn(*calculator_)->isVisible() &&
                    !item->ActionIn(*calculator_)->isSeparator() && item->Name() != "FileQuit")
                    menuChoices_.emplace_back(item, menuBar->Item(m));
        QVERIFY(menuChoices_.size() >= 6);
    }

    void randomUseKeepsEveryWindowConsistent() {
        for (; step_ < 10000; ++step_) {
            presses_.clear();
            answerer_.texts.clear();
            OneEvent();
            // Lets whatever the event set going (activations, repaints) settle.
            for (int i = 0; i < 3; ++i) {
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            if (const QString failure = Check(); !failure.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(log_.join('\n')));
                QFAIL(qPrintable(failure + "\nafter the events above; VELK_WALK_SEED=" +
                                 QString::number(seed_) + " repeats them"));
            }
        }
    }
};

QTEST_MAIN(RandomWalkTest)
#include "tst_randomwalk.moc"
