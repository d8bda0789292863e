// The text-style dialog: edits the text and font of one menu text label.
//
//   SetupTextWindow->EditLabel(Label);   // loads the label, shows the dialog modally; OK copies
//                                        // the trimmed text and the sample's font to the label
//
// Boxes whose list lacks the label's own value (a font, size or colour not offered) keep that
// value: OK never hands the label an empty name, size 0 or "no colour".
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIColorBox.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIFontComboBox.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUISkinForm.h"

// The caption without leading and trailing characters of codes 0 to 32.
String TrimLabelText(const String& Text);
// The sample's caption cut once to fit: the first trunc(length x box width / sample width)
// characters when the sample is wider than the box, else the whole caption.
String FitSampleText(const String& Text, int SampleWidth, int BoxWidth);
// The style box's index for a font style: 0 regular, 1 italic, 2 bold, 3 bold italic.
int StyleIndexOf(TFontStyles Style);
TFontStyles FontStyleOf(int StyleIndex, bool Strikeout, bool Underline);

class TSetupTextWindow : public TForm {
    VCL_CLASS(TSetupTextWindow)
    explicit TSetupTextWindow(TComponent* AOwner);
    ~TSetupTextWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TsuiGroupBox* suiGroupBox2;
    TLabel* Label_Sample;
    TsuiGroupBox* suiGroupBox1;
    TsuiFontComboBox* suiFontComboBox;
    TsuiComboBox* suiComboBox_Style;
    TsuiFontSizeComboBox* suiFontSizeComboBox;
    TsuiCheckBox* suiCheckBox_Strikeout;
    TsuiCheckBox* suiCheckBox_Underline;
    TsuiColorBox* suiColorBox;
    TsuiEdit* suiEdit_Sample;
    TsuiImageButton* suiImageButton2;
    TsuiImageButton* suiImageButton1;

    TLabel* EditedLabel = nullptr;  // not owned
    bool b_SampleReady = false;

    void EditLabel(TLabel* Label);
    // Loads the label into the controls and the sample; EditLabel then shows the dialog.
    void LoadLabel(TLabel* Label);
    void UpdateSample();
    // OK: the label takes the whole trimmed text and the sample's font.
    void ApplyToLabel();
    void ApplyLanguage();
    void ShowButtonWords();

private:
    void CreateSkin();
    void CreateControls();
    void ShowGroups();
    void SetBoxStyles();
    void InstallHandlers();
    void FillStyles();
    String ChosenFontName() const;
    int ChosenFontSize() const;
    TColor ChosenColour() const;

    // The label's own values, kept for a box whose list lacks them.
    String m_labelFontName;
    int m_labelFontSize = 0;
    TColor m_labelColour = clWhite;
};

extern TSetupTextWindow* SetupTextWindow;
