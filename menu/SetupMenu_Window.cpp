#include "menu/SetupMenu_Window.h"

#include <algorithm>
#include <optional>
#include <span>

#include "app/FormBuilder.h"
#include "app/Option_Window.h"
#include "app/Progress_Window.h"
#include "app/ResPictures.h"
#include "app/SetupClip_Window.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupText_Window.h"
#include "model/CustomClass.h"
#include "model/DiscSize.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"

TSetupMenuWindow* SetupMenuWindow = nullptr;

using MenuLayout::TMenuAspect;

namespace {

constexpr int kWidth = 873;
constexpr int kHeight = 796;
constexpr int kTitleButtons = 12;
constexpr int kRebuildDelayMs = 200;
constexpr int kProgressMessage = Language::kMsgCreatingMenuImage;
constexpr int kLabelMessage = Language::kMsgDoubleClickToEdit;
constexpr int kMusicMessage = Language::kMsgBackgroundMusic;
constexpr int kNoMusicMessage = Language::kMsgNoBackgroundMusic;
constexpr int kFirstTwelveMessage = Language::kMsgFirstTwelveOnTitleMenu;
constexpr int kUnreadableBackgroundMessage = Language::kMsgUnreadableBackground;

String BaseName(const String& Path) {
    const auto slash = Path.find_last_of("/\\");
    return slash == String::npos ? Path : Path.substr(slash + 1);
}

// The views and menus of the clips in ClipInfo. A pointer none of them holds is only compared,
// never followed: its clip may be gone.
bool ProjectHoldsTile(const TMenuImage* Tile) {
    return std::any_of(ClipInfo.begin(), ClipInfo.end(), [Tile](TClipInfo* c) { return c->MenuTile == Tile; });
}

bool ProjectHoldsTitleButton(const TButtonImage* Button) {
    return std::any_of(ClipInfo.begin(), ClipInfo.end(), [Button](TClipInfo* c) { return c->TitleButton == Button; });
}

bool ProjectHoldsChapterButton(const TSubButtonImage* Button) {
    return std::any_of(ClipInfo.begin(), ClipInfo.end(), [Button](TClipInfo* c) {
        return c->ChapterMenu != nullptr &&
               std::find(c->ChapterMenu->Buttons.begin(), c->ChapterMenu->Buttons.end(), Button) != c->ChapterMenu->Buttons.end();
    });
}

bool ProjectHoldsLabel(const TLabel* Label) {
    if (std::find(TitleMenuLabel.begin(), TitleMenuLabel.end(), Label) != TitleMenuLabel.end()) return true;
    return std::any_of(ClipInfo.begin(), ClipInfo.end(), [Label](TClipInfo* c) {
        return c->ChapterMenu != nullptr &&
               std::find(c->ChapterMenu->Labels.begin(), c->ChapterMenu->Labels.end(), Label) != c->ChapterMenu->Labels.end();
    });
}

bool ProjectHoldsBackCell(const int* Cell) {
    return std::any_of(ClipInfo.begin(), ClipInfo.end(), [Cell](TClipInfo* c) {
        return c->ChapterMenu != nullptr && (&c->ChapterMenu->i_BackX == Cell || &c->ChapterMenu->i_BackY == Cell);
    });
}

}  // namespace

