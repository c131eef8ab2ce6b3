// The drawer's ROMs, named and pictured by the launcher's own catalogue code.
#include "drawer_tool.h"

#include "utils.h"

#include <proto/dos.h>

#include <cstdio>
#include <cstring>

namespace drawer_tool {
namespace {

RomEntry Describe(CONST_STRPTR path, CONST_STRPTR name) {
    RomEntry entry;
    entry.file = FilePart(path);
    char fingerprint[16];
    std::snprintf(fingerprint, sizeof fingerprint, "%X", GetFileFingerPrint(path));
    entry.fingerprint = fingerprint;
    entry.name = name;
    struct BoxArt art;
    FindBoxArt(path, &art);
    entry.row = art.Row;
    entry.picture = FilePart(art.Shown);
    entry.table = FilePart(art.Table);
    entry.named = FilePart(art.Named);
    entry.wanted = art.Row >= 0 ? entry.table : entry.named;
    const bool own =
        std::strcmp(art.Shown, art.Table) == 0 || std::strcmp(art.Shown, art.Named) == 0;
    entry.state = own ? "ok" : art.Broken ? "broken" : art.Row >= 0 ? "missing" : "unknown";
    return entry;
}

} // namespace

std::vector<RomEntry> ListRoms() {
    make_list();
    std::vector<RomEntry> entries;
    for (LONG i = 0; i < NumROMS; i++)
        entries.push_back(Describe(ROMArray[i], NameArray[i]));
    free_catalogue();
    return entries;
}

} // namespace drawer_tool
