#include "disc/StarBurnSdk.h"

#include <memory>
#include <mutex>

#include "platform/win32/Win32Typed.h"

namespace {

// The SDK's operation table, every operation required.
struct TStarBurnEntries {
    StarBurnApi Api;

    template <typename Bind>
    void ForEachEntry(Bind&& Entry) {
#define STARBURN_API_ENTRY(ordinal, name, type) Entry(#name, Api.name, TEntryNeed::Required);
        STARBURN_OPERATIONS(STARBURN_API_ENTRY)
#undef STARBURN_API_ENTRY
    }
};

struct Binding {
    std::mutex mutex;
    std::unique_ptr<TModuleBinding<TStarBurnEntries>> module;
};

Binding& TheBinding() {
    static Binding binding;
    return binding;
}

}  // namespace

const StarBurnApi* StarBurnSdk() {
    auto& binding = TheBinding();
    std::lock_guard lock(binding.mutex);
    if (!binding.module) binding.module = TModuleBinding<TStarBurnEntries>::Load("starburn.dll");
    return binding.module ? &binding.module->Entries().Api : nullptr;
}

void StarBurnSdkUnload() {
    auto& binding = TheBinding();
    std::lock_guard lock(binding.mutex);
    binding.module.reset();
}
