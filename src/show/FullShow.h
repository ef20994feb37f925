#pragma once

#include "common/AppError.h"
#include "common/SizeText.h"
#include "picture/SlideReader.h"
#include "platform/Platform.h"
#include "show/ShowStart.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideRow.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <optional>

class QTimer;

namespace vantelo {

class AppError;
class ImageBox;
class MonitorShow;

// The full-screen show window, "Personal Vantelo": covers the screen in the background colour and
// shows the pictures of the saved slide list one after another until the mouse moves or clicks.
// It deletes itself when it unloads.
//
// It never waits for storage or a decode: the slide list and every picture are read on the reading
// threads (ReadingThreads.h), and a tick shows its row's picture when it comes. A picture still on its
// way at the next tick is waited for while its storage keeps answering or it is being decoded; one whose
// storage has answered nothing since is given up, and that tick goes on to the next row.
//
// Hosted, it draws into a window that a screen-saver host lends it instead: the platform's screen is
// then the host's window, which stands for the stored work area too, so the pictures fit the window
// they are shown in; and the host, which owns the input, ends the show.
class FullShow : public QWidget
{
    Q_OBJECT
public:
    explicit FullShow(Platform& platform, QWidget* parent = nullptr);
    ~FullShow() override;

    // Before Form_Load, and before the window is put into the host's window.
    void setHosted(bool hosted);

    // Before Form_Load: in list order, start this many rows further along (wrapping round the list),
    // so that hosted copies on neighbouring monitors differ.
    void setStartOffset(int rows) { m_startOffset = rows; }

    // Instead of Form_Load, for a hosted copy that may not show: its window in the background
    // colour, nothing else, nothing reported.
    void ShowBackgroundOnly();

    // Reads the settings, covers the screen and asks for the slide list file; the slides start when it
    // comes. Every failure, of the settings or of the list, is reported and leaves the show idle:
    // background only, no timer.
    void Form_Load();
    // Picks the next slide, in list order or at random, and shows its picture scaled to the work-area
    // height and centred, at once when it is ready, else when it comes.
    void Timer1_Timer();

    // Each of these unloads the window.
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void Form_Click();
    void imgShow_Click();
    void imgShow_MouseMove();

signals:
    // A run of the tick put a picture in the picture box and showed it.
    void slideShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The slide a tick picked, until its picture comes.
    struct PendingSlide
    {
        SlideAsked asked;
        SizeNumbers size;
        std::optional<QRect> box;
        std::optional<AppError> boxFailure; // reported once the picture is known to load
    };

    void listArrived();
    void askNextSlide();
    void showArrivedSlide(bool inTick);
    void resetFields();
    void coverScreen();
    void fitToHost(QSize size);
    void setBackColor(std::int32_t colorValue);
    void enableTimer1();
    void prepareFollowingSlide();
    void reportLoadFailure(const AppError& error);
    void reportTickFailure(const AppError& error);
    void report(MessageIcon icon, const QString& text);
    bool pointerReallyMoved(QPoint globalPosition);
    void pictureBoxPointerMoved(QPoint globalPosition);
    void unload();
    void followMonitors();
    void startMonitors(qsizetype mainRow);
    void monitorPointerMoved(QPoint globalPosition);

    Platform& m_platform;
    ImageBox* imgShow;
    QTimer* Timer1;
    SlideRows lvwMain;
    std::int16_t intScreenWidth = 0;
    std::int16_t intScreenHeight = 0;
    SlideSequence m_sequence; // the list position and the order

    int m_interval = 0;              // milliseconds; 0 or less never ticks
    bool m_reporting = false;        // a report is waiting for the user's OK
    std::optional<QPoint> m_pointer; // where the pointer was last seen, in screen coordinates
    bool m_hosted = false;
    std::optional<SizeNumbers> m_shownSize; // the stored size of the slide on screen
    SlideReader m_reader;
    Reading<ShowStart> m_listReading;
    std::optional<PendingSlide> m_pending;
    QList<MonitorShow*> m_monitors; // the show on every other monitor
    int m_startOffset = 0;
    std::optional<float> m_firstDraw; // random order: the draw the list's reading picked the first slide by
};

} // namespace vantelo
