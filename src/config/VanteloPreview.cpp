#include "config/Vantelo.h"

#include "common/SizeText.h"
#include "platform/ImageBox.h"
#include "config/PreviewFitting.h"
#include "platform/PictureFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>

namespace vantelo {
namespace {

const QString DefaultPictureFile = QStringLiteral("TC_Shield_Circle3b.gif");
const QString DefaultPictureCaption = QStringLiteral("Torvane Consulting");

} // namespace

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
        imgPreview->setPicture(decodePicture(logo, pixelRect(DefaultPreviewBox).size()));
        imgPreview->show();
        lblPicName->setText(DefaultPictureCaption);
    });
}

} // namespace vantelo
