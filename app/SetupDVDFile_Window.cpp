#include "app/SetupDVDFile_Window.h"

#include <algorithm>
#include <memory>

#include "app/FormBuilder.h"
#include "app/Progress_Window.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/CustomClass.h"
#include "model/DiscSize.h"
#include "model/VobClip.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"

TSetupDVDFileWindow* SetupDVDFileWindow = nullptr;

namespace {

constexpr int kWidth = 647;
constexpr int kHeight = 490;
constexpr int kGridRows = 17;       // the header and 16 data rows
const String kVideoTsTail = "/VIDEO_TS/";

String MegabytesText(Int64 KB, const char* Format) { return FormatFloat(Format, static_cast<double>(KB) / 1024.0); }

}  // namespace

int CompilerAspectOfCode(int AspectCode) { return AspectCode == 3 || AspectCode == 4 ? 2 : 1; }

TSetupDVDFileWindow::TSetupDVDFileWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupDVDFileWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    CreateComponents();
    InstallHandlers();
}

TSetupDVDFileWindow::~TSetupDVDFileWindow() {
    if (SetupDVDFileWindow == this) SetupDVDFileWindow = nullptr;
    DoDestroy();
}

// ---- construction ------------------------------------------------------------------------------

void TSetupDVDFileWindow::CreateComponents() {
    suiSkinForm1 = NewSkinForm(this);
    LoadResSkin(suiSkinForm1, "dvdfile_skin.bmp");
    CreateControls();
    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->SetOptions(TOpenOptions{ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing});
    OpenDialog->SetTitle("Add DVD Burning File");
    ShowButtonWords();
    CloseOnEscape(this, suiImageButton_Close);
}

void TSetupDVDFileWindow::CreateControls() {
    using W = TSetupDVDFileWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::suiStringGrid_DVDFiles>("suiStringGrid_DVDFiles", 9, 33, 629, 324),
        Place<&W::suiImageButton_Folder>("suiImageButton_Folder", 48, 449, 89, 28, "dvdfile_folder"),
        Place<&W::suiImageButton_File>("suiImageButton_File", 144, 449, 89, 28, "dvdfile_file"),
        Place<&W::suiImageButton_Burn>("suiImageButton_Burn", 405, 437, 51, 50, "dvdfile_burn"),
        Place<&W::suiImageButton_Close>("suiImageButton_Close", 595, 1, 46, 20, "clip_close"),
        // The visible one of the two type buttons names the disc type.
        Place<&W::suiImageButton_DVD5>("suiImageButton_DVD5", 2, 391, 90, 28, "clip_dvd5"),
        Place<&W::suiImageButton_DVD9>("suiImageButton_DVD9", 2, 391, 90, 28, "clip_dvd9"),
        Place<&W::Image8500>("Image8500", 580, 423, 58, 12, "clip_8500.bmp"),
        Place<&W::Image_DiscSizeProgress>("Image_DiscSizeProgress", 108, 401, 0, 10, "clip_disc_fill.bmp"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder, TButtonCursor::kHand);
    SetupGrid();
    ShapeButtons();
    // The bar is as wide as the files fill the disc.
    Image_DiscSizeProgress->SetStretch(true);
}

void TSetupDVDFileWindow::SetupGrid() {
    TsuiStringGrid* grid = suiStringGrid_DVDFiles;
    grid->SetColCount(4);
    grid->SetFixedCols(0);
    grid->SetRowCount(kGridRows);
    grid->SetFixedRows(1);
    grid->SetDefaultRowHeight(18);
    grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
    ShowChosenRow(false);
}

void TSetupDVDFileWindow::ShapeButtons() {
    suiImageButton_Close->SetHint("Close");
    suiImageButton_Close->SetShowHint(true);
    // Light words on the buttons' dark faces.
    for (TsuiImageButton* b : {suiImageButton_Folder, suiImageButton_File}) b->GetFont()->SetColor(clWhite);
}

// The chosen row in the window's amber, dark enough for the grid's light text; a page without
// files shows no lit row at all.
void TSetupDVDFileWindow::ShowChosenRow(bool HasFiles) {
    TsuiStringGrid* grid = suiStringGrid_DVDFiles;
    const TColor chosen = HasFiles ? static_cast<TColor>(0x1E5A8C) : grid->GetColor();
    grid->SetSelectedColor(chosen);
    grid->SetFocusedColor(chosen);
}

