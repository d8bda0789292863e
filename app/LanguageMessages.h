// The built-in message table of the Language unit (shared by Language.cpp only).
#pragma once

namespace Language {

constexpr int MessageCount = 158;  // message numbers 0 to 157
extern const char* const MessageTexts[MessageCount];

}  // namespace Language
