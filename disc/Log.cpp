#include "disc/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLineBytes = 4096;

struct SinkList {
    std::mutex mutex;
    std::vector<TLogImp> sinks;
};

SinkList& Sinks() {
    static SinkList list;
    return list;
}

// The 64-bit length modifier of the original platform, spelt the way vsnprintf reads it.
std::string PortableFormat(const char* format) {
    std::string text = format;
    for (std::size_t at = text.find("%I64"); at != std::string::npos; at = text.find("%I64", at))
        text.replace(at, 4, "%ll");
    return text;
}

}  // namespace

void Log(int channel, int level, const char* format, ...) {
    if (!format) return;
    char line[kLineBytes] = {};
    std::string portable = PortableFormat(format);
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::vsnprintf(line, sizeof line, portable.c_str(), args);
#pragma GCC diagnostic pop
    va_end(args);
    DispatchLog(channel, level, line);
}

// Sinks are called outside the lock, so a sink may log or add a sink itself.
void DispatchLog(int channel, int level, const char* text) {
    std::vector<TLogImp> matching;
    {
        auto& list = Sinks();
        std::lock_guard lock(list.mutex);
        for (const auto& sink : list.sinks) {
            if (sink.Channel == channel && sink.Callback) matching.push_back(sink);
        }
    }
    for (const auto& sink : matching) sink.Callback(level, text ? text : "");
}

void AddLogImp(TLogImp imp) {
    auto& list = Sinks();
    std::lock_guard lock(list.mutex);
    list.sinks.push_back(std::move(imp));
}

void RemoveLogImps() {
    auto& list = Sinks();
    std::lock_guard lock(list.mutex);
    list.sinks.clear();
}
