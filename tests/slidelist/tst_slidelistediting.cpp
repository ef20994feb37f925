#include "slidelist/SlideListEditing.h"
#include "support/TestMain.h"

#include <QTest>

using namespace vantelo;

namespace {

// The rows left after removing the runs in the order given.
QList<int> removeRuns(int count, const QList<RowRun>& runs)
{
    QList<int> rows;
    for (int row = 0; row < count; ++row)
        rows << row;
    for (const RowRun& run : runs)
        rows.remove(run.first, run.count);
    return rows;
}

SlideRow rowNamed(const QString& name)
{
    return {QStringLiteral("/p/"), name, QStringLiteral("1 X 1"), {}};
}

} // namespace

class TestSlideListEditing : public QObject
{
    Q_OBJECT

private slots:
    void selectedRunsLeaveTheOthersInOrder_data()
    {
        QTest::addColumn<QList<bool>>("selected");
        QTest::addColumn<QList<RowRun>>("runs");
        QTest::addColumn<QList<int>>("left");
        QTest::newRow("empty list") << QList<bool>{} << QList<RowRun>{} << QList<int>{};
        QTest::newRow("none") << QList<bool>{false, false} << QList<RowRun>{} << QList<int>{0, 1};
        QTest::newRow("rows 2 and 3 of 4")
            << QList<bool>{false, true, true, false} << QList<RowRun>{{1, 2}} << QList<int>{0, 3};
        QTest::newRow("all") << QList<bool>{true, true, true, true} << QList<RowRun>{{0, 4}} << QList<int>{};
        QTest::newRow("alternating") << QList<bool>{true, false, true, false, true}
                                     << QList<RowRun>{{4, 1}, {2, 1}, {0, 1}} << QList<int>{1, 3};
        QTest::newRow("first two and last")
            << QList<bool>{true, true, false, false, true} << QList<RowRun>{{4, 1}, {0, 2}} << QList<int>{2, 3};
    }
    void selectedRunsLeaveTheOthersInOrder()
    {
        QFETCH(QList<bool>, selected);
        QFETCH(QList<RowRun>, runs);
        QFETCH(QList<int>, left);
        const QList<RowRun> found = selectedRunsLastFirst(selected);
        QCOMPARE(found, runs);
        QCOMPARE(removeRuns(int(selected.size()), found), left);
    }

    void batcherHandsRowsOnInOrder()
    {
        QList<QStringList> batches;
        auto record = [&](SlideRows&& batch) {
            QStringList names;
            for (const SlideRow& row : batch)
                names << row.fileName;
            batches << names;
        };

        // An interval that never passes: everything arrives in one batch, on flush only.
        SlideRowBatcher slow(std::chrono::hours(1), record);
        slow.add(rowNamed("a"));
        slow.add(rowNamed("b"));
        QVERIFY(batches.isEmpty());
        slow.flush();
        slow.flush();
        QCOMPARE(batches, (QList<QStringList>{{"a", "b"}}));

        // No interval: each row arrives at once.
        batches.clear();
        SlideRowBatcher eager(std::chrono::milliseconds(0), record);
        eager.add(rowNamed("c"));
        eager.add(rowNamed("d"));
        eager.flush();
        QCOMPARE(batches, (QList<QStringList>{{"c"}, {"d"}}));
    }
};

VANTELO_TEST_MAIN(TestSlideListEditing)
#include "tst_slidelistediting.moc"
