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
    char picture[256];
    entry.row = FindBoxArt(path, picture, sizeof picture);
    entry.picture = FilePart(picture);
    entry.hasArt = entry.row >= 0 && entry.picture == GameList[entry.row].Image;
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
