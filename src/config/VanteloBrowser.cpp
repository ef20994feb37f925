#include "config/Vantelo.h"

#include "config/BrowserLists.h"
#include "platform/ImageBox.h"
#include "config/PictureBrowsing.h"
#include "config/PreviewFitting.h"
#include "config/StatusBar.h"
#include "platform/PictureFile.h"

#include <QComboBox>
#include <QLabel>

namespace vantelo {

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
    } catch (const std::exception&) {
    }
}

void Vantelo::DirList_Change()
{
    Trapped([&] {
        // Folders form one tree, so opening one can cross onto another drive: the drive list follows.
        DriveList->showDriveOf(DirList->path());
        FileList->setPath(DirList->path());
        if (!lblFileName->text().isEmpty())
            lblFileName->setText(QString());
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
        // Decoded once, here, at the size the preview shows it: a damaged picture fails at this
        // step, before anything else changes, and the preview needs no second read of the file.
        const QString sizeText = GetPictureSize(strPicPath);
        const QImage picture = decodePicture(strPicPath, previewDecodeSize(sizeText));
        strPicSize = sizeText;
        stbVantelo->setPanelText(3, strPicSize);
        imgPreview->hide();
        FitPreview(strPicSize);
        imgPreview->setPicture(picture);
        imgPreview->show();
        lblPicName->setText(FileList->fileName());
    });
}

} // namespace vantelo
