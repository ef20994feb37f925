#pragma once

#include "common/AppError.h"
#include "config/ListJobs.h"
#include "picture/SlideReader.h"
#include "platform/Platform.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideRow.h"

#include <QImage>
#include <QPersistentModelIndex>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace vantelo {

class DirListBox;
class DriveListBox;
class FileListBox;
class ImageBox;
class PathLabel;
class RowAdding;
class SlideListBox;
class StatusBar;
class WindowTimer;

// The configuration window, "Personal Vantelo Creator". Every control carries its design name as
// its object name. It never waits for storage: folders, pictures and slide lists are read (and lists
// written) on the reading threads (ReadingThreads.h), and each answer is applied when it comes, if it
// is still wanted. The handlers live in one file per concern, each a few lines over the rules:
//   Vantelo.cpp              controls, start-up (Form_Load), order option, status bar, reports
//   VanteloBrowser.cpp       the picture browser, measuring a picture and fitting the preview
//   VanteloList.cpp          the slide list: adding, removing, saving, loading
//   VanteloShowSettings.cpp  delay, colour and exit
//   VanteloDemo.cpp          the two demonstrations
class Vantelo : public QWidget
{
    Q_OBJECT
public:
    explicit Vantelo(Platform& platform, QWidget* parent = nullptr);
    ~Vantelo() override;

    // Start-up: records the work area, shows the default picture, puts the stored settings into
    // the controls. Called once, before the window is shown.
    void Form_Load();

protected:
    // Escape, when no control takes it, runs the exit: the exit button is the cancel button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Handlers.
    void DriveList_Change();
    void DirList_Change();
    void cboFiletype_Click();
    void FileList_Click();
    void FileList_DblClick();
    void optShowStyle_Click(int Index);
    void stbVantelo_PanelClick(int panel);
    void cmdPicture_Click(int Index);
    void lvwMain_Click();
    void lvwMain_DblClick();
    // Files and folders dropped onto the list, before the row at position.
    void lvwMain_DropFiles(const QStringList& paths, int position);
    void cmdSave_Click();
    void cmdLoad_Click();
    // Swallows every typed character but a digit (set to 0), with a beep.
    void txtTimer_KeyPress(int& KeyAscii);
    void cmdTimer_Click();
    void cmdColor_Click();
    void cmdExit_Click();
    void cmdDemoSM_Click();
    // One slide of the small demonstration; a failing one ends it.
    void Timer1_Timer();
    void imgPreview_Click();
    void cmdDemoLG_Click();

    // Routines shared by several handlers. FitPreview leaves its failures to the calling handler;
    // ShowDefaultPicture reports its own.
    void FitPreview(const QString& sizeText);
    void ShowDefaultPicture();
    void ShowPreview(const QImage& picture, const QString& caption);

    // A picture for the preview, and its size text when it was measured.
    struct PreviewPicture
    {
        QString sizeText;
        QImage picture;
    };
    // Reads the picture at path for the preview on a reading thread, then shows it, unless another
    // picture was asked for meanwhile; a failure of either is the common error report.
    void AskPreview(const QString& path, std::function<PreviewPicture(ReadingProgress&)> read,
                    std::function<void(const PreviewPicture&)> show);

    void CreateControls();
    void ConnectHandlers();
    void DriveNotReady();
    void AddFilesToList(const QStringList& fileNames);
    // Adds the rows, measured, in front of the row before (an invalid one: at the end).
    void AddPicturesToList(SlideRows rows, const QPersistentModelIndex& before);
    void StartAdding(SlideRows rows, const QPersistentModelIndex& before);
    void RowsMeasured();
    // Ends the running list job with apply, or with the report of its failure.
    void FinishListJob(const std::function<void()>& apply);
    void CancelListJob();
    void RemoveSelectedRow();
    void RemoveAllSelectedRows();
    void ShowListMessage(const QString& text);
    void AskNextDemoSlide();
    void ShowArrivedDemoSlide(bool inTick);
    void PrepareNextDemoSlide();
    void EndFailedDemonstration(const AppError& error);
    // Puts the window back into its idle look when the small demonstration runs.
    void EndSmallDemonstration();
    void ShowDemoControls(bool running);

    // The common error report, titled with the window's caption.
    void ReportError(const AppError& error);

    // Runs a handler's body so that no failure leaves it: each ends in the common error report.
    template <typename Body> void Trapped(Body&& body)
    {
        try {
            body();
        } catch (...) {
            ReportError(currentFailure());
        }
    }

    Platform& m_platform;

    // Controls, owned by the window. Those in the browser frame are children of fraDirectory.
    QFrame* fraDirectory = nullptr;
    DriveListBox* DriveList = nullptr;
    DirListBox* DirList = nullptr;
    QComboBox* cboFiletype = nullptr;
    FileListBox* FileList = nullptr;
    ImageBox* imgPreview = nullptr;
    QLabel* lblPicName = nullptr;
    ImageBox* imgTemp = nullptr; // measuring reads picture headers, so it never holds a picture
    QPushButton* cmdDemoSM = nullptr;
    QPushButton* cmdDemoLG = nullptr;
    QPushButton* cmdColor = nullptr;
    std::array<QPushButton*, 4> cmdPicture{};
    SlideListBox* lvwMain = nullptr;
    PathLabel* lblFileName = nullptr; // the slide list file saved or loaded last
    QLineEdit* txtTimer = nullptr;
    QPushButton* cmdTimer = nullptr;
    std::array<QRadioButton*, 2> optShowStyle{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdExit = nullptr;
    StatusBar* stbVantelo = nullptr;
    WindowTimer* Timer1 = nullptr; // drives the small demonstration; off while none runs

    // Fields the handlers share.
    QString strPicPath;                    // full path of the picture last chosen for the preview or the list
    QString strPicSize;                    // its size text, height first
    std::int32_t lngBackColor = 0;         // the show's background colour, red in the low byte
    QString cdlMainFileName;               // the name the file dialogs last returned; offered again next time
    QColor m_colorDialogColor = Qt::black; // the colour dialog opens on the colour last chosen in it
    QImage m_logo;                         // the default picture, read once

    Reading<PreviewPicture> m_preview; // the picture clicked last, on its way
    ListJobs m_listJobs;
    std::unique_ptr<RowAdding> m_adding;
    Reading<SlideRows> m_listReading; // a list being loaded, or the pictures of a drop being found
    Reading<bool> m_listSaving;

    // The small demonstration's order and position; the slide a tick picked, until its picture comes;
    // and its pictures, read and decoded on the reading threads.
    struct DemoSlide
    {
        SlideAsked asked;
        QString sizeText;
        QString fileName;
    };
    SlideSequence m_demoSequence;
    std::optional<DemoSlide> m_demoPending;
    SlideReader m_demoReader;
};

} // namespace vantelo
