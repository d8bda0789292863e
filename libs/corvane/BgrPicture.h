// Frames as the program takes them: rows of blue-green-red bytes, top row first, contiguous.
#pragma once

#include <cstdint>
#include <vector>

extern "C" {
struct AVFrame;
}

namespace corvane {

// Scales the frame, turned upright, into out (resized to width x height x 3). False, with out
// black, when the frame can't be converted.
bool ScaleToBgr(const AVFrame* frame, int width, int height, std::vector<std::uint8_t>& out);

}  // namespace corvane
