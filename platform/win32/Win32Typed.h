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
#include <utility>

#include "platform/win32/Windows.h"

// Whether a module without the entry point is still usable; Unused entries are not bound (the
// owner asked for another set of the module's entry points).
enum class TEntryNeed { Required, Optional, Unused };

// A module and a table of its entry points, bound by name all or none by one owner that frees
// the module as it goes. Table holds the entry points as members and names each in
//   template <typename Bind> void ForEachEntry(Bind&& Entry) { Entry("name", name, Need); ... }
// A missing required entry point frees the module and counts as a missing module; a missing
// optional one stays null.
template <typename Table>
class TModuleBinding {
public:
    // Null when the module can't be loaded or lacks a required entry point. Entries may come
    // with settings of the table's own that choose what each entry needs.
    static std::unique_ptr<TModuleBinding> Load(LPCSTR ModuleName, Table Entries = Table{}) {
        std::unique_ptr<TModuleBinding> binding(new TModuleBinding(LoadLibraryA(ModuleName), std::move(Entries)));
        if (!binding->m_module) return nullptr;
        bool complete = true;
        binding->m_entries.ForEachEntry([&](LPCSTR Name, auto& Entry, TEntryNeed Need) {
            using TEntry = std::remove_reference_t<decltype(Entry)>;
            if (Need == TEntryNeed::Unused) return;
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
    // Forgets the module without freeing it: a worker of the module may still run its code.
    void Abandon() { m_module = nullptr; }

private:
    TModuleBinding(HMODULE Module, Table Entries) : m_module(Module), m_entries(std::move(Entries)) {}
    HMODULE m_module;
    Table m_entries;
};

// Runs Work on a new thread of its own (CreateThread underneath, so the thread has its id);
// false when no thread could be made, and Work is not run. An exception out of Work is logged
// and ends only that thread.
bool Win32_RunOnWorker(std::function<void()> Work);
