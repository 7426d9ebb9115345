#include "framework/conversions.h"
#include "framework/exceptions.h"

#include <QTest>

#include <limits>

// Val and Format on what Velk's masked fields never hold; what they do hold
// is swept through the real window by tst_everyinput.
class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void valReadsTheLeadingNumberAndNeverGivesInfinity_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        constexpr double kMax = std::numeric_limits<double>::max();
        const auto row = [](const char* text, double expected) {
            QTest::newRow(text) << QString(text) << expected;
        };
        row("abc", 0.0);
        row("1.5kg", 1.5);
        row("  -2.25", -2.25);
        row("+3", 3.0);
        row("2e", 2.0);
        row("25e-2", 0.25);
        row("1e999", kMax);
        row("-1e999", -kMax);
        row("1e-999", 0.0);
        row("0.0000001e-999", 0.0);
    }

    void valReadsTheLeadingNumberAndNeverGivesInfinity() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val(text.toStdString()), expected);
    }

    void formatRoundsToThePattern_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](double value, const char* pattern, const char* expected) {
            QTest::addRow("%s as %s", expected, pattern)
                << value << QString(pattern) << QString(expected);
        };
        row(1e20, ".0", "100000000000000000000.0");
        row(12345.678, ".0", "12345.7");
        row(0.9999, "+.000", "+1.000");
        row(-0.5866, "+.000", "-.587");
        row(-0.0001, ".000", ".000");
        row(3.14159, "0.00", "3.14");
        row(0.5, "00.0", "00.5");
        row(2.5, "#.##", "2.5");
    }

    void formatRoundsToThePattern() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(Format(value, pattern.toStdString())), expected);
    }

    void formatRejectsUnknownPatternSigns() {
        QVERIFY_THROWS_EXCEPTION(UnsupportedFormatException, Format(1.0, "#,##0.00"));
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "tst_conversions.moc"
