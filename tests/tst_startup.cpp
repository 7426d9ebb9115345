#include "testsupport.h"

#include "app/filetypes.h"
#include "windows/pictures.h"
#include "windows/wrapper_timer1.h"

#include "framework/menuitem.h"
#include "framework/picture_p.h"
#include "framework/pushbutton.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

// One run of Velk from its start: what start-up builds, then the splash
// giving way to the calculator in every way there is.
class StartupTest : public QObject {
    Q_OBJECT

private:
    // From just before start-up, which starts the splash timer on its way.
    QElapsedTimer sinceStart_;
    qint64 startupTook_ = 0;
    QStringList fileTypeChanges_;
    std::shared_ptr<AboutWnd> about_;
    std::shared_ptr<Window> calc_;

    void showAboutAgain() {
        about_->Show();
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
    }

    // What every dismissal leaves: the About window hidden, the first calculator active.
    void checkDismissed() {
        QVERIFY(!about_->Visible());
        const std::shared_ptr<Window> calc = GetImplicitWindow("ControlWnd.ControlWnd");
        QVERIFY(calc && calc->Visible());
        QVERIFY(QTest::qWaitForWindowActive(calc->TopLevelWidget()));
        calc_ = calc_ ? calc_ : calc;
        QCOMPARE(calc, calc_);
    }

private slots:
    void initTestCase() {
        SetFileTypeRegistryObserver([this](const FileTypeRegistration& type, bool registering) {
            fileTypeChanges_ << QString::fromStdString(
                (registering ? "register " : "withdraw ") + type.name + "/" + type.macCreator +
                "/" + type.macType + "/" + type.extensions + "/" + type.uti);
        });
        sinceStart_.start();
        StartVelk();
        startupTook_ = sinceStart_.elapsed();
        about_ = instance::AboutWnd();
    }

    // Runs first, well inside the splash's four seconds.
    void startupShowsOnlyTheAboutWindowWithPictureAndRightsLine() {
        QVERIFY(ImplicitWindows() == std::vector<std::shared_ptr<Window>>{about_});
        QVERIFY(QTest::qWaitForWindowActive(about_->TopLevelWidget()));
        QWidgetList shown;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                shown << widget;
        QCOMPARE(shown, QWidgetList{about_->TopLevelWidget()});

        QCOMPARE(about_->Content()->size(), QSize(400, 350));
        QVERIFY(about_->TopLevelWidget()->windowTitle().isEmpty());
        QVERIFY(Velk32() && Velk32() == Velk32());
        QCOMPARE(NotNil(about_->Canvas1()).Backdrop(), Velk64());
        QWidget* canvas = about_->Canvas1()->Widget();
        QCOMPARE(canvas->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 Velk64()->Data().image.convertToFormat(QImage::Format_RGB32));
        auto* rights = qobject_cast<QLabel*>(NotNil(about_->StaticText5()).Widget());
        QVERIFY(rights->isVisible() && rights->text().startsWith(QChar(0x00A9)));
    }

    // Each title the bar shows, then its menu's items with their shortcuts:
    // the items without text, and those of the application menu, which only
    // macOS has, stay hidden.
    void menuBarShowsFileEditAndWindowWithCtrlQForQuit() {
        QStringList shown;
        for (const QAction* title :
             static_cast<QMainWindow*>(about_->TopLevelWidget())->menuBar()->actions()) {
            if (!title->isVisible())
                continue;
            shown << title->text() + ":";
            for (const QAction* item : title->menu()->actions())
                if (item->isVisible())
                    shown << (item->isSeparator()
                                  ? QStringLiteral("-")
                                  : item->text() + " " + item->shortcut().toString());
        }
        QCOMPARE(shown.join(" | "),
                 QStringLiteral("File: | Print  | Quit Ctrl+Q | Edit: | "
                                "Undo Ctrl+Z | - | Cut Ctrl+X | Copy Ctrl+C | "
                                "Paste Ctrl+V | Window: | Control  | About Velk "));
    }

