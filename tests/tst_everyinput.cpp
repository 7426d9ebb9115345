#include "testsupport.h"

#include <QClipboard>

// Every text a reliability field admits, typed into the real calculator
// window, against a reference on integers: the reliabilities read in
// ten-thousandths, so that range checks and rounding are exact.

namespace {

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
};

QTEST_MAIN(EveryInputTest)
#include "tst_everyinput.moc"
