#include "about/frmAbout.h"

#include "about/AboutContent.h"
#include "about/AboutIcons.h"
#include "about/SysInfo.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace vantelo {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& designText)
{
    auto* label = new QLabel(designText, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLabel* makeIcon(QWidget* parent, const char* name, const QRect& geometry, const QImage& image)
{
    auto* icon = new QLabel(parent);
    icon->setObjectName(QLatin1String(name));
    icon->setGeometry(geometry);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(QPixmap::fromImage(image));
    return icon;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QRect& geometry, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

frmAbout::frmAbout(Platform& platform, QWidget* owner)
    // Fixed in size: no maximise button, which would do nothing.
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_platform(platform), m_owner(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(AboutGeometry::Client);
    // The design's small dialog face; "Arial" is the name fontconfig maps onto a metric-compatible sans.
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    picIcon[0] = makeIcon(this, "picIcon(0)", AboutGeometry::picIcon0, drawPictureIcon());
    picIcon[0]->setAccessibleName(QStringLiteral("Picture icon"));
    lblTitle = makeLabel(this, "lblTitle", AboutGeometry::lblTitle, QString());
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setStyleHint(QFont::Serif);
    titleFont.setPointSizeF(14.25);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    picIcon[1] = makeIcon(this, "picIcon(1)", AboutGeometry::picIcon1, drawSlidesIcon());
    picIcon[1]->setAccessibleName(QStringLiteral("Slides icon"));
    lblVersion = makeLabel(this, "lblVersion", AboutGeometry::lblVersion, AboutVersionDesignText);
    lblDescription = makeLabel(this, "lblDescription", AboutGeometry::lblDescription, AboutDescriptionDesignText);
    lblDisclaimer = makeLabel(this, "lblDisclaimer", AboutGeometry::lblDisclaimer, AboutDisclaimerText);

    cmdOK = makeButton(this, "cmdOK", AboutGeometry::cmdOK, QStringLiteral("OK"));
    cmdSysInfo = makeButton(this, "cmdSysInfo", AboutGeometry::cmdSysInfo, QStringLiteral("&System Info..."));
    // Enter clicks OK; Escape and the close box reject, which closes the box just as OK does.
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    setWindowTitle(aboutCaption(m_owner ? m_owner->window()->windowTitle() : QString()));
    lblTitle->setText(AboutTitleText);
    lblVersion->setText(aboutVersionText());
    lblDescription->setText(AboutDescriptionText);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo(m_platform, this);
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const auto& grey = AboutGeometry::SeparatorGrey;
    const auto& white = AboutGeometry::SeparatorWhite;
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(grey.x1, grey.y, grey.x2, grey.y);
    painter.setPen(Qt::white);
    painter.drawLine(white.x1, white.y, white.x2, white.y);
}

void showAboutBox(QWidget* owner, Platform& platform)
{
    // Held by a guarded pointer: should the owner go away while the box is open, it takes the box
    // with it, and the delete below must not run a second time.
    QPointer<frmAbout> box = new frmAbout(platform, owner);
    box->Form_Load();
    box->exec();
    delete box.data();
}

bool openAboutForPanel(int panel, QWidget* owner, Platform& platform)
{
    if (panel != AboutPanel)
        return false;
    showAboutBox(owner, platform);
    return true;
}

} // namespace vantelo
