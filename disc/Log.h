// The disc layer's log dispatcher: printf-formatted lines handed to the sinks of their channel.
//
// Channel 0 carries developer trace lines, channel 1 short status lines for a person. Nothing
// listens unless a sink is added. Log may be called from any thread; a sink must be safe to call
// from any thread too.
#pragma once

#include <functional>

constexpr int LOG_CHANNEL_TRACE = 0;
constexpr int LOG_CHANNEL_STATUS = 1;

constexpr int LOG_LEVEL_INFO = 0;
constexpr int LOG_LEVEL_WARNING = 2;
constexpr int LOG_LEVEL_ERROR = 3;

struct TLogImp {
    std::function<void(int level, const char* text)> Callback;
    int Channel = LOG_CHANNEL_TRACE;
};

// A line longer than the 4096-byte line buffer is cut to fit. "%I64d" is taken as "%lld".
void Log(int channel, int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
void DispatchLog(int channel, int level, const char* text);

// Sinks are kept in the order added; RemoveLogImps takes them all away again.
void AddLogImp(TLogImp imp);
void RemoveLogImps();
