#pragma once

#include "common/AppError.h"
#include "platform/Platform.h"
#include "platform/SlidePreparer.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <exception>
#include <new>

class QComboBox;
class QGroupBox;
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
class StatusBar;
class WindowTimer;

// The configuration window, "Personal Vantelo Creator". Its controls and shared fields carry the
// window's design names and are open to every handler file of the window (and to the tests); the
// handlers themselves live in one file per concern:
//   Vantelo.cpp         layout, start-up (Form_Load), order option, status bar, failure reports
//   VanteloPreview.cpp  measuring a picture and fitting the preview
//   VanteloBrowser.cpp  the picture browser
class Vantelo : public QWidget
{
    Q_OBJECT
public:
    explicit Vantelo(Platform& platform, QWidget* parent = nullptr);

    // Controls, owned by the window. Those in the browser frame are children of fraDirectory.
    QGroupBox* fraDirectory = nullptr;
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
    QTreeWidget* lvwMain = nullptr;
    QLabel* lblFileName = nullptr;
    QLineEdit* txtTimer = nullptr;
    QPushButton* cmdTimer = nullptr;
    std::array<QRadioButton*, 2> optShowStyle{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdExit = nullptr;
    StatusBar* stbVantelo = nullptr;
    WindowTimer* Timer1 = nullptr; // drives the small demonstration; off while none runs

    // Fields the handlers share.
    QString strPicPath;            // full path of the picture last chosen for the preview or the list
    QString strPicSize;            // its size text, height first
    std::int32_t lngBackColor = 0; // the show's background colour, red in the low byte

    // Start-up: records the work area, shows the default picture, puts the stored settings into
    // the controls. Called once, before the window is shown.
    void Form_Load();

    // Handlers.
    void DriveList_Change();
    void DirList_Change();
    void cboFiletype_Click();
    void FileList_Click();
    void optShowStyle_Click(int Index);
    void stbVantelo_PanelClick(int panel);

    // Routines of the window shared by several handlers. GetPictureSize and FitPreview leave their
    // failures to the calling handler; ShowDefaultPicture reports its own.
    QString GetPictureSize(const QString& path);
    void FitPreview(const QString& sizeText);
    void ShowDefaultPicture();

    // The slide list: adding and removing rows, a click on a row, saving and loading the list
    // (VanteloList.cpp).
    void cmdPicture_Click(int Index);
    void lvwMain_Click();
    void lvwMain_DblClick();
    void FileList_DblClick();
    void cmdSave_Click();
    void cmdLoad_Click();

private:
    void ConnectListCommands();
    void AddFilesToList(const QStringList& fileNames);
    void RemoveSelectedRow();
    void RemoveAllSelectedRows();
    void ShowListMessage(const QString& text);

    // The name the file dialogs last returned; offered again by the next open or save dialog.
    QString cdlMainFileName;

private:
    // Puts the window back into its idle look when the small demonstration runs.
    void EndSmallDemonstration();

    // The common error report, titled with the window's caption.
    void ReportError(const AppError& error);

    // Runs a handler's body so that no failure leaves it: each ends in the common error report.
    template <typename Body> void Trapped(Body&& body)
    {
        try {
            body();
        } catch (const AppError& error) {
            ReportError(error);
        } catch (const std::bad_alloc&) {
            ReportError(AppError(7, QStringLiteral("Out of memory")));
        } catch (const std::exception& error) {
            ReportError(AppError(51, QString::fromLocal8Bit(error.what())));
        }
    }

    void CreateControls();
    void ConnectHandlers();

    Platform& m_platform;

    // Show settings and exit (VanteloShowSettings.cpp), the two demonstrations (VanteloDemo.cpp).
public:
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

    // Position of the next row the small demonstration shows in list order, from 1.
    std::int16_t intDemoIndex = 1;

protected:
    // Escape, when no control takes it, runs the exit: the exit button is the cancel button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ConnectShowSettings();
    void ConnectDemo();
    void ShowNextDemoSlide();
    void PrepareNextDemoSlide();
    void EndFailedDemonstration(const AppError& error);
    void ShowDemoIdleControls();

    // The colour dialog opens on the colour last chosen in it, black before any.
    QColor m_colorDialogColor = Qt::black;
    // Random order: the draw made ahead for the next tick, so its slide can be decoded ahead.
    std::optional<float> m_nextDemoDraw;
    // Decodes the demonstration's next slide in the background.
    SlidePreparer m_demoPreparer;
};

} // namespace vantelo
