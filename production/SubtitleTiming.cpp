#include "production/SubtitleTiming.h"

#include "production/SubtitleMux.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

const String kByteOrderMark = "\xEF\xBB\xBF";
// Lines an entry keeps when overlapping ones join it.
constexpr std::size_t kMostLines = 6;

std::vector<String> SplitLines(const String& text) {
    std::vector<String> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == String::npos) end = text.size();
        String line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool IsBlank(const String& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipSpaces(const String& text, std::size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
}

// Digits at `at` as a number; false without any digit (or with more than Most).
bool ReadNumber(const String& text, std::size_t& at, long long& value, std::size_t Most, std::size_t& count) {
    value = 0;
    count = 0;
    while (at < text.size() && IsDigit(text[at]) && count < Most) {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++count;
    }
    return count > 0;
}

// "H:MM:SS,mmm" (or with "." or without the milliseconds) at `at`.
bool ReadTime(const String& text, std::size_t& at, long long& ms) {
    long long hours, minutes, seconds, fraction = 0;
    std::size_t count = 0;
    SkipSpaces(text, at);
    if (!ReadNumber(text, at, hours, 6, count) || at >= text.size() || text[at++] != ':') return false;
    if (!ReadNumber(text, at, minutes, 2, count) || minutes > 59 || at >= text.size() || text[at++] != ':') return false;
    if (!ReadNumber(text, at, seconds, 2, count) || seconds > 59) return false;
    if (at < text.size() && (text[at] == ',' || text[at] == '.')) {
        ++at;
        if (!ReadNumber(text, at, fraction, 3, count)) return false;
        while (count++ < 3) fraction *= 10;
        while (at < text.size() && IsDigit(text[at])) ++at;   // finer than a millisecond
    }
    ms = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
    return true;
}

bool ReadTimeLine(const String& line, long long& startMs, long long& endMs) {
    std::size_t arrow = line.find("-->");
    if (arrow == String::npos) return false;
    std::size_t at = 0;
    if (!ReadTime(line, at, startMs)) return false;
    SkipSpaces(line, at);
    if (at != arrow) return false;
    at = arrow + 3;
    return ReadTime(line, at, endMs);
}

// One block of lines between blank lines: an optional number, the time line, the text.
bool ReadBlock(const std::vector<String>& block, TSubtitleEntry& entry) {
    for (std::size_t i = 0; i < block.size() && i < 2; ++i) {
        if (!ReadTimeLine(block[i], entry.i_StartMs, entry.i_EndMs)) continue;
        if (entry.i_EndMs <= entry.i_StartMs) return false;
        entry.Lines.assign(block.begin() + static_cast<std::ptrdiff_t>(i) + 1, block.end());
        return true;
    }
    return false;
}

bool ReadFile(const String& path, String& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::vector<TSubtitleEntry> ParseSrt(const String& Text) {
    String text = Text.rfind(kByteOrderMark, 0) == 0 ? Text.substr(kByteOrderMark.size()) : Text;
    std::vector<TSubtitleEntry> entries;
    std::vector<String> block;
    auto finish = [&] {
        TSubtitleEntry entry;
        if (!block.empty() && ReadBlock(block, entry)) entries.push_back(entry);
        block.clear();
    };
    for (const String& line : SplitLines(text)) {
        if (IsBlank(line))
            finish();
        else
            block.push_back(line);
    }
    finish();
    return entries;
}

std::vector<TSubtitleEntry> ShiftSubtitles(const std::vector<TSubtitleEntry>& Entries, int TrimStartSec,
                                           long long LengthMs) {
    const long long shiftMs = static_cast<long long>(TrimStartSec) * 1000;
    std::vector<TSubtitleEntry> shifted;
    for (TSubtitleEntry entry : Entries) {
        entry.i_StartMs -= shiftMs;
        entry.i_EndMs -= shiftMs;
        if (entry.i_EndMs <= 0 || entry.i_StartMs >= LengthMs) continue;
        entry.i_StartMs = std::max(entry.i_StartMs, 0LL);
        entry.i_EndMs = std::min(entry.i_EndMs, LengthMs);
        shifted.push_back(entry);
    }
    return shifted;
}

namespace {

void JoinLines(TSubtitleEntry& Into, const TSubtitleEntry& From) {
    for (const String& line : From.Lines) {
        if (Into.Lines.size() >= kMostLines) return;
        if (std::find(Into.Lines.begin(), Into.Lines.end(), line) == Into.Lines.end()) Into.Lines.push_back(line);
    }
}

}  // namespace

std::vector<TSubtitleEntry> TidySubtitles(std::vector<TSubtitleEntry> Entries, long long FrameMs) {
    std::stable_sort(Entries.begin(), Entries.end(),
                     [](const TSubtitleEntry& a, const TSubtitleEntry& b) { return a.i_StartMs < b.i_StartMs; });
    std::vector<TSubtitleEntry> tidy;
    for (TSubtitleEntry& entry : Entries) {
        if (entry.i_EndMs - entry.i_StartMs < FrameMs) continue;
        if (!tidy.empty() && entry.i_StartMs < tidy.back().i_EndMs) {
            tidy.back().i_EndMs = std::max(tidy.back().i_EndMs, entry.i_EndMs);
            JoinLines(tidy.back(), entry);
            continue;
        }
        tidy.push_back(std::move(entry));
    }
    return tidy;
}

String SrtTime(long long Ms) {
    if (Ms < 0) Ms = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", Ms / 3600000, Ms / 60000 % 60, Ms / 1000 % 60,
                  Ms % 1000);
    return text;
}

String SrtText(const std::vector<TSubtitleEntry>& Entries) {
    String text;
    int number = 1;
    for (const TSubtitleEntry& entry : Entries) {
        text += std::to_string(number++) + "\r\n";
        text += SrtTime(entry.i_StartMs) + " --> " + SrtTime(entry.i_EndMs) + "\r\n";
        for (const String& line : entry.Lines) text += line + "\r\n";
        text += "\r\n";
    }
    return text;
}

TSubtitleCopy WriteShiftedSubtitles(const String& Source, const String& Target, int TrimStartSec, long long LengthMs,
                                    long long FrameMs) {
    TSubtitleCopy copy;
    String bytes;
    if (!ReadFile(Source, bytes)) return copy;
    copy.Encoding = DetectSubtitleEncoding(bytes);
    String text;
    if (!SubtitleTextOf(bytes, copy.Encoding, text)) return copy;
    bytes.clear();
    bytes.shrink_to_fit();
    std::vector<TSubtitleEntry> entries = ParseSrt(text);
    if (entries.empty()) return copy;
    std::vector<TSubtitleEntry> shifted = TidySubtitles(ShiftSubtitles(entries, TrimStartSec, LengthMs), FrameMs);
    if (shifted.empty()) {
        copy.Result = TSubtitleShift::NoneLeft;
        return copy;
    }
    copy.Text = SrtText(shifted);
    if (WriteTextFile(Target, copy.Text)) copy.Result = TSubtitleShift::Shifted;
    return copy;
}
