#include "libs/corvane/LastError.h"

#include <mutex>

namespace corvane {

namespace {

struct LastErrorText {
    std::mutex mutex;
    std::string text;
};

LastErrorText& Shared() {
    static LastErrorText shared;
    return shared;
}

}  // namespace

void SetLastError(const std::string& text) {
    if (text.empty()) return;
    auto& shared = Shared();
    std::lock_guard lock(shared.mutex);
    shared.text = text;
}

std::string LastError() {
    auto& shared = Shared();
    std::lock_guard lock(shared.mutex);
    return shared.text;
}

}  // namespace corvane
