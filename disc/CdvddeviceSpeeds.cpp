// The speeds a drive really takes for the disc in it, found by asking for each table speed.
#include "disc/Cdvddevice.h"

#include "disc/Log.h"
#include "disc/StarBurnSdk.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr TSpeed kCdSpeeds[] = {
    {176, "1.0x"},   {353, "2.0x"},   {387, "2.2x"},   {528, "3.0x"},   {706, "4.0x"},   {1400, "8.0x"},
    {1760, "10.0x"}, {2112, "12.0x"}, {2800, "16.0x"}, {3250, "20.0x"}, {4224, "24.0x"}, {5632, "32.0x"},
    {7040, "40.0x"}, {7744, "44.0x"}, {8448, "48.0x"}, {9152, "52.0x"},
};
constexpr TSpeed kDvdSpeeds[] = {
    {1385, "1.0x"}, {2770, "2.0x"}, {3324, "2.4x"},  {4155, "3.0x"},   {5540, "4.0x"},
    {6925, "5.0x"}, {8310, "6.0x"}, {11080, "8.0x"}, {16620, "12.0x"}, {22160, "16.0x"},
};

enum class SpeedClass { Cd, Dvd, CdUnprobed, None };

bool In(std::uint32_t code, std::initializer_list<std::uint32_t> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

SpeedClass WriteClass(std::uint32_t media) {
    if (In(media, {STARBURN_MEDIA_CDR, STARBURN_MEDIA_CDRW, STARBURN_MEDIA_CDR_2, STARBURN_MEDIA_CDRW_2}))
        return SpeedClass::Cd;
    if (In(media,
           {STARBURN_MEDIA_DVDR, STARBURN_MEDIA_DVDRAM, STARBURN_MEDIA_DVDRW_OVERWRITE, STARBURN_MEDIA_DVDRW_SEQUENTIAL,
            STARBURN_MEDIA_DVDPLUSRW, STARBURN_MEDIA_DVDPLUSR, STARBURN_MEDIA_DVDPLUSR_DL, STARBURN_MEDIA_DVDR_DL}))
        return SpeedClass::Dvd;
    if (media == MEDIA_TYPE_EMPTY) return SpeedClass::CdUnprobed;
    return SpeedClass::None;
}

SpeedClass ReadClass(std::uint32_t media) {
    if (In(media, {STARBURN_MEDIA_CDROM, STARBURN_MEDIA_CDR, STARBURN_MEDIA_CDRW, STARBURN_MEDIA_CDROM_2,
                   STARBURN_MEDIA_CDR_2, STARBURN_MEDIA_CDRW_2}))
        return SpeedClass::Cd;
    if (In(media, {STARBURN_MEDIA_DVDROM, STARBURN_MEDIA_DVDR, STARBURN_MEDIA_DVDRAM, STARBURN_MEDIA_DVDRW_OVERWRITE,
                   STARBURN_MEDIA_DVDRW_SEQUENTIAL, STARBURN_MEDIA_DVDPLUSRW, STARBURN_MEDIA_DVDPLUSR,
                   STARBURN_MEDIA_DVDPLUSR_DL, STARBURN_MEDIA_DVDR_DL}))
        return SpeedClass::Dvd;
    if (media == MEDIA_TYPE_EMPTY) return SpeedClass::CdUnprobed;
    return SpeedClass::None;
}

}  // namespace

// The nearest table entry's label; a speed outside the table takes its nearest end.
const char* SpeedLabel(const TSpeed* table, std::size_t count, std::uint32_t kbps) {
    if (count == 0) return "";
    if (kbps <= table[0].KBps) return table[0].Label;
    for (std::size_t j = 1; j < count; ++j) {
        if (table[j - 1].KBps <= kbps && kbps <= table[j].KBps)
            return (table[j].KBps - kbps < kbps - table[j - 1].KBps) ? table[j].Label : table[j - 1].Label;
    }
    return table[count - 1].Label;
}

