#include "config/Vantelo.h"

#include "common/Numbers.h"
#include "config/BrowserLists.h"
#include "config/PathLabel.h"
#include "config/PreviewFitting.h"
#include "config/SlideListView.h"
#include "picture/PictureFile.h"
#include "settings/Settings.h"
#include "show/ImageBox.h"
#include "slidelist/SlideListEditing.h"
#include "slidelist/SlideListFile.h"

#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>

#include <chrono>
#include <memory>

namespace vantelo {
namespace {

const QString ListFilter = QStringLiteral("Vantelo Files (*.vtl)");

// Rows reach the list view at most this often while pictures are being added.
constexpr std::chrono::milliseconds AddBatchInterval{100};
// An add that takes longer than this (a slow or network folder) shows its progress.
constexpr int AddProgressDelayMs = 500;

} // namespace

void Vantelo::cmdPicture_Click(int Index)
{
    Trapped([&] {
        switch (Index) {
        case 0: {
            const QString current = FileList->fileName();
            if (current.isEmpty()) {
                ShowListMessage(QStringLiteral("No Items are Selected"));
                return;
            }
            AddFilesToList({current});
            break;
        }
        case 1:
            RemoveSelectedRow();
            break;
        case 2: {
            QStringList selected;
            for (int entry = 0; entry < FileList->count(); ++entry) {
                if (FileList->item(entry)->isSelected())
                    selected.append(FileList->item(entry)->text());
            }
            AddFilesToList(selected);
            break;
        }
        case 3:
            RemoveAllSelectedRows();
            break;
        default:
            break;
        }
    });
}

void Vantelo::AddFilesToList(const QStringList& fileNames)
{
    const QString folder = slideFolderText(DirList->path());
    SlideRows rows;
    for (const QString& fileName : fileNames)
        rows.append({folder, fileName, QString(), QString()});
    AddPicturesToList(std::move(rows), lvwMain->topLevelItemCount());
}

void Vantelo::lvwMain_DropFiles(const QStringList& paths, int position)
{
    Trapped([&] { AddPicturesToList(droppedPictureRows(paths), position); });
}

// Each row is measured from its picture's header as it is added; a picture that cannot be measured
// stays as a row without a size, and its failure ends the add.
void Vantelo::AddPicturesToList(SlideRows rows, int position)
{
    if (rows.isEmpty())
        return;
    const qsizetype total = rows.size();

    // Shown only when the add runs long; while it shows, it keeps the window painted, takes the
    // clicks meant for the window and lets the user stop the add with the rows so far kept.
    std::unique_ptr<QProgressDialog> progress;
    if (total > 1) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Adding %1 pictures to the list...").arg(total),
                                                     QStringLiteral("Stop"), 0, int(total), this);
        progress->setWindowTitle(windowTitle());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(AddProgressDelayMs);
        progress->setValue(0);
    }

    int added = 0;
    SlideRowBatcher batcher(AddBatchInterval, [&](SlideRows&& batch) {
        insertSlideRows(*lvwMain, position + added, batch);
        added += int(batch.size());
        if (progress)
            progress->setValue(added);
    });
    for (SlideRow& row : rows) {
        if (progress && progress->wasCanceled())
            break;
        strPicPath = row.fullPath();
        try {
            row.sizeText = GetPictureSize(strPicPath);
        } catch (...) {
            // The row stays, unmeasured, and the failure ends the add.
            batcher.add(std::move(row));
            batcher.flush();
            throw;
        }
        batcher.add(std::move(row));
    }
    batcher.flush();
}

void Vantelo::RemoveSelectedRow()
{
    QTreeWidgetItem* selected = selectedSlideItem(*lvwMain);
    if (!selected) {
        ShowListMessage(QStringLiteral("No Images in the list to be removed"));
        return;
    }
    delete lvwMain->takeTopLevelItem(lvwMain->indexOfTopLevelItem(selected));
}

void Vantelo::RemoveAllSelectedRows()
{
    if (!selectedSlideItem(*lvwMain)) {
        ShowListMessage(QStringLiteral("No Images in the list to be removed"));
        return;
    }
    removeSelectedSlideRows(*lvwMain);
}

void Vantelo::lvwMain_Click()
{
    Trapped([&] {
        const QTreeWidgetItem* selected = selectedSlideItem(*lvwMain);
        imgPreview->hide();
        if (!selected) // a control-click took the last selected row away
            throw AppError(ErrorNumber::IndexOutOfBounds);
        const SlideRow row = slideRowOf(*selected);
        // Fitted from the size the row stored when it was added or loaded: no measuring again.
        strPicSize = row.sizeText;
        FitPreview(strPicSize);
        strPicPath = row.fullPath();
        ShowPreview(decodePicture(strPicPath, previewDecodeSize(strPicSize)), row.fileName);
    });
}

void Vantelo::lvwMain_DblClick()
{
    cmdPicture_Click(1);
}

void Vantelo::FileList_DblClick()
{
    cmdPicture_Click(0);
}

void Vantelo::cmdSave_Click()
{
    Trapped([&] {
        // Counts are 16-bit: a longer list is refused here, before the user picks a file for it.
        if (checkedInt16(lvwMain->topLevelItemCount()) == 0) {
            ShowListMessage(QStringLiteral("No Items in the List."));
            return;
        }
        const QString chosen = m_platform.dialogs.saveFileName(this, ListFilter, cdlMainFileName);
        if (chosen.isEmpty())
            return;
        cdlMainFileName = chosen;
        const QString path = QDir::toNativeSeparators(chosen);
        WriteSlideList(slideRowsOf(*lvwMain), path);
        // Only a file that is written whole and closed gets named to the show.
        lblFileName->setPath(path);
        SaveSetting(SettingKey::File, path);
    });
}

void Vantelo::cmdLoad_Click()
{
    Trapped([&] {
        const QString chosen = m_platform.dialogs.openFileName(this, ListFilter, cdlMainFileName);
        if (chosen.isEmpty())
            return;
        cdlMainFileName = chosen;
        const QString path = QDir::toNativeSeparators(chosen);
        // Read whole before anything changes: a file that fails partway leaves the list, the
        // label and the show's file as they were.
        SlideRows rows;
        ReadSlideList(path, rows);
        replaceSlideRows(*lvwMain, rows);
        lblFileName->setPath(path);
        SaveSetting(SettingKey::File, path);
    });
}

void Vantelo::ShowListMessage(const QString& text)
{
    m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), text);
}

} // namespace vantelo
