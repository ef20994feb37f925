#include "show/ShowGeometry.h"
#include "show/SlideSequence.h"
#include "support/Failure.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

using namespace vantelo;

class TestShowRules : public QObject
{
    Q_OBJECT
private slots:
    // The box a slide takes on the work area, and the size its picture is decoded at.
    void slideBox_data()
    {
        QTest::addColumn<QSize>("work");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("box"); // left, top, width, height, decoded size; or the failure
        // clang-format off
        QTest::newRow("portrait picture centred") << QSize(800, 600) << "640 X 480" << "175 0 450 600 450x600";
        QTest::newRow("very wide picture cut at both sides") << QSize(800, 600) << "200 X 400" << "-200 0 1200 600 1200x600";
        QTest::newRow("a half pixel to even") << QSize(1366, 728) << "3024 X 4032" << "198 0 971 728 971x728";
        QTest::newRow("single-precision scale, 154.5 up") << QSize(800, 103) << "174 X 261" << "322 0 155 103 155x103";
        QTest::newRow("zero height") << QSize(800, 600) << "0 X 640" << "11";
        QTest::newRow("negative height") << QSize(800, 600) << "-480 X 640" << "380";
        QTest::newRow("zero work height: still a pixel") << QSize(800, 0) << "480 X 640" << "400 0 0 0 1x1";
        QTest::newRow("a line") << QSize(800, 600) << "6000 X 1" << "400 0 0 600 1x600";
        QTest::newRow("beyond 4096 x 4096: smaller, same shape") << QSize(16000, 8000) << "1 X 2" << "0 0 16000 8000 5792x2896";
        QTest::newRow("beyond any window") << QSize(800, 32767) << "1 X 32767" << "6";
        // clang-format on
    }
    void slideBox()
    {
        QFETCH(QSize, work);
        QFETCH(QString, sizeText);
        QRect b;
        const int failure =
            test::failureOf([&] { b = vantelo::slideBox(work.width(), work.height(), readSizeText(sizeText)); });
        const QSize decoded = decodeSizeFor(b.size());
        QTEST(failure ? QString::number(failure)
                      : QString::asprintf("%d %d %d %d %dx%d", b.x(), b.y(), b.width(), b.height(), decoded.width(),
                                          decoded.height()),
              "box");
    }

    // Steps: "n3" next() of 3 rows, "u3" upcoming() of 3 rows, "r" restart(), "d0.25" a draw the random
    // source will give (and random order). Each next() gives its position or "E" and the failure, each
    // upcoming() its position in brackets, "(0)" for none.
    void sequence_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("list order wraps, upcoming does not move") << "n3 u3 u3 n3 n3 n3" << "1 (2) (2) 2 3 1";
        QTest::newRow("restart at row 1") << "n3 n3 r n3" << "1 2 1";
        QTest::newRow("list shrank below the position") << "n3 n3 n1 n3" << "1 2 E35600 3";
        QTest::newRow("more than 32767 rows") << "n32768" << "E6";
        // (count - 1) x draw + 1, halves to even
        QTest::newRow("random positions") << "d0.2499 d0.25 d0.75 d0.7501 d0.99999994 n3 n3 n3 n3 n3" << "1 2 2 3 3";
        QTest::newRow("largest list, highest draw") << "d0.99999994 n32767" << "32767";
        QTest::newRow("upcoming's draw is the next one's") << "d0.99 d0 u3 n3 n3" << "(3) 3 1";
        QTest::newRow("restart drops the draw made ahead") << "d0.99 d0 u3 r n3" << "(3) 1";
        QTest::newRow("random on an empty list") << "d0.2 u0 n0" << "(0) E35600";
        // clang-format on
    }
    void sequence()
    {
        QFETCH(QString, steps);
        test::FakeRandom random;
        SlideSequence sequence(random);
        QStringList results;
        for (const QString& step : steps.split(u' ')) {
            const int count = step.mid(1).toInt();
            const int failure = test::failureOf([&] {
                if (step[0] == u'd')
                    sequence.setOrdered(false), random.draws << step.mid(1).toFloat();
                else if (step[0] == u'n')
                    results << QString::number(sequence.next(count));
                else if (step[0] == u'u')
                    results << QStringLiteral("(%1)").arg(sequence.upcoming(count).value_or(0));
                else
                    sequence.restart();
            });
            if (failure)
                results << QStringLiteral("E%1").arg(failure);
        }
        QTEST(results.join(u' '), "expected");
        QVERIFY2(random.draws.isEmpty(), "every draw scripted was made");
    }
};

VANTELO_TEST_MAIN(TestShowRules)
#include "tst_showrules.moc"
