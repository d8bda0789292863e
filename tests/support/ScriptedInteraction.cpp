#include "tests/support/ScriptedInteraction.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/QtDialogs.h"

namespace testing_vcl {

TScriptedInteraction::TScriptedInteraction() = default;
TScriptedInteraction::~TScriptedInteraction() = default;

TRecordedQuestion& TScriptedInteraction::Record(TQuestionKind Kind) {
    Questions.emplace_back();
    Questions.back().Kind = Kind;
    return Questions.back();
}

TModalResult TScriptedInteraction::MessageBox(const String& Text, const String& Caption, TMsgDlgType DlgType,
                                              TMsgDlgButtons Buttons) {
    TRecordedQuestion& q = Record(TQuestionKind::MessageBox);
    q.Text = Text;
    q.Caption = Caption;
    q.DlgType = DlgType;
    q.Buttons = Buttons;
    if (MessageAnswers.empty()) {
        if (MessageResponder) {
            q.Answered = true;
            TRecordedQuestion asked = q;  // the responder may ask again, moving the vector
            return MessageResponder(asked);
        }
        ++Unanswered;
        return mrCancel;
    }
    q.Answered = true;
    TModalResult r = MessageAnswers.front();
    MessageAnswers.pop_front();
    return r;
}

bool TScriptedInteraction::FileDialog(const TFileDialogRequest& Request, TFileDialogAnswer& Answer) {
    TRecordedQuestion& q = Record(TQuestionKind::FileDialog);
    q.File = Request;
    q.Caption = Request.Title;
    if (FileAnswers.empty()) {
        ++Unanswered;
        return false;
    }
    q.Answered = true;
    std::optional<TFileDialogAnswer> a = FileAnswers.front();
    FileAnswers.pop_front();
    if (!a) return false;
    Answer = *a;
    return true;
}

bool TScriptedInteraction::SelectDirectory(const String& Caption, const String& Root, String& Directory) {
    TRecordedQuestion& q = Record(TQuestionKind::SelectDirectory);
    q.Caption = Caption;
    q.Root = Root;
    q.Directory = Directory;
    if (DirectoryAnswers.empty()) {
        ++Unanswered;
        return false;
    }
    q.Answered = true;
    std::optional<String> a = DirectoryAnswers.front();
    DirectoryAnswers.pop_front();
    if (!a) return false;
    Directory = *a;
    return true;
}

bool TScriptedInteraction::ChooseColor(TColor& Color) {
    TRecordedQuestion& q = Record(TQuestionKind::ChooseColor);
    q.Color = Color;
    if (ColorAnswers.empty()) {
        ++Unanswered;
        return false;
    }
    q.Answered = true;
    std::optional<TColor> a = ColorAnswers.front();
    ColorAnswers.pop_front();
    if (!a) return false;
    Color = *a;
    return true;
}

TModalResult TScriptedInteraction::ShowModal(TCustomForm* Form, const std::function<TModalResult()>& RunLoop) {
    {
        TRecordedQuestion& q = Record(TQuestionKind::ShowModal);
        q.Form = Form;
        q.Caption = Form != nullptr ? Form->GetCaption() : String();
        if (ModalActions.empty()) {
            ++Unanswered;
            return mrCancel;
        }
        q.Answered = true;
    }
    std::function<void(TCustomForm*)> action = ModalActions.front();
    ModalActions.pop_front();
    action(Form);
    // The guard: a loop that doesn't end in time is cancelled, and the test learns why.
    TTimer guard(nullptr);
    guard.SetInterval(static_cast<Cardinal>(ModalTimeoutMs > 0 ? ModalTimeoutMs : 1));
    String name = Form != nullptr ? Form->GetName() + " (" + Form->ClassName() + ")" : String("?");
    bool noted = false;
    // Keeps cancelling: a CloseQuery that refuses would otherwise start the wait again.
    guard.OnTimer = [this, Form, name, &noted](TObject*) {
        if (Form == nullptr || Form->GetModalResult() != mrNone) return;
        if (!noted) Failures.push_back("modal loop of " + name + " timed out; cancelled");
        noted = true;
        Form->SetModalResult(mrCancel);
    };
    return RunLoop();
}

TMenuItem* TScriptedInteraction::TrackPopupMenu(TPopupMenu* Menu, int X, int Y) {
    {
        TRecordedQuestion& q = Record(TQuestionKind::PopupMenu);
        q.Menu = Menu;
        q.X = X;
        q.Y = Y;
        if (Menu != nullptr)
            for (int i = 0; i < Menu->GetItems()->Count(); ++i)
                if (Menu->GetItems()->Items(i)->GetVisible()) q.MenuCaptions.push_back(Menu->GetItems()->Items(i)->GetCaption());
        if (RealPopups) {
            q.Answered = true;
        } else if (PopupAnswers.empty()) {
            ++Unanswered;
            return nullptr;
        } else {
            q.Answered = true;
        }
    }
    // On a real display the person (the X server's input) chooses.
    if (RealPopups) return DefaultInteractionService()->TrackPopupMenu(Menu, X, Y);
    std::function<TMenuItem*(TPopupMenu*)> pick = PopupAnswers.front();
    PopupAnswers.pop_front();
    return pick ? pick(Menu) : nullptr;
}

void TScriptedInteraction::CancelPopupMenu(TPopupMenu* Menu) {
    if (RealPopups) DefaultInteractionService()->CancelPopupMenu(Menu);
}

void TScriptedInteraction::AnswerFiles(std::vector<String> Files, int FilterIndex) {
    TFileDialogAnswer a;
    a.Files = std::move(Files);
    a.FilterIndex = FilterIndex;
    FileAnswers.push_back(a);
}

void TScriptedInteraction::AnswerPopup(TMenuItem* Item) {
    PopupAnswers.push_back([Item](TPopupMenu*) { return Item; });
}

void TScriptedInteraction::AnswerModal(TModalResult Result) {
    ModalActions.push_back([Result](TCustomForm* Form) {
        Application->QueueCall([Form, Result] { Form->SetModalResult(Result); });
    });
}

std::vector<TRecordedQuestion> TScriptedInteraction::Of(TQuestionKind Kind) const {
    std::vector<TRecordedQuestion> out;
    for (const TRecordedQuestion& q : Questions)
        if (q.Kind == Kind) out.push_back(q);
    return out;
}

bool TScriptedInteraction::AllAnswersUsed() const {
    return MessageAnswers.empty() && FileAnswers.empty() && DirectoryAnswers.empty() && ColorAnswers.empty() &&
           ModalActions.empty() && PopupAnswers.empty();
}

TInstallInteraction::TInstallInteraction(TInteractionService& Service) : m_previous(GetInteractionService()) {
    // The default service is put back as "none installed".
    if (m_previous == QtInteractionService()) m_previous = nullptr;
    SetInteractionService(&Service);
}

TInstallInteraction::~TInstallInteraction() { SetInteractionService(m_previous); }

}  // namespace testing_vcl
