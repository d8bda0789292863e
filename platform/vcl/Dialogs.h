// Message boxes and the common dialogs: TOpenDialog, TSaveDialog, TColorDialog, folder choice.
//
// Everything asks the person through the interaction service (Interaction.h), so tests answer
// with a scripted service and nothing waits on a real dialog.
#pragma once

#include "platform/vcl/Component.h"
#include "platform/vcl/Interaction.h"

class TStrings;

// The caption MessageDlg gives a type: "Warning", "Error", "Information", "Confirm", and the
// application's title for mtCustom.
String MessageDlgCaption(TMsgDlgType DlgType);
// Asks with the buttons given (OK when none) and returns the mr* value of the one pressed.
// HelpCtx is accepted and ignored (there is no help system).
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// An OK box captioned with the application's title.
void ShowMessage(const String& Msg);

// A folder picker: Directory is the start folder and, on success, the folder chosen.
// Root (e.g. "MyComputer") names where browsing starts when Directory is empty.
bool SelectDirectory(const String& Caption, const String& Root, String& Directory);

enum class TOpenOptionE {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
    ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = Set<TOpenOptionE>;
constexpr TOpenOptionE ofReadOnly = TOpenOptionE::ofReadOnly;
constexpr TOpenOptionE ofOverwritePrompt = TOpenOptionE::ofOverwritePrompt;
constexpr TOpenOptionE ofHideReadOnly = TOpenOptionE::ofHideReadOnly;
constexpr TOpenOptionE ofNoChangeDir = TOpenOptionE::ofNoChangeDir;
constexpr TOpenOptionE ofShowHelp = TOpenOptionE::ofShowHelp;
constexpr TOpenOptionE ofNoValidate = TOpenOptionE::ofNoValidate;
constexpr TOpenOptionE ofAllowMultiSelect = TOpenOptionE::ofAllowMultiSelect;
constexpr TOpenOptionE ofExtensionDifferent = TOpenOptionE::ofExtensionDifferent;
constexpr TOpenOptionE ofPathMustExist = TOpenOptionE::ofPathMustExist;
constexpr TOpenOptionE ofFileMustExist = TOpenOptionE::ofFileMustExist;
constexpr TOpenOptionE ofCreatePrompt = TOpenOptionE::ofCreatePrompt;
constexpr TOpenOptionE ofShareAware = TOpenOptionE::ofShareAware;
constexpr TOpenOptionE ofNoReadOnlyReturn = TOpenOptionE::ofNoReadOnlyReturn;
constexpr TOpenOptionE ofNoTestFileCreate = TOpenOptionE::ofNoTestFileCreate;
constexpr TOpenOptionE ofEnableSizing = TOpenOptionE::ofEnableSizing;
constexpr TOpenOptionE ofDontAddToRecent = TOpenOptionE::ofDontAddToRecent;
constexpr TOpenOptionE ofForceShowHidden = TOpenOptionE::ofForceShowHidden;

class TCommonDialog : public TComponent {
    VCL_CLASS(TCommonDialog)
    using TComponent::TComponent;
    // True when the person accepted.
    virtual bool Execute() = 0;
    int GetHelpContext() const { return m_helpContext; }
    void SetHelpContext(int v) { m_helpContext = v; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void DoShow() { if (TNotifyEvent h = OnShow) h(this); }
    void DoClose() { if (TNotifyEvent h = OnClose) h(this); }

private:
    int m_helpContext = 0;
};

class TOpenDialog : public TCommonDialog {
    VCL_CLASS(TOpenDialog)
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    // Asks for one file (or several with ofAllowMultiSelect). On acceptance FileName is the
    // first file, Files all of them, FilterIndex the filter in use; a name without an
    // extension gets DefaultExt. On cancel nothing changes.
    bool Execute() override;

    // "Video files|*.avi;*.mpg|All files|*.*"
    const String& GetFilter() const { return m_filter; }
    void SetFilter(const String& v) { m_filter = v; }
    // 1-based, as in the VCL.
    int GetFilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int v) { m_filterIndex = v; }
    const String& GetFileName() const { return m_fileName; }
    void SetFileName(const String& v) { m_fileName = v; }
    TStrings* GetFiles() const { return m_files; }
    TOpenOptions GetOptions() const { return m_options; }
    void SetOptions(TOpenOptions v) { m_options = v; }
    const String& GetTitle() const { return m_title; }
    void SetTitle(const String& v) { m_title = v; }
    const String& GetInitialDir() const { return m_initialDir; }
    void SetInitialDir(const String& v) { m_initialDir = v; }
    // Without the dot ("avi").
    const String& GetDefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const String& v) { m_defaultExt = v; }

protected:
    virtual bool IsSaveDialog() const { return false; }
    TFileDialogRequest MakeRequest() const;
    void TakeAnswer(const TFileDialogAnswer& Answer);

private:
    String WithDefaultExt(const String& File) const;

    String m_filter;
    int m_filterIndex = 1;
    String m_fileName;
    TStrings* m_files;
    TOpenOptions m_options{ofHideReadOnly, ofEnableSizing};
    String m_title;
    String m_initialDir;
    String m_defaultExt;
};

class TSaveDialog : public TOpenDialog {
    VCL_CLASS(TSaveDialog)
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSaveDialog() const override { return true; }
};

class TColorDialog : public TCommonDialog {
    VCL_CLASS(TColorDialog)
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;
    // On acceptance Color is the colour chosen.
    bool Execute() override;
    TColor GetColor() const { return m_color; }
    void SetColor(TColor v) { m_color = v; }
    // "ColorA=00FF00" lines, kept for code that sets them (the toolkit's dialog keeps its own).
    TStrings* GetCustomColors() const { return m_customColors; }

private:
    TColor m_color = 0;
    TStrings* m_customColors;
};
