#include "libs/corvane/GopPlan.h"

#include <algorithm>
#include <cmath>

namespace corvane {

GopPlan::GopPlan(int longest, int shortest, const std::vector<long long>& keyFrames)
    : longest_(std::max(longest, 1)), shortest_(std::clamp(shortest, 1, std::max(longest, 1))), keys_{0} {
    std::vector<long long> sorted(keyFrames);
    std::sort(sorted.begin(), sorted.end());
    for (long long key : sorted) {
        if (key - keys_.back() >= shortest_) keys_.push_back(key);
    }
}

GopPlan GopPlan::For(const EncodeJob& job) {
    std::vector<long long> keys;
    keys.reserve(job.keyTimesSec.size());
    for (double seconds : job.keyTimesSec) keys.push_back(FrameAt(seconds, job.frameRate));
    return GopPlan(job.gopFrames, VobuFramesFor(job.frameRate), keys);
}

bool GopPlan::StartsGop(long long frame) const {
    if (frame < 0) return false;
    auto next = std::upper_bound(keys_.begin(), keys_.end(), frame);
    long long from = *(next - 1);
    long long offset = frame - from;
    if (next == keys_.end()) return offset % longest_ == 0;
    return StartsGopWithin(offset, *next - from);
}

bool GopPlan::StartsGopWithin(long long offset, long long span) const {
    if (offset == 0) return true;
    long long count = (span + longest_ - 1) / longest_;
    if (count * shortest_ <= span) {
        // As few GOPs as the longest allows, of even lengths: each between shortest and longest,
        // so every one of them starts a VOBU.
        long long index = (offset * count + span - 1) / span;
        return index * span / count == offset;
    }
    // No count of GOPs fits between the limits (19 to 23 frames at NTSC rates): one short GOP
    // first, which starts no VOBU of its own, then GOPs of the shortest length, the last VOBU
    // before the key frame being long enough.
    long long lead = span % shortest_;
    return offset == lead || (offset > lead && (offset - lead) % shortest_ == 0);
}

int VobuFramesFor(const Ratio& rate) {
    if (rate.num <= 0 || rate.den <= 0) return 1;
    // The smallest n with n * den / num >= 0.4, in integers.
    long long twiceNum = 2LL * rate.num;
    long long fiveDen = 5LL * rate.den;
    return static_cast<int>((twiceNum + fiveDen - 1) / fiveDen);
}

long long FrameAt(double seconds, const Ratio& rate) {
    if (rate.den <= 0) return 0;
    return std::llround(seconds * rate.num / rate.den);
}

}  // namespace corvane
