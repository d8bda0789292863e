#include "platform/vcl/Resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Blob {
    const Byte* data;
    std::size_t size;
};

using Key = std::pair<String, String>;  // upper-case name, upper-case type

// Function-local so that registrations from other translation units' static initialisers work
// whatever the order of initialisation.
std::map<Key, Blob>& Table() {
    static std::map<Key, Blob> table;
    return table;
}

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

String Upper(const String& s) {
    String r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

int g_moduleTag = 0;

}  // namespace

HINSTANCE HInstance = reinterpret_cast<HINSTANCE>(&g_moduleTag);

void Resources_Register(const char* Name, const char* Type, const Byte* Data, std::size_t Size) {
    std::lock_guard<std::mutex> guard(TableLock());
    Table()[{Upper(Name ? Name : ""), Upper(Type ? Type : "")}] = Blob{Data, Size};
}

bool Resources_Unregister(const String& Name, const String& Type) {
    std::lock_guard<std::mutex> guard(TableLock());
    return Table().erase({Upper(Name), Upper(Type)}) > 0;
}

bool Resources_Find(const String& Name, const String& Type, const Byte*& Data, std::size_t& Size) {
    std::lock_guard<std::mutex> guard(TableLock());
    auto it = Table().find({Upper(Name), Upper(Type)});
    if (it == Table().end()) return false;
    Data = it->second.data;
    Size = it->second.size;
    return true;
}
