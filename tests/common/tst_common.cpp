#include "common/AppError.h"
#include "common/Numbers.h"
#include "common/SizeText.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QTest>

using namespace vantelo;
using vantelo::test::failureOf;

class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    void errorReport()
    {
        QCOMPARE(errorReportText(AppError(ErrorNumber::FileNotFound)),
                 QStringLiteral("Error: 53 has occurred in Project1 error was File not found"));
        QCOMPARE(errorReportText(AppError(481, QStringLiteral("Invalid picture"))),
                 QStringLiteral("Error: 481 has occurred in Project1 error was Invalid picture"));
        QCOMPARE(AppError(ErrorNumber::IndexOutOfBounds).description(), QStringLiteral("Index out of bounds"));
    }

    void textToInt16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("failure");
        QTest::newRow("plain") << "5" << 5 << 0;
        QTest::newRow("leading zero") << "05" << 5 << 0;
        QTest::newRow("half down to even") << "2.5" << 2 << 0;
        QTest::newRow("half up to even") << "3.5" << 4 << 0;
        QTest::newRow("negative half to zero") << "-0.5" << 0 << 0;
        QTest::newRow("blanks around") << "  12  " << 12 << 0;
        QTest::newRow("largest") << "32767" << 32767 << 0;
        QTest::newRow("smallest") << "-32768" << -32768 << 0;
        QTest::newRow("one past largest") << "32768" << 0 << ErrorNumber::Overflow;
        QTest::newRow("rounds past largest") << "32767.5" << 0 << ErrorNumber::Overflow;
        QTest::newRow("empty") << "" << 0 << ErrorNumber::TypeMismatch;
        QTest::newRow("letters") << "abc" << 0 << ErrorNumber::TypeMismatch;
        QTest::newRow("number then letters") << "12abc" << 0 << ErrorNumber::TypeMismatch;
        QTest::newRow("exponent") << "1e2" << 100 << 0;
        QTest::newRow("huge exponent") << "1e400" << 0 << ErrorNumber::Overflow;
    }
    void textToInt16()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(int, failure);
        int value = -1;
        QCOMPARE(failureOf([&] { value = vantelo::textToInt16(text); }), failure);
        if (failure == 0)
            QCOMPARE(value, expected);
    }

    void textToInt32()
    {
        QCOMPARE(vantelo::textToInt32(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
        QCOMPARE(failureOf([] { vantelo::textToInt32(u"2147483648"); }), ErrorNumber::Overflow);
        QCOMPARE(failureOf([] { vantelo::textToInt32(u""); }), ErrorNumber::TypeMismatch);
    }

    void numericValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("leading blanks, trailing letters") << "  12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("fraction") << "2.5 rows" << 2.5;
        QTest::newRow("dangling exponent") << "7e" << 7.0;
        QTest::newRow("tiny") << "1e-400" << 0.0;
    }
    void numericValue()
    {
        QFETCH(QString, text);
        QTEST(vantelo::numericValue(text), "expected");
    }

    void sizeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("failure");
        QTest::newRow("usual") << "600 X 800" << 600 << 800 << 0;
        QTest::newRow("lower-case x") << "600 x 800" << 0 << 600 << 0;
        QTest::newRow("empty") << "" << 0 << 0 << 0;
        QTest::newRow("second X ignored") << "1 X 2 X 3" << 1 << 2 << 0;
        QTest::newRow("width too wide") << "10 X 40000" << 0 << 0 << ErrorNumber::Overflow;
        QTest::newRow("height too high") << "40000 X 10" << 0 << 0 << ErrorNumber::Overflow;
    }
    void sizeText()
    {
        QFETCH(QString, text);
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(int, failure);
        SizeNumbers numbers;
        QCOMPARE(failureOf([&] { numbers = readSizeText(text); }), failure);
        if (failure == 0) {
            QCOMPARE(numbers.height, height);
            QCOMPARE(numbers.width, width);
        }
        QCOMPARE(makeSizeText(600, 800), QStringLiteral("600 X 800"));
    }
};

VANTELO_TEST_MAIN(TestCommon)
#include "tst_common.moc"
