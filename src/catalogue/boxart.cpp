// The box art shown for a ROM: the picture its table row names, else the
// picture named after its file as thumbnail packs name theirs, each only when
// it is there and decodes; else the no-cartridge picture.
#include "utils.h"

#include <datatypes/datatypes.h>
#include <proto/datatypes.h>
#include <proto/dos.h>

#include <stdio.h>
#include <string.h>

namespace {

CONST_STRPTR kNoCartridge = "PROGDIR:images/nocart.png";
CONST_STRPTR kImages = "PROGDIR:images/";

// Looks at a picture by loading it: TRUE when it decodes. A picture that is
// there but does not decode sets *broken.
BOOL picture_shows(CONST_STRPTR path, BOOL *broken) {
    Object *picture = NewDTObject(path, DTA_GroupID, GID_PICTURE, TAG_DONE);
    if (picture) {
        DisposeDTObject(picture); // the window shows it next without decoding it again
        return TRUE;
    }
    if (IoErr() != ERROR_OBJECT_NOT_FOUND)
        *broken = TRUE;
    return FALSE;
}

} // namespace

void NamedPicture(CONST_STRPTR romPath, STRPTR buffer, ULONG size) {
    CONST_STRPTR file = FilePart(romPath);
    CONST_STRPTR dot = strrchr(file, '.');
    size_t length = dot ? static_cast<size_t>(dot - file) : strlen(file);
    if (dot && HasExtension(dot, strlen(dot), ".gz"))
        for (CONST_STRPTR inner : {".rom", ".col", ".bin"})
            if (HasExtension(file, length, inner))
                length -= strlen(inner);
    snprintf(buffer, size, "%s", kImages);
    size_t at = strlen(buffer);
    for (size_t i = 0; i < length && at + 1 < size; i++)
        buffer[at++] = strchr("&*/:`<>?\\|", file[i]) ? '_' : file[i];
    buffer[at] = 0;
    strncat(buffer, ".png", size - at - 1);
}

void FindBoxArt(CONST_STRPTR romPath, struct BoxArt *art) {
    art->Row = -1;
    art->Table[0] = art->Named[0] = 0;
    art->Broken = FALSE;
    snprintf(art->Shown, sizeof art->Shown, "%s", kNoCartridge);
    if (!romPath)
        return;
    TEXT fingerprint[16];
    snprintf(fingerprint, sizeof fingerprint, "%X", GetFileFingerPrint(romPath));
    art->Row = LookUpGameImage(fingerprint);
    if (art->Row >= 0) {
        snprintf(art->Table, sizeof art->Table, "%s%s", kImages, GameList[art->Row].Image);
        if (DebugIT)
            printf("      mybuffer = %s\n", art->Table);
    }
    NamedPicture(romPath, art->Named, sizeof art->Named);
    if (art->Row >= 0 && picture_shows(art->Table, &art->Broken))
        snprintf(art->Shown, sizeof art->Shown, "%s", art->Table);
    else if (picture_shows(art->Named, &art->Broken))
        snprintf(art->Shown, sizeof art->Shown, "%s", art->Named);
}
