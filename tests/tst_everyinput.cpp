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

// Every text a reliability field admits, typed into the real calculator
// window, then a seeded random walk of user events over the three windows;
// both checked against a reference on integers, with the reliabilities read
// in ten-thousandths so that range checks and rounding are exact.
// VELK_WALK_SEED picks the walk's seed, and VELK_WALK_TRACE=1 prints each of
// its events as it happens, for a walk that crashes.

namespace {

const QString kTestAMessage =
    QStringLiteral("Reliability for Test A must range from .0001 to .9999");
const QString kTestBMessage =
    QStringLiteral("Reliability for Test B must range from .0001 to .9999");

// A masked field's text, the point and up to four digits, in ten-thousandths:
// ".86" is 8600, "." is 0.
int TenThousandths(const QString& text) {
    int value = 0;
    for (int place = 1; place <= 4; ++place)
        value = value * 10 + (place < text.size() ? text[place].digitValue() : 0);
    return value;
}

// What Calculate does with two inputs: the message it raises, or none and
// sqrt(a * b) in the ".000" form, halves up. With a and b in ten-thousandths
// the root is in ten-thousandths too, and it shows k thousandths for the
// smallest k with a * b < (10k + 5)^2.
std::pair<QString, QString> Outcome(const QString& aText, const QString& bText) {
    const int a = TenThousandths(aText);
    const int b = TenThousandths(bText);
    if (a < 1 || a > 9999)
        return {kTestAMessage, {}};
    if (b < 1 || b > 9999)
        return {kTestBMessage, {}};
    const int64_t product = int64_t{a} * b;
    int64_t k = 0;
    while ((10 * k + 5) * (10 * k + 5) <= product)
        ++k;
    return {{},
            k == 1000 ? QStringLiteral("1.000")
                      : QLatin1Char('.') + QString::number(k).rightJustified(3, u'0')};
}

// The 11,111 texts the mask ".####" lets a field hold: the point and up to
// four digits.
QStringList MaskedTexts() {
    QStringList texts = {QStringLiteral(".")};
    for (qsizetype i = 0; texts[i].size() < 5; ++i)
        for (char digit = '0'; digit <= '9'; ++digit)
            texts.append(texts[i] + QLatin1Char(digit));
    return texts;
}

// What a masked field shows, without the blanks of its empty places.
QString Shown(QLineEdit* field) {
    return field->displayText().trimmed();
}

QString Name(const std::shared_ptr<Window>& window) {
    return QString::fromStdString(window->Class().name);
}

QString Name(const QWidget* widget) {
    return widget ? widget->metaObject()->className() : "nothing";
}

// The ways a user answers a message box; the answerer's pickWay picks one.
const QStringList kAnswerWays = {"OK", "Return", "Escape", "Space", "closing"};

// Answers every message box as it shows, keeping its text. The answer is
// queued so that it lands in the box's own event loop; a box still up after
// it gets its OK button pressed.
class MessageBoxAnswerer : public QObject {
public:
    QStringList texts;
    std::function<int()> pickWay = [] { return 0; };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = event->type() == QEvent::Show ? qobject_cast<QMessageBox*>(watched) : nullptr;
        if (!box)
            return false;
        texts.append(box->text());
        QTimer::singleShot(0, box, [box, way = pickWay()] {
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (way == 0)
                QTest::mouseClick(ok, Qt::LeftButton);
            else if (way == 1 || way == 2)
                QTest::keyClick(box, way == 1 ? Qt::Key_Return : Qt::Key_Escape);
            else if (way == 3)
                QTest::keyClick(ok, Qt::Key_Space);
            else
                box->close();
            QTimer::singleShot(0, box, [box] {
                if (box->isVisible())
                    box->button(QMessageBox::Ok)->click();
            });
        });
        return false;
    }
};

} // namespace

class EveryInputTest : public QObject {
    Q_OBJECT

    std::shared_ptr<ControlWnd> window_;
    QLineEdit *a_ = nullptr, *b_ = nullptr, *result_ = nullptr;
    MessageBoxAnswerer answerer_;
    qint64 checked_ = 0, failed_ = 0;
    QStringList failures_;

