#include "config/Vantelo.h"

#include "common/SizeText.h"
#include "config/BrowserLists.h"
#include "config/PathLabel.h"
#include "config/PictureBrowsing.h"
#include "config/PreviewFitting.h"
#include "config/StatusBar.h"
#include "picture/PictureFile.h"
#include "show/ImageBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>

namespace vantelo {
namespace {

const QString DefaultPictureFile = QStringLiteral("TC_Shield_Circle3b.gif");
const QString DefaultPictureCaption = QStringLiteral("Torvane Consulting");

} // namespace

void Vantelo::DriveList_Change()
{
    Trapped([&] { DirList->setDrive(DriveList->drive()); });
}

void Vantelo::DriveNotReady()
{
    m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), QStringLiteral("Drive Not Ready!"));
    // Choosing another entry is a change of its own and tries that drive.
    if (DriveList->count() > 1)
        DriveList->setCurrentIndex(1);
}

void Vantelo::DirList_Change()
{
    Trapped([&] {
        // Folders form one tree, so opening one can cross onto another drive: the drive list follows.
        DriveList->showDriveOf(DirList->path());
        FileList->setPath(DirList->path());
        if (!lblFileName->path().isEmpty())
            lblFileName->setPath(QString());
    });
}

void Vantelo::cboFiletype_Click()
{
    Trapped([&] {
        FileList->setPattern(cboFiletype->currentText());
        FileList->refresh();
    });
}

void Vantelo::FileList_Click()
{
    Trapped([&] {
        const QString fileName = FileList->fileName();
        if (fileName.isEmpty())
            return;
        EndSmallDemonstration();
        strPicPath = joinFolderAndFile(DirList->path(), fileName);
        stbVantelo->setPanelText(2, strPicPath);
        // Opened once, measured, and decoded at the size the preview shows it: a damaged picture
        // fails at this step, before anything else changes.
        AskPreview(
            strPicPath,
            [path = strPicPath](ReadingProgress& progress) {
                PictureFile file(path, &progress);
                const QString sizeText = makeSizeText(file.size().height(), file.size().width());
                return PreviewPicture{sizeText, file.decode(previewDecodeSize(sizeText))};
            },
            [this, fileName](const PreviewPicture& preview) {
                strPicSize = preview.sizeText;
                stbVantelo->setPanelText(3, strPicSize);
                imgPreview->hide();
                FitPreview(strPicSize);
                ShowPreview(preview.picture, fileName);
            });
    });
}

void Vantelo::AskPreview(const QString& path, std::function<PreviewPicture(ReadingProgress&)> read,
                         std::function<void(const PreviewPicture&)> show)
{
    m_preview = Reading<PreviewPicture>(path, std::move(read));
    m_preview.onAnswer([this, show = std::move(show)] { Trapped([&] { show(m_preview.take()); }); });
}

void Vantelo::FitPreview(const QString& sizeText)
{
    imgPreview->setBox(fitPreviewBox(sizeText));
}

void Vantelo::ShowDefaultPicture()
{
    // Whatever was clicked before is no longer wanted in the preview.
    m_preview.drop();
    Trapped([&] {
        imgPreview->hide();
        imgPreview->setBox(DefaultPreviewBox);
        // The logo lies beside the program itself, which could not run if its storage did not answer;
        // read once, it is never read again.
        if (m_logo.isNull()) {
            const QString logo = QDir(QCoreApplication::applicationDirPath()).filePath(DefaultPictureFile);
            m_logo = decodePicture(logo, pixelRect(DefaultPreviewBox).size());
        }
        ShowPreview(m_logo, DefaultPictureCaption);
    });
}

void Vantelo::ShowPreview(const QImage& picture, const QString& caption)
{
    imgPreview->setPicture(picture);
    imgPreview->show();
    lblPicName->setText(caption);
}

} // namespace vantelo
