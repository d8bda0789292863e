#include "VbvCheck.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace testing_vcl {

namespace {

bool StartCodeAt(const std::vector<std::uint8_t>& B, std::size_t I) {
    return I + 3 < B.size() && B[I] == 0 && B[I + 1] == 0 && B[I + 2] == 1;
}

double FrameRate(int Code) {
    static const double rates[] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    return Code > 0 && Code < 9 ? rates[Code] : 0;
}

struct TPicture {
    std::size_t begin = 0;  // first byte of the headers leading to it
    int vbvDelay = 0xFFFF;
};

}  // namespace

std::string TVbvReport::Describe() const {
    std::ostringstream s;
    s << pictures << " pictures at " << rate << " bit/s, buffer " << buffer << " bits, "
      << (constantRate ? "constant" : "variable") << " rate, lowest fullness " << lowest;
    if (underflowAt >= 0) s << ", underflow at picture " << underflowAt;
    if (overflowAt >= 0) s << ", overflow at picture " << overflowAt;
    return s.str();
}

std::vector<std::uint8_t> VideoElementary(const std::vector<std::uint8_t>& B) {
    if (!(StartCodeAt(B, 0) && B[3] == 0xBA)) return B;
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (StartCodeAt(B, i) && i + 6 <= B.size()) {
        const std::uint8_t id = B[i + 3];
        if (id == 0xBA) {  // MPEG-2 pack header, with its stuffing
            if (i + 14 > B.size()) break;
            i += 14 + (B[i + 13] & 7);
            continue;
        }
        if (id == 0xB9) break;
        const std::size_t length = (std::size_t(B[i + 4]) << 8) | B[i + 5];
        const std::size_t end = std::min(B.size(), i + 6 + length);
        if (id >= 0xE0 && id <= 0xEF && i + 9 <= end) {
            const std::size_t payload = i + 9 + B[i + 8];
            if (payload < end) out.insert(out.end(), B.begin() + long(payload), B.begin() + long(end));
        }
        i = end;
    }
    return out;
}

TVbvReport CheckVbv(const std::vector<std::uint8_t>& B, double Rate, double Buffer) {
    TVbvReport r;
    std::vector<TPicture> pictures;
    std::size_t headerStart = std::string::npos;  // a sequence or GOP header opened the next picture
    for (std::size_t i = 0; i + 8 < B.size(); ++i) {
        if (!StartCodeAt(B, i)) continue;
        const std::uint8_t code = B[i + 3];
        if (code == 0xB3 && i + 12 <= B.size()) {
            if (r.rate == 0) {
                const unsigned rateValue = (unsigned(B[i + 8]) << 10) | (unsigned(B[i + 9]) << 2) | (B[i + 10] >> 6);
                const unsigned vbv = ((B[i + 10] & 0x1F) << 5) | (B[i + 11] >> 3);
                r.rate = rateValue * 400.0;
                r.buffer = vbv * 16.0 * 1024.0;
                r.frameRate = FrameRate(B[i + 7] & 0x0F);
            }
            if (headerStart == std::string::npos) headerStart = i;
        } else if (code == 0xB8) {
            if (headerStart == std::string::npos) headerStart = i;
        } else if (code == 0x00) {
            TPicture p;
            p.begin = headerStart == std::string::npos ? i : headerStart;
            p.vbvDelay = ((B[i + 5] & 0x07) << 13) | (B[i + 6] << 5) | (B[i + 7] >> 3);
            pictures.push_back(p);
            headerStart = std::string::npos;
        }
    }
    if (r.rate == 0 || r.frameRate == 0 || pictures.empty()) return r;
    r.read = true;
    r.rate = Rate > 0 ? Rate : std::min(r.rate, kDvdMaxVideoRate);
    r.buffer = Buffer > 0 ? Buffer : std::min(r.buffer > 0 ? r.buffer : kDvdVbvBits, kDvdVbvBits);
    r.pictures = pictures.size();
    r.constantRate = pictures.front().vbvDelay != 0xFFFF;
    // Decode slots are one frame apart; the first comes vbv_delay after its first bit arrives.
    double fullness = r.constantRate ? std::min(r.buffer, pictures.front().vbvDelay * r.rate / 90000.0) : r.buffer;
    r.lowest = fullness;
    const double perFrame = r.rate / r.frameRate;
    for (std::size_t n = 0; n < pictures.size(); ++n) {
        const std::size_t end = n + 1 < pictures.size() ? pictures[n + 1].begin : B.size();
        const double bits = double(end - pictures[n].begin) * 8.0;
        r.lowest = std::min(r.lowest, fullness);
        if (bits > fullness && r.underflowAt < 0) r.underflowAt = long(n);
        fullness = std::max(0.0, fullness - bits) + perFrame;
        if (fullness > r.buffer) {
            // A variable-rate stream stops feeding while full; a constant one would lose bits.
            if (r.constantRate && r.overflowAt < 0) r.overflowAt = long(n);
            fullness = r.buffer;
        }
    }
    return r;
}

TVbvReport CheckVbvFile(const std::string& Path, double Rate, double Buffer) {
    std::ifstream in(Path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return CheckVbv(VideoElementary(bytes), Rate, Buffer);
}

}  // namespace testing_vcl
