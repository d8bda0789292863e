// TCustomMaskEdit: the single-line edit with an edit mask (MaskUtils.h holds the engine).
#pragma once

#include "platform/vcl/MaskUtils.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/SysUtils.h"

VCL_EXCEPTION(EDBEditError, Exception)

// With a mask, typing overwrites place by place and skips the literals; a key that fits no place
// beeps. EditText is what the window shows ("__:__:__"), Text the same without the blanks (and,
// as the mask says, without the literals). Leaving a text changed by the user with a required
// place empty beeps, keeps the focus, puts the caret there and raises EDBEditError; Esc brings
// back the text the edit had when it was entered or last set. Without a mask it is a TCustomEdit.
class TCustomMaskEdit : public TCustomEdit {
    VCL_CLASS(TCustomMaskEdit)
    explicit TCustomMaskEdit(TComponent* AOwner);
    ~TCustomMaskEdit() override;

    const String& GetEditMask() const { return m_maskText; }
    void SetEditMask(const String& v);
    bool IsMasked() const { return !m_mask.Empty(); }
    const TEditMask& Mask() const { return m_mask; }
    String GetEditText() const { return StoredText(); }
    void SetEditText(const String& v);
    String GetText() const override;

    // The leaving check, also for callers that validate before they read.
    void ValidateEdit();
    // Back to the text of the last entry (or the last text set), unless nothing was changed.
    void Reset();

    void Dispatch(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void EditKeyDown(Word Key, TShiftState Shift) override;
    void EditChar(char Key) override;
    // With a mask, replacing the selection empties it and types Text place by place.
    bool ReplaceSelection(const String& Text) override;

private:
    void ApplyStep(const TMaskEditStep& Step);
    bool TypeText(const String& Text);
    void DoSetText(TMessage& Message);

    String m_maskText;
    TEditMask m_mask;
    String m_oldValue;
    bool m_settingEditText = false;
    bool m_reEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
    VCL_CLASS(TMaskEdit)
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