std::vector<String> ReadBackgroundNames(const String& IniFile) {
    std::vector<String> names;
    if (!FileExists(IniFile)) return names;
    TIniFile ini(IniFile);
    const int count = ini.ReadInteger("Background", "Count", 0);
    if (count <= 0) return names;
    // Only the keys present are read: a Count far beyond them must not loop over empty keys.
    auto keys = std::make_unique<TStringList>();
    ini.ReadSection("Background", keys.get());
    for (int i = 0; i < count && i < keys->Count(); ++i) {
        const String name = ini.ReadString("Background", "Image" + IntToStr(i), "");
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

TSetupMenuWindow::TSetupMenuWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupMenuWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    m_grabber = std::make_unique<TFrameGrabberClient>();
    CreateSkin();
    CreateControls();
    CreateDialogAndTimer();
    InstallHandlers();
    StartBackImage();
    ShowFirstBackground();
    ShowStartDisc();
    ShowMusicLabel(s_BackgroundMusicFile);
}

TSetupMenuWindow::~TSetupMenuWindow() {
    if (SetupMenuWindow == this) SetupMenuWindow = nullptr;
    // The grabber's last wait pumps messages: it ends while every control still stands.
    m_grabber.reset();
    // Tiles, buttons and labels belong to the clips and the title menu: none may outlive the
    // panels that show them.
    for (TClipInfo* clip : ClipInfo) {
        if (clip->MenuTile != nullptr) clip->MenuTile->SetParent(nullptr);
        if (clip->TitleButton != nullptr) clip->TitleButton->SetParent(nullptr);
        if (clip->ChapterMenu == nullptr) continue;
        HideChapterMenu(clip->ChapterMenu);
        for (TLabel* label : clip->ChapterMenu->Labels) label->SetParent(nullptr);
    }
    for (TLabel* label : TitleMenuLabel) label->SetParent(nullptr);
    BackgroundList.clear();
}

// ---- construction ------------------------------------------------------------------------------

void TSetupMenuWindow::CreateSkin() {
    suiSkinForm1 = NewSkinForm(this);
    ShowResSkin(suiSkinForm1, "menu_skin.bmp");
}

// Buttons that share a place (add and remove music, up and sub menu, 4:3 and 16:9, DVD-5 and
// DVD-9) take turns: one of each pair shows at a time.
void TSetupMenuWindow::CreateControls() {
    using W = TSetupMenuWindow;
    static constexpr TControlRow kRows[] = {
        // The preview's top follows the aspect: PlacePreview sets it.
        Place<&W::Panel_MenuPreview>("Panel_MenuPreview", 260, 0, MenuLayout::PreviewWidth, MenuLayout::PreviewHeight4x3),
        Place<&W::Image_Background>("Image_Background", 0, 0, 0, 0, "", "Panel_MenuPreview"),
        Place<&W::PaintBox_Safe>("PaintBox_Safe", 0, 0, 0, 0, "", "Panel_MenuPreview"),
        Place<&W::suiImagePanel_ClipInfo>("suiImagePanel_ClipInfo", 219, 534, 604, 106),
        Place<&W::suiImageButton_InfoBar>("suiImageButton_InfoBar", 0, 0, 54, 14, "menu_infobar", "suiImagePanel_ClipInfo"),
        Place<&W::suiImagePanel_InfoMove>("suiImagePanel_InfoMove", 0, 14, 604, 92, "", "suiImagePanel_ClipInfo"),
        Place<&W::Panel_Material>("Panel_Material", 9, 79, 178, 392),
        Place<&W::suiImageButton_MaterialBar>("suiImageButton_MaterialBar", 0, 0, 15, 54, "menu_materialbar", "Panel_Material"),
        Place<&W::suiImagePanel_MaterialMove>("suiImagePanel_MaterialMove", 26, 0, 152, 392, "", "Panel_Material"),
        Place<&W::suiImageButton_TitleMenu>("suiImageButton_TitleMenu", 311, 491, 88, 26, "menu_title"),
        Place<&W::suiImageButton_ChapterMenu>("suiImageButton_ChapterMenu", 404, 491, 88, 26, "menu_chapter"),
        Place<&W::suiImageButton_Text>("suiImageButton_Text", 514, 484, 64, 40, "menu_text"),
        Place<&W::suiImageButton_AddMusic>("suiImageButton_AddMusic", 584, 484, 64, 40, "menu_addmusic"),
        Place<&W::suiImageButton_RemoveMusic>("suiImageButton_RemoveMusic", 584, 484, 64, 40, "menu_removemusic"),
        Place<&W::suiImageButton_Up>("suiImageButton_Up", 654, 484, 64, 40, "menu_up"),
        Place<&W::suiImageButton_DisplaySubMenu>("suiImageButton_DisplaySubMenu", 654, 484, 64, 40, "menu_submenu"),
        Place<&W::suiImageButton_DeleteChapter>("suiImageButton_DeleteChapter", 724, 484, 64, 40, "menu_delete"),
        Place<&W::suiImageButton_AddImage>("suiImageButton_AddImage", 53, 482, 88, 26, "menu_addimage"),
        Place<&W::Label_BackgroundMusic>("Label_BackgroundMusic", 13, 537, 200, 14),
        Place<&W::Label1>("Label1", 13, 565, 110, 14, "DVD Image Ratio :"),
        Place<&W::suiImageButton_4_3>("suiImageButton_4_3", 130, 561, 50, 22, "menu_4_3"),
        Place<&W::suiImageButton_16_9>("suiImageButton_16_9", 130, 561, 50, 22, "menu_16_9"),
        Place<&W::suiCheckBox_AddDVDMenu>("suiCheckBox_AddDVDMenu", 13, 594, 190, 17, " Auto Add DVD Root Menu"),
        Place<&W::suiImageButton_DVD5>("suiImageButton_DVD5", 12, 653, 100, 30, "menu_dvd5"),
        Place<&W::suiImageButton_DVD9>("suiImageButton_DVD9", 12, 653, 100, 30, "menu_dvd9"),
        Place<&W::Image_DiscSizeProgress>("Image_DiscSizeProgress", 125, 662, 648, 10, "menu_discbar.bmp"),
        Place<&W::Image8500>("Image8500", 762, 685, 60, 12, "menu_8500.bmp"),
        Place<&W::suiImageButton_AddFile>("suiImageButton_AddFile", 31, 698, 64, 40, "menu_addfile"),
        Place<&W::suiImageButton_RemoveFile>("suiImageButton_RemoveFile", 99, 698, 64, 40, "menu_removefile"),
        Place<&W::suiImageButton_Left>("suiImageButton_Left", 167, 698, 64, 40, "menu_left"),
        Place<&W::suiImageButton_Right>("suiImageButton_Right", 235, 698, 64, 40, "menu_right"),
        Place<&W::suiImageButton_Option>("suiImageButton_Option", 303, 698, 64, 40, "menu_option"),
        Place<&W::suiImageButton_Clip>("suiImageButton_Clip", 489, 698, 64, 40, "menu_clip"),
        Place<&W::suiImageButton_Burn>("suiImageButton_Burn", 557, 698, 64, 40, "menu_next"),
        Place<&W::suiImageButton_Close>("suiImageButton_Close", 813, 1, 50, 20, "menu_close"),
        // The root menu's button block, dragged about the preview: over its background and safe frame.
        Place<&W::BackImage>("BackImage", 0, 0, 0, 0, "BackBmp.bmp", "Panel_MenuPreview"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder, TButtonCursor::kHand);
    PlacePreview();
    ShowTabs();
    Image_DiscSizeProgress->SetStretch(true);
    suiCheckBox_AddDVDMenu->SetChecked(true);
}

void TSetupMenuWindow::PlacePreview() {
    Panel_MenuPreview->SetTop(MenuLayout::PreviewTop(TMenuAspect::Standard4x3));
    Panel_MenuPreview->SetColor(clBlack);
    Panel_MenuPreview->SetBevelOuter(bvLowered);
    Image_Background->SetAlign(alClient);
    Image_Background->SetStretch(true);
    Image_Background->SetCenter(true);
    PaintBox_Safe->SetAlign(alClient);
    BackImage->SetAutoSize(true);
    BackImage->SetTransparent(true);
    BackImage->SetCursor(crHandPoint);
}

void TSetupMenuWindow::ShowTabs() {
    suiImageButton_TitleMenu->SetHint("Title Menu");
    suiImageButton_ChapterMenu->SetHint("Chapter Menu");
    ShowTabWords();
}

void TSetupMenuWindow::CreateDialogAndTimer() {
    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    Timer_CreateMenu = new TTimer(this);
    Timer_CreateMenu->SetName("Timer_CreateMenu");
    Timer_CreateMenu->SetEnabled(false);
    Timer_CreateMenu->SetInterval(kRebuildDelayMs);
}

void TSetupMenuWindow::InstallHandlers() {
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = b_CanClose; };
    OnClose = [this](TObject*, TCloseAction&) { UnloadFrameLibrary(); };
    m_grabber->OnTimeOut = [this] { m_grabberTimedOut = true; };
    Timer_CreateMenu->OnTimer = [this](TObject* s) { Timer_CreateMenuTimer(s); };
    PaintBox_Safe->OnPaint = [this](TObject* s) { PaintSafeFrame(s); };
    PaintBox_Safe->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) { PreviewMouseUp(b, x, y); };
    WireDrag(BackImage);
    WireThumb(suiImageButton_InfoBar, true);
    WireThumb(suiImageButton_MaterialBar, false);
    suiImageButton_TitleMenu->OnClick = [this](TObject*) { TitleMenuTabClick(); };
    suiImageButton_ChapterMenu->OnClick = [this](TObject*) { ChapterMenuTabClick(); };
    suiImageButton_Text->OnClick = [this](TObject*) { AddTextLabel(0, 0); };
    suiImageButton_AddMusic->OnClick = [this](TObject*) { AddMusicClick(); };
    suiImageButton_RemoveMusic->OnClick = [this](TObject*) { RemoveMusicClick(); };
    suiImageButton_Up->OnClick = [this](TObject*) {
        if (!b_Busy) AddSelectedClipToTitleMenu();
    };
    suiImageButton_DisplaySubMenu->OnClick = [this](TObject*) { DisplaySubMenu(); };
    suiImageButton_DeleteChapter->OnClick = [this](TObject*) { DeleteChapter(); };
    suiImageButton_AddImage->OnClick = [this](TObject*) { AddImageClick(); };
    suiImageButton_4_3->OnClick = [this](TObject*) {
        if (!b_Busy) SetAspect16x9();
    };
    suiImageButton_16_9->OnClick = [this](TObject*) {
        if (!b_Busy) SetAspect4x3();
    };
    suiCheckBox_AddDVDMenu->OnClick = [this](TObject*) { AddDVDMenuClick(); };
    suiImageButton_DVD5->OnClick = [this](TObject*) { SelectDVD9(); };
    suiImageButton_DVD9->OnClick = [this](TObject*) { SelectDVD5(); };
    suiImageButton_AddFile->OnClick = [this](TObject*) { AddFiles(); };
    suiImageButton_RemoveFile->OnClick = [this](TObject*) { RemoveSelectedClip(); };
    suiImageButton_Left->OnClick = [this](TObject*) { MoveSelectedClip(-1); };
    suiImageButton_Right->OnClick = [this](TObject*) { MoveSelectedClip(1); };
    suiImageButton_Option->OnClick = [this](TObject*) { OptionClick(); };
    suiImageButton_Clip->OnClick = [this](TObject*) { ClipBack(); };
    suiImageButton_Burn->OnClick = [this](TObject*) { Next(); };
    suiImageButton_Close->OnClick = [this](TObject*) { CloseDiscardingProject(); };
}

