#include "platform/vcl/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/QtDialogs.h"
#include "platform/vcl/StringList.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::TInstallInteraction;
using testing_vcl::TQuestionKind;
using testing_vcl::TScriptedInteraction;

class DialogsTest : public ::testing::Test {
protected:
    TScriptedInteraction ask;
    TInstallInteraction installed{ask};
};

// ---- message boxes ----------------------------------------------------------------------------

TEST_F(DialogsTest, MessageDlgAsksWithTypeCaptionAndButtonsAndReturnsTheAnswer) {
    Application->SetTitle("DVD Maker");
    struct Case {
        TMsgDlgType type;
        const char* caption;
    };
    const Case cases[] = {
        {mtWarning, "Warning"}, {mtError, "Error"}, {mtInformation, "Information"},
        {mtConfirmation, "Confirm"}, {mtCustom, "DVD Maker"},
    };
    ask.MessageAnswers.assign(std::size(cases), mrNo);
    for (const Case& c : cases) {
        EXPECT_EQ(MessageDlg("Save the project?", c.type, mbYesNoCancel, 0), mrNo);
        const auto& q = ask.Questions.back();
        EXPECT_EQ(q.Kind, TQuestionKind::MessageBox);
        EXPECT_EQ(q.Text, "Save the project?");
        EXPECT_EQ(q.Caption, c.caption);
        EXPECT_EQ(q.DlgType, c.type);
        EXPECT_EQ(q.Buttons, mbYesNoCancel);
    }
    EXPECT_EQ(ask.Unanswered, 0);
}

TEST_F(DialogsTest, UnscriptedQuestionsAreCancelledAtOnceAndCounted) {
    EXPECT_EQ(MessageDlg("Really?", mtConfirmation, mbYesNo, 0), mrCancel);
    EXPECT_EQ(MessageDlg("Really?", mtWarning, {}, 0), mrCancel);
    EXPECT_EQ(ask.Questions.back().Buttons, (TMsgDlgButtons{mbOK}));  // no buttons means OK
    String dir = "/start";
    EXPECT_FALSE(SelectDirectory("Pick", "MyComputer", dir));
    EXPECT_EQ(dir, "/start");
    EXPECT_EQ(ask.Unanswered, 3);
}

TEST_F(DialogsTest, ShowMessageIsAnOkBoxWithTheApplicationTitle) {
    Application->SetTitle("Title here");
    ask.MessageAnswers.push_back(mrOk);
    ShowMessage("Done.");
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].Caption, "Title here");
    EXPECT_EQ(ask.Questions[0].Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(ask.Questions[0].Text, "Done.");
}

TEST(InstallInteraction, NestsAndRestoresThePreviousService) {
    TInteractionService* original = GetInteractionService();
    EXPECT_EQ(original, QtInteractionService());
    TScriptedInteraction outer, inner;
    {
        TInstallInteraction a(outer);
        {
            TInstallInteraction b(inner);
            EXPECT_EQ(GetInteractionService(), &inner);
        }
        EXPECT_EQ(GetInteractionService(), &outer);
    }
    EXPECT_EQ(GetInteractionService(), original);
    SetInteractionService(&outer);
    SetInteractionService(nullptr);
    EXPECT_EQ(GetInteractionService(), QtInteractionService());
}

// ---- file dialogs -----------------------------------------------------------------------------

TEST_F(DialogsTest, OpenDialogSendsItsSettingsAndTakesTheFiles) {
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Video|*.avi;*.mpg|All files|*.*");
    dialog.SetFilterIndex(2);
    dialog.SetTitle("Add clips");
    dialog.SetInitialDir("/videos");
    dialog.SetOptions(dialog.GetOptions() + TOpenOptions{ofAllowMultiSelect, ofFileMustExist});
    ask.AnswerFiles({"/videos/a.avi", "/videos/b.mpg"}, 1);

    ASSERT_TRUE(dialog.Execute());
    ASSERT_EQ(ask.Questions.size(), 1u);
    const TFileDialogRequest& r = ask.Questions[0].File;
    EXPECT_FALSE(r.Save);
    EXPECT_EQ(r.Filter, "Video|*.avi;*.mpg|All files|*.*");
    EXPECT_EQ(r.FilterIndex, 2);
    EXPECT_EQ(r.Title, "Add clips");
    EXPECT_EQ(r.InitialDir, "/videos");
    EXPECT_TRUE(r.MultiSelect);
    EXPECT_TRUE(r.FileMustExist);
    EXPECT_FALSE(r.OverwritePrompt);
    ASSERT_EQ(dialog.GetFiles()->Count(), 2);
    EXPECT_EQ(dialog.GetFiles()->Strings(1), "/videos/b.mpg");
    EXPECT_EQ(dialog.GetFileName(), "/videos/a.avi");
    EXPECT_EQ(dialog.GetFilterIndex(), 1);
}

