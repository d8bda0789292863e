// An interaction service for tests: records every question and answers from scripted queues.
//
//   testing_vcl::TScriptedInteraction ask;
//   testing_vcl::TInstallInteraction installed(ask);
//   ask.MessageAnswers.push_back(mrYes);
//   ... code under test calls MessageDlg ...
//   EXPECT_EQ(ask.Questions.at(0).Text, "Save changes?");
//
// A question without a scripted answer is recorded (Unanswered counts it) and answered with
// mrCancel, false or nullptr at once; nothing ever blocks.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/vcl/Interaction.h"

namespace testing_vcl {

enum class TQuestionKind { MessageBox, FileDialog, SelectDirectory, ChooseColor, ShowModal, PopupMenu };

struct TRecordedQuestion {
    TQuestionKind Kind = TQuestionKind::MessageBox;
    // MessageBox
    String Text;
    String Caption;  // also the folder picker's caption
    TMsgDlgType DlgType = mtCustom;
    TMsgDlgButtons Buttons;
    // FileDialog
    TFileDialogRequest File;
    // SelectDirectory: the root and the start folder
    String Root;
    String Directory;
    // ChooseColor: the colour offered
    TColor Color = 0;
    // ShowModal
    TCustomForm* Form = nullptr;
    // PopupMenu: the menu, the screen point and the captions of the visible top-level items
    TPopupMenu* Menu = nullptr;
    int X = 0;
    int Y = 0;
    std::vector<String> MenuCaptions;
    bool Answered = false;
};

class TScriptedInteraction : public TInteractionService {
public:
    TScriptedInteraction();
    ~TScriptedInteraction() override;

    TModalResult MessageBox(const String& Text, const String& Caption, TMsgDlgType DlgType,
                            TMsgDlgButtons Buttons) override;
    bool FileDialog(const TFileDialogRequest& Request, TFileDialogAnswer& Answer) override;
    bool SelectDirectory(const String& Caption, const String& Root, String& Directory) override;
    bool ChooseColor(TColor& Color) override;
    // Runs the next modal action on the form, then the form's loop under the time-out guard.
    // Without an action the form is not run: the answer is mrCancel.
    TModalResult ShowModal(TCustomForm* Form, const std::function<TModalResult()>& RunLoop) override;
    TMenuItem* TrackPopupMenu(TPopupMenu* Menu, int X, int Y) override;
    void CancelPopupMenu(TPopupMenu* Menu) override;

    // Scripted answers, each used once, in order. std::nullopt answers "cancelled".
    std::deque<TModalResult> MessageAnswers;
    std::deque<std::optional<TFileDialogAnswer>> FileAnswers;
    std::deque<std::optional<String>> DirectoryAnswers;
    std::deque<std::optional<TColor>> ColorAnswers;
    // Run with the form before its loop starts: it may set ModalResult at once, or queue a call
    // (Application->QueueCall) that clicks a button of the shown form.
    std::deque<std::function<void(TCustomForm*)>> ModalActions;
    // Answers message boxes once MessageAnswers is used up (e.g. by their text); may be empty.
    std::function<TModalResult(const TRecordedQuestion&)> MessageResponder;
    // Picks the item chosen from the menu (nullptr: dismissed).
    std::deque<std::function<TMenuItem*(TPopupMenu*)>> PopupAnswers;
    // Popup menus show for real and wait for real input (the real-display tests): each is
    // recorded and PopupAnswers is not used.
    bool RealPopups = false;

    // Conveniences for the queues above.
    void AnswerFiles(std::vector<String> Files, int FilterIndex = 1);
    void CancelFile() { FileAnswers.push_back(std::nullopt); }
    void AnswerPopup(TMenuItem* Item);
    // A modal action that ends the loop with Result from the message loop.
    void AnswerModal(TModalResult Result);

    // How long a modal loop may run before the guard cancels it (mrCancel) and notes a failure.
    int ModalTimeoutMs = 5000;

    std::vector<TRecordedQuestion> Questions;
    // Questions answered by default because nothing was scripted.
    int Unanswered = 0;
    // Notes of things that went wrong (a modal loop cut short by the guard).
    std::vector<String> Failures;

    // The recorded questions of one kind.
    std::vector<TRecordedQuestion> Of(TQuestionKind Kind) const;
    // True when every scripted answer was used.
    bool AllAnswersUsed() const;

private:
    TRecordedQuestion& Record(TQuestionKind Kind);
};

// Installs a service for the lifetime of the object and puts the previous one back afterwards.
class TInstallInteraction {
public:
    explicit TInstallInteraction(TInteractionService& Service);
    ~TInstallInteraction();
    TInstallInteraction(const TInstallInteraction&) = delete;
    TInstallInteraction& operator=(const TInstallInteraction&) = delete;

private:
    TInteractionService* m_previous;
};

}  // namespace testing_vcl
