#include "config/Vantelo.h"
#include "support/FakePlatform.h"
#include "support/Settle.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDropEvent>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace vantelo;

// Files and folders dropped onto the slide list, as a file manager drops them: real drag-and-drop
// events carrying file addresses, over pictures on disk.
class TestDrop : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    void picture(const QString& name, int width, int height) const
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(QImageWriter(path(name)).write(image));
    }
    // Drops the files before the row at row (the list's end for its count), and waits for the rows.
    static void drop(QTreeWidget* list, const QStringList& files, int row)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const QRect item = row < list->topLevelItemCount() ? list->visualItemRect(list->topLevelItem(row)) : QRect();
        const QPoint at = item.isValid() ? item.topLeft() + QPoint(20, 1) : QPoint(20, list->viewport()->height() - 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &dropped);
        QVERIFY(test::settle());
    }
    // Each row's four texts, "~" for the test's folder.
    QStringList rows(const QTreeWidget* list) const
    {
        QStringList texts;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list->topLevelItem(row);
            texts << item->text(0).replace(m_dir.path(), u"~"_qs) + u'|' + item->text(1) + u'|' + item->text(2) + u'|' +
                         item->text(3);
        }
        return texts;
    }

private slots:
    void dropsAddRowsWhereTheyFall()
    {
        QDir(m_dir.path()).mkpath(u"trip/inner"_qs);
        picture(u"first.jpg"_qs, 40, 30);
        picture(u"trip/b.BMP"_qs, 20, 10);
        const QByteArray gif = QByteArray::fromHex( // Qt writes no GIF: a one-pixel one by hand
            "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");
        QVERIFY(!test::writeBytes(path(u"trip"_qs), u"A.gif"_qs, gif).isEmpty());
        picture(u"trip/c.jpeg"_qs, 8, 6);
        picture(u"trip/inner/deep.jpg"_qs, 8, 6);
        QFile(path(u"trip/notes.txt"_qs)).open(QIODevice::WriteOnly);
        QFile(path(u"trip/broken.jpg"_qs)).open(QIODevice::WriteOnly);

        test::FakePlatform fake;
        Vantelo window(fake.platform);
        auto* list = window.findChild<QTreeWidget*>(u"lvwMain"_qs);
        drop(list, {path(u"first.jpg"_qs), path(u"trip/notes.txt"_qs)}, 0); // no picture by name: skipped
        // A folder: its pictures in name order whatever their letter case, before the row it falls on;
        // not its sub-folder, not a file that is no picture by name; one that cannot be measured stays
        // without a size, its report given as the add commands give it, and ends the drop, so c.jpeg
        // comes only when dropped itself, here at the end.
        drop(list, {path(u"trip"_qs)}, 0);
        QCOMPARE(
            fake.prompter.said(),
            QStringList{u"Personal Vantelo Creator: Error: 481 has occurred in Project1 error was Invalid picture"_qs});
        drop(list, {path(u"trip/c.jpeg"_qs)}, 4);
        QCOMPARE(rows(list),
                 (QStringList{u"~/trip/|A.gif|1 X 1|"_qs, u"~/trip/|b.BMP|10 X 20|"_qs, u"~/trip/|broken.jpg||"_qs,
                              u"~/|first.jpg|30 X 40|"_qs, u"~/trip/|c.jpeg|6 X 8|"_qs}));
    }
};

VANTELO_TEST_MAIN(TestDrop)
#include "tst_drop.moc"
