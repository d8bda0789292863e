// libdvdread bound at run time, so that tests reading an authored disc need nothing more at
// link time. Ready() is false when the library or one of its functions is missing.
#pragma once

#include <dlfcn.h>
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

namespace testing_vcl {

struct TDvdRead {
    void* library = dlopen("libdvdread.so.8", RTLD_NOW | RTLD_LOCAL);
    decltype(&DVDOpen) open = library ? reinterpret_cast<decltype(&DVDOpen)>(dlsym(library, "DVDOpen")) : nullptr;
    decltype(&DVDClose) close = library ? reinterpret_cast<decltype(&DVDClose)>(dlsym(library, "DVDClose")) : nullptr;
    decltype(&ifoOpen) ifo = library ? reinterpret_cast<decltype(&ifoOpen)>(dlsym(library, "ifoOpen")) : nullptr;
    decltype(&ifoClose) ifoFree = library ? reinterpret_cast<decltype(&ifoClose)>(dlsym(library, "ifoClose")) : nullptr;
    TDvdRead() = default;
    TDvdRead(const TDvdRead&) = delete;
    TDvdRead& operator=(const TDvdRead&) = delete;
    ~TDvdRead() {
        if (library) dlclose(library);
    }
    bool Ready() const { return open && close && ifo && ifoFree; }
};

}  // namespace testing_vcl
