// The built-in message table of the Language unit (shared by Language.cpp only).
#pragma once

namespace Language {

constexpr int MessageCount = 300;  // message numbers 0 to 299
extern const char* const MessageTexts[MessageCount];

}  // namespace Language
