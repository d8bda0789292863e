#include "libs/corvane/MessagePoster.h"

#include <dlfcn.h>

namespace corvane {

MessagePoster::MessagePoster(void* window) : window_(window), post_(window ? Resolve() : nullptr) {}

// The program exports its PostMessageA with C linkage; a host without one gets no messages.
MessagePoster::PostFunction MessagePoster::Resolve() {
    return reinterpret_cast<PostFunction>(dlsym(RTLD_DEFAULT, "PostMessageA"));
}

void MessagePoster::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const {
    if (window_ && post_) post_(window_, message, wParam, lParam);
}

}  // namespace corvane
