#include "platform/vcl/Dialogs.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/StringList.h"
#include "platform/vcl/SysUtils.h"

String MessageDlgCaption(TMsgDlgType DlgType) {
    switch (DlgType) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return Application != nullptr ? Application->GetTitle() : String();
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    (void)HelpCtx;
    if (Buttons.Empty()) Buttons = {mbOK};
    return GetInteractionService()->MessageBox(Msg, MessageDlgCaption(DlgType), DlgType, Buttons);
}

void ShowMessage(const String& Msg) {
    GetInteractionService()->MessageBox(Msg, MessageDlgCaption(mtCustom), mtCustom, {mbOK});
}

bool SelectDirectory(const String& Caption, const String& Root, String& Directory) {
    String chosen = Directory;
    if (!GetInteractionService()->SelectDirectory(Caption, Root, chosen)) return false;
    Directory = chosen;
    return true;
}

// ---- file dialogs -----------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), m_files(new TStringList) {}

TOpenDialog::~TOpenDialog() { delete m_files; }

TFileDialogRequest TOpenDialog::MakeRequest() const {
    TFileDialogRequest r;
    r.Save = IsSaveDialog();
    r.Title = m_title;
    r.Filter = m_filter;
    r.FilterIndex = m_filterIndex;
    r.InitialDir = m_initialDir;
    r.FileName = m_fileName;
    r.DefaultExt = m_defaultExt;
    r.MultiSelect = !r.Save && m_options.Contains(ofAllowMultiSelect);
    r.OverwritePrompt = r.Save && m_options.Contains(ofOverwritePrompt);
    r.FileMustExist = !r.Save && m_options.Contains(ofFileMustExist);
    return r;
}

String TOpenDialog::WithDefaultExt(const String& File) const {
    if (m_defaultExt.empty() || File.empty() || !ExtractFileExt(File).empty()) return File;
    String ext = m_defaultExt[0] == '.' ? m_defaultExt : "." + m_defaultExt;
    return File + ext;
}

void TOpenDialog::TakeAnswer(const TFileDialogAnswer& Answer) {
    m_files->BeginUpdate();
    m_files->Clear();
    for (const String& f : Answer.Files) m_files->Add(WithDefaultExt(f));
    m_files->EndUpdate();
    m_fileName = m_files->Count() > 0 ? m_files->Strings(0) : String();
    m_filterIndex = Answer.FilterIndex;
}

bool TOpenDialog::Execute() {
    DoShow();
    TFileDialogAnswer answer;
    answer.FilterIndex = m_filterIndex;
    bool ok = GetInteractionService()->FileDialog(MakeRequest(), answer) && !answer.Files.empty();
    if (ok) TakeAnswer(answer);
    DoClose();
    return ok;
}

// ---- colours ----------------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), m_customColors(new TStringList) {}

TColorDialog::~TColorDialog() { delete m_customColors; }

bool TColorDialog::Execute() {
    DoShow();
    TColor c = m_color;
    bool ok = GetInteractionService()->ChooseColor(c);
    if (ok) m_color = c;
    DoClose();
    return ok;
}
