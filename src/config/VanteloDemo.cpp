#include "config/Vantelo.h"

#include "common/Numbers.h"
#include "common/SlideOrder.h"
#include "platform/ImageBox.h"
#include "config/PreviewFitting.h"
#include "platform/SlidePreparer.h"
#include "config/StatusBar.h"
#include "config/VanteloLayout.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "show/FullShow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <utility>

namespace vantelo {
namespace {

const QString NoListFileText = QStringLiteral("No Image File saved for Vantelo");
const QString NoImagesText = QStringLiteral("No Images in the list to be displayed");
const QString StopCaption = QStringLiteral("Stop");
const QString StopToolTip = QStringLiteral("Ends the Slide Show Demonstration");

enum SlideColumn { FolderColumn = 0, FileNameColumn = 1, SizeTextColumn = 2 };

// Whatever a tick caught, as the numbered failure the user is shown.
AppError currentFailure()
{
    try {
        throw;
    } catch (const AppError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return AppError(7, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        return AppError(51, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return AppError(51, QStringLiteral("Internal error"));
    }
}

// The show window of a large demonstration still on screen, if any.
FullShow* visibleFullShow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* show = qobject_cast<FullShow*>(window); show && show->isVisible())
            return show;
    }
    return nullptr;
}

} // namespace

void Vantelo::ConnectDemo()
{
    connect(cmdDemoSM, &QPushButton::clicked, this, &Vantelo::cmdDemoSM_Click);
    connect(cmdDemoLG, &QPushButton::clicked, this, &Vantelo::cmdDemoLG_Click);
    connect(Timer1, &WindowTimer::timeout, this, &Vantelo::Timer1_Timer);
    connect(imgPreview, &ImageBox::clicked, this, &Vantelo::imgPreview_Click);
}

void Vantelo::cmdDemoSM_Click()
{
    Trapped([&] {
        const QString caption = cmdDemoSM->text();
        if (caption == StopCaption) {
            imgPreview_Click();
            return;
        }
        if (caption != layout::designText(layout::control("cmdDemoSM").caption))
            return;
        // Only a saved list counts as ready to show, though the rows shown are the ones in the window.
        if (GetSetting(SettingKey::File).isEmpty()) {
            m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), NoListFileText);
            return;
        }
        for (int panel = 2; panel <= 4; ++panel)
            stbVantelo->setPanelText(panel, QString());
        Timer1->setEnabled(true);
        intDemoIndex = 1;
        m_nextDemoDraw.reset();
        // The first slide comes at the click, the next one an interval later.
        Timer1_Timer();
    });
}

void Vantelo::Timer1_Timer()
{
    try {
        ShowNextDemoSlide();
    } catch (...) {
        EndFailedDemonstration(currentFailure());
        return;
    }
    PrepareNextDemoSlide();
}

void Vantelo::ShowNextDemoSlide()
{
    // The running look is put on at every tick; the first one is what switches it on.
    cmdDemoLG->setEnabled(false);
    optShowStyle[0]->setEnabled(false);
    optShowStyle[1]->setEnabled(false);
    cmdTimer->setEnabled(false);
    cmdDemoSM->setText(StopCaption);
    cmdDemoSM->setToolTip(StopToolTip);

    // Read afresh at every tick, so rows added or removed meanwhile count.
    const std::int16_t rowCount = checkedInt16(lvwMain->topLevelItemCount());
    std::int16_t position = 0;
    if (optShowStyle[0]->isChecked()) {
        position = intDemoIndex;
        checkSlidePosition(position, rowCount);
        intDemoIndex = nextOrderedIndex(intDemoIndex, rowCount);
    } else {
        // With neither order on (a stored order in neither word) the show itself runs at random.
        const float draw =
            m_nextDemoDraw ? *std::exchange(m_nextDemoDraw, std::nullopt) : m_platform.random.reseedAndDraw();
        position = randomPosition(rowCount, draw);
        checkSlidePosition(position, rowCount);
    }
    const QTreeWidgetItem* row = lvwMain->topLevelItem(position - 1);

    strPicSize = row->text(SizeTextColumn);
    imgPreview->hide();
    strPicPath = row->text(FolderColumn) + row->text(FileNameColumn);
    imgPreview->setPicture(m_demoPreparer.take(strPicPath, previewDecodeSize(strPicSize)));
    FitPreview(strPicSize);
    imgPreview->show();
    lblPicName->setText(row->text(FileNameColumn));
}

void Vantelo::PrepareNextDemoSlide()
{
    // A timer that never ticks (a delay of 0) shows no next slide to prepare.
    if (!Timer1->isActive())
        return;
    try {
        const std::int16_t rowCount = checkedInt16(lvwMain->topLevelItemCount());
        std::int16_t position = intDemoIndex;
        if (!optShowStyle[0]->isChecked()) {
            // The next tick's draw, taken now with its own fresh seed, so its slide can be decoded ahead.
            m_nextDemoDraw = m_platform.random.reseedAndDraw();
            position = randomPosition(rowCount, *m_nextDemoDraw);
        }
        if (position < 1 || position > rowCount)
            return;
        const QTreeWidgetItem* row = lvwMain->topLevelItem(position - 1);
        m_demoPreparer.prepare(row->text(FolderColumn) + row->text(FileNameColumn),
                                previewDecodeSize(row->text(SizeTextColumn)));
    } catch (...) {
        // Only a head start is lost; the tick itself meets and reports whatever went wrong here.
        m_demoPreparer.discard();
    }
}

void Vantelo::EndFailedDemonstration(const AppError& error)
{
    // No further tick may run while the report waits for its OK.
    Timer1->setEnabled(false);
    m_demoPreparer.discard();
    if (error.number() == ErrorNumber::IndexOutOfBounds)
        m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), NoImagesText);
    else
        ReportError(error);
    // The preview is left as the failure found it: hidden when the picture could not be shown.
    ShowDemoIdleControls();
}

void Vantelo::ShowDemoIdleControls()
{
    cmdDemoLG->setEnabled(true);
    optShowStyle[0]->setEnabled(true);
    optShowStyle[1]->setEnabled(true);
    cmdTimer->setEnabled(true);
    const layout::ControlSpec& demo = layout::control("cmdDemoSM");
    cmdDemoSM->setText(layout::designText(demo.caption));
    cmdDemoSM->setToolTip(layout::designText(demo.tooltip));
}

void Vantelo::imgPreview_Click()
{
    Trapped([&] {
        if (!Timer1->isEnabled())
            return;
        EndSmallDemonstration();
        m_demoPreparer.discard();
    });
}

void Vantelo::cmdDemoLG_Click()
{
    Trapped([&] {
        if (GetSetting(SettingKey::File).isEmpty()) {
            m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), NoListFileText);
            return;
        }
        // One show window at a time, like every window of the program; a new one loads afresh.
        FullShow* show = visibleFullShow();
        if (!show) {
            // No owner: the show covers the screen on its own, and this window stays as it is.
            show = new FullShow(m_platform, nullptr);
            show->Form_Load();
        }
        show->show();
        show->raise();
        show->activateWindow();
    });
}

} // namespace vantelo