TEST_F(DialogsTest, CancelledOpenDialogChangesNothing) {
    TOpenDialog dialog(nullptr);
    dialog.SetFileName("/old.avi");
    dialog.SetFilterIndex(3);
    ask.AnswerFiles({"/x.avi"});
    ASSERT_TRUE(dialog.Execute());
    ask.CancelFile();
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.GetFileName(), "/x.avi");
    EXPECT_EQ(dialog.GetFiles()->Count(), 1);
    EXPECT_EQ(dialog.GetFilterIndex(), 1);
    EXPECT_EQ(ask.Questions[1].File.FileName, "/x.avi");  // the last choice is offered again
    EXPECT_FALSE(ask.Questions[1].File.MultiSelect);
}

TEST_F(DialogsTest, SaveDialogPromptsForOverwriteAndAddsTheDefaultExtension) {
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
    dialog.SetDefaultExt("jpg");
    dialog.SetOptions({ofOverwritePrompt, ofAllowMultiSelect});
    ask.AnswerFiles({"/pics/shot"}, 2);
    ask.AnswerFiles({"/pics/shot.bmp"}, 2);
    ASSERT_TRUE(dialog.Execute());
    const TFileDialogRequest& r = ask.Questions[0].File;
    EXPECT_TRUE(r.Save);
    EXPECT_TRUE(r.OverwritePrompt);
    EXPECT_FALSE(r.MultiSelect);  // a save dialog names one file
    EXPECT_EQ(r.DefaultExt, "jpg");
    EXPECT_EQ(dialog.GetFileName(), "/pics/shot.jpg");
    EXPECT_EQ(dialog.GetFilterIndex(), 2);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.GetFileName(), "/pics/shot.bmp");
}

TEST(FilterConversion, VclFiltersBecomeToolkitNameFilters) {
    struct Case {
        const char* vcl;
        std::vector<String> qt;
    };
    const Case cases[] = {
        {"Video|*.avi;*.mpg|All files|*.*", {"Video (*.avi *.mpg)", "All files (*)"}},
        {"JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp", {"JPG (*.jpg)", "BMP (*.bmp)"}},
        {"Subtitles (*.srt, *.sub)|*.srt; *.sub", {"Subtitles (*.srt *.sub)"}},
        {"Video (AVI, MPG)|*.avi;*.mpg", {"Video (AVI, MPG) (*.avi *.mpg)"}},
        {"|*.txt", {"(*.txt)"}},
        {"Text|", {"Text (*)"}},
        {"Only a name", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(VclFilterToQtFilters(c.vcl), c.qt) << c.vcl;
    EXPECT_EQ(VclFilterToQt("Video|*.avi;*.mpg|All files|*.*"), "Video (*.avi *.mpg);;All files (*)");
}

// ---- folders and colours ----------------------------------------------------------------------

TEST_F(DialogsTest, SelectDirectoryPassesCaptionRootAndStartAndTakesTheAnswer) {
    ask.DirectoryAnswers.push_back(String("/out"));
    ask.DirectoryAnswers.push_back(std::nullopt);
    String dir = "/home";
    ASSERT_TRUE(SelectDirectory("Please select output folder!", "MyComputer", dir));
    EXPECT_EQ(dir, "/out");
    const auto& q = ask.Questions[0];
    EXPECT_EQ(q.Kind, TQuestionKind::SelectDirectory);
    EXPECT_EQ(q.Caption, "Please select output folder!");
    EXPECT_EQ(q.Root, "MyComputer");
    EXPECT_EQ(q.Directory, "/home");
    EXPECT_FALSE(SelectDirectory("again", "", dir));
    EXPECT_EQ(dir, "/out");
}

TEST_F(DialogsTest, ColorDialogOffersItsColourAndTakesTheChoice) {
    TColorDialog dialog(nullptr);
    dialog.SetColor(0x00336699);
    ask.ColorAnswers.push_back(TColor{0x00FF0000});
    ask.ColorAnswers.push_back(std::nullopt);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(ask.Questions[0].Color, 0x00336699);
    EXPECT_EQ(dialog.GetColor(), 0x00FF0000);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.GetColor(), 0x00FF0000);
}

// ---- modal forms ------------------------------------------------------------------------------

TEST_F(DialogsTest, ScriptedModalActionEndsTheLoopWithItsResult) {
    TForm form(nullptr);
    form.SetCaption("Options");
    ask.AnswerModal(mrOk);
    EXPECT_EQ(form.ShowModal(), mrOk);
    ASSERT_EQ(ask.Of(TQuestionKind::ShowModal).size(), 1u);
    EXPECT_EQ(ask.Questions[0].Form, &form);
    EXPECT_EQ(ask.Questions[0].Caption, "Options");
    EXPECT_FALSE(form.GetVisible());
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(DialogsTest, AModalFormWithoutAScriptIsNotRun) {
    TForm form(nullptr);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_FALSE(form.GetVisible());
    EXPECT_EQ(ask.Unanswered, 1);
}

TEST_F(DialogsTest, TheGuardCancelsAModalLoopThatNeverEnds) {
    TForm form(nullptr);
    form.SetName("Stuck");
    ask.ModalTimeoutMs = 50;
    ask.ModalActions.push_back([](TCustomForm*) {});
    EXPECT_EQ(form.ShowModal(), mrCancel);
    ASSERT_EQ(ask.Failures.size(), 1u);
    EXPECT_NE(ask.Failures[0].find("Stuck"), String::npos);
}

}  // namespace