// The root menu's buttons start below the preview, out of sight until they are dragged up.
void TSetupMenuWindow::StartBackImage() {
    TitleMenu.i_BackHeight = BackImage->GetHeight();
    TitleMenu.i_BackWidth = BackImage->GetWidth();
    TitleMenu.i_TitleBackX = 0;
    TitleMenu.i_TitleBackY = 1000;
    BackXCell = &TitleMenu.i_TitleBackX;
    BackYCell = &TitleMenu.i_TitleBackY;
    PlaceBackImage(suiCheckBox_AddDVDMenu->GetChecked());
}

void TSetupMenuWindow::ShowFirstBackground() {
    LoadBackgroundList();
    if (BackgroundList.empty()) return;
    s_BackgroundSrcFile = BackgroundList.front()->FileName;
    ShowBackground(s_BackgroundSrcFile);
}

void TSetupMenuWindow::ShowStartDisc() {
    i_DVD5Capacity = i_DVD5Size;
    i_DVD9Capacity = i_DVD9Size;
    // One of each toggle pair shows: DVD-5 and 4:3 until a flow says otherwise.
    suiImageButton_DVD9->SetVisible(false);
    Image8500->SetVisible(false);
    suiImageButton_16_9->SetVisible(false);
    i_DVDType = 0;
    SetDiscSizeBar(0);
}

// ---- the designer's own buttons ----------------------------------------------------------------

void TSetupMenuWindow::TitleMenuTabClick() {
    if (b_Busy) return;
    if (TClipInfo* clip = SelectedClip(); clip != nullptr && clip->ChapterMenu != nullptr)
        HideChapterMenu(clip->ChapterMenu);
    ShowTitleMenu();
}

void TSetupMenuWindow::ChapterMenuTabClick() {
    TClipInfo* clip = SelectedClip();
    if (b_Busy || clip == nullptr || clip->ChapterMenu == nullptr) return;
    HideTitleMenu();
    ShowChapterMenu(clip->ChapterMenu);
}

void TSetupMenuWindow::PreviewMouseUp(TMouseButton Button, int X, int Y) {
    if (Button != mbRight) return;
    PreviewPopupPoint = TPoint{X, Y};
    OpenPopup(pkPreview);
}

void TSetupMenuWindow::AddDVDMenuClick() {
    TitleMenu.b_RootMenuWanted = suiCheckBox_AddDVDMenu->GetChecked();
    if (b_TitleView) PlaceBackImage(suiCheckBox_AddDVDMenu->GetChecked());
}

void TSetupMenuWindow::OptionClick() {
    if (ProgressWindow != nullptr || b_AddingFiles || b_Busy || OptionWindow == nullptr) return;
    OptionWindow->ShowModal();
    if (!OptionWindow->b_OkPressed) return;
    PaintBox_Safe->Invalidate();
    if (b_DVD5) SelectDVD5(); else SelectDVD9();
    if (b_4_3) SetAspect4x3(); else SetAspect16x9();
}

std::optional<String> TSetupMenuWindow::PickFile(const String& Filter) {
    OpenDialog->SetFilter(Filter);
    OpenDialog->SetFileName("");
    OpenDialog->SetOptions(TOpenOptions{});
    if (!OpenDialog->Execute()) return std::nullopt;
    SetCurrentDir(ExePath);
    return OpenDialog->GetFileName();
}

void TSetupMenuWindow::AddImageClick() {
    const auto file = PickFile("Image File|*.jpg;*.bmp|Bitmap File (*.bmp,*.BMP)|*.bmp|Jpeg File (*.jpg,*.JPG)|*.jpg");
    if (file) SetMenuBackground(*file);
}

void TSetupMenuWindow::AddMusicClick() {
    const auto file = PickFile(OpenDialogMusicFilter);
    if (file) SetMenuMusic(*file);
}

void TSetupMenuWindow::RemoveMusicClick() {
    if (MessageDlg(Language::GetMessageText(Language::kMsgRemoveMusicQuestion), mtConfirmation, mbYesNo) == mrYes)
        SetMenuMusic("");
}

void TSetupMenuWindow::WireThumb(TsuiImageButton* Thumb, bool Horizontal) {
    Thumb->OnMouseDown = [this, Horizontal](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button != mbLeft) return;
        m_thumbDragging = true;
        m_thumbGrab = Horizontal ? X : Y;
    };
    Thumb->OnMouseMove = [this, Thumb, Horizontal](TObject*, TShiftState Shift, int X, int Y) {
        if (!m_thumbDragging || !Shift.Contains(ssLeft)) return;
        if (Horizontal) {
            Thumb->SetLeft(MenuLayout::ClampStripThumb(Thumb->GetLeft() + X - m_thumbGrab));
            ScrollStrip();
        } else {
            Thumb->SetTop(MenuLayout::ClampBackgroundThumb(Thumb->GetTop() + Y - m_thumbGrab));
            ScrollBackgroundList();
        }
    };
    Thumb->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button == mbLeft) m_thumbDragging = false;
    };
}

void TSetupMenuWindow::WireDrag(TControl* Control) {
    Control->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ButtonMouseDown(s, b, sh, x, y); };
    Control->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { ButtonMouseMove(s, sh, x, y); };
    Control->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ButtonMouseUp(s, b, sh, x, y); };
}

// ---- called by other windows --------------------------------------------------------------------

void TSetupMenuWindow::CreateClipItem(TClipInfo* Clip) {
    if (Clip == nullptr) return;
    if (Clip->MenuTile == nullptr) Clip->RefreshMenuImage();
    if (Clip->MenuTile == nullptr) return;
    if (Clip->MenuTile->GetParent() == suiImagePanel_InfoMove) return;
    Clip->MenuTile->SetParent(suiImagePanel_InfoMove);
    Clip->MenuTile->SetTop(8);
    Clip->MenuTile->SetLeft(-100);
    Clip->MenuTile->OnMouseUp = [this](TObject* s, TMouseButton Button, TShiftState, int, int) {
        SelectClipItem(static_cast<TMenuImage*>(s));
        if (Button == mbRight) OpenPopup(pkClip);
    };
}

void TSetupMenuWindow::ArrangeClipItems() {
    int index = 0;
    for (TClipInfo* clip : ClipInfo) {
        // A clip without a picture has no tile but keeps its place in the order.
        if (clip->MenuTile != nullptr && clip->MenuTile->GetLeft() != index * MenuLayout::TileStep)
            clip->MenuTile->SetLeft(index * MenuLayout::TileStep);
        ++index;
    }
    suiImagePanel_InfoMove->SetWidth(std::max<int>(1, static_cast<int>(ClipInfo.size()) * MenuLayout::TileStep));
    ScrollStrip();
}

void TSetupMenuWindow::ScrollStrip() {
    const int left = MenuLayout::StripLeft(suiImageButton_InfoBar->GetLeft(), static_cast<int>(ClipInfo.size()));
    if (suiImagePanel_InfoMove->GetLeft() != left) suiImagePanel_InfoMove->SetLeft(left);
}

void TSetupMenuWindow::SetupForBuilder() {
    if (ClipInfo.empty()) TitleMenu.ResetBackButton();
    UpdateChapterCommands(nullptr);
    b_BuilderFlow = true;
    for (auto* b : {suiImageButton_4_3, suiImageButton_16_9, suiImageButton_DVD5, suiImageButton_DVD9}) b->SetEnabled(false);
    for (auto* b : {suiImageButton_AddFile, suiImageButton_RemoveFile, suiImageButton_Option, suiImageButton_Left,
                    suiImageButton_Right})
        b->SetVisible(false);
    suiImageButton_Clip->SetVisible(true);
}

