#pragma once

// What the tests share: starting Velk in the test's own process, answering
// its message boxes, and finding what a user would see.

#include "app/startup.h"
#include "windows/aboutwnd.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"

#include "framework/runtime.h"
#include "framework/textfield.h"
#include "framework/timer.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

// Runs the start-up as main does, up to the event loop: the test's own event
// loop stands in for it. Call once per process.
inline void StartVelk() {
    RuntimeInit();
    RuntimePerformInitializers(kApplicationInitializers);
    RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling);
    EarlyStartup();
    RunFrameworkInitialization(&LateStartup);
}

// What Calculate says of an input out of range.
inline const QString kTestAMessage =
    QStringLiteral("Reliability for Test A must range from .0001 to .9999");
inline const QString kTestBMessage =
    QStringLiteral("Reliability for Test B must range from .0001 to .9999");

// Reads every message box as it waits for its answer, keeping its text, and
// answers it with its OK button. Install it on the application before the
// action that opens a box: the box is modal, and the action returns only once
// it is answered. The reading is queued into the box's own event loop, so a
// box that does not wait is gone unread, as it would be for a user.
class MessageBoxAnswerer : public QObject {
public:
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = event->type() == QEvent::Show ? qobject_cast<QMessageBox*>(watched) : nullptr;
        if (box)
            QTimer::singleShot(0, box, [this, box] {
                texts.append(box->text());
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            });
        return false;
    }
};

// Starts Velk and dismisses the splash as its timer would, then stops that
// timer: it would otherwise hide an About window that a test brings back.
inline std::shared_ptr<ControlWnd> StartVelkAtTheCalculator() {
    StartVelk();
    Timer& splashTimer = NotNil(NotNil(instance::AboutWnd()).Timer1());
    splashTimer.CallAction();
    splashTimer.SetRunMode(Timer::kRunModeOff);
    return instance::ControlWnd();
}

inline QLineEdit* FieldEdit(const std::shared_ptr<TextField>& field) {
    return qobject_cast<QLineEdit*>(NotNil(field).Widget());
}

// Types the keys into whatever has the keyboard focus, as a user does: no
// click, caret move or selection first.
inline void TypeKeys(const QString& keys) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "nothing has the keyboard focus to type into");
    QTest::keyClicks(focus, keys);
}
