// Pictures stored turned: phone video keeps its sensor's landscape pixels and says in the file
// how far to turn them for showing (the display matrix). Every picture the module hands out or
// encodes is shown upright.
#pragma once

#include <cstdint>

extern "C" {
struct AVFrame;
struct AVStream;
}

namespace corvane {

// How far the frame turns clockwise to stand upright: 0, 90, 180 or 270.
int ClockwiseTurnOf(const AVFrame* frame);
// A quarter turn swaps the picture's width and height.
bool TurnSwapsSides(int turn);
// Gives the frame the stream's turn when the frame carries none of its own. False when memory
// ran out.
bool MarkStreamTurn(AVFrame* frame, const AVStream* stream);
// The clockwise turn the stream's display matrix asks for (0 without one).
int ClockwiseTurnOf(const AVStream* stream);

// Copies a width x height picture of pixelBytes-byte pixels turned clockwise by turn degrees;
// dst holds height x width pixels for a quarter turn, width x height otherwise. Pixels are of
// one byte (a plane) or three (blue, green, red).
void TurnPixels(const std::uint8_t* src, int srcStride, int width, int height, int pixelBytes, int turn,
                std::uint8_t* dst, int dstStride);

}  // namespace corvane
