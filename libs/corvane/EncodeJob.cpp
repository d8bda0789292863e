#include "libs/corvane/EncodeJob.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace corvane {

namespace {

constexpr int kMinSide = 16;
constexpr int kMaxSide = 1920;
constexpr int kMinKbps = 500;
constexpr int kMaxKbps = 9000;     // below the DVD's 9.8 Mbit/s video limit, with room for the peaks
constexpr int kDefaultKbps = 5000;
constexpr double kLongestSec = 24 * 3600 * 10;

bool ParseLong(const char* text, const char** end, long& value) {
    if (!text) return false;
    errno = 0;
    char* stop = nullptr;
    value = std::strtol(text, &stop, 10);
    if (stop == text || errno != 0) return false;
    *end = stop;
    return true;
}

bool ParsePair(const char* text, const char* separators, long& first, long& second) {
    const char* rest = nullptr;
    if (!ParseLong(text, &rest, first) || !*rest || !std::strchr(separators, *rest)) return false;
    const char* end = nullptr;
    return ParseLong(rest + 1, &end, second) && *end == '\0';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

// One time at text: digits with an optional fraction (".5" and "5." too), read without the
// locale, so a decimal comma never changes its meaning. The end of it, or null.
const char* ParseTime(const char* text, double& seconds) {
    const char* end = text;
    int digits = 0;
    for (; IsDigit(*end); ++end) ++digits;
    if (*end == '.') {
        for (++end; IsDigit(*end); ++end) ++digits;
    }
    double value = 0;
    if (digits == 0 || std::from_chars(text, end, value, std::chars_format::fixed).ptr != end) return nullptr;
    if (!(value <= kLongestSec)) return nullptr;
    seconds = value;
    return end;
}

}  // namespace

bool ParseKeyTimes(const char* text, std::vector<double>& seconds) {
    if (!text) return false;
    std::vector<double> times;
    const char* at = SkipBlanks(text);
    if (*at == '\0') {
        seconds.clear();
        return true;
    }
    for (;;) {
        double time = 0;
        at = ParseTime(SkipBlanks(at), time);
        if (!at || times.size() == kMostKeyTimes) return false;
        times.push_back(time);
        at = SkipBlanks(at);
        if (*at == '\0') break;
        if (*at++ != ',') return false;
    }
    seconds = std::move(times);
    return true;
}

bool ParseSize(const char* text, int& width, int& height) {
    long w = 0, h = 0;
    if (!ParsePair(text, ":x", w, h)) return false;
    if (w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide || w % 2 || h % 2) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseRate(const char* text, Ratio& rate) {
    long num = 0, den = 0;
    if (text && ParsePair(text, "/", num, den)) {
        if (num <= 0 || den <= 0 || num > 1000000 || den > 1000000) return false;
        rate = {static_cast<int>(num), static_cast<int>(den)};
    } else {
        if (!text || !*text) return false;
        char* end = nullptr;
        double value = std::strtod(text, &end);
        if (*end != '\0' || !(value > 0)) return false;
        if (std::fabs(value - 29.97) < 0.01) {
            rate = {30000, 1001};
        } else {
            rate = {static_cast<int>(std::lround(value * 1000)), 1000};
        }
    }
    return rate.Value() >= 1 && rate.Value() <= 120;
}

bool ParseAspect(const char* text, Ratio& aspect) {
    long num = 0, den = 0;
    if (!ParsePair(text, ":/", num, den)) return false;
    if ((num == 4 && den == 3) || (num == 16 && den == 9)) {
        aspect = {static_cast<int>(num), static_cast<int>(den)};
        return true;
    }
    return false;
}

bool ParseSeconds(const char* text, int& seconds) {
    long value = 0;
    const char* end = nullptr;
    if (!ParseLong(text, &end, value) || *end != '\0' || value < 0 || value > 24 * 3600 * 10) return false;
    seconds = static_cast<int>(value);
    return true;
}

int GopFramesFor(const Ratio& rate) { return rate.Value() > 26 ? 18 : 15; }

int VideoKbpsFor(const char* text) {
    long value = 0;
    const char* end = nullptr;
    if (!ParseLong(text, &end, value) || *end != '\0' || value < kMinKbps || value > kMaxKbps) return kDefaultKbps;
    return static_cast<int>(value);
}

}  // namespace corvane