void TSetupDVDFileWindow::InstallHandlers() {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    suiImageButton_Folder->OnClick = [this](TObject* s) { suiImageButton_FolderClick(s); };
    suiImageButton_File->OnClick = [this](TObject* s) { suiImageButton_FileClick(s); };
    suiImageButton_Burn->OnClick = [this](TObject* s) { suiImageButton_BurnClick(s); };
    suiImageButton_Close->OnClick = [this](TObject* s) { suiImageButton_CloseClick(s); };
    suiImageButton_DVD5->OnClick = [this](TObject* s) { suiImageButton_DVD5Click(s); };
    suiImageButton_DVD9->OnClick = [this](TObject* s) { suiImageButton_DVD9Click(s); };
    suiStringGrid_DVDFiles->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        suiStringGrid_DVDFilesMouseUp(s, b, sh, x, y);
    };
}

void TSetupDVDFileWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

void TSetupDVDFileWindow::ShowButtonWords() {
    Language::ApplyMessageCaptions(
        {{suiImageButton_Folder, Language::kMsgFolderWord}, {suiImageButton_File, Language::kMsgVobFilesWord}});
}

// ---- form ----------------------------------------------------------------------------------------

void TSetupDVDFileWindow::FormCreate(TObject*) { InitPage(); }

void TSetupDVDFileWindow::FormShow(TObject*) { InitPage(); }

void TSetupDVDFileWindow::FormDestroy(TObject*) {
    delete FilePopupMenu;
    FilePopupMenu = nullptr;
}

void TSetupDVDFileWindow::InitPage() {
    const int headers[] = {Language::kMsgFileNameHeader, Language::kMsgFileFormatHeader, Language::kMsgFileSizeHeader,
                           Language::kMsgFileDurationHeader};
    // The size column is wide enough for its longer translations ("Dateigröße (MB)").
    const int widths[] = {350, 80, 96, 80};
    for (int c = 0; c < 4; ++c) {
        suiStringGrid_DVDFiles->SetCells(c, 0, Language::GetMessageText(headers[c]));
        suiStringGrid_DVDFiles->SetColWidths(c, widths[c]);
    }
    i_DiscCapacityKB[0] = i_DVD5Size;
    i_DiscCapacityKB[1] = i_DVD9Size;
    ClearGrid();
    i_UsedKB = 0;
    b_Busy = false;
    b_FolderMode = false;
    s_DVDFolder = "";
    if (b_DVD5) SetDVD5(); else SetDVD9();
}

// ---- choosing a DVD folder -----------------------------------------------------------------------

void TSetupDVDFileWindow::suiImageButton_FolderClick(TObject*) {
    String chosen;
    if (!SelectDirectory(Language::GetMessageText(Language::kMsgSelectOutputFolder), "MyComputer", chosen)) return;
    SetCurrentDir(ExePath);
    const String path = IncludeTrailingPathDelimiter(chosen);
    Update();
    const String tail = path.size() >= kVideoTsTail.size() ? path.substr(path.size() - kVideoTsTail.size()) : path;
    if (UpperCase(tail) == kVideoTsTail && LoadDVDFolder(path)) return;
    const String inner = Pubfunction::FindIgnoringCase(path + "VIDEO_TS", Pubfunction::TEntryKind::Folder);
    if (!inner.empty() && LoadDVDFolder(IncludeTrailingPathDelimiter(inner))) return;
    AddVobsFromFolder(path);
}

bool TSetupDVDFileWindow::HasBup(const String& Path) {
    TSearchRec f;
    const bool found = FindFirst(ChangeFileExt(Path, ".bup"), faAnyFile & ~faDirectory, f) == 0;
    FindClose(f);
    return found;
}

// A DVD structure is its VIDEO_TS.IFO and every IFO with its backup; a folder of bare VOB files
// is no DVD folder, so it is taken as clips instead of failing late in the burn's file system.
bool TSetupDVDFileWindow::LoadDVDFolder(const String& Folder) {
    const String folder = IncludeTrailingPathDelimiter(Folder);
    auto ifos = std::make_unique<TStringList>();
    ListFiles(folder, "ifo", ifos.get());
    bool hasManager = false;
    for (int i = 0; i < ifos->Count(); ++i) {
        if (!HasBup(ifos->Strings(i))) return false;
        if (SameText(ExtractFileName(ifos->Strings(i)), "VIDEO_TS.IFO")) hasManager = true;
    }
    if (!hasManager) return false;

    ClearGrid();
    Int64 total = 0;
    int index = 0;
    const std::pair<const char*, const char*> kinds[] = {{"ifo", "0.000"}, {"bup", "0.000"}, {"vob", "0.00"}};
    auto files = std::make_unique<TStringList>();
    for (const auto& [extension, format] : kinds) {
        ListFiles(folder, extension, files.get());
        for (int i = 0; i < files->Count(); ++i) {
            const String& file = files->Strings(i);
            const Int64 kb = std::max<Int64>(Pubfunction::GetFileSizeKB(file), 0);
            total += kb;
            AddGridRow(file, UpperCase(extension), MegabytesText(kb, format), "-", index++);
        }
    }
    b_FolderMode = true;
    s_DVDFolder = folder;
    UpdateSizeBar(total);
    Pubfunction::ClearClipInfo();
    return true;
}

