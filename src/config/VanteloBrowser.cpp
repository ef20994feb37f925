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
    try {
        DirList->setDrive(DriveList->drive());
    } catch (const AppError& error) {
        if (error.number() != ErrorNumber::DeviceUnavailable)
            return;
        m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(),
                                        QStringLiteral("Drive Not Ready!"));
        // Choosing another entry is a change of its own and tries that drive.
        if (DriveList->count() > 1)
            DriveList->setCurrentIndex(1);
    } catch (...) {
    }
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
        EndSmallDemonstration();
        strPicPath = joinFolderAndFile(DirList->path(), FileList->fileName());
        stbVantelo->setPanelText(2, strPicPath);
        // Opened once, measured, and decoded at the size the preview shows it: a damaged picture
        // fails at this step, before anything else changes.
        PictureFile file(strPicPath);
        const QString sizeText = makeSizeText(file.size().height(), file.size().width());
        const QImage picture = file.decode(previewDecodeSize(sizeText));
        strPicSize = sizeText;
        stbVantelo->setPanelText(3, strPicSize);
        imgPreview->hide();
        FitPreview(strPicSize);
        ShowPreview(picture, FileList->fileName());
    });
}

QString Vantelo::GetPictureSize(const QString& path)
{
    const QSize size = measurePicture(path);
    return makeSizeText(size.height(), size.width());
}

void Vantelo::FitPreview(const QString& sizeText)
{
    imgPreview->setBox(fitPreviewBox(sizeText));
}

void Vantelo::ShowDefaultPicture()
{
    Trapped([&] {
        imgPreview->hide();
        imgPreview->setBox(DefaultPreviewBox);
        const QString logo = QDir(QCoreApplication::applicationDirPath()).filePath(DefaultPictureFile);
        ShowPreview(decodePicture(logo, pixelRect(DefaultPreviewBox).size()), DefaultPictureCaption);
    });
}

void Vantelo::ShowPreview(const QImage& picture, const QString& caption)
{
    imgPreview->setPicture(picture);
    imgPreview->show();
    lblPicName->setText(caption);
}

} // namespace vantelo
