#include "skin/core/frmThemeMgr.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIMgr.h"

// ---- check list ----------------------------------------------------------------------------

TsuiMgrCheckList::TsuiMgrCheckList(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }

void TsuiMgrCheckList::Add(const String& Name, bool Checked) {
    m_names.push_back(Name);
    m_checked.push_back(Checked);
    Invalidate();
}

void TsuiMgrCheckList::Clear() {
    m_names.clear();
    m_checked.clear();
    Invalidate();
}

void TsuiMgrCheckList::SetChecked(int Index, bool Value) {
    m_checked.at(static_cast<size_t>(Index)) = Value;
    Invalidate();
}

void TsuiMgrCheckList::SetAllChecked(bool Value) {
    for (size_t i = 0; i < m_checked.size(); ++i) m_checked[i] = Value;
    Invalidate();
}

int TsuiMgrCheckList::ItemAtPos(int X, int Y) const {
    if (X < 0 || Y < 1 || X >= GetWidth()) return -1;
    const int row = (Y - 1) / kRowHeight;
    return row < Count() ? row : -1;
}

void TsuiMgrCheckList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int row = ItemAtPos(X, Y);
    if (row >= 0) SetChecked(row, !GetChecked(row));
}

void TsuiMgrCheckList::Paint() {
    TCanvas* c = Canvas();
    c->GetBrush()->SetColor(clWindow);
    c->GetPen()->SetColor(clBtnShadow);
    c->Rectangle(0, 0, GetWidth(), GetHeight());
    for (int i = 0; i < Count(); ++i) {
        const int y = 1 + i * kRowHeight;
        c->GetBrush()->SetColor(clWindow);
        c->GetPen()->SetColor(clWindowText);
        c->Rectangle(4, y + 2, 16, y + 14);
        if (GetChecked(i)) {
            c->MoveTo(6, y + 8);
            c->LineTo(9, y + 11);
            c->LineTo(14, y + 4);
        }
        c->GetBrush()->SetStyle(bsClear);
        c->TextOut(20, y + 1, Item(i));
    }
}

// ---- button --------------------------------------------------------------------------------

TsuiMgrButton::TsuiMgrButton(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }

void TsuiMgrButton::SetDefault(bool v) {
    m_default = v;
    Invalidate();
}

void TsuiMgrButton::Click() {
    TCustomControl::Click();
    if (m_modalResult == mrNone) return;
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(m_modalResult);
}

void TsuiMgrButton::Paint() {
    TCanvas* c = Canvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->GetPen()->SetColor(m_default ? clWindowText : clBtnShadow);
    c->Rectangle(0, 0, GetWidth(), GetHeight());
    TRect r(0, 0, GetWidth(), GetHeight());
    c->GetBrush()->SetStyle(bsClear);
    c->DrawText(GetCaption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- the dialog ----------------------------------------------------------------------------

namespace {

TsuiMgrButton* MakeButton(TfrmMgr* Form, const String& Name, const String& Caption, int Left) {
    auto* b = new TsuiMgrButton(Form);
    b->SetName(Name);
    b->SetParent(Form);
    b->SetBounds(Left, 268, 69, 25);
    b->SetCaption(Caption);
    return b;
}

}  // namespace

TfrmMgr::TfrmMgr(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Theme Manager - SkinKit");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(233);
    SetClientHeight(301);
    List = new TsuiMgrCheckList(this);
    List->SetName("List");
    List->SetParent(this);
    List->SetBounds(8, 8, 217, 252);
    btn_sel = MakeButton(this, "btn_sel", "&Select all", 8);
    btn_unsel = MakeButton(this, "btn_unsel", "&Unselect all", 82);
    btn_ok = MakeButton(this, "btn_ok", "&OK", 156);
    btn_ok->SetDefault(true);
    btn_ok->SetModalResult(mrOk);
    btn_sel->OnClick = [this](TObject* s) { btn_selClick(s); };
    btn_unsel->OnClick = [this](TObject* s) { btn_unselClick(s); };
    AfterConstruction();
}

void TfrmMgr::btn_selClick(TObject*) { List->SetAllChecked(true); }

void TfrmMgr::btn_unselClick(TObject*) { List->SetAllChecked(false); }

void SUIEditThemeManager(TsuiThemeManager* Manager) {
    if (Manager == nullptr) return;
    TComponent* owner = Manager->GetOwner();
    if (owner == nullptr || !owner->Is<TForm>()) return;
    auto* dialog = new TfrmMgr(nullptr);
    try {
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            TComponent* c = owner->Components(i);
            if (c->Is<TsuiThemeManager>() || SUIStyledComponent(c) == nullptr) continue;
            dialog->List->Add(c->GetName(), Manager->GetCompList()->IndexOf(c->GetName()) >= 0);
        }
        if (dialog->ShowModal() == mrOk) {
            Manager->GetCompList()->Clear();
            for (int i = 0; i < dialog->List->Count(); ++i)
                if (dialog->List->GetChecked(i)) Manager->GetCompList()->Add(dialog->List->Item(i));
        }
    } catch (...) {
        delete dialog;
        throw;
    }
    delete dialog;
    Manager->UpdateAll();
}

namespace {

// The chosen theme file, or the empty text when the dialog was cancelled.
String AskForThemeFile() {
    TOpenDialog dialog(nullptr);
    dialog.SetFilter(SUI_THEME_FILE_FILTER);
    return dialog.Execute() ? dialog.GetFileName() : String();
}

}  // namespace

void SUIEditFileTheme(TsuiFileTheme* Theme) {
    if (Theme == nullptr) return;
    const String file = AskForThemeFile();
    if (!file.empty()) Theme->SetThemeFile(file);
}

void SUIEditBuiltInFileTheme(TsuiBuiltInFileTheme* Theme) {
    if (Theme == nullptr) return;
    const String file = AskForThemeFile();
    if (!file.empty()) Theme->SetThemeFile2(file);
}
