#include "production/SubtitleEncoding.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

bool StartsWith(std::string_view Bytes, std::string_view Mark) { return Bytes.substr(0, Mark.size()) == Mark; }

// The length of the UTF-8 sequence at Bytes[at], 0 when it is not a valid one (overlong forms,
// surrogates and values past U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view Bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(Bytes[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                        : 0;
    if (length == 0 || at + length > Bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    if (length == 3) {
        const unsigned char second = byte(at + 1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)) return 0;
    }
    if (length == 4) {
        const unsigned char second = byte(at + 1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) return 0;
    }
    return length;
}

void AppendUtf8(String& Text, char32_t c) {
    if (c < 0x80) {
        Text += static_cast<char>(c);
    } else if (c < 0x800) {
        Text += static_cast<char>(0xC0 | (c >> 6));
        Text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        Text += static_cast<char>(0xE0 | (c >> 12));
        Text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        Text += static_cast<char>(0xF0 | (c >> 18));
        Text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        Text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool Utf16ToUtf8(std::string_view Bytes, bool BigEndian, String& Text) {
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(Bytes[i]);
        const auto b = static_cast<unsigned char>(Bytes[i + 1]);
        return static_cast<char32_t>(BigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    Text.clear();
    Text.reserve(Bytes.size());
    std::size_t i = 0;
    for (; i + 1 < Bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 3 >= Bytes.size()) return false;
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
        AppendUtf8(Text, c);
    }
    return i == Bytes.size();
}

const std::string_view kUtf8Mark = "\xEF\xBB\xBF";
const std::string_view kLittleMark = "\xFF\xFE";
const std::string_view kBigMark = "\xFE\xFF";

}  // namespace

TSubtitleEncoding DetectSubtitleEncoding(std::string_view Bytes) {
    if (StartsWith(Bytes, kUtf8Mark)) return TSubtitleEncoding::Utf8;
    if (StartsWith(Bytes, kLittleMark)) return TSubtitleEncoding::Utf16LE;
    if (StartsWith(Bytes, kBigMark)) return TSubtitleEncoding::Utf16BE;
    bool nonAscii = false;
    for (std::size_t at = 0; at < Bytes.size();) {
        const std::size_t length = Utf8SequenceLength(Bytes, at);
        if (length == 0) return TSubtitleEncoding::RegionCharset;
        nonAscii = nonAscii || length > 1;
        at += length;
    }
    return nonAscii ? TSubtitleEncoding::Utf8 : TSubtitleEncoding::RegionCharset;
}

bool SubtitleTextOf(const String& Bytes, TSubtitleEncoding Encoding, String& Text) {
    const std::string_view bytes = Bytes;
    switch (Encoding) {
        case TSubtitleEncoding::Utf8:
            Text = String(StartsWith(bytes, kUtf8Mark) ? bytes.substr(kUtf8Mark.size()) : bytes);
            return true;
        case TSubtitleEncoding::Utf16LE: return Utf16ToUtf8(bytes.substr(kLittleMark.size()), false, Text);
        case TSubtitleEncoding::Utf16BE: return Utf16ToUtf8(bytes.substr(kBigMark.size()), true, Text);
        case TSubtitleEncoding::RegionCharset: Text = Bytes; return true;
    }
    return false;
}

String SubtitleCharacterSet(TSubtitleEncoding Encoding, const String& RegionCharset) {
    return Encoding == TSubtitleEncoding::RegionCharset ? RegionCharset : String("UTF-8");
}

bool CodePointsOf(const String& Text, const String& Charset, std::u32string& CodePoints) {
    CodePoints.clear();
    iconv_t converter = iconv_open("UTF-32LE", Charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::vector<char> input(Text.begin(), Text.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::vector<char> output(4096);
    bool ok = true;
    while (inLeft > 0 && ok) {
        char* out = output.data();
        std::size_t outLeft = output.size();
        const std::size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
        const bool full = done == static_cast<std::size_t>(-1) && errno == E2BIG;
        ok = done != static_cast<std::size_t>(-1) || full;
        for (const char* p = output.data(); p + 3 < out; p += 4) {
            const auto b = [&](int i) { return static_cast<char32_t>(static_cast<unsigned char>(p[i])); };
            CodePoints.push_back(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
        }
    }
    iconv_close(converter);
    return ok;
}
