// Posting the grabber's messages to the program's window.
//
// The module links nothing of the program: PostMessageA is looked up at run time among the
// symbols the executable exports, so the module also loads into a program that has none.
#pragma once

#include <cstdint>

namespace corvane {

class MessagePoster {
public:
    // window 0: every Post is dropped.
    explicit MessagePoster(void* window);
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const;

private:
    using PostFunction = int (*)(void*, unsigned, std::uintptr_t, std::intptr_t);
    static PostFunction Resolve();

    void* window_;
    PostFunction post_;
};

}  // namespace corvane
