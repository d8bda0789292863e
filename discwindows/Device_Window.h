// The device dialog: what the system knows of one burner and of its disc, and the erase of a
// rewritable disc. Made once at start-up; a production window's Device button opens it.
//
//   DeviceWindow->ShowDevice(index);   // modal; the facade's notifications come here meanwhile
//
// The erase runs on the facade's worker while the dialog keeps its messages flowing; the timer
// shows the time used and a bar that assumes three minutes and stops at 99 % until the end.
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUISkinForm.h"

// The erase bar's percentage after a number of half-second ticks: three minutes make 100 %,
// held at 99 % while the erase runs.
int EraseTickPercent(int Ticks);
// The bar's width in pixels for a percentage (clamped into 0..100).
int EraseBarPixels(int Percent);

class TDeviceWindow : public TForm {
    VCL_CLASS(TDeviceWindow)
    explicit TDeviceWindow(TComponent* AOwner);

    void ApplyLanguage();
    void ShowDevice(int DeviceIndex);
    // True from the start of ShowDevice until the dialog has closed.
    bool IsShowing() const { return b_Showing; }

    TsuiSkinForm* suiSkinForm1;
    TsuiGroupBox* GroupBox1;
    TLabel* Label1;
    TLabel* lblDriveType;
    TLabel* Label3;
    TLabel* lblMaxRead;
    TLabel* Label4;
    TLabel* lblMaxWrite;
    TLabel* Label2;
    TsuiCheckBox* DVDPLUS_R;
    TsuiCheckBox* DVDPLUS_RW;
    TsuiCheckBox* DVDPLUS_R_DL;
    TsuiCheckBox* DVD_R;
    TsuiCheckBox* DVD_RW;
    TsuiCheckBox* DVD_R_DL;
    TsuiGroupBox* GroupBox2;
    TLabel* Label6;
    TLabel* lblType;
    TLabel* Label7;
    TLabel* lblAvailableSize;
    TLabel* Label8;
    TLabel* lblUsedSize;
    TLabel* Label10;
    TLabel* lblTracks;
    TLabel* Label11;
    TLabel* lblSessions;
    TLabel* Label9;
    TLabel* Label_UsedTime;
    TLabel* Label14;
    TImage* Image_Progress1;
    TLabel* Label_Progress1;
    TsuiImageButton* suiImageButton_Start;
    TsuiImageButton* suiImageButton_Close;
    TTimer* Timer;

    Byte b_Erasing = 0;
    int i_DeviceIndex = 0;
    int i_EraseTicks = 0;

    void ClearDiscInfo();
    void FillDiscInfo();
    void FillDeviceInfo();
    void SetProgress(int Percent);

    void suiImageButton_StartClick(TObject* Sender);
    void suiImageButton_CloseClick(TObject* Sender);
    void TimerTimer(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);

private:
    void CreateControls();
    void ShowDiscBoxes();
    void ShowEraseProgress();
    void InstallHandlers();

    bool b_Showing = false;
};

extern TDeviceWindow* DeviceWindow;
