#include "tests/support/DvdDisc.h"

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/nav_read.h>

#include <memory>

namespace testing_vcl {

namespace {

struct DvdCloser {
    void operator()(dvd_reader_t* d) const { DVDClose(d); }
};
struct IfoCloser {
    void operator()(ifo_handle_t* i) const { ifoClose(i); }
};
using TDvd = std::unique_ptr<dvd_reader_t, DvdCloser>;
using TIfo = std::unique_ptr<ifo_handle_t, IfoCloser>;

int Bcd(uint8_t v) { return (v >> 4) * 10 + (v & 0x0F); }

double Seconds(const dvd_time_t& t) {
    const double fps = (t.frame_u >> 6) == 1 ? 25.0 : 29.97;
    return Bcd(t.hour) * 3600.0 + Bcd(t.minute) * 60.0 + Bcd(t.second) + Bcd(t.frame_u & 0x3F) / fps;
}

// The first navigation pack of the menu PGC's first cell.
bool MenuPci(dvd_reader_t* Dvd, int TitleSet, const pgc_t* Pgc, pci_t& Pci) {
    if (Pgc == nullptr || Pgc->nr_of_cells == 0 || Pgc->cell_playback == nullptr) return false;
    dvd_file_t* file = DVDOpenFile(Dvd, TitleSet, DVD_READ_MENU_VOBS);
    if (file == nullptr) return false;
    unsigned char block[DVD_VIDEO_LB_LEN];
    const ssize_t got = DVDReadBlocks(file, static_cast<int>(Pgc->cell_playback[0].first_sector), 1, block);
    DVDCloseFile(file);
    if (got != 1) return false;
    Pci = pci_t{};
    navRead_PCI(&Pci, block + 0x2d);
    return true;
}

const pgcit_t* MenuPgcs(const ifo_handle_t* Ifo) {
    if (Ifo == nullptr || Ifo->pgci_ut == nullptr || Ifo->pgci_ut->nr_of_lus == 0) return nullptr;
    return Ifo->pgci_ut->lu[0].pgcit;
}

}  // namespace

std::vector<double> ChapterStarts(const std::string& Folder, int Title) {
    std::vector<double> starts;
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return starts;
    TIfo vmg(ifoOpen(dvd.get(), 0));
    if (!vmg || vmg->tt_srpt == nullptr || Title < 1 || Title > vmg->tt_srpt->nr_of_srpts) return starts;
    const title_info_t info = vmg->tt_srpt->title[Title - 1];
    TIfo vts(ifoOpen(dvd.get(), info.title_set_nr));
    if (!vts) return starts;
    const ttu_t& ttu = vts->vts_ptt_srpt->title[info.vts_ttn - 1];
    for (int c = 0; c < ttu.nr_of_ptts; ++c) {
        const pgc_t* pgc = vts->vts_pgcit->pgci_srp[ttu.ptt[c].pgcn - 1].pgc;
        const int firstCell = pgc->program_map[ttu.ptt[c].pgn - 1];
        double at = 0;
        for (int k = 0; k + 1 < firstCell; ++k) at += Seconds(pgc->cell_playback[k].playback_time);
        starts.push_back(at);
    }
    return starts;
}

std::vector<int> MenuButtons(const std::string& Folder, int TitleSet) {
    std::vector<int> buttons;
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return buttons;
    TIfo ifo(ifoOpen(dvd.get(), TitleSet));
    const pgcit_t* pgcit = MenuPgcs(ifo.get());
    for (int i = 0; pgcit != nullptr && i < pgcit->nr_of_pgci_srp; ++i) {
        pci_t pci;
        if (MenuPci(dvd.get(), TitleSet, pgcit->pgci_srp[i].pgc, pci)) buttons.push_back(pci.hli.hl_gi.btn_ns);
    }
    return buttons;
}

std::vector<TButtonRect> MenuButtonRects(const std::string& Folder, int TitleSet, int MenuPgc) {
    std::vector<TButtonRect> rects;
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return rects;
    TIfo ifo(ifoOpen(dvd.get(), TitleSet));
    const pgcit_t* pgcit = MenuPgcs(ifo.get());
    if (pgcit == nullptr || MenuPgc < 1 || MenuPgc > pgcit->nr_of_pgci_srp) return rects;
    pci_t pci;
    if (!MenuPci(dvd.get(), TitleSet, pgcit->pgci_srp[MenuPgc - 1].pgc, pci)) return rects;
    for (int b = 0; b < pci.hli.hl_gi.btn_ns; ++b) {
        const btni_t& button = pci.hli.btnit[b];
        rects.push_back({static_cast<int>(button.x_start), static_cast<int>(button.y_start),
                         static_cast<int>(button.x_end), static_cast<int>(button.y_end)});
    }
    return rects;
}

int TitleCount(const std::string& Folder) {
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return -1;
    TIfo vmg(ifoOpen(dvd.get(), 0));
    return vmg && vmg->tt_srpt != nullptr ? vmg->tt_srpt->nr_of_srpts : -1;
}

TTitleSetStreams TitleSetStreams(const std::string& Folder, int TitleSet) {
    TTitleSetStreams s;
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return s;
    TIfo vts(ifoOpen(dvd.get(), TitleSet));
    if (!vts || vts->vtsi_mat == nullptr) return s;
    const vtsi_mat_t& mat = *vts->vtsi_mat;
    s.b_Pal = mat.vts_video_attr.video_format == 1;
    s.b_Wide = mat.vts_video_attr.display_aspect_ratio == 3;
    s.i_AudioStreams = mat.nr_of_vts_audio_streams;
    if (s.i_AudioStreams > 0) {
        s.b_Ac3 = mat.vts_audio_attr[0].audio_format == 0;
        s.i_SampleRate = mat.vts_audio_attr[0].sample_frequency == 0 ? 48000 : 96000;
        s.i_Channels = mat.vts_audio_attr[0].channels + 1;
    }
    s.i_SubpictureStreams = mat.nr_of_vts_subp_streams;
    if (s.i_SubpictureStreams > 0) {
        const uint16_t code = mat.vts_subp_attr[0].lang_code;
        s.s_SubpictureLang = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    }
    return s;
}

}  // namespace testing_vcl
