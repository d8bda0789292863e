// Blocking the caller while work runs on its own thread, with the caller's window messages
// still flowing: the program's timers and buttons keep working during an encode.
//
// The module links nothing of the program: PeekMessageA and DispatchMessageA are looked up at
// run time among the executable's symbols; a host without them simply waits.
#pragma once

#include <functional>

namespace corvane {

// Runs work on a thread of its own and returns its result once it ends. With a window given and
// the host's message functions found, the calling thread's messages are dispatched meanwhile.
bool RunPumping(void* window, const std::function<bool()>& work);

}  // namespace corvane
