#include "tests/support/DvdPlayer.h"

#include <dvdnav/dvdnav.h>
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include <cstdint>

namespace testing_vcl {

namespace {

// Far more blocks than the short test discs hold: a disc that loops for ever ends the search.
constexpr int kMaxBlocks = 400000;

}  // namespace

std::string TDiscPlace::Text() const {
    switch (Kind) {
        case InMenu:
            return "menu " + std::to_string(MenuPgc) + (TitleSet == 0 ? " of the video manager" : " of title set " + std::to_string(TitleSet)) +
                   " with " + std::to_string(Buttons) + " buttons";
        case InTitle:
            return "title " + std::to_string(Title) + " chapter " + std::to_string(Chapter);
        default:
            return "nowhere";
    }
}

TDiscPlace MenuPlace(int TitleSet, int MenuPgc, int Buttons) {
    TDiscPlace p;
    p.Kind = TDiscPlace::InMenu;
    p.TitleSet = TitleSet;
    p.MenuPgc = MenuPgc;
    p.Buttons = Buttons;
    return p;
}

TDiscPlace TitlePlace(int Title, int Chapter) {
    TDiscPlace p;
    p.Kind = TDiscPlace::InTitle;
    p.Title = Title;
    p.Chapter = Chapter;
    return p;
}

bool operator==(const TDiscPlace& A, const TDiscPlace& B) { return A.Text() == B.Text(); }

TDvdPlayer::TDvdPlayer(const std::string& Folder) : m_folder(Folder) {
    dvdnav_t* nav = nullptr;
    if (dvdnav_open(&nav, Folder.c_str()) != DVDNAV_STATUS_OK) return;
    dvdnav_set_readahead_flag(nav, 0);
    dvdnav_set_PGC_positioning_flag(nav, 1);
    m_nav = nav;
}

TDvdPlayer::~TDvdPlayer() {
    if (m_nav != nullptr) dvdnav_close(m_nav);
}

// The menu program chain whose cells hold the sector, read from the IFO as a player has it.
int TDvdPlayer::MenuPgcAt(int TitleSet, unsigned Sector) const {
    dvd_reader_t* dvd = DVDOpen(m_folder.c_str());
    if (dvd == nullptr) return 0;
    int found = 0;
    if (ifo_handle_t* ifo = ifoOpen(dvd, TitleSet)) {
        if (ifo->pgci_ut != nullptr && ifo->pgci_ut->nr_of_lus > 0 && ifo->pgci_ut->lu[0].pgcit != nullptr) {
            const pgcit_t* pgcit = ifo->pgci_ut->lu[0].pgcit;
            for (int i = 0; i < pgcit->nr_of_pgci_srp && found == 0; ++i) {
                const pgc_t* pgc = pgcit->pgci_srp[i].pgc;
                for (int c = 0; pgc != nullptr && c < pgc->nr_of_cells; ++c) {
                    const cell_playback_t& cell = pgc->cell_playback[c];
                    if (Sector >= cell.first_sector && Sector <= cell.last_sector) found = i + 1;
                }
            }
        }
        ifoClose(ifo);
    }
    DVDClose(dvd);
    return found;
}

// Reads on until playback shows a menu's buttons or plays a title. After a jump the place must
// be reached through a new cell; LeaveTitle > 0 reads on until that title is left.
TDiscPlace TDvdPlayer::Settle(bool AfterJump, int LeaveTitle) {
    m_place = TDiscPlace{};
    if (m_nav == nullptr) return m_place;
    bool newCell = !AfterJump;
    uint32_t lastPosition = 0;
    std::uint8_t block[DVD_VIDEO_LB_LEN];
    for (int n = 0; n < kMaxBlocks; ++n) {
        int event = 0, length = 0;
        if (dvdnav_get_next_block(m_nav, block, &event, &length) != DVDNAV_STATUS_OK) return m_place;
        switch (event) {
            case DVDNAV_STILL_FRAME: dvdnav_still_skip(m_nav); break;
            case DVDNAV_WAIT: dvdnav_wait_skip(m_nav); break;
            case DVDNAV_STOP: return m_place;
            case DVDNAV_CELL_CHANGE: newCell = true; break;
            case DVDNAV_NAV_PACKET: {
                if (!newCell) break;
                int32_t title = 0, part = 0;
                if (!dvdnav_is_domain_vmgm(m_nav) && !dvdnav_is_domain_vtsm(m_nav)) {
                    if (dvdnav_current_title_info(m_nav, &title, &part) != DVDNAV_STATUS_OK || title <= 0) break;
                    uint32_t position = 0, length = 0;
                    dvdnav_get_position(m_nav, &position, &length);
                    // A title whose end plays it again has been left as well.
                    const bool restarted = position < lastPosition;
                    lastPosition = position;
                    if (LeaveTitle > 0 && title == LeaveTitle && !restarted) break;
                    return m_place = TitlePlace(title, part);
                }
                pci_t* pci = dvdnav_get_current_nav_pci(m_nav);
                if (pci == nullptr || pci->hli.hl_gi.btn_ns == 0) break;
                int titleSet = 0;
                if (dvdnav_is_domain_vtsm(m_nav)) {
                    // The title set of the menu: the one whose menu cells hold this sector.
                    for (int ts = 1; ts <= TitleSets() && titleSet == 0; ++ts)
                        if (MenuPgcAt(ts, pci->pci_gi.nv_pck_lbn) > 0) titleSet = ts;
                }
                return m_place = MenuPlace(titleSet, MenuPgcAt(titleSet, pci->pci_gi.nv_pck_lbn), pci->hli.hl_gi.btn_ns);
            }
            default: break;
        }
    }
    return m_place;
}

int TDvdPlayer::TitleSets() const {
    dvd_reader_t* dvd = DVDOpen(m_folder.c_str());
    if (dvd == nullptr) return 0;
    int count = 0;
    if (ifo_handle_t* vmg = ifoOpen(dvd, 0)) {
        count = vmg->vmgi_mat != nullptr ? vmg->vmgi_mat->vmg_nr_of_title_sets : 0;
        ifoClose(vmg);
    }
    DVDClose(dvd);
    return count;
}

TDiscPlace TDvdPlayer::Start() { return Settle(false, 0); }

TDiscPlace TDvdPlayer::Activate(int Button) {
    if (m_nav == nullptr || m_place.Kind != TDiscPlace::InMenu || Button < 1 || Button > m_place.Buttons) return {};
    pci_t* pci = dvdnav_get_current_nav_pci(m_nav);
    if (pci == nullptr || dvdnav_button_select_and_activate(m_nav, pci, Button) != DVDNAV_STATUS_OK) return {};
    return Settle(true, 0);
}

TDiscPlace TDvdPlayer::PlayToEnd() {
    if (m_place.Kind != TDiscPlace::InTitle) return {};
    return Settle(false, m_place.Title);
}

TDiscPlace PlayPath(const std::string& Folder, const std::vector<int>& Buttons, bool ThenToEnd) {
    TDvdPlayer player(Folder);
    TDiscPlace place = player.Start();
    for (int button : Buttons) place = player.Activate(button);
    return ThenToEnd ? player.PlayToEnd() : place;
}

}  // namespace testing_vcl