void TSetupDVDFileWindow::ListFiles(const String& Folder, const String& Extension, TStringList* List) {
    List->Clear();
    const String folder = IncludeTrailingPathDelimiter(Folder);
    TSearchRec f;
    for (int rc = FindFirst(folder + "*." + Extension, faAnyFile & ~faDirectory, f); rc == 0; rc = FindNext(f))
        if ((f.Attr & faDirectory) == 0) List->Add(folder + f.Name);
    FindClose(f);
}

// ---- VOB files -------------------------------------------------------------------------------------

void TSetupDVDFileWindow::suiImageButton_FileClick(TObject*) {
    if (b_Busy) return;
    OpenDialog->SetFileName("");
    OpenDialog->SetFilter("VOB File (*.vob,*.VOB)|*.vob");
    if (!OpenDialog->Execute()) return;
    SetCurrentDir(ExePath);
    Update();
    std::vector<String> files;
    for (int i = 0; i < OpenDialog->GetFiles()->Count(); ++i) files.push_back(OpenDialog->GetFiles()->Strings(i));
    if (files.empty() && !OpenDialog->GetFileName().empty()) files.push_back(OpenDialog->GetFileName());
    b_Busy = true;
    if (files.size() > 1) {
        ProgressWindow = new TProgressWindow(this);
        ProgressWindow->Start(static_cast<int>(files.size()), Language::kMsgAddingClips);
    }
    for (const String& file : files) {
        AddVobFile(file);
        if (ProgressWindow != nullptr) ProgressWindow->StepIt();
    }
    if (ProgressWindow != nullptr) {
        ProgressWindow->Close();
        TObject::FreeAndNil(ProgressWindow);
    }
    Update();
    CheckMixedStandards();
    b_Busy = false;
}

void TSetupDVDFileWindow::AddVobsFromFolder(const String& Folder) {
    auto files = std::make_unique<TStringList>();
    ListFiles(Folder, "vob", files.get());
    for (int i = 0; i < files->Count(); ++i) AddVobFile(files->Strings(i));
}

void TSetupDVDFileWindow::AddVobFile(const String& Path) {
    if (UpperCase(ExtractFileExt(Path)) != ".VOB") return;
    // A refused file leaves a loaded DVD folder listed and burned as it was.
    TClipInfo* clip = MakeVobClip(Path);
    if (clip == nullptr) return;
    b_FolderMode = false;
    ClipInfo.push_back(clip);
    RefreshVobList();
}

TClipInfo* TSetupDVDFileWindow::MakeVobClip(const String& Path) {
    std::unique_ptr<TClipInfo> clip(::MakeVobClip(Path, TVobPicture::None));
    Update();
    // Only program streams whose aspect code applies are taken.
    if (!clip || clip->i_InfoFlag != 0) return nullptr;
    clip->i_VobSizeKB = static_cast<int>(std::max<Int64>(Pubfunction::GetFileSizeKB(Path), 0));
    return clip.release();
}

void TSetupDVDFileWindow::RefreshVobList() {
    ClearGrid();
    Int64 total = 0;
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        const TClipInfo* clip = ClipInfo[i];
        total += clip->i_VobSizeKB;
        AddGridRow(clip->s_VobFile, IsNtscClip(clip) ? "NTSC VOB" : "PAL VOB", MegabytesText(clip->i_VobSizeKB, "0.00"),
                   IntToStr(clip->i_Duration), static_cast<int>(i));
    }
    UpdateSizeBar(total);
}

// ---- grid ------------------------------------------------------------------------------------------

void TSetupDVDFileWindow::ClearGrid() {
    TsuiStringGrid* grid = suiStringGrid_DVDFiles;
    for (int r = 1; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < 4; ++c) grid->SetCells(c, r, "");
    grid->SetRowCount(kGridRows);
    ShowChosenRow(false);
}

void TSetupDVDFileWindow::AddGridRow(const String& File, const String& Format, const String& Size,
                                     const String& Duration, int Index) {
    TsuiStringGrid* grid = suiStringGrid_DVDFiles;
    if (Index + 1 > kGridRows - 1) grid->SetRowCount(Index + 2);
    grid->SetCells(0, Index + 1, File);
    grid->SetCells(1, Index + 1, Format);
    grid->SetCells(2, Index + 1, Size);
    grid->SetCells(3, Index + 1, Duration);
    ShowChosenRow(true);
}

// ---- size bar and disc type ------------------------------------------------------------------------

