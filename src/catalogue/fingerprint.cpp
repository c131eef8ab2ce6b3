// Identifying a ROM file: its fingerprint, its byte sum, and the table lookup.
// A ROM packed as .zip or .gz is identified by the ROM inside.
#include "utils.h"

#include <proto/dos.h>

#include <ctype.h>
#include <string.h>

namespace {

constexpr ULONG kFingerprintStart = 5381;
constexpr ULONG kFingerprintBytes = 100;

ULONG RotateLeft5(ULONG value) {
    return (value << 5) | (value >> 27);
}

// Opens a ROM for reading its own bytes: one packed in a .zip or .gz through
// DOS's unpacking open.
BPTR OpenRom(CONST_STRPTR path) {
    const bool packed = path && (HasExtension(path, strlen(path), ".zip") ||
                                 HasExtension(path, strlen(path), ".gz"));
    return packed ? OpenUnpacked(path) : Open(path, MODE_OLDFILE);
}

LONG FindFingerprint(CONST_STRPTR fingerprint) {
    if (!fingerprint)
        return -1;
    for (LONG row = 0; row < NUM_GAMES; row++) {
        CONST_STRPTR candidate = GameList[row].Fingerprint;
        if (candidate[0] == fingerprint[0] && strcmp(candidate, fingerprint) == 0)
            return row;
    }
    return -1;
}

} // namespace

ULONG GetFileFingerPrint(CONST_STRPTR path) {
    BPTR file = OpenRom(path);
    if (!file)
        return kFingerprintStart;
    // The head in one read (a read error mixes in nothing, as at the end).
    UBYTE head[kFingerprintBytes];
    const LONG count = Read(file, head, kFingerprintBytes);
    Close(file);
    return GetBufferFingerPrint(head, count > 0 ? count : 0);
}

ULONG GetBufferFingerPrint(const UBYTE *bytes, ULONG length) {
    ULONG hash = kFingerprintStart;
    for (ULONG i = 0; i < length && i < kFingerprintBytes; i++)
        hash = RotateLeft5(hash) ^ bytes[i];
    return hash;
}

ULONG GetFileSum(CONST_STRPTR path) {
    ULONG sum = 0;
    BPTR file = OpenRom(path);
    if (!file)
        return sum;
    LONG c;
    while ((c = FGetC(file)) != -1)
        sum += static_cast<ULONG>(c);
    Close(file);
    return sum;
}

BOOL HasExtension(CONST_STRPTR name, ULONG length, CONST_STRPTR extension) {
    const size_t size = strlen(extension);
    if (length < size)
        return FALSE;
    for (size_t i = 0; i < size; i++)
        if (tolower(static_cast<unsigned char>(name[length - size + i])) != extension[i])
            return FALSE;
    return TRUE;
}

LONG LookUpGameName(CONST_STRPTR fingerprint) {
    return FindFingerprint(fingerprint);
}

LONG LookUpGameImage(CONST_STRPTR fingerprint) {
    return FindFingerprint(fingerprint);
}
