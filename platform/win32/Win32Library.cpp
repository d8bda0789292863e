// Dynamic libraries: modules registered in-process (tests' stand-ins) and shared objects.
//
// Loading the same module twice gives the same HMODULE with one more reference, as in Win32.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ExportTable = std::map<std::string, FARPROC>;

struct LoadedModule {
    std::shared_ptr<const ExportTable> registered;   // set for an in-process module
    void* library = nullptr;                         // set for a shared object
    int references = 0;
};

struct ModuleTable {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const ExportTable>> registered;   // by lower-case bare name
    std::map<std::uintptr_t, LoadedModule> loaded;
    std::uintptr_t nextHandle = 0x10000;
};

ModuleTable& Modules() {
    static auto* table = new ModuleTable;
    return *table;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string BareName(const std::string& name) {
    auto slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool HasFolder(const std::string& name) { return name.find_first_of("/\\") != std::string::npos; }

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && Lower(text.substr(text.size() - suffix.size())) == suffix;
}

// "X.dll" becomes "X.so"; a name without an extension gets ".so", as Win32 adds ".dll".
std::string SharedObjectName(const std::string& name) {
    if (EndsWithNoCase(name, ".dll")) return name.substr(0, name.size() - 4) + ".so";
    if (BareName(name).find('.') == std::string::npos) return name + ".so";
    return name;
}

// The registered stand-in is the same module under "X", "X.dll" and any folder.
std::string RegistryKey(const std::string& name) {
    std::string bare = Lower(BareName(name));
    return EndsWithNoCase(bare, ".dll") || bare.find('.') != std::string::npos ? bare : bare + ".dll";
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The program folder first; a bare name that isn't there goes to the system's search as well
// (a library that isn't ours, such as "libm.so.6").
void* OpenSharedObject(const std::string& name) {
    std::string file = SharedObjectName(HasFolder(name) ? Win32_LocalPath(name) : name);
    int flags = RTLD_NOW | RTLD_LOCAL;
    if (HasFolder(file)) return dlopen(file.c_str(), flags);
    std::string beside = Win32_ProgramFolder() + file;
    if (FileExists(beside)) return dlopen(beside.c_str(), flags);
    if (EndsWithNoCase(name, ".dll")) return nullptr;
    return dlopen(file.c_str(), flags);
}

// Under the table's lock: one more reference to an already loaded module, or a new entry.
HMODULE Reference(ModuleTable& table, LoadedModule module, bool& existed) {
    existed = true;
    for (auto& [handle, loaded] : table.loaded) {
        bool same = module.registered ? loaded.registered == module.registered
                                      : loaded.library == module.library;
        if (!same) continue;
        ++loaded.references;
        return reinterpret_cast<HMODULE>(handle);
    }
    existed = false;
    module.references = 1;
    table.nextHandle += 0x1000;
    table.loaded.emplace(table.nextHandle, std::move(module));
    return reinterpret_cast<HMODULE>(table.nextHandle);
}

}  // namespace

void Win32_RegisterModule(const std::string& moduleName, std::initializer_list<Win32ModuleExport> exports) {
    if (exports.size() == 0) {
        Win32_UnregisterModule(moduleName);
        return;
    }
    auto table = std::make_shared<ExportTable>();
    for (const auto& entry : exports) {
        if (entry.name) (*table)[entry.name] = entry.proc;
    }
    auto& modules = Modules();
    std::lock_guard lock(modules.mutex);
    modules.registered[RegistryKey(moduleName)] = std::move(table);
}

// Handles already given out keep the exports they were loaded with until freed.
void Win32_UnregisterModule(const std::string& moduleName) {
    auto& modules = Modules();
    std::lock_guard lock(modules.mutex);
    modules.registered.erase(RegistryKey(moduleName));
}

std::string Win32_ProgramFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName) {
    if (!lpLibFileName || !*lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string name = lpLibFileName;
    auto& modules = Modules();
    {
        std::lock_guard lock(modules.mutex);
        auto it = modules.registered.find(RegistryKey(name));
        bool existed = false;
        if (it != modules.registered.end()) return Reference(modules, LoadedModule{it->second, nullptr, 0}, existed);
    }
    void* library = OpenSharedObject(name);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard lock(modules.mutex);
    bool existed = false;
    HMODULE handle = Reference(modules, LoadedModule{nullptr, library, 0}, existed);
    if (existed) dlclose(library);   // the loader counted it again; we count it ourselves
    return handle;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    if (!lpProcName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& modules = Modules();
    std::lock_guard lock(modules.mutex);
    auto it = modules.loaded.find(reinterpret_cast<std::uintptr_t>(hModule));
    if (it == modules.loaded.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    FARPROC proc = nullptr;
    if (it->second.registered) {
        auto found = it->second.registered->find(lpProcName);
        if (found != it->second.registered->end()) proc = found->second;
    } else {
        proc = reinterpret_cast<FARPROC>(dlsym(it->second.library, lpProcName));
    }
    if (!proc) SetLastError(ERROR_PROC_NOT_FOUND);
    return proc;
}

BOOL FreeLibrary(HMODULE hLibModule) {
    void* toClose = nullptr;
    {
        auto& modules = Modules();
        std::lock_guard lock(modules.mutex);
        auto it = modules.loaded.find(reinterpret_cast<std::uintptr_t>(hLibModule));
        if (it == modules.loaded.end()) return Win32_Fail(ERROR_INVALID_HANDLE);
        if (--it->second.references > 0) return TRUE;
        toClose = it->second.library;
        modules.loaded.erase(it);
    }
    if (toClose) dlclose(toClose);
    return TRUE;
}
