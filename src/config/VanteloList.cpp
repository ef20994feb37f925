#include "config/Vantelo.h"

#include "common/Numbers.h"
#include "config/BrowserLists.h"
#include "config/PathLabel.h"
#include "config/PreviewFitting.h"
#include "config/RowAdding.h"
#include "config/SlideListView.h"
#include "settings/Settings.h"
#include "show/ImageBox.h"
#include "slidelist/SlideListEditing.h"
#include "slidelist/SlideListFile.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace vantelo {
namespace {

const QString ListFilter = QStringLiteral("Vantelo Files (*.vtl)");
const QString AddingText = QStringLiteral("Adding pictures to the list...");

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
    AddPicturesToList(std::move(rows), QPersistentModelIndex());
}

void Vantelo::lvwMain_DropFiles(const QStringList& paths, int position)
{
    const QPersistentModelIndex before(lvwMain->model()->index(position, 0));
    m_listJobs.run(AddingText, [this, paths, before] {
        // Which files dropped are pictures, and which pictures a dropped folder holds, is storage's to say.
        m_listReading =
            Reading<SlideRows>(paths.first(), [paths](ReadingProgress&) { return droppedPictureRows(paths); });
        m_listReading.onAnswer([this, before] {
            SlideRows rows;
            try {
                rows = m_listReading.take();
            } catch (...) {
                FinishListJob([failure = currentFailure()] { throw failure; });
                return;
            }
            if (rows.isEmpty())
                m_listJobs.done();
            else
                StartAdding(std::move(rows), before);
        });
    });
}

void Vantelo::AddPicturesToList(SlideRows rows, const QPersistentModelIndex& before)
{
    if (rows.isEmpty())
        return;
    m_listJobs.run(AddingText, [this, rows = std::move(rows), before] { StartAdding(rows, before); });
}

void Vantelo::StartAdding(SlideRows rows, const QPersistentModelIndex& before)
{
    const int total = int(rows.size());
    m_adding = std::make_unique<RowAdding>(*lvwMain, std::move(rows), before, [this] { RowsMeasured(); });
    m_listJobs.progress(0, total);
}

// Each row is measured from its picture's header as it is added; a picture that cannot be measured
// stays as a row without a size, and its failure ends the add.
void Vantelo::RowsMeasured()
{
    if (!m_adding)
        return;
    const RowAdding::Step step = m_adding->advance();
    if (step.last)
        strPicPath = step.last->fullPath();
    if (step.failure || step.complete) {
        m_adding.reset();
        FinishListJob([&] {
            if (step.failure)
                throw *step.failure;
        });
        return;
    }
    m_listJobs.progress(step.added, step.total);
}

void Vantelo::FinishListJob(const std::function<void()>& apply)
{
    try {
        apply();
    } catch (...) {
        const AppError failure = currentFailure();
        m_listJobs.done([&] { ReportError(failure); });
        return;
    }
    m_listJobs.done();
}

void Vantelo::CancelListJob()
{
    m_adding.reset();
    m_listReading.drop();
    m_listSaving.drop();
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
    m_preview.drop();
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
        // The row is what the preview is to show now, not a slide of the demonstration still coming.
        m_demoPending.reset();
        AskPreview(
            strPicPath,
            [slide = SlideAsked{strPicPath, previewDecodeSize(strPicSize)}](ReadingProgress& progress) {
                return PreviewPicture{QString(), SlideReader::decode(slide, progress).picture};
            },
            [this, fileName = row.fileName](const PreviewPicture& preview) { ShowPreview(preview.picture, fileName); });
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
        m_listJobs.run(QStringLiteral("Saving the list..."), [this, path] {
            m_listSaving = Reading<bool>(path, [rows = slideRowsOf(*lvwMain), path](ReadingProgress&) {
                WriteSlideList(rows, path);
                return true;
            });
            m_listSaving.onAnswer([this, path] {
                FinishListJob([&] {
                    m_listSaving.take();
                    // Only a file that is written whole and closed gets named to the show.
                    lblFileName->setPath(path);
                    SaveSetting(SettingKey::File, path);
                });
            });
        });
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
        m_listJobs.run(QStringLiteral("Loading the list..."), [this, path] {
            // Read whole before anything changes: a file that fails partway leaves the list, the
            // label and the show's file as they were.
            m_listReading = Reading<SlideRows>(path, [path](ReadingProgress&) {
                SlideRows rows;
                ReadSlideList(path, rows);
                return rows;
            });
            m_listReading.onAnswer([this, path] {
                FinishListJob([&] {
                    replaceSlideRows(*lvwMain, m_listReading.take());
                    lblFileName->setPath(path);
                    SaveSetting(SettingKey::File, path);
                });
            });
        });
    });
}

void Vantelo::ShowListMessage(const QString& text)
{
    m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), text);
}

} // namespace vantelo