    // State: the splash dismissed by a key at once, then brought back.
    // Action: nothing until its timer has run out, and as long again.
    // Expected: its one Action hides it, the calculator forward; brought back, it stays.
    void splashTimerHidesTheAboutWindowBroughtBackEarlyAndFiresOnce() {
        QTest::keyClick(about_->TopLevelWidget(), Qt::Key_V);
        checkDismissed();
        showAboutAgain();
        QTRY_VERIFY_WITH_TIMEOUT(!about_->Visible(), 6500);
        const qint64 firedAt = sinceStart_.elapsed();
        // Qt fires a coarse timer up to 5% early or late, here after a start-up slow or not.
        QVERIFY2(firedAt >= 3700 && firedAt - startupTook_ < 4600,
                 qPrintable(QStringLiteral("%1 after %2").arg(firedAt).arg(startupTook_)));
        checkDismissed();
        showAboutAgain();
        // Ends at once should a second Action hide it, 5% late at most.
        QTRY_VERIFY_WITH_TIMEOUT(!about_->Visible() || sinceStart_.elapsed() > firedAt + 4500,
                                 6000);
        QVERIFY(about_->Visible());
    }

    // State: the About window brought back before each dismissal.
    // Action: a press on the background, one on the picture.
    // Expected: each dismisses it, and shows the one calculator again.
    void pressAnywhereDismissesTheAboutWindow() {
        // The press goes to whatever is drawn under the pointer.
        for (QWidget* target : {about_->Content(), about_->Canvas1()->Widget()}) {
            showAboutAgain();
            QTest::mousePress(target, Qt::LeftButton, {}, QPoint(10, 10));
            checkDismissed();
            QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(10, 10));
        }
    }

    void activatingTheCalculatorHidesTheAboutWindowShownAgain() {
        showAboutAgain();
        QWidget* calc = GetImplicitWindow("ControlWnd.ControlWnd")->TopLevelWidget();
        calc->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(calc));
        checkDismissed();
    }

    void splashTimerKnowsItsWindowOnlyWhileTheWindowLives() {
        const auto splashTimer = RuntimeCheckCast<AboutWnd::_wrapper_Timer1>(about_->Timer1());
        QCOMPARE(NotNil(splashTimer).Window(), std::static_pointer_cast<Window>(about_));

        auto window = std::make_shared<Window>();
        const auto timer = window->New<AboutWnd::_wrapper_Timer1>();
        window->AddControl("Timer1", timer);
        QCOMPARE(timer->Window(), window);
        window.reset();
        QVERIFY(!timer->Window());
    }

    // State: the splash dismissed, then the help window opened over the calculator.
    // Action: the splash's timer raises its Action.
    // Expected: the splash stays hidden, and the calculator comes forward.
    void splashTimerActionAfterTheDismissalBringsTheCalculatorForward() {
        QTest::mouseClick(NotNil(instance::ControlWnd()->QBtn()).Widget(), Qt::LeftButton);
        Window& help = NotNil(GetImplicitWindow("Qwindow.Qwindow"));
        QVERIFY(QTest::qWaitForWindowActive(help.TopLevelWidget()));
        NotNil(about_->Timer1()).CallAction();
        checkDismissed();
        help.Hide();
    }

    // Runs last, so that nothing before has withdrawn a type.
    void bothFileTypesAreRegisteredOnceInOrderAndNeverWithdrawn() {
        QCOMPARE(fileTypeChanges_, (QStringList{"register text/R*ch/TEXT//", "register ////"}));
        QVERIFY(FileTypes::pAllFileTypes ==
                (std::vector{FileTypes::Text(), FileTypes::UntitledType()}));
        QVERIFY(FileTypes::Text()->Registered() && FileTypes::UntitledType()->Registered());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