    // Empties the field and types the text's digits as a user would.
    static void Type(QLineEdit* field, const QString& text) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, text.mid(1));
    }

    QString ResultSeen() const {
        if (result_->isVisible() != window_->MaxFld()->Widget()->isVisible())
            return QStringLiteral("result and caption apart");
        if (!result_->isVisible())
            return QStringLiteral("hidden");
        return result_->isEnabled() ? result_->text() : QStringLiteral("disabled");
    }

    // Presses Calculate on the texts in the fields and compares what the user
    // then sees, the messages, the inputs, the result and after a rejection
    // the focus, with the reference. An exact result rules out NaN, infinity
    // and values outside 0 to 1.
    void CalculateAndCheck(const QString& aText, const QString& bText) {
        ++checked_;
        const auto [message, result] = Outcome(aText, bText);
        QStringList expected = {"", aText, bText, result, "-"};
        if (message == kTestAMessage)
            expected = {message, ".", bText, ResultSeen(), "A"};
        else if (!message.isEmpty())
            expected = {message, aText, ".", ResultSeen(), "B"};
        if (Shown(a_) != aText || Shown(b_) != bText)
            expected = {"A " + aText + " and B " + bText + " before Calculate"};
        answerer_.texts.clear();
        QTest::mouseClick(window_->CalcBtn()->Widget(), Qt::LeftButton);
        QWidget* focus = window_->TopLevelWidget()->focusWidget();
        const QString focused = focus == a_ ? "A" : focus == b_ ? "B" : "elsewhere";
        const QStringList seen = {answerer_.texts.join(" | "), Shown(a_), Shown(b_), ResultSeen(),
                                  expected.last() == "-" ? "-" : focused};
        if (seen != expected && ++failed_ <= 20)
            failures_.append("saw {" + seen.join(", ") + "} not {" + expected.join(", ") + "}");
    }

    void Verify(qint64 expectedChecks) {
        QCOMPARE(checked_, expectedChecks);
        QVERIFY2(failed_ == 0, qPrintable(QString::number(failed_) + " pairs wrong, first:\n  " +
                                          failures_.join("\n  ")));
        QCOMPARE(UnhandledExceptionCount(), 0);
    }

    // The random walk's state.
    std::mt19937 random_;
    int step_ = 0;
    QStringList log_;
    std::vector<std::pair<std::shared_ptr<MenuItem>, std::shared_ptr<MenuItem>>> menuChoices_;
    // The inputs that the current event's presses of Calculate read, in
    // order; a press of Clear is an empty entry.
    QList<QStringList> presses_;
    QStringList pressedCalculate_;
    QString expectedResult_;

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

    QStringList Inputs() const { return {a_->text(), b_->text()}; }

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
            QWidget* button = PickOf(std::vector{window_->CalcBtn(), window_->CalcBtn(),
                                                 window_->ClearBtn(), window_->QBtn()})
                                  ->Widget();
            Activate(window_);
            Note("press " + qobject_cast<QPushButton*>(button)->text());
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (kind < 92) {
            ChooseMenuItem();
        } else if (kind < 96) {
            const auto window = PickWindow();
            Note("close " + Name(window) + (window == window_ ? ": not this one" : ""));
            if (window != window_)
                window->TopLevelWidget()->close();
        } else {
            Note(QStringLiteral("the splash timer runs out"));
            NotNil(instance::AboutWnd()->Timer1()).CallAction();
        }
    }

    // Plays the event's presses on the reference, then checks the messages
    // they raised and the invariants.
    QString CheckWalk() {
        QStringList expectedBoxes;
        for (const QStringList& press : presses_) {
            const auto [message, result] = Outcome(press.value(0), press.value(1));
            if (press.isEmpty()) {
                expectedResult_ = QStringLiteral("hidden");
            } else if (!message.isEmpty()) {
                expectedBoxes.append(message);
            } else {
                expectedResult_ = result;
                Note("  Calculate on " + press.join(" and ") + " gives " + result);
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
        for (QLineEdit* field : {a_, b_})
            if (!kMasked.match(field->displayText()).hasMatch())
                return "a masked field shows \"" + field->displayText() + "\"";
        if (ResultSeen() != expectedResult_)
            return "the result shows " + ResultSeen() + ", not " + expectedResult_;
        return {};
    }

    // Return that reaches the calculator window itself presses Calculate.
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (key && watched == window_->TopLevelWidget() &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            presses_.append(Inputs());
        return false;
    }

private slots:
    // The offscreen platform warns at every window a message box raises, and
    // the tests raise many thousands.
    void initTestCase() {
        static QtMessageHandler previous = nullptr;
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (!text.startsWith(QLatin1String("This plugin does not support")))
                    previous(type, context, text);
            });
        window_ = StartVelkAtTheCalculator();
        qApp->installEventFilter(&answerer_);
        QVERIFY(QTest::qWaitForWindowActive(window_->TopLevelWidget()));
        a_ = FieldEdit(window_->AFld());
        b_ = FieldEdit(window_->BFld());
        result_ = FieldEdit(window_->DiffFld());
    }

    // Each case starts with the worked example on show, so that a rejected
    // input has an earlier result to leave alone.
    void init() {
        checked_ = failed_ = 0;
        failures_.clear();
        Type(a_, ".86");
        Type(b_, ".40");
        QTest::mouseClick(window_->CalcBtn()->Widget(), Qt::LeftButton);
        QCOMPARE(result_->text(), QStringLiteral(".587"));
    }

    void everyMaskedTextGetsItsExactOutcome_data() {
        QTest::addColumn<bool>("sweepingA");
        QTest::addColumn<QString>("partner");
        for (const bool sweepingA : {true, false})
            for (const char* partner : {".0001", ".5", ".9999", "."})
                QTest::addRow("%s against %s", sweepingA ? "A" : "B", partner)
                    << sweepingA << QString::fromLatin1(partner);
    }

    void everyMaskedTextGetsItsExactOutcome() {
        QFETCH(bool, sweepingA);
        QFETCH(QString, partner);
        for (const QString& text : MaskedTexts()) {
            Type(sweepingA ? a_ : b_, text);
            if (Shown(sweepingA ? b_ : a_) != partner)
                Type(sweepingA ? b_ : a_, partner);
            CalculateAndCheck(sweepingA ? text : partner, sweepingA ? partner : text);
        }
        Verify(11111);
    }

    // State: A holds ".5", or ".8642" with the cursor beside its 6.
    // Action: a digit that is not ASCII typed and pasted, or the 6 deleted.
    // Expected: A shows ".5", or ".842" with no gap, and Calculate reads that.
    void masksShowWhatCalculateReads() {
        for (const QChar sign : QStringView(u"\u0663\u00b2\u00bd\uff13")) {
            Type(a_, ".5");
            QTest::sendKeyEvent(QTest::Click, a_, Qt::Key_unknown, QString(sign), {});
            QApplication::clipboard()->setText(QString(sign));
            QTest::keyClick(a_, Qt::Key_V, Qt::ControlModifier);
            CalculateAndCheck(".5", ".40");
        }
        for (const auto& [key, cursor] : {std::pair{Qt::Key_Delete, 2}, {Qt::Key_Backspace, 3}}) {
            Type(a_, ".8642");
            a_->setCursorPosition(cursor);
            QTest::keyClick(a_, key);
            CalculateAndCheck(".842", ".40");
        }
        Verify(6);
    }

    // Last: the walk leaves the windows as it happens to. The splash timer
    // stays stopped, so that a seed repeats its walk: the walk plays the
    // timer's runs itself.
    void randomUseKeepsEveryWindowConsistent() {
        bool seedGiven = false;
        unsigned seed = qEnvironmentVariable("VELK_WALK_SEED").toUInt(&seedGiven);
        if (!seedGiven)
            seed = 20200611;
        random_.seed(seed);
        expectedResult_ = ResultSeen();
        qApp->installEventFilter(this);
        answerer_.pickWay = [this] {
            const int way = Pick(kAnswerWays.size());
            Note("  message \"" + answerer_.texts.back() + "\", answered by " + kAnswerWays[way]);
            return way;
        };
        // Calculate reads the inputs after the button goes up; nothing changes
        // them between its press and its release.
        auto* calculate = qobject_cast<QPushButton*>(window_->CalcBtn()->Widget());
        connect(calculate, &QPushButton::pressed, this, [this] { pressedCalculate_ = Inputs(); });
        connect(calculate, &QPushButton::clicked, this,
                [this] { presses_.append(pressedCalculate_); });
        connect(qobject_cast<QPushButton*>(window_->ClearBtn()->Widget()), &QPushButton::clicked,
                this, [this] { presses_.append(QStringList()); });
        // Every item a user can choose, with its menu, except Quit.
        const auto menuBar = NotNil(App()).GetMenuBar();
        for (int m = 0; m < menuBar->Count(); ++m)
            for (int i = 0; i < menuBar->Item(m)->Count(); ++i)
                if (const auto item = menuBar->Item(m)->Item(i);
                    item->ActionIn(*window_)->isVisible() &&
                    !item->ActionIn(*window_)->isSeparator() && item->Name() != "FileQuit")
                    menuChoices_.emplace_back(item, menuBar->Item(m));
        QVERIFY(menuChoices_.size() >= 6);

        for (; step_ < 10000; ++step_) {
            presses_.clear();
            answerer_.texts.clear();
            OneEvent();
            // Lets whatever the event set going (activations, repaints) settle.
            for (int i = 0; i < 3; ++i) {
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            if (const QString failure = CheckWalk(); !failure.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(log_.join('\n')));
                QFAIL(qPrintable(failure + "\nafter the events above; VELK_WALK_SEED=" +
                                 QString::number(seed) + " repeats them"));
            }
        }
    }
};

QTEST_MAIN(EveryInputTest)
#include "tst_everyinput.moc"
