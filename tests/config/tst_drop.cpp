#include "config/Vantelo.h"
#include "support/FakePlatform.h"
#include "support/TestMain.h"

#include <QDropEvent>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QPushButton>
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
    // Drops the files before the row at row (the list's end for its count).
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
    }
    // Each row's four texts, its folder relative to the test's folder.
    QStringList rows(const QTreeWidget* list) const
    {
        QStringList texts;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list->topLevelItem(row);
            texts << item->text(0).mid(m_dir.path().size()) + u'|' + item->text(1) + u'|' + item->text(2) + u'|' +
                         item->text(3);
        }
        return texts;
    }

private slots:
    void dropsAddRowsWhereTheyFallAndSaveThere()
    {
        QDir(m_dir.path()).mkpath(u"trip/inner"_qs);
        picture(u"first.jpg"_qs, 40, 30);
        picture(u"trip/b.bmp"_qs, 20, 10);
        QVERIFY(QFile::rename(path(u"trip/b.bmp"_qs), path(u"trip/b.BMP"_qs)));
        QFile gif(path(u"trip/A.gif"_qs)); // Qt writes no GIF: a one-pixel one by hand
        QVERIFY(gif.open(QIODevice::WriteOnly));
        gif.write(QByteArray::fromHex(
            "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b"));
        gif.close();
        picture(u"trip/c.jpeg"_qs, 8, 6);
        picture(u"trip/inner/deep.jpg"_qs, 8, 6);
        QFile(path(u"trip/notes.txt"_qs)).open(QIODevice::WriteOnly);
        QFile(path(u"trip/broken.jpg"_qs)).open(QIODevice::WriteOnly);

        test::FakePlatform fake;
        Vantelo window(fake.platform);
        auto* list = window.findChild<QTreeWidget*>(u"lvwMain"_qs);
        drop(list, {path(u"first.jpg"_qs), path(u"trip/notes.txt"_qs)}, 0);
        QCOMPARE(rows(list), QStringList{u"/|first.jpg|30 X 40|"_qs});

        // A folder: its pictures in name order whatever their letter case, before the row it falls on;
        // not its sub-folder, not a file that is no picture by name; one that cannot be measured stays
        // without a size, its report given as the add commands give it, and ends the drop.
        drop(list, {path(u"trip"_qs)}, 0);
        QCOMPARE(rows(list), (QStringList{u"/trip/|A.gif|1 X 1|"_qs, u"/trip/|b.BMP|10 X 20|"_qs,
                                          u"/trip/|broken.jpg||"_qs, u"/|first.jpg|30 X 40|"_qs}));
        QCOMPARE(
            fake.prompter.said(),
            QStringList{u"Personal Vantelo Creator: Error: 481 has occurred in Project1 error was Invalid picture"_qs});
        QFile::remove(path(u"trip/broken.jpg"_qs));
        drop(list, {path(u"trip/c.jpeg"_qs)}, 4);
        QCOMPARE(list->topLevelItem(4)->text(1), u"c.jpeg"_qs);
        QVERIFY(list->topLevelItem(2)->text(0).endsWith(u"/trip/"_qs));

        fake.dialogs.saveAnswers << path(u"dropped.vtl"_qs);
        window.findChild<QPushButton*>(u"cmdSave"_qs)->click();
        QFile saved(path(u"dropped.vtl"_qs));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString folder = m_dir.path() + u"/trip/"_qs;
        QCOMPARE(saved.readAll(), (u" 5 \r\n1 | %1 | A.gif | 1 X 1 | \r\n2 | %1 | b.BMP | 10 X 20 | \r\n"
                                   u"3 | %1 | broken.jpg |  | \r\n4 | %2/ | first.jpg | 30 X 40 | \r\n"
                                   u"5 | %1 | c.jpeg | 6 X 8 | \r\n"_qs)
                                      .arg(folder, m_dir.path())
                                      .toUtf8());
    }
};

VANTELO_TEST_MAIN(TestDrop)
#include "tst_drop.moc"
