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

// What became of the message box that the test waited for.
struct MessageBoxAnswer {
    bool answered = false;
    QString text;
};

// Presses OK on the next message box to open within two seconds and keeps
// its text. Set it up before the action that opens the box: the box is modal
// and the action returns only once it is answered.
inline std::shared_ptr<MessageBoxAnswer> AnswerNextMessageBox() {
    auto answer = std::make_shared<MessageBoxAnswer>();
    auto* poll = new QTimer();
    poll->setInterval(5);
    auto* deadline = new QTimer(poll);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, poll, &QObject::deleteLater);
    QObject::connect(poll, &QTimer::timeout, poll, [answer, poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        answer->answered = true;
        answer->text = box->text();
        poll->stop();
        poll->deleteLater();
        box->button(QMessageBox::Ok)->click();
    });
    poll->start();
    deadline->start(2000);
    return answer;
}

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
