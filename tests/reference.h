#pragma once

// What the input tests check Velk against: a reference on integers, with the
// reliabilities read in ten-thousandths so that range checks and rounding are
// exact, and an answerer for the message boxes that Calculate raises.

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <functional>

inline const QString kTestAMessage =
    QStringLiteral("Reliability for Test A must range from .0001 to .9999");
inline const QString kTestBMessage =
    QStringLiteral("Reliability for Test B must range from .0001 to .9999");

// A masked field's text, the point and up to four digits, in ten-thousandths:
// ".86" is 8600, "." is 0.
inline int TenThousandths(const QString& text) {
    int value = 0;
    for (int place = 1; place <= 4; ++place)
        value = value * 10 + (place < text.size() ? text[place].digitValue() : 0);
    return value;
}

inline bool Admitted(int tenThousandths) {
    return tenThousandths >= 1 && tenThousandths <= 9999;
}

// sqrt(a * b) in the ".000" form, halves up. With a and b in ten-thousandths
// the root is in ten-thousandths too, and it shows k thousandths for the
// smallest k with a * b < (10k + 5)^2.
inline QString ExpectedResult(int a, int b) {
    const int64_t product = int64_t{a} * b;
    int64_t k = 0;
    while ((10 * k + 5) * (10 * k + 5) <= product)
        ++k;
    if (k == 1000)
        return QStringLiteral("1.000");
    return QLatin1Char('.') + QString::number(k).rightJustified(3, u'0');
}

// The offscreen platform warns at every window a message box raises, and the
// tests raise thousands.
inline void DropOffscreenNotices() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, text);
        });
}

// The ways a user answers a message box; the answerer's pickWay picks one.
inline const QStringList kAnswerWays = {"OK", "Return", "Escape", "Space", "closing"};

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