void TSetupDVDFileWindow::UpdateSizeBar(Int64 KB) {
    i_UsedKB = std::max<Int64>(KB, 0);
    const Int64 capacity = i_DiscCapacityKB[i_DVDType == 1 ? 1 : 0];
    Image_DiscSizeProgress->SetWidth(DiscSize::BarWidth(i_UsedKB, capacity, DiscSize::BurnSourceBarWidth));
}

void TSetupDVDFileWindow::SetDVD5() {
    suiImageButton_DVD5->SetVisible(true);
    suiImageButton_DVD9->SetVisible(false);
    Image8500->SetVisible(false);
    i_DVDType = 0;
    UpdateSizeBar(i_UsedKB);
}

void TSetupDVDFileWindow::SetDVD9() {
    suiImageButton_DVD5->SetVisible(false);
    suiImageButton_DVD9->SetVisible(true);
    Image8500->SetVisible(true);
    i_DVDType = 1;
    UpdateSizeBar(i_UsedKB);
}

// The visible button names the current type; a click switches to the other.
void TSetupDVDFileWindow::suiImageButton_DVD5Click(TObject*) { SetDVD9(); }
void TSetupDVDFileWindow::suiImageButton_DVD9Click(TObject*) { SetDVD5(); }

// ---- NTSC and PAL ----------------------------------------------------------------------------------

void TSetupDVDFileWindow::CheckMixedStandards() {
    if (!b_FolderMode) ::CheckMixedStandards(ClipInfo);
}

// ---- hand-over -------------------------------------------------------------------------------------

void TSetupDVDFileWindow::suiImageButton_BurnClick(TObject*) {
    if (b_FolderMode) {
        if (BurnWindow == nullptr) return;
        BurnWindow->SetBurnSource(true, s_DVDFolder, 0);
        BurnWindow->ShowModal();
        return;
    }
    if (!ClipInfo.empty() && CompilerWindow != nullptr) CompilerWindow->i_Aspect = CompilerAspectOfCode(ClipInfo[0]->i_AspectCode);
    const String mixed = ::MixedStandardsText(ClipInfo);
    if (!mixed.empty()) {
        MessageDlg(mixed, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    if (CompilerWindow == nullptr) return;
    CompilerWindow->b_TitleMenu = false;
    CompilerWindow->b_RootMenu = false;
    CompilerWindow->SetCompileMode();
    CompilerWindow->ShowModal();
}

// ---- popup -----------------------------------------------------------------------------------------

void TSetupDVDFileWindow::suiStringGrid_DVDFilesMouseUp(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    int col = -1;
    int row = -1;
    suiStringGrid_DVDFiles->MouseToCell(X, Y, col, row);
    i_ClickedRow = row;
    if (Button != mbRight) return;
    if (!BuildPopup()) return;
    if (i_ClickedRow >= 1 && i_ClickedRow < suiStringGrid_DVDFiles->GetRowCount()) suiStringGrid_DVDFiles->SetRow(i_ClickedRow);
    const TPoint p = Mouse->GetCursorPos();
    FilePopupMenu->Popup(p.x, p.y);
}

bool TSetupDVDFileWindow::BuildPopup() {
    if (FilePopupMenu == nullptr) FilePopupMenu = new TPopupMenu(this);
    FilePopupMenu->GetItems()->Clear();
    const std::pair<const char*, int> items[] = {{"Remove", Language::kMsgRemoveSelect},
                                                 {"Clear", Language::kMsgClear}};
    for (const auto& [name, message] : items) {
        auto* item = new TMenuItem(FilePopupMenu);
        item->SetName(name);
        item->SetCaption(Language::GetMessageText(message));
        item->OnClick = [this](TObject* s) { PopupClick(s); };
        FilePopupMenu->GetItems()->Add(item);
    }
    const bool onClip = !b_FolderMode && i_ClickedRow >= 1 && i_ClickedRow <= static_cast<int>(ClipInfo.size());
    FilePopupMenu->GetItems()->Items(0)->SetVisible(onClip);
    return true;
}

void TSetupDVDFileWindow::PopupClick(TObject* Item) {
    auto* item = dynamic_cast<TMenuItem*>(Item);
    if (item == nullptr) return;
    if (item->GetName() == "Remove") {
        // The list may have changed since the popup was built.
        if (i_ClickedRow >= 1 && i_ClickedRow <= static_cast<int>(ClipInfo.size()))
            RemoveClipFromList(ClipInfo, ClipInfo[i_ClickedRow - 1], true);
    } else if (item->GetName() == "Clear") {
        Pubfunction::ClearClipInfo();
    }
    b_FolderMode = false;
    RefreshVobList();
}

void TSetupDVDFileWindow::suiImageButton_CloseClick(TObject*) {
    Pubfunction::ClearClipInfo();
    Close();
}
