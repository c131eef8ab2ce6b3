// OpenLibrary and friends over a registry filled by the platform modules.
#include "host_exec.h"

#include <proto/exec.h>

#include <map>
#include <memory>

namespace {

struct Entry {
    platform::exec::LibraryDef def;
    Library base{};
};

std::map<std::string, std::unique_ptr<Entry>> &Registry() {
    static std::map<std::string, std::unique_ptr<Entry>> registry;
    return registry;
}

Entry *EntryOf(struct Library *library) {
    for (auto &[name, entry] : Registry())
        if (&entry->base == library)
            return entry.get();
    return nullptr;
}

} // namespace

namespace platform::exec {

void RegisterLibrary(LibraryDef def) {
    auto entry = std::make_unique<Entry>();
    entry->def = std::move(def);
    entry->base.lib_Name = entry->def.name.c_str();
    entry->base.lib_Version = entry->def.version;
    Registry()[entry->def.name] = std::move(entry);
}

} // namespace platform::exec

struct Library *OpenLibrary(CONST_STRPTR libName, ULONG version) {
    if (!libName)
        return nullptr;
    auto it = Registry().find(libName);
    if (it == Registry().end())
        return nullptr;
    Entry &entry = *it->second;
    if (entry.def.version < version)
        return nullptr;
    if (entry.base.lib_OpenCnt == 0 && entry.def.open && !entry.def.open())
        return nullptr;
    ++entry.base.lib_OpenCnt;
    return &entry.base;
}

void CloseLibrary(struct Library *library) {
    Entry *entry = EntryOf(library);
    if (!entry || entry->base.lib_OpenCnt == 0)
        return;
    if (--entry->base.lib_OpenCnt == 0 && entry->def.close)
        entry->def.close();
}

struct Interface *GetInterface(struct Library *library, CONST_STRPTR name, ULONG version,
                               const struct TagItem *) {
    if (!library || !EntryOf(library) || !name || std::string(name) != "main" || version > 1)
        return nullptr;
    return new Interface{library, "main", 1};
}

void DropInterface(struct Interface *interface) {
    delete interface;
}