void TSetupMenuWindow::SetupForCompiler() {
    if (ClipInfo.empty()) TitleMenu.ResetBackButton();
    UpdateChapterCommands(nullptr);
    if (b_DVD5) SelectDVD5(); else SelectDVD9();
    if (b_4_3) SetAspect4x3(); else SetAspect16x9();
    b_BuilderFlow = false;
    for (auto* b : {suiImageButton_4_3, suiImageButton_16_9, suiImageButton_DVD5, suiImageButton_DVD9}) b->SetEnabled(true);
    for (auto* b : {suiImageButton_AddFile, suiImageButton_RemoveFile, suiImageButton_Option, suiImageButton_Left,
                    suiImageButton_Right})
        b->SetVisible(true);
    suiImageButton_Clip->SetVisible(false);
}

void TSetupMenuWindow::SelectDVD5() {
    suiImageButton_DVD5->SetVisible(true);
    suiImageButton_DVD9->SetVisible(false);
    Image8500->SetVisible(false);
    i_DVDType = 0;
    UpdateDiscSize();
}

void TSetupMenuWindow::SelectDVD9() {
    suiImageButton_DVD9->SetVisible(true);
    suiImageButton_DVD5->SetVisible(false);
    Image8500->SetVisible(true);
    i_DVDType = 1;
    UpdateDiscSize();
}

int TSetupMenuWindow::DiscCapacity() const { return i_DVDType == 1 ? i_DVD9Capacity : i_DVD5Capacity; }

bool TSetupMenuWindow::UpdateDiscSize() {
    const Int64 kb = DiscSize::EstimateKB(i_DiscSizePerMin, DiscSize::TrimmedSeconds(ClipInfo));
    SetDiscSizeBar(kb);
    return DiscSize::FitsOnDisc(kb, DiscCapacity());
}

void TSetupMenuWindow::SetDiscSizeBar(Int64 KB) {
    const int width = DiscSize::BarWidth(KB, DiscCapacity(), DiscSize::DesignerBarWidth);
    Image_DiscSizeProgress->SetVisible(width > 0);
    Image_DiscSizeProgress->SetWidth(std::max(width, 1));
}

void TSetupMenuWindow::SetAspect4x3() {
    suiImageButton_4_3->SetVisible(true);
    suiImageButton_16_9->SetVisible(false);
    SetAspect(TMenuAspect::Standard4x3);
}

void TSetupMenuWindow::SetAspect16x9() {
    suiImageButton_16_9->SetVisible(true);
    suiImageButton_4_3->SetVisible(false);
    SetAspect(TMenuAspect::Wide16x9);
}

void TSetupMenuWindow::SetAspect(TMenuAspect To) {
    const TMenuAspect from = TitleMenu.Aspect();
    const int d = i_CreateMenuSafeDistance;
    TitleMenu.SetAspect(To, d);
    WriteAspect();
    for (TClipInfo* clip : ClipInfo)
        if (clip->ChapterMenu != nullptr)
            ShiftChapterBack(*clip->ChapterMenu, from, To, TitleMenu.i_BackWidth, TitleMenu.i_BackHeight, d);
    Panel_MenuPreview->SetTop(MenuLayout::PreviewTop(To));
    Panel_MenuPreview->SetHeight(MenuLayout::PreviewHeight(To));
    ClampAllToPreview();
    PlaceBackImage(BackImage->GetVisible());
}

void TSetupMenuWindow::ClampAllToPreview() {
    const int d = i_CreateMenuSafeDistance;
    const int h = PreviewHeight();
    auto clamp = [&](TControl* c) {
        const TPoint p = MenuLayout::ClampPlacement(c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight(), h, d);
        c->SetBounds(p.x, p.y, c->GetWidth(), c->GetHeight());
    };
    for (TClipInfo* clip : ClipInfo) {
        if (clip->TitleButton != nullptr) clamp(clip->TitleButton);
        if (clip->ChapterMenu == nullptr) continue;
        for (TSubButtonImage* b : clip->ChapterMenu->Buttons) clamp(b);
        for (TLabel* l : clip->ChapterMenu->Labels) clamp(l);
    }
    for (TLabel* l : TitleMenuLabel) clamp(l);
}

void TSetupMenuWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowTabWords();
}

// The two menu tabs are named by their hints, which the language file gives.
void TSetupMenuWindow::ShowTabWords() {
    Language::ShowHintsAsCaptions({suiImageButton_TitleMenu, suiImageButton_ChapterMenu});
}

// ---- showing and rebuilding ---------------------------------------------------------------------

void TSetupMenuWindow::FormShow(TObject*) {
    DropStaleSelections();
    b_Busy = false;
    b_CanClose = false;
    b_AddingFiles = false;
    Timer_CreateMenu->SetEnabled(true);
}

void TSetupMenuWindow::Timer_CreateMenuTimer(TObject*) {
    Timer_CreateMenu->SetEnabled(false);
    b_Busy = true;
    DropStaleSelections();
    for (TClipInfo* clip : ClipInfo) {
        if (clip->ChapterMenu == nullptr) continue;
        if (clip->ChapterMenu->Buttons.empty() || clip->ChapterMenu->Buttons.front()->GetParent() == nullptr) continue;
        HideChapterMenu(clip->ChapterMenu);
        break;
    }
    RebuildMenus();
    ShowTitleMenu();
    DropStaleSelections();
    if (SelectedChapterButton != nullptr) SelectedChapterButton->SetSelected(false);
    SelectedChapterButton = nullptr;
    if (SelectedClipItem == nullptr)
        if (TMenuImage* tile = EditorSelectionTile()) SelectClipItem(tile);
    if (SelectedClipItem != nullptr) UpdateChapterCommands(SelectedClipItem->Clip);
    b_Busy = false;
}

void TSetupMenuWindow::DropStaleSelections() {
    if (!ProjectHoldsTile(SelectedClipItem)) SelectedClipItem = nullptr;
    if (!ProjectHoldsTitleButton(SelectedTitleButton)) SelectedTitleButton = nullptr;
    if (!ProjectHoldsChapterButton(SelectedChapterButton)) SelectedChapterButton = nullptr;
    if (!ProjectHoldsLabel(PopupLabel)) PopupLabel = nullptr;
    DropStaleBackCells();
}

void TSetupMenuWindow::DropStaleBackCells() {
    if (BackXCell == nullptr || BackXCell == &TitleMenu.i_TitleBackX || ProjectHoldsBackCell(BackXCell)) return;
    BackXCell = &TitleMenu.i_TitleBackX;
    BackYCell = &TitleMenu.i_TitleBackY;
}

TMenuImage* TSetupMenuWindow::EditorSelectionTile() const {
    if (SetupClipWindow == nullptr || SetupClipWindow->GetSelectedRow() == nullptr) return nullptr;
    for (TClipInfo* clip : ClipInfo)
        if (clip->ListRow == SetupClipWindow->GetSelectedRow()) return clip->MenuTile;
    return nullptr;
}

