// The box art shown for a ROM: the picture its table row names, when that
// file opens, else the no-cartridge picture.
#include "utils.h"

#include <proto/dos.h>

#include <stdio.h>

namespace {

CONST_STRPTR kNoCartridge = "PROGDIR:images/nocart.png";

} // namespace

LONG FindBoxArt(CONST_STRPTR romPath, STRPTR buffer, ULONG size) {
    snprintf(buffer, size, "%s", kNoCartridge);
    if (!romPath)
        return -1;
    TEXT fingerprint[16];
    snprintf(fingerprint, sizeof fingerprint, "%X", GetFileFingerPrint(romPath));
    const LONG row = LookUpGameImage(fingerprint);
    if (row < 0)
        return row;
    snprintf(buffer, size, "PROGDIR:images/%s", GameList[row].Image);
    if (DebugIT)
        printf("      mybuffer = %s\n", buffer);
    if (BPTR file = Open(buffer, MODE_OLDFILE))
        Close(file);
    else
        snprintf(buffer, size, "%s", kNoCartridge);
    return row;
}
