// Times a click on Calculate until the result shows, inside Velk's own
// process on the offscreen platform: Test A .86, Test B .40, result .587.
//
//   clicktoresult [CLICKS]
//
// Before each click the result field is emptied (untimed), so that every
// click writes the result afresh. Three ways are timed, each CLICKS times:
//   mouseClick   a press and release on the button, until the text is .587
//   click()      QPushButton::click(), until the text is .587
//   painted      a press and release, then the posted repaints, until the
//                window's backing store holds the new result
// Prints the median and the 10th and 90th percentiles per way, in
// microseconds.

#include "testsupport.h"

#include "framework/pushbutton.h"
#include "framework/textfield.h"
#include "windows/controlwnd.h"
#include "windows/instances.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QString kResult = QStringLiteral(".587");

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "clicktoresult: %s\n", what);
    std::exit(1);
}

double Percentile(std::vector<double> samples, double fraction) {
    std::ranges::sort(samples);
    return samples[static_cast<std::size_t>(fraction * (samples.size() - 1) + 0.5)];
}

// Runs one timed click per round; the result field is emptied before each.
void Time(const char* way, int clicks, QLineEdit& result,
          const std::function<void()>& clickAndWait) {
    std::vector<double> samples;
    samples.reserve(clicks);
    for (int i = 0; i < clicks; ++i) {
        result.clear();
        QCoreApplication::processEvents();
        const Clock::time_point start = Clock::now();
        clickAndWait();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (result.text() != kResult)
            Fail("the result is not .587");
    }
    std::printf("%-10s median %8.1f us   p10 %8.1f us   p90 %8.1f us   (%d clicks)\n", way,
                Percentile(samples, 0.5), Percentile(samples, 0.1), Percentile(samples, 0.9),
                clicks);
}

void TypeReliability(QLineEdit& field, const QString& text) {
    // A masked field takes its digits from the cursor on: start at its left.
    field.setFocus();
    field.setCursorPosition(0);
    QTest::keyClicks(&field, text);
    if (field.text() != text)
        Fail("a reliability was not typed as asked");
}

} // namespace

int main(int argc, char** argv) {
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 2001;
    if (clicks < 1)
        Fail("the number of clicks must be at least 1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Owned here, as a test's is, so that it goes before the windows do.
    QApplication application(argc, argv);

    StartVelk();
    const auto calculator = instance::ControlWnd();
    calculator->Show();
    if (!QTest::qWaitForWindowActive(calculator->TopLevelWidget()))
        Fail("the calculator window did not become active");

    auto* testA = qobject_cast<QLineEdit*>(NotNil(calculator->AFld()).Widget());
    auto* testB = qobject_cast<QLineEdit*>(NotNil(calculator->BFld()).Widget());
    auto* result = qobject_cast<QLineEdit*>(NotNil(calculator->DiffFld()).Widget());
    auto* calculate = qobject_cast<QPushButton*>(NotNil(calculator->CalcBtn()).Widget());
    if (!testA || !testB || !result || !calculate)
        Fail("the calculator's controls are not the widgets expected");
    TypeReliability(*testA, QStringLiteral(".86"));
    TypeReliability(*testB, QStringLiteral(".40"));

    const auto mouseClick = [&] {
        QTest::mouseClick(calculate, Qt::LeftButton);
        while (result->text() != kResult)
            QCoreApplication::processEvents();
    };
    const auto click = [&] {
        calculate->click();
        while (result->text() != kResult)
            QCoreApplication::processEvents();
    };
    const auto painted = [&] {
        mouseClick();
        QCoreApplication::processEvents();
    };

    // Warm up caches and lazily built state (fonts, glyphs) before timing.
    Time("warm-up", 200, *result, painted);
    Time("mouseClick", clicks, *result, mouseClick);
    Time("click()", clicks, *result, click);
    Time("painted", clicks, *result, painted);
    if (UnhandledExceptionCount() != 0)
        Fail("Velk reported an exception");
    return 0;
}