void TSetupMenuWindow::RebuildMenus() {
    TBusyGuard busy(b_Busy);
    m_grabberTimedOut = false;
    const bool progress = OpenProgress(2 * static_cast<int>(ClipInfo.size()), kProgressMessage);
    const auto step = [progress] {
        if (progress) ProgressWindow->StepIt();
    };
    bool changed = false;
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        TClipInfo* clip = ClipInfo[i];
        if (i < kTitleButtons) {
            if (clip->TitleButton == nullptr) {
                CreateTitleButton(clip, false);
                changed = changed || clip->TitleButton != nullptr;
            }
        } else if (clip->TitleButton != nullptr) {
            RemoveTitleButton(clip);
            changed = true;
        }
        step();
    }
    if (changed) ArrangeTitleButtons();
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        TClipInfo* clip = ClipInfo[i];
        TSubChapter* menu = clip->ChapterMenu;
        bool drop = menu != nullptr && (i >= kTitleButtons || clip->TitleButton == nullptr);
        if (menu != nullptr && !drop)
            for (TSubButtonImage* b : menu->Buttons)
                drop = drop || b->i_ChapterTime < clip->i_TrimStart || b->i_ChapterTime >= clip->i_TrimEnd;
        if (drop) DropChapterMenu(clip);
        // A clip whose menu cannot be made (no library, no file) goes on without one.
        if (i < kTitleButtons && clip->ChapterMenu == nullptr && !m_grabberTimedOut) MakeAutomaticChapterMenu(clip);
        step();
    }
    if (progress) CloseProgress();
}

bool TSetupMenuWindow::OpenProgress(int Max, int Message) {
    if (ProgressWindow != nullptr) return false;
    ProgressWindow = new TProgressWindow(nullptr);
    ProgressWindow->Start(Max, Message);
    return true;
}

void TSetupMenuWindow::CloseProgress() {
    if (ProgressWindow == nullptr) return;
    ProgressWindow->Close();
    delete ProgressWindow;
    ProgressWindow = nullptr;
}

void TSetupMenuWindow::CreateTitleButton(TClipInfo* Clip, bool Reset) {
    if (Clip == nullptr) return;
    if (Clip->TitleButton == nullptr) {
        Clip->RefreshTitleButton();
        if (Clip->TitleButton == nullptr) return;
        Clip->TitleButton->SetPicture(Clip->Picture, 104, 78);
        // A new button stands in the top-left corner of the safe frame, never outside it.
        const TPoint p = MenuLayout::ClampPlacement(1, 1, Clip->TitleButton->GetWidth(), Clip->TitleButton->GetHeight(),
                                                    PreviewHeight(), i_CreateMenuSafeDistance);
        Clip->TitleButton->SetLeft(p.x);
        Clip->TitleButton->SetTop(p.y);
        WireDrag(Clip->TitleButton);
        // A double click picks the button's picture, as the popup's "Image" does.
        Clip->TitleButton->OnDblClick = [this](TObject*) { PopupItemClick(pkTitleButton, "Image"); };
    } else if (Reset) {
        Clip->TitleButton->SetPicture(Clip->Picture, 104, 78);
    }
}

void TSetupMenuWindow::DropChapterMenu(TClipInfo* Clip) {
    TSubChapter* menu = Clip != nullptr ? Clip->ChapterMenu : nullptr;
    if (menu == nullptr) return;
    if (SelectedChapterButton != nullptr && SelectedChapterButton->SubChapter == menu) SelectedChapterButton = nullptr;
    // The back image's cells must never point into a deleted menu.
    if (BackXCell == &menu->i_BackX) {
        BackXCell = &TitleMenu.i_TitleBackX;
        BackYCell = &TitleMenu.i_TitleBackY;
    }
    HideChapterMenu(menu);
    delete menu;
    Clip->ChapterMenu = nullptr;
}

void TSetupMenuWindow::RemoveTitleButton(TClipInfo* Clip) {
    if (Clip == nullptr || Clip->TitleButton == nullptr) return;
    if (SelectedTitleButton == Clip->TitleButton) SelectedTitleButton = nullptr;
    if (SelectedChapterButton != nullptr && SelectedChapterButton->Clip == Clip) SelectedChapterButton = nullptr;
    ShowTitleMenu();
    DropChapterMenu(Clip);
    delete Clip->TitleButton;
    Clip->TitleButton = nullptr;
    SelectTitleButton(nullptr);
}

