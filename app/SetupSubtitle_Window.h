// The subtitle dialog: one clip's SRT file, subtitle language (a region index) and font size,
// with a sample line at DVD picture size over the clip's thumbnail. The clip list editor opens
// it for a clip:
//   SetupSubtitleWindow->SetupClip(clip);   // fills the dialog and shows it modally
// OK stores the choices into the clip, makes the language and size the defaults and writes them
// to Option.ini.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIFontComboBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;

// The sample line's place on the 720 x 540 picture: centred, its bottom at row 510.
constexpr int SubtitlePreviewWidth = 720;
constexpr int SubtitlePreviewHeight = 540;
constexpr int SubtitlePreviewBaseline = 510;
int SubtitleSampleLeft(int TextWidth);
int SubtitleSampleTop(int TextHeight);

class TSetupSubtitleWindow : public TForm {
    VCL_CLASS(TSetupSubtitleWindow)
    explicit TSetupSubtitleWindow(TComponent* AOwner);
    ~TSetupSubtitleWindow() override;

    // Fills the dialog from Clip and shows it modally; nothing for a null clip.
    void SetupClip(TClipInfo* AClip);
    void ApplyLanguage();

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void suiImageButton_LoadClick(TObject* Sender);
    void suiImageButton_ClearClick(TObject* Sender);
    void suiImageButton_OkClick(TObject* Sender);
    void suiImageButton_CancelClick(TObject* Sender);
    void suiFontComboBoxChange(TObject* Sender);
    void suiFontSizeComboBoxChange(TObject* Sender);

    TLabel* Label_Subtitle;
    TsuiImageButton* suiImageButton_Load;
    TsuiImageButton* suiImageButton_Clear;
    TLabel* Label2;
    TsuiComboBox* suiComboBox_SubtitleLanguage;
    TLabel* Label3;
    TsuiFontSizeComboBox* suiFontSizeComboBox;
    TLabel* Label1;
    TsuiFontComboBox* suiFontComboBox;
    TImage* Image_Preview;
    TImage* Image_PreviewSubtitle;
    TsuiImageButton* suiImageButton_Ok;
    TsuiImageButton* suiImageButton_Cancel;
    TsuiSkinForm* suiSkinForm1;
    TOpenDialog* OpenDialog;

    TLabel* PreviewLabel = nullptr;
    TBitmap* PreviewBitmap = nullptr;
    TClipInfo* Clip = nullptr;
    String s_SubtitlePath;

    // The sample line's rows on PreviewBitmap after the last DrawPreview (for the preview's
    // readers: top and bottom, bottom exclusive).
    int SampleTop = 0;
    int SampleBottom = 0;

private:
    void CreateControls();
    void SetListStyles();
    void SetPreviewStyles();
    void InstallHandlers();
    void ShowButtonWords();
    void FillLanguageList();
    void SelectLanguage(int Index);
    void DrawPreview();
    void FreePreview();
    // The size box's size, or the clip's when the box answers none.
    int ChosenFontSize() const;
    String ChosenFontName() const;
    int ChosenLanguage() const;
    bool WriteDefaults(int LanguageIndex, int FontSize);
};

extern TSetupSubtitleWindow* SetupSubtitleWindow;
