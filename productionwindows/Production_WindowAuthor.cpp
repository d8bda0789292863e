// The production window's authoring step: author.xml for the whole disc, the authoring library
// on a worker, and the new folder read back as a player reads it before it counts as a disc.
#include "productionwindows/Production_Window.h"

#include <atomic>
#include <exception>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"
#include "production/AuthoredDisc.h"

bool TProductionWindow::HasTitleMenuVob() const { return ::HasTitleMenuVob(b_TitleMenu, s_TempFolder); }

bool TProductionWindow::HasRootMenuVob() const {
    return ::HasRootMenuVob(b_TitleMenu, b_RootMenu, IncludeTrailingPathDelimiter(ExePath), i_Aspect, i_VideoStandard);
}

TAuthorProject TProductionWindow::AuthorProject() const {
    TAuthorSettings settings;
    settings.s_Dest = s_DVDDest;
    settings.s_TempFolder = s_TempFolder;
    settings.s_ProgramFolder = IncludeTrailingPathDelimiter(ExePath);
    settings.i_VideoStandard = i_VideoStandard;
    settings.i_Aspect = i_Aspect;
    settings.b_TitleMenu = b_TitleMenu;
    settings.b_RootMenu = b_RootMenu;
    settings.b_BackButton = HasBackButton();
    settings.SubtitledVobs = SubtitledVobs;
    return AuthorProjectFromClips(settings);
}

bool TProductionWindow::WriteAuthorXml() {
    try {
        s_DVDDest = ChooseDvdFolder(g_s_OutputFolder, s_VolumeName);
        s_DVDFolder = s_DVDDest + "/VIDEO_TS/";
        s_AuthorXml = s_TempFolder + "author.xml";
        const TAuthorProject project = AuthorProject();
        TAuthorXml xml(project);
        if (!xml.WriteAuthorXml(s_AuthorXml)) return false;
        b_VmgmWritten = xml.b_VmgmWritten;
        b_TitlesetMenusWritten = xml.b_TitlesetMenusWritten;
        ExpectedAuthored = ExpectedDisc(project);
        AuthorProgress.i_TotalVobMB = TotalVobMB(ClipInfo);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TProductionWindow::AuthorDVD() {
    AddLog(Language::GetMessageText(Language::kMsgStartAuthorFile));
    if (!WriteAuthorXml()) {
        EnterIdleState(kIdleAuthorParameter);
        return false;
    }
    AddLog(Language::GetMessageText(Language::kMsgStartAuthorDirectory));
    const int r = RunAuthorThread();
    if (r == kWorkerNoLibrary) {
        EnterIdleState(kIdleAuthorNotStarted);
        return false;
    }
    if (r != kWorkerDone) {
        EndWithProgramFailure(kIdleAuthorProcess);
        return false;
    }
    SetProgress1(100);
    LogOversizedFolder();
    // Only the all-in-one window made the clip VOBs; the compile-mode ones are the user's.
    if (b_BuildMode) {
        if (b_DeleteTempFile)
            for (TClipInfo* clip : ClipInfo) DeleteFile(clip->s_VobFile);
        b_Authored = 1;
    }
    return true;
}

// A folder larger than the chosen disc is told in the log, so a run that ends "finished" does
// not leave the person believing it fits.
void TProductionWindow::LogOversizedFolder() {
    const Int64 capacityKB = i_DVDType == 1 ? i_DVD9Size : i_DVD5Size;
    const Int64 folderKB = FolderSizeKB(s_DVDDest);
    if (folderKB <= capacityKB) return;
    AddLog(Language::GetMessageText(Language::kMsgFolderLargerThanDisc) + IntToStr(folderKB / 1024) + " MB > " +
           IntToStr(capacityKB / 1024) + " MB");
}

// On the worker: only the library call. kWorkerDone when the library authored the folder,
// else kWorkerNotDone.
int TProductionWindow::RunAuthor() {
    try {
        return AuthorLibrary->Entries().author_main(s_AuthorXml.c_str()) == DOZEZEDAV_OK ? kWorkerDone : kWorkerNotDone;
    } catch (...) {
        return kWorkerNotDone;
    }
}

// kWorkerDone the folder was authored and reads back with the titles, chapters and aspect
// author.xml asked for; kWorkerNotDone it was not (no folder is left); kWorkerNoLibrary no library.
int TProductionWindow::RunAuthorThread() {
    AuthorLibrary = TAuthoringLibrary::Load(AuthoringLibraryName);
    if (AuthorLibrary == nullptr) return kWorkerNoLibrary;
    Timer_Author->SetEnabled(true);
    const int result = WaitForWorker([this] { return RunAuthor(); });
    Timer_Author->SetEnabled(false);
    s_ProgramFailure =
        result == kWorkerDone ? String() : LibraryFailure(AuthorLibrary->Entries().dozezedav_last_failure, DOZEZEDAV_AUTHOR);
    AuthorLibrary.reset();
    if (result != kWorkerDone) return kWorkerNotDone;
    if (!FileExists(s_DVDFolder + "VIDEO_TS.IFO")) {
        DiscardAuthoredFolder(s_DVDDest);
        return kWorkerNotDone;
    }
    String problem;
    if (!VerifyAuthoredFolder(s_DVDDest, ExpectedAuthored, &problem)) {
        AddLog(problem);
        return kWorkerNotDone;
    }
    return kWorkerDone;
}

void TProductionWindow::Timer_AuthorTimer(TObject*) {
    if (AuthorLibrary == nullptr || !b_ThreadIsWorking.load()) return;
    int* mb = AuthorLibrary->Entries().getVOBsMB();
    if (mb == nullptr) return;
    ShowAuthorProgress(std::atomic_ref<int>(*mb).load());
}

void TProductionWindow::ShowAuthorProgress(Int64 Megabytes) {
    bool fixStarts = false;
    const int percent = AuthorProgress.Show(Megabytes, fixStarts);
    if (fixStarts) AddLog(Language::GetMessageText(Language::kMsgStartFixVob));
    SetProgress1(percent);
}