void TSetupMenuWindow::AddSelectedClipToTitleMenu() {
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr || clip->TitleButton != nullptr) return;
    const auto it = std::find(ClipInfo.begin(), ClipInfo.end(), clip);
    if (it == ClipInfo.end()) return;
    // The first 12 alone carry title buttons: production reads no more.
    if (it - ClipInfo.begin() >= kTitleButtons) {
        MessageDlg(Language::GetMessageText(kFirstTwelveMessage), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    CreateTitleButton(clip, false);
    SelectTitleButton(clip->TitleButton);
    MakeAutomaticChapterMenu(clip);
    ShowTitleMenu();
}

void TSetupMenuWindow::ArrangeTitleButtons() {
    int k = 0;
    for (TClipInfo* clip : ClipInfo) {
        if (clip->TitleButton == nullptr) continue;
        const TPoint p = MenuLayout::GridPosition(k++, clip->TitleButton->GetWidth(), clip->TitleButton->GetHeight(),
                                                  PreviewHeight(), i_CreateMenuSafeDistance);
        clip->TitleButton->SetLeft(p.x);
        clip->TitleButton->SetTop(p.y);
    }
}

void TSetupMenuWindow::ArrangeChapterButtons(TClipInfo* Clip) {
    if (Clip == nullptr || Clip->ChapterMenu == nullptr) return;
    int k = 0;
    for (TSubButtonImage* b : Clip->ChapterMenu->Buttons) {
        const TPoint p = MenuLayout::GridPosition(k++, b->GetWidth(), b->GetHeight(), PreviewHeight(), i_CreateMenuSafeDistance);
        b->SetLeft(p.x);
        b->SetTop(p.y);
    }
}

// ---- views and selection ----------------------------------------------------------------------

void TSetupMenuWindow::ShowTitleMenu() {
    for (TClipInfo* clip : ClipInfo)
        if (clip->TitleButton != nullptr) clip->TitleButton->SetParent(Panel_MenuPreview);
    for (TLabel* label : TitleMenuLabel) {
        label->SetParent(Panel_MenuPreview);
        label->SetVisible(true);
    }
    b_TitleView = true;
    b_ChapterView = false;
    suiImageButton_Up->SetVisible(true);
    suiImageButton_DisplaySubMenu->SetVisible(false);
    ShowBackground(s_BackgroundSrcFile);
    ShowMusicLabel(s_BackgroundMusicFile);
    suiImageButton_TitleMenu->SetEnabled(false);
    suiImageButton_ChapterMenu->SetEnabled(true);
    BackXCell = &TitleMenu.i_TitleBackX;
    BackYCell = &TitleMenu.i_TitleBackY;
    PlaceBackImage(suiCheckBox_AddDVDMenu->GetChecked());
}

void TSetupMenuWindow::HideTitleMenu() {
    for (TClipInfo* clip : ClipInfo)
        if (clip->TitleButton != nullptr) clip->TitleButton->SetParent(nullptr);
    for (TLabel* label : TitleMenuLabel) label->SetVisible(false);
    b_TitleView = false;
    BackImage->SetVisible(false);
}

void TSetupMenuWindow::ShowChapterMenu(TSubChapter* Menu) {
    if (Menu == nullptr) return;
    for (TSubButtonImage* b : Menu->Buttons) b->SetParent(Panel_MenuPreview);
    for (TLabel* l : Menu->Labels) {
        l->SetParent(Panel_MenuPreview);
        l->SetVisible(true);
    }
    b_ChapterView = true;
    suiImageButton_Up->SetVisible(false);
    suiImageButton_DisplaySubMenu->SetVisible(true);
    ShowBackground(Menu->s_BackgroundSrcFile);
    ShowMusicLabel(Menu->s_BackgroundMusicFile);
    suiImageButton_TitleMenu->SetEnabled(true);
    suiImageButton_ChapterMenu->SetEnabled(false);
    BackXCell = &Menu->i_BackX;
    BackYCell = &Menu->i_BackY;
    PlaceBackImage(true);
}

void TSetupMenuWindow::HideChapterMenu(TSubChapter* Menu) {
    if (Menu == nullptr) return;
    for (TSubButtonImage* b : Menu->Buttons) b->SetParent(nullptr);
    for (TLabel* l : Menu->Labels) l->SetVisible(false);
}

void TSetupMenuWindow::PlaceBackImage(bool Visible) {
    // The editor may have deleted the clip whose chapter menu held the cells.
    DropStaleBackCells();
    if (BackXCell == nullptr || BackYCell == nullptr) {
        BackImage->SetVisible(false);
        return;
    }
    const TPoint p = MenuLayout::ClampPlacement(*BackXCell, *BackYCell, BackImage->GetWidth(), BackImage->GetHeight(),
                                                PreviewHeight(), i_CreateMenuSafeDistance);
    BackImage->SetVisible(Visible);
    BackImage->SetLeft(p.x);
    BackImage->SetTop(p.y);
    *BackXCell = p.x;
    *BackYCell = p.y;
}

TClipInfo* TSetupMenuWindow::SelectedClip() const { return SelectedClipItem == nullptr ? nullptr : SelectedClipItem->Clip; }

TSubChapter* TSetupMenuWindow::ShownChapterMenu() const {
    TClipInfo* clip = SelectedClip();
    return b_ChapterView && clip != nullptr ? clip->ChapterMenu : nullptr;
}

void TSetupMenuWindow::SelectClipItem(TMenuImage* Tile) {
    if (b_ChapterView && SelectedClip() != nullptr) HideChapterMenu(SelectedClip()->ChapterMenu);
    // A chapter button stays selected only while its menu is the one on show.
    if (SelectedChapterButton != nullptr && (Tile == nullptr || SelectedChapterButton->SubChapter != Tile->Clip->ChapterMenu)) {
        SelectedChapterButton->SetSelected(false);
        SelectedChapterButton = nullptr;
    }
    if (SelectedClipItem != nullptr) SelectedClipItem->SetSelected(false);
    SelectedClipItem = Tile;
    if (Tile != nullptr) Tile->SetSelected(true);
    if (b_ChapterView) {
        if (Tile != nullptr && Tile->Clip->ChapterMenu != nullptr) ShowChapterMenu(Tile->Clip->ChapterMenu);
        else ShowTitleMenu();
    }
    // One routine sets both selections: the title button never selects the tile back.
    if (SelectedTitleButton != nullptr) SelectedTitleButton->SetSelected(false);
    SelectedTitleButton = Tile != nullptr ? Tile->Clip->TitleButton : nullptr;
    if (SelectedTitleButton != nullptr) {
        SelectedTitleButton->SetSelected(true);
        SelectedTitleButton->BringToFront();
    }
    UpdateChapterCommands(Tile != nullptr ? Tile->Clip : nullptr);
}

void TSetupMenuWindow::SelectTitleButton(TButtonImage* Button) {
    if (Button != nullptr && Button->Clip != nullptr && Button->Clip->MenuTile != nullptr) {
        SelectClipItem(Button->Clip->MenuTile);
        return;
    }
    if (SelectedTitleButton != nullptr) SelectedTitleButton->SetSelected(false);
    SelectedTitleButton = Button;
    if (Button != nullptr) {
        Button->SetSelected(true);
        Button->BringToFront();
    }
    UpdateChapterCommands(Button != nullptr ? Button->Clip : nullptr);
}

void TSetupMenuWindow::UpdateChapterCommands(TClipInfo* Clip) {
    suiImageButton_DisplaySubMenu->SetEnabled(Clip != nullptr);
}

int TSetupMenuWindow::SelectedClipIndex() const {
    TClipInfo* clip = SelectedClip();
    const auto it = std::find(ClipInfo.begin(), ClipInfo.end(), clip);
    return clip == nullptr || it == ClipInfo.end() ? -1 : static_cast<int>(it - ClipInfo.begin());
}

void TSetupMenuWindow::MoveSelectedClip(int Step) {
    if (b_Busy) return;
    const int index = SelectedClipIndex();
    const int other = index + Step;
    if (index < 0 || other < 0 || other >= static_cast<int>(ClipInfo.size())) return;
    // The next rebuild gives the first 12 of the new order their title buttons and chapter menus.
    std::swap(ClipInfo[index], ClipInfo[other]);
    ArrangeClipItems();
}

void TSetupMenuWindow::RemoveSelectedClip() {
    TClipInfo* clip = SelectedClip();
    if (b_Busy || clip == nullptr) return;
    if (clip->ChapterMenu != nullptr && b_ChapterView) ShowTitleMenu();
    DropChapterMenu(clip);
    SelectedClipItem = nullptr;
    SelectedTitleButton = nullptr;
    RemoveClipFromList(ClipInfo, clip, true);
    UpdateDiscSize();
    ArrangeClipItems();
    UpdateChapterCommands(nullptr);
}

// ---- backgrounds, music, labels ---------------------------------------------------------------

void TSetupMenuWindow::LoadBackgroundList() {
    const String folder = ExePath + "Background/";
    for (const String& name : ReadBackgroundNames(folder + "Background.ini")) {
        auto* thumb = new TBackgroundImage(this);
        if (!thumb->LoadFromFile(folder + name)) {
            delete thumb;
            continue;
        }
        thumb->SetTop(MenuLayout::BackgroundEntryTop(static_cast<int>(BackgroundList.size())));
        thumb->SetLeft(16);
        thumb->SetCursor(crHandPoint);
        thumb->OnClick = [this, thumb](TObject*) { SetMenuBackground(thumb->FileName); };
        suiImagePanel_MaterialMove->SetHeight(thumb->GetTop() + MenuLayout::BackgroundThumbHeight);
        thumb->SetParent(suiImagePanel_MaterialMove);
        BackgroundList.push_back(thumb);
        ScrollBackgroundList();
    }
}

void TSetupMenuWindow::ScrollBackgroundList() {
    const int top = MenuLayout::BackgroundListTop(suiImageButton_MaterialBar->GetTop(), static_cast<int>(BackgroundList.size()));
    if (suiImagePanel_MaterialMove->GetTop() != top) suiImagePanel_MaterialMove->SetTop(top);
}

void TSetupMenuWindow::SetMenuBackground(const String& File) {
    String* menuFile = nullptr;
    if (b_TitleView) menuFile = &s_BackgroundSrcFile;
    else if (TSubChapter* menu = ShownChapterMenu()) menuFile = &menu->s_BackgroundSrcFile;
    if (menuFile == nullptr || File == *menuFile) return;
    // A picture the preview cannot show would come out blank on the disc: the menu keeps its own.
    if (FileExists(File) && !ShowBackground(File)) {
        MessageDlg(Language::GetMessageText(kUnreadableBackgroundMessage) + File, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    *menuFile = File;
}

bool TSetupMenuWindow::ShowBackground(const String& File) {
    if (File.empty() || !FileExists(File)) return false;
    try {
        auto picture = std::make_unique<TPicture>();
        picture->LoadFromFile(File);
        if (picture->GetWidth() <= 0 || picture->GetHeight() <= 0) return false;
        Image_Background->GetPicture()->Assign(picture.get());
        return true;
    } catch (const std::exception&) {
        // A picture that does not decode leaves the preview as it was.
        return false;
    }
}

void TSetupMenuWindow::SetMenuMusic(const String& File) {
    if (b_TitleView) {
        s_BackgroundMusicFile = File;
    } else if (TSubChapter* menu = ShownChapterMenu(); menu != nullptr) {
        menu->s_BackgroundMusicFile = File;
    } else {
        return;
    }
    ShowMusicLabel(File);
}

void TSetupMenuWindow::ShowMusicLabel(const String& File) {
    const bool present = !File.empty() && FileExists(File);
    suiImageButton_RemoveMusic->SetVisible(present);
    suiImageButton_AddMusic->SetVisible(!present);
    Label_BackgroundMusic->SetCaption(present ? Language::GetMessageText(kMusicMessage) + BaseName(File)
                                              : Language::GetMessageText(kNoMusicMessage));
}

TLabel* TSetupMenuWindow::AddTextLabel(int X, int Y) {
    // The menu owns its labels (TitleMenuLabel or the chapter menu): they outlive this window.
    auto* label = new TLabel(nullptr);
    label->SetTransparent(true);
    label->SetAutoSize(true);
    label->SetCursor(crHandPoint);
    label->GetFont()->SetSize(16);
    label->GetFont()->SetColor(clWhite);
    label->GetFont()->SetName("Tahoma");
    label->SetCaption(Language::GetMessageText(kLabelMessage));
    if (b_TitleView) {
        TitleMenuLabel.push_back(label);
    } else if (TSubChapter* menu = ShownChapterMenu(); menu != nullptr) {
        menu->AddLabel(label);
    } else {
        delete label;
        return nullptr;
    }
    label->SetParent(Panel_MenuPreview);
    const TPoint p = MenuLayout::ClampPlacement(X, Y, label->GetWidth(), label->GetHeight(), PreviewHeight(),
                                                i_CreateMenuSafeDistance);
    label->SetLeft(p.x);
    label->SetTop(p.y);
    WireDrag(label);
    label->OnDblClick = [label](TObject*) {
        if (SetupTextWindow != nullptr) SetupTextWindow->EditLabel(label);
    };
    return label;
}

void TSetupMenuWindow::ClearShownLabels() {
    if (b_TitleView) Pubfunction::ClearTitleMenuLabel();
    else if (TSubChapter* menu = ShownChapterMenu(); menu != nullptr) menu->ClearLabels();
    PopupLabel = nullptr;
}

void TSetupMenuWindow::DeleteShownLabel(TLabel* Label) {
    if (Label == nullptr) return;
    if (b_TitleView) RemoveAndDelete(TitleMenuLabel, Label);
    else if (TSubChapter* menu = ShownChapterMenu(); menu != nullptr) menu->DeleteLabel(Label);
    if (PopupLabel == Label) PopupLabel = nullptr;
}

void TSetupMenuWindow::PaintSafeFrame(TObject*) {
    const TRect r = MenuLayout::SafeFrameRect(PaintBox_Safe->GetWidth(), PaintBox_Safe->GetHeight(), i_CreateMenuSafeDistance);
    if (r.Right <= r.Left) return;
    TCanvas* canvas = PaintBox_Safe->GetCanvas();
    canvas->GetPen()->SetColor(static_cast<TColor>(0x00FFFF));
    canvas->GetPen()->SetStyle(psDashDot);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

// ---- hand-over ---------------------------------------------------------------------------------

bool TSetupMenuWindow::Next() {
    if (ProgressWindow != nullptr || b_AddingFiles || b_Busy || Timer_CreateMenu->GetEnabled()) return false;
    UnloadFrameLibrary();
    const bool anyButton = std::any_of(ClipInfo.begin(), ClipInfo.end(), [](TClipInfo* c) { return c->TitleButton != nullptr; });
    TitleMenu.b_RootMenuWanted = suiCheckBox_AddDVDMenu->GetChecked();
    TitleMenu.DecideHandOver(anyButton);
    WriteHandOver();
    if (b_BuilderFlow) {
        if (BuilderWindow == nullptr) return true;
        BuilderWindow->SetBuildMode();
        BuilderWindow->ShowModal();
        return true;
    }
    if (!CheckVideoStandards()) return false;
    if (CompilerWindow == nullptr) return true;
    CompilerWindow->SetCompileMode();
    CompilerWindow->ShowModal();
    return true;
}

void TSetupMenuWindow::WriteHandOver() {
    for (TProductionWindow* window : std::initializer_list<TProductionWindow*>{BuilderWindow, CompilerWindow}) {
        if (window == nullptr) continue;
        window->b_TitleMenu = TitleMenu.b_TitleMenu != 0;
        window->b_RootMenu = TitleMenu.b_RootMenu != 0;
    }
}

void TSetupMenuWindow::WriteAspect() {
    for (TProductionWindow* window : std::initializer_list<TProductionWindow*>{BuilderWindow, ConvertWindow, CompilerWindow, BurnWindow})
        if (window != nullptr) window->i_Aspect = TitleMenu.i_Aspect;
}


void TSetupMenuWindow::ClipBack() {
    if (b_Busy || Timer_CreateMenu->GetEnabled()) return;
    b_CanClose = true;
    Close();
}

void TSetupMenuWindow::CloseDiscardingProject() {
    if (ProgressWindow != nullptr || b_AddingFiles || b_Busy || Timer_CreateMenu->GetEnabled()) return;
    SelectedClipItem = nullptr;
    SelectedTitleButton = nullptr;
    SelectedChapterButton = nullptr;
    PopupLabel = nullptr;
    ShowTitleMenu();
    for (TClipInfo* clip : ClipInfo)
        if (clip->MenuTile != nullptr) clip->MenuTile->SetParent(nullptr);
    // The editor lets go of its selection before the clips go, and closes behind this window.
    if (b_BuilderFlow && SetupClipWindow != nullptr) SetupClipWindow->CloseDiscardingProject();
    Pubfunction::ClearClipInfo();
    Pubfunction::ClearTitleMenuLabel();
    b_CanClose = true;
    Close();
}

// ---- dragging ----------------------------------------------------------------------------------

void TSetupMenuWindow::ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    auto* control = static_cast<TControl*>(Sender);
    if (auto* sub = dynamic_cast<TSubButtonImage*>(control); sub != nullptr) {
        if (SelectedChapterButton != nullptr) SelectedChapterButton->SetSelected(false);
        SelectedChapterButton = sub;
        sub->SetSelected(true);
        sub->BringToFront();
    } else if (auto* b = dynamic_cast<TButtonImage*>(control); b != nullptr) {
        SelectTitleButton(b);
    }
    if (control == BackImage) BackImage->BringToFront();
    if (Button != mbLeft || Shift.Contains(ssDouble)) return;
    b_Dragging = true;
    DragStartCursor = Mouse->GetCursorPos();
    DragStartLeft = control->GetLeft();
    DragStartTop = control->GetTop();
    DragStartWidth = control->GetWidth();
    DragStartHeight = control->GetHeight();
    DragZone = dynamic_cast<TButtonImage*>(control) != nullptr
                   ? MenuLayout::HitTestButton(control->GetWidth(), control->GetHeight(), X, Y)
                   : MenuLayout::ZoneMove;
}

void TSetupMenuWindow::ButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    auto* control = static_cast<TControl*>(Sender);
    const bool isButton = dynamic_cast<TButtonImage*>(control) != nullptr;
    if (!b_Dragging || !Shift.Contains(ssLeft)) {
        if (isButton) {
            DragZone = MenuLayout::HitTestButton(control->GetWidth(), control->GetHeight(), X, Y);
            control->SetCursor(MenuLayout::ZoneCursor(DragZone));
        }
        return;
    }
    const TPoint now = Mouse->GetCursorPos();
    DragBy(control, now.x - DragStartCursor.x, now.y - DragStartCursor.y);
}

void TSetupMenuWindow::DragBy(TControl* Control, int dx, int dy) {
    const MenuLayout::TBounds start{DragStartLeft, DragStartTop, DragStartWidth, DragStartHeight};
    const MenuLayout::TBounds current{Control->GetLeft(), Control->GetTop(), Control->GetWidth(), Control->GetHeight()};
    const int zone = dynamic_cast<TButtonImage*>(Control) != nullptr ? DragZone : MenuLayout::ZoneMove;
    const MenuLayout::TBounds b = MenuLayout::DragButton(zone, start, current, dx, dy, PreviewHeight(), i_CreateMenuSafeDistance);
    if (auto* sub = dynamic_cast<TSubButtonImage*>(Control); sub != nullptr && (b.Width != current.Width || b.Height != current.Height))
        sub->SetSize(b.Width, b.Height);
    else if (auto* title = dynamic_cast<TButtonImage*>(Control); title != nullptr && (b.Width != current.Width || b.Height != current.Height))
        title->SetPicture(title->Clip != nullptr ? title->Clip->Picture : nullptr, b.Width, b.Height);
    Control->SetLeft(b.Left);
    Control->SetTop(b.Top);
    if (Control == BackImage && BackXCell != nullptr && BackYCell != nullptr) {
        *BackXCell = b.Left;
        *BackYCell = b.Top;
    }
}

void TSetupMenuWindow::ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
    auto* control = static_cast<TControl*>(Sender);
    if (Button == mbRight && !b_Dragging) {
        if (dynamic_cast<TSubButtonImage*>(control) != nullptr) {
            OpenPopup(pkChapterButton);
        } else if (dynamic_cast<TButtonImage*>(control) != nullptr) {
            OpenPopup(pkTitleButton);
        } else if (auto* label = dynamic_cast<TLabel*>(control); label != nullptr) {
            PopupLabel = label;
            OpenPopup(pkText);
        }
        return;
    }
    if (Button != mbLeft) return;
    b_Dragging = false;
    if (auto* sub = dynamic_cast<TSubButtonImage*>(control); sub != nullptr) sub->SetLockRatio(sub->b_LockRatio);
    else if (auto* title = dynamic_cast<TButtonImage*>(control); title != nullptr && DragZone != MenuLayout::ZoneMove)
        title->SetLockRatio(title->Clip != nullptr ? title->Clip->Picture : nullptr, title->b_LockRatio);
}

// ---- popups ------------------------------------------------------------------------------------

TPopupMenu* TSetupMenuWindow::BuildPopup(TPopupKind Kind) {
    struct TItem { int Message; const char* Name; };
    static const std::vector<TItem> items[] = {
        {{Language::kMsgAddClipToTitleMenu, "Add"}, {Language::kMsgRemoveFromTitleMenu, "Remove"}},
        {{Language::kMsgSelectTitleButtonImage, "Image"},
         {Language::kMsgSetupChapterProperty, "Chapter"},
         {Language::kMsgRemoveFromTitleMenu, "Remove"},
         {Language::kMsgMenuSeparator, ""},
         {Language::kMsgLockButtonAspectRatio, "LockRatio"}},
        {{Language::kMsgSelectChapterButtonImage, "Image"}, {Language::kMsgLockButtonAspectRatio, "LockRatio"}},
        {{Language::kMsgAddText, "Add"}, {Language::kMsgClearAllText, "Clear"}},
        {{Language::kMsgSetupText, "Setup"}, {Language::kMsgDeleteText, "Delete"}},
    };
    TPopupMenu** slots[] = {&ClipPopup, &TitleButtonPopup, &ChapterButtonPopup, &PreviewPopup, &TextPopup};
    TPopupMenu*& menu = *slots[Kind];
    if (menu == nullptr) menu = new TPopupMenu(this);
    menu->GetItems()->Clear();
    for (const TItem& entry : items[Kind]) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(Language::GetMessageText(entry.Message));
        if (*entry.Name != '\0') item->SetName(entry.Name);
        item->OnClick = [this, Kind](TObject* s) { PopupItemClick(Kind, static_cast<TMenuItem*>(s)->GetName()); };
        if (String(entry.Name) == "LockRatio") {
            const TButtonImage* button = Kind == pkTitleButton ? SelectedTitleButton : SelectedChapterButton;
            item->SetChecked(button != nullptr && button->b_LockRatio);
        }
        menu->GetItems()->Add(item);
    }
    return menu;
}

