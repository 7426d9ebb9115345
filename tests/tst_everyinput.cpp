#include "reference.h"
#include "testsupport.h"

#include <QClipboard>

#include <random>

// Every text a reliability field admits, typed into the real calculator
// window, against the integer reference.

namespace {

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
        const bool shown = result_->isVisible() && result_->isEnabled();
        if (shown != window_->MaxFld()->Widget()->isVisible())
            return QStringLiteral("result and caption apart");
        return shown ? result_->text() : QStringLiteral("hidden");
    }

    // Presses Calculate on the texts in the fields and compares what the user
    // then sees, the messages, the inputs, the result and after a rejection
    // the focus, with the reference. An exact result rules out NaN, infinity
    // and values outside 0 to 1.
    void CalculateAndCheck(const QString& aText, const QString& bText) {
        ++checked_;
        const int a = TenThousandths(aText);
        const int b = TenThousandths(bText);
        QStringList expected = {"", aText, bText, ExpectedResult(a, b), "-"};
        if (!Admitted(a))
            expected = {kTestAMessage, ".", bText, ResultSeen(), "A"};
        else if (!Admitted(b))
            expected = {kTestBMessage, aText, ".", ResultSeen(), "B"};
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
    void initTestCase() {
        DropOffscreenNotices();
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

    void seededRandomPairsGetTheirExactOutcome() {
        constexpr int kPairs = 100000;
        // Typing every pair would take minutes under the sanitizers: past the
        // first pairs the fields get the text that typing leaves (the sweeps
        // above type all theirs).
        constexpr int kTypedPairs = 10000;
        const QStringList texts = MaskedTexts();
        std::mt19937 random(1729);
        std::uniform_int_distribution<qsizetype> pick(0, texts.size() - 1);
        for (int i = 0; i < kPairs; ++i) {
            const QString& aText = texts[pick(random)];
            const QString& bText = texts[pick(random)];
            for (const auto& [field, text] : {std::pair{a_, aText}, {b_, bText}}) {
                if (i < kTypedPairs)
                    Type(field, text);
                else
                    field->setText(text);
            }
            CalculateAndCheck(aText, bText);
        }
        Verify(kPairs);
    }

    // .0625^2 and .0045^2 are halves in decimal but not in a double, and
    // .3025 x .0001 is .0055^2, whose double lies a hair below .0055.
    void exactHalvesRoundUp_data() {
        QTest::addColumn<QString>("aText");
        QTest::addColumn<QString>("bText");
        QTest::addColumn<QString>("shown");
        QTest::newRow(".0625^2") << QString(".0625") << QString(".0625") << QString(".063");
        QTest::newRow(".0045^2") << QString(".0045") << QString(".0045") << QString(".005");
        QTest::newRow(".3025 x .0001") << QString(".3025") << QString(".0001") << QString(".006");
    }

    void exactHalvesRoundUp() {
        QFETCH(QString, aText);
        QFETCH(QString, bText);
        QFETCH(QString, shown);
        Type(a_, aText);
        Type(b_, bText);
        QTest::mouseClick(window_->CalcBtn()->Widget(), Qt::LeftButton);
        QCOMPARE(result_->text(), shown);
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
