// Typed wrappers over the Win32 services: a module bound all or none by one owner, and a
// callable run on a worker thread. No casts or void* parameters reach the caller.
//
//   auto library = TModuleBinding<TTable>::Load("X.dll");   // null: missing module or entry
//   library->Entries().Entry(...);                          // freed when library goes
//   Win32_RunOnWorker([&] { ... });                         // false: no thread, nothing ran
#pragma once

#include <functional>
#include <memory>
#include <type_traits>

#include "platform/win32/Windows.h"

// Whether a module without the entry point is still usable.
enum class TEntryNeed { Required, Optional };

// A module and a table of its entry points, bound by name all or none by one owner that frees
// the module as it goes. Table holds the entry points as members and names each in
//   template <typename Bind> void ForEachEntry(Bind&& Entry) { Entry("name", name, Need); ... }
// A missing required entry point frees the module and counts as a missing module; a missing
// optional one stays null.
template <typename Table>
class TModuleBinding {
public:
    // Null when the module can't be loaded or lacks a required entry point.
    static std::unique_ptr<TModuleBinding> Load(LPCSTR ModuleName) {
        std::unique_ptr<TModuleBinding> binding(new TModuleBinding(LoadLibraryA(ModuleName)));
        if (!binding->m_module) return nullptr;
        bool complete = true;
        binding->m_entries.ForEachEntry([&](LPCSTR Name, auto& Entry, TEntryNeed Need) {
            using TEntry = std::remove_reference_t<decltype(Entry)>;
            Entry = reinterpret_cast<TEntry>(GetProcAddress(binding->m_module, Name));
            if (Need == TEntryNeed::Required && Entry == nullptr) complete = false;
        });
        if (!complete) return nullptr;   // the destructor frees the module
        return binding;
    }
    ~TModuleBinding() {
        if (m_module) FreeLibrary(m_module);
    }
    TModuleBinding(const TModuleBinding&) = delete;
    TModuleBinding& operator=(const TModuleBinding&) = delete;

    const Table& Entries() const { return m_entries; }

private:
    explicit TModuleBinding(HMODULE Module) : m_module(Module) {}
    HMODULE m_module;
    Table m_entries;
};

// Runs Work on a new thread of its own (CreateThread underneath, so the thread has its id);
// false when no thread could be made, and Work is not run. An exception out of Work is logged
// and ends only that thread.
bool Win32_RunOnWorker(std::function<void()> Work);