void TSetupMenuWindow::OpenPopup(TPopupKind Kind) {
    TPopupMenu* menu = BuildPopup(Kind);
    const TPoint p = Mouse->GetCursorPos();
    menu->Popup(p.x, p.y);
}

void TSetupMenuWindow::PopupItemClick(TPopupKind Kind, const String& Name) {
    switch (Kind) {
    case pkClip:
        if (b_Busy) return;
        if (Name == "Add") AddSelectedClipToTitleMenu();
        else if (Name == "Remove") RemoveTitleButton(SelectedClip());
        return;
    case pkTitleButton:
        if (b_Busy || SelectedTitleButton == nullptr) return;
        if (Name == "Image") {
            if (SetupImageWindow != nullptr) SetupImageWindow->EditTitleButton(SelectedTitleButton);
        } else if (Name == "Chapter") {
            if (suiImageButton_DisplaySubMenu->GetEnabled()) DisplaySubMenu();
        } else if (Name == "Remove") {
            RemoveTitleButton(SelectedTitleButton->Clip);
        } else if (Name == "LockRatio") {
            SelectedTitleButton->b_LockRatio = !SelectedTitleButton->b_LockRatio;
            TClipInfo* clip = SelectedTitleButton->Clip;
            SelectedTitleButton->SetLockRatio(clip != nullptr ? clip->Picture : nullptr, SelectedTitleButton->b_LockRatio);
        }
        return;
    case pkChapterButton:
        if (Name == "Image" && !b_Busy && SelectedChapterButton != nullptr && SetupImageWindow != nullptr)
            SetupImageWindow->EditChapterButton(SelectedChapterButton);
        if (SelectedChapterButton != nullptr && Name == "LockRatio") {
            SelectedChapterButton->b_LockRatio = !SelectedChapterButton->b_LockRatio;
            SelectedChapterButton->SetLockRatio(SelectedChapterButton->b_LockRatio);
        }
        return;
    case pkPreview:
        if (Name == "Add") AddTextLabel(PreviewPopupPoint.x, PreviewPopupPoint.y);
        else if (Name == "Clear") ClearShownLabels();
        return;
    case pkText:
        if (Name == "Setup" && PopupLabel != nullptr && SetupTextWindow != nullptr) SetupTextWindow->EditLabel(PopupLabel);
        else if (Name == "Delete") DeleteShownLabel(PopupLabel);
        return;
    }
}
