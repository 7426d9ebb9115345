#include "framework/conversions.h"
#include "framework/exceptions.h"

#include <QTest>

#include <cmath>
#include <limits>

class ConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void valReadsTheLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("point and digits") << ".86" << 0.86;
        QTest::newRow("lower bound") << ".0001" << 0.0001;
        QTest::newRow("upper bound") << ".9999" << 0.9999;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("trailing letters") << "1.5kg" << 1.5;
        QTest::newRow("leading blanks and sign") << "  -2.25" << -2.25;
        QTest::newRow("plus sign") << "+3" << 3.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent without digits") << "2e" << 2.0;
        QTest::newRow("negative exponent") << "25e-2" << 0.25;
    }

    void valReadsTheLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val(text.toStdString()), expected);
    }

    void valNeverGivesInfinity() {
        QCOMPARE(Val("1e999"), std::numeric_limits<double>::max());
        QCOMPARE(Val("-1e999"), -std::numeric_limits<double>::max());
        QCOMPARE(Val("1e-999"), 0.0);
        QCOMPARE(Val("0.0000001e-999"), 0.0);
    }

    void formatRoundsToThePattern_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worked example") << std::sqrt(0.86 * 0.40) << ".000"
                                        << ".587";
        QTest::newRow("rounds up to one") << 0.9999 << ".000"
                                          << "1.000";
        QTest::newRow("smallest result") << 0.0001 << ".000"
                                         << ".000";
        QTest::newRow("half rounds up") << 0.0625 << ".000"
                                        << ".063";
        QTest::newRow("decimal half stored below it") << std::sqrt(0.3025 * 0.0001) << ".000"
                                                      << ".006";
        QTest::newRow("zero") << 0.0 << ".000"
                              << ".000";
        QTest::newRow("huge value") << 1e20 << ".0"
                                    << "100000000000000000000.0";
        QTest::newRow("plus sign") << 0.9999 << "+.000"
                                   << "+1.000";
        QTest::newRow("negative value") << -0.5866 << "+.000"
                                        << "-.587";
        QTest::newRow("integer places") << 3.14159 << "0.00"
                                        << "3.14";
        QTest::newRow("zero pads the integer") << 0.5 << "00.0"
                                               << "00.5";
        QTest::newRow("optional decimals drop") << 2.5 << "#.##"
                                                << "2.5";
        QTest::newRow("large value keeps its digits") << 12345.678 << ".0"
                                                      << "12345.7";
        QTest::newRow("negative that rounds to zero") << -0.0001 << ".000"
                                                      << ".000";
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