bool CDevice::ProbeTable(const TSpeed* table, std::size_t count, TSpeeds& into, bool write, std::uint32_t stopAt) {
    TSpeed current{0, ""};
    for (std::size_t i = 0; i < count; ++i) {
        if (table[i].KBps > current.KBps) {
            std::uint32_t previous = current.KBps;
            current.KBps = table[i].KBps;
            bool taken = write ? SetWriteSpeed(current) : SetReadSpeed(current);
            if (taken && current.KBps != previous && current.KBps != 0) {
                current.Label = SpeedLabel(table, count, current.KBps);
                if (std::find(into.begin(), into.end(), current) == into.end()) into.push_back(current);
            }
            // A refused speed leaves nothing taken: the next entry is tried from where we were.
            if (!taken) current.KBps = previous;
        }
        if (stopAt && table[i].KBps == stopAt) break;
    }
    return true;
}

bool CDevice::SetSpeed(TSpeedDirection direction, TSpeed& speed) {
    if (!EnsureGrabber()) return false;
    bool write = direction == TSpeedDirection::Write;
    std::uint32_t readKBps = write ? STARBURN_SPEED_NOT_SET : speed.KBps;
    std::uint32_t writeKBps = write ? speed.KBps : STARBURN_SPEED_NOT_SET;
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_SetSpeeds, readKBps, writeKBps)) return false;
    // The drive answers with the speeds it really took.
    std::uint32_t speeds[4] = {};
    if (!QuerySpeeds(speeds)) return false;
    speed.KBps = write ? speeds[2] : speeds[0];
    return true;
}

bool CDevice::SetWriteSpeed(TSpeed& speed) { return SetSpeed(TSpeedDirection::Write, speed); }
bool CDevice::SetReadSpeed(TSpeed& speed) { return SetSpeed(TSpeedDirection::Read, speed); }

// Current read, maximum read, current write, maximum write.
bool CDevice::QuerySpeeds(std::uint32_t* speeds) {
    return OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetSpeeds, &speeds[0], &speeds[1], &speeds[2],
                     &speeds[3]);
}

bool CDevice::ListSpeeds(TSpeedDirection direction, TSpeeds& out) {
    bool write = direction == TSpeedDirection::Write;
    std::uint32_t speeds[4] = {};
    if (!QuerySpeeds(speeds)) {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
            "\n\n%s(): StarBurn_CdvdBurnerGrabber_GetSpeeds() failed, exception %ld, status %ld, text '%s'\n",
            write ? "GetWriteSpeeds" : "GetReadSpeeds", static_cast<long>(m_LastResult), static_cast<long>(m_Status),
            m_ExceptionText);
        return false;
    }
    std::uint32_t maxKBps = write ? speeds[3] : speeds[1];
    switch (write ? WriteClass(m_MediaType) : ReadClass(m_MediaType)) {
        case SpeedClass::Cd: ProbeTable(kCdSpeeds, std::size(kCdSpeeds), out, write, write ? maxKBps : 0); break;
        case SpeedClass::Dvd: ProbeTable(kDvdSpeeds, std::size(kDvdSpeeds), out, write, 0); break;
        case SpeedClass::CdUnprobed:
            for (const auto& entry : kCdSpeeds) {
                if (entry.KBps > maxKBps) break;
                out.push_back(entry);
            }
            break;
        case SpeedClass::None: break;
    }
    return true;
}

bool CDevice::GetWriteSpeeds() {
    m_WriteSpeeds.clear();
    return EnsureGrabber() && ListSpeeds(TSpeedDirection::Write, m_WriteSpeeds);
}

bool CDevice::GetReadSpeeds(TSpeeds& out) {
    out.clear();
    return EnsureGrabber() && ListSpeeds(TSpeedDirection::Read, out);
}

bool CDevice::CopyWriteSpeeds(TSpeeds& out) {
    if (m_WriteSpeeds.empty()) GetWriteSpeeds();
    out = m_WriteSpeeds;
    return true;
}
