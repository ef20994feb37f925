#include "config/Vantelo.h"

#include "config/PreviewFitting.h"
#include "config/SlideListView.h"
#include "config/StatusBar.h"
#include "config/VanteloLayout.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "show/ImageBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace vantelo {
namespace {

const QString NoListFileText = QStringLiteral("No Image File saved for Vantelo");
const QString NoImagesText = QStringLiteral("No Images in the list to be displayed");
const QString StopCaption = QStringLiteral("Stop");
const QString StopToolTip = QStringLiteral("Ends the Slide Show Demonstration");

enum SlideColumn { FolderColumn = 0, FileNameColumn = 1, SizeTextColumn = 2 };

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
        m_demoSequence.restart();
        // The first slide comes at the click, the next one a whole interval after it is shown.
        Timer1_Timer();
        if (Timer1->isEnabled())
            Timer1->setEnabled(true);
    });
}

void Vantelo::Timer1_Timer()
{
    if (m_demoPending) {
        // Slow but coming: shown when it comes. Storage that has not answered since the last tick:
        // the row is given up for the next.
        if (m_demoReader.isComing(m_demoPending->asked))
            return;
        m_demoPending.reset();
    }
    try {
        AskNextDemoSlide();
    } catch (...) {
        EndFailedDemonstration(currentFailure());
        return;
    }
    ShowArrivedDemoSlide(true);
}

void Vantelo::AskNextDemoSlide()
{
    // The running look is put on at every tick; the first one is what switches it on.
    ShowDemoControls(true);
    // With neither order on (a stored order in neither word) the demonstration runs at random.
    m_demoSequence.setOrdered(optShowStyle[0]->isChecked());
    // The rows are counted afresh at every tick, so rows added or removed meanwhile count.
    const QTreeWidgetItem* row = lvwMain->topLevelItem(m_demoSequence.next(lvwMain->topLevelItemCount()) - 1);

    strPicSize = row->text(SizeTextColumn);
    // This slide is what the preview is to show now, not a picture clicked before still coming.
    m_preview.drop();
    imgPreview->hide();
    strPicPath = row->text(FolderColumn) + row->text(FileNameColumn);
    DemoSlide slide{{strPicPath, previewDecodeSize(strPicSize)}, strPicSize, row->text(FileNameColumn)};
    m_demoReader.keepOnly({slide.asked});
    m_demoReader.ask(slide.asked);
    m_demoPending = std::move(slide);
}

void Vantelo::ShowArrivedDemoSlide(bool inTick)
{
    if (!m_demoPending || !Timer1->isEnabled())
        return;
    try {
        const std::optional<QImage> picture = m_demoReader.take(m_demoPending->asked);
        if (!picture)
            return;
        const DemoSlide slide = *std::exchange(m_demoPending, std::nullopt);
        FitPreview(slide.sizeText);
        ShowPreview(*picture, slide.fileName);
    } catch (...) {
        m_demoPending.reset();
        EndFailedDemonstration(currentFailure());
        return;
    }
    // Shown later than its tick: the next slide still gets its whole delay.
    if (!inTick)
        Timer1->setEnabled(true);
    PrepareNextDemoSlide();
}

void Vantelo::PrepareNextDemoSlide()
{
    // A timer that never ticks (a delay of 0) shows no next slide to prepare.
    if (!Timer1->isActive())
        return;
    try {
        const std::optional<std::int16_t> position = m_demoSequence.upcoming(lvwMain->topLevelItemCount());
        if (!position)
            return;
        const QTreeWidgetItem* row = lvwMain->topLevelItem(*position - 1);
        const SlideAsked next{row->text(FolderColumn) + row->text(FileNameColumn),
                              previewDecodeSize(row->text(SizeTextColumn))};
        m_demoReader.keepOnly({next});
        m_demoReader.ask(next);
    } catch (...) {
        // Only a head start is lost; the tick itself meets and reports whatever went wrong here.
        m_demoReader.keepOnly({});
    }
}

void Vantelo::EndFailedDemonstration(const AppError& error)
{
    // No further tick may run while the report waits for its OK.
    Timer1->setEnabled(false);
    m_demoPending.reset();
    m_demoReader.keepOnly({});
    if (error.number() == ErrorNumber::IndexOutOfBounds)
        m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(), NoImagesText);
    else
        ReportError(error);
    // The preview is left as the failure found it: hidden when the picture could not be shown.
    ShowDemoControls(false);
}

void Vantelo::EndSmallDemonstration()
{
    if (!Timer1->isEnabled())
        return;
    Timer1->setEnabled(false);
    m_demoPending.reset();
    m_demoReader.keepOnly({});
    ShowDefaultPicture();
    ShowDemoControls(false);
}

void Vantelo::ShowDemoControls(bool running)
{
    cmdDemoLG->setEnabled(!running);
    for (QRadioButton* option : optShowStyle)
        option->setEnabled(!running);
    cmdTimer->setEnabled(!running);
    const layout::ControlSpec& demo = layout::control("cmdDemoSM");
    cmdDemoSM->setText(running ? StopCaption : layout::designText(demo.caption));
    cmdDemoSM->setToolTip(running ? StopToolTip : layout::designText(demo.tooltip));
}

void Vantelo::imgPreview_Click()
{
    Trapped([&] { EndSmallDemonstration(); });
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
