#include "show/ShowGeometry.h"
#include "show/SlideSequence.h"
#include "support/Failure.h"
#include "support/TestMain.h"

#include <QQueue>

using namespace vantelo;
using vantelo::test::failureOf;

namespace {

struct ScriptedDraws : RandomSource
{
    QQueue<float> draws;
    float reseedAndDraw() override { return draws.isEmpty() ? 0.5f : draws.dequeue(); }
};

} // namespace

class TestShowRules : public QObject
{
    Q_OBJECT
private slots:
    void slideBox_data()
    {
        QTest::addColumn<QSize>("work");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("box"); // left, top, width, height; or the failure
        // clang-format off
        QTest::newRow("wider picture fills the height") << QSize(800, 600) << "480 X 640" << "0 0 800 600";
        QTest::newRow("portrait picture centred") << QSize(800, 600) << "640 X 480" << "175 0 450 600";
        QTest::newRow("very wide picture cut at both sides") << QSize(800, 600) << "200 X 400" << "-200 0 1200 600";
        QTest::newRow("work area with a task bar") << QSize(1920, 1040) << "4000 X 6000" << "180 0 1560 1040";
        QTest::newRow("a half pixel to even") << QSize(1366, 728) << "3024 X 4032" << "198 0 971 728";
        QTest::newRow("single-precision scale, 154.5 up") << QSize(800, 103) << "174 X 261" << "322 0 155 103";
        QTest::newRow("tiny picture scaled up") << QSize(800, 600) << "3 X 4" << "0 0 800 600";
        QTest::newRow("zero height") << QSize(800, 600) << "0 X 640" << "11";
        QTest::newRow("zero width") << QSize(800, 600) << "480 X 0" << "11";
        QTest::newRow("no capital X") << QSize(800, 600) << "480 x 640" << "11";
        QTest::newRow("negative height") << QSize(800, 600) << "-480 X 640" << "380";
        QTest::newRow("negative work height") << QSize(800, -600) << "480 X 640" << "380";
        QTest::newRow("zero work height") << QSize(800, 0) << "480 X 640" << "400 0 0 0";
        QTest::newRow("beyond any window") << QSize(800, 32767) << "1 X 32767" << "6";
        // clang-format on
    }
    void slideBox()
    {
        QFETCH(QSize, work);
        QFETCH(QString, sizeText);
        QRect b;
        const int failure =
            failureOf([&] { b = vantelo::slideBox(work.width(), work.height(), readSizeText(sizeText)); });
        QTEST(failure ? QString::number(failure)
                      : QStringLiteral("%1 %2 %3 %4").arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height()),
              "box");
    }

    void decodeSize_data()
    {
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("the box itself") << QSize(1620, 1080) << QSize(1620, 1080);
        QTest::newRow("empty box still a pixel") << QSize(0, 0) << QSize(1, 1);
        QTest::newRow("a line") << QSize(0, 600) << QSize(1, 600);
        QTest::newRow("beyond 4096 x 4096, same proportions") << QSize(16000, 8000) << QSize(5792, 2896);
    }
    void decodeSize()
    {
        QFETCH(QSize, box);
        QTEST(decodeSizeFor(box), "decoded");
    }

    // Steps: "n3" next() of 3 rows, "u3" upcoming() of 3 rows, "r" restart(). Each next() gives its
    // position or "E" and the failure, each upcoming() its position in brackets, "(-)" for none.
    void sequence_data()
    {
        QTest::addColumn<bool>("ordered");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        const QList<float> none;
        // clang-format off
        QTest::newRow("list order wraps") << true << none << "n3 n3 n3 n3" << "1 2 3 1";
        QTest::newRow("upcoming does not move") << true << none << "n3 u3 u3 n3" << "1 (2) (2) 2";
        QTest::newRow("restart at row 1") << true << none << "n3 n3 r n3" << "1 2 1";
        QTest::newRow("empty list refused, position kept") << true << none << "u0 n0 n2 n2" << "(-) E35600 1 2";
        QTest::newRow("list shrank below the position") << true << none << "n3 n3 n1 n3" << "1 2 E35600 3";
        QTest::newRow("more than 32767 rows") << true << none << "n32768" << "E6";
        // (count - 1) x draw + 1, halves to even
        QTest::newRow("random positions") << false << QList<float>{0.2499f, 0.25f, 0.75f, 0.7501f, 0.99999994f} << "n3 n3 n3 n3 n3" << "1 2 2 3 3";
        QTest::newRow("one row, highest draw") << false << QList<float>{0.99999994f} << "n1" << "1";
        QTest::newRow("largest list, highest draw") << false << QList<float>{0.99999994f} << "n32767" << "32767";
        QTest::newRow("upcoming's draw is the next one's") << false << QList<float>{0.99f, 0.0f} << "u3 n3 n3" << "(3) 3 1";
        QTest::newRow("restart drops the draw made ahead") << false << QList<float>{0.99f, 0.0f} << "u3 r n3" << "(3) 1";
        QTest::newRow("random on an empty list") << false << QList<float>{0.2f} << "u0 n0" << "(-) E35600";
        // clang-format on
    }
    void sequence()
    {
        QFETCH(bool, ordered);
        QFETCH(QList<float>, draws);
        QFETCH(QString, steps);
        ScriptedDraws random;
        random.draws.append(draws);
        SlideSequence sequence(random);
        sequence.setOrdered(ordered);
        QStringList results;
        for (const QString& step : steps.split(u' ')) {
            const int count = step.mid(1).toInt();
            std::optional<std::int16_t> position;
            const int failure = failureOf([&] {
                if (step[0] == u'n')
                    position = sequence.next(count);
                else if (step[0] == u'u')
                    results << QStringLiteral("(%1)").arg(sequence.upcoming(count).value_or(-1)).replace("-1", "-");
                else
                    sequence.restart();
            });
            if (failure || position)
                results << (failure ? QStringLiteral("E%1").arg(failure) : QString::number(*position));
        }
        QTEST(results.join(u' '), "expected");
        QVERIFY2(random.draws.isEmpty(), "every draw scripted was made");
    }
};

VANTELO_TEST_MAIN(TestShowRules)
#include "tst_showrules.moc"
