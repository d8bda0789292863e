#include "disc/StarBurnSdk.h"

#include "platform/win32/Windows.h"

#include <mutex>

namespace {

struct Binding {
    std::mutex mutex;
    HMODULE module = nullptr;
    StarBurnApi api;
    bool bound = false;
};

Binding& TheBinding() {
    static Binding binding;
    return binding;
}

}  // namespace

const StarBurnApi* StarBurnSdk() {
    auto& binding = TheBinding();
    std::lock_guard lock(binding.mutex);
    if (binding.bound) return &binding.api;
    if (!binding.module) binding.module = LoadLibraryA("starburn.dll");
    if (!binding.module) return nullptr;
    binding.bound = StarBurnBindApi(binding.api, [&binding](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(binding.module, name));
    });
    if (!binding.bound) {
        FreeLibrary(binding.module);
        binding.module = nullptr;
        return nullptr;
    }
    return &binding.api;
}

void StarBurnSdkUnload() {
    auto& binding = TheBinding();
    std::lock_guard lock(binding.mutex);
    if (binding.module) FreeLibrary(binding.module);
    binding.module = nullptr;
    binding.api = StarBurnApi{};
    binding.bound = false;
}
