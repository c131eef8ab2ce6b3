// Identifying a ROM file: its fingerprint, its byte sum, and the table lookup.
#include "utils.h"

#include <proto/dos.h>

#include <string.h>

namespace {

constexpr ULONG kFingerprintStart = 5381;
constexpr int kFingerprintBytes = 100;

ULONG RotateLeft5(ULONG value) {
    return (value << 5) | (value >> 27);
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
    ULONG hash = kFingerprintStart;
    BPTR file = Open(path, MODE_OLDFILE);
    if (!file)
        return hash;
    LONG c;
    for (int mixed = 0; mixed < kFingerprintBytes && (c = FGetC(file)) != -1; mixed++)
        hash = RotateLeft5(hash) ^ static_cast<ULONG>(c);
    Close(file);
    return hash;
}

ULONG GetFileSum(CONST_STRPTR path) {
    ULONG sum = 0;
    BPTR file = Open(path, MODE_OLDFILE);
    if (!file)
        return sum;
    LONG c;
    while ((c = FGetC(file)) != -1)
        sum += static_cast<ULONG>(c);
    Close(file);
    return sum;
}

LONG LookUpGameName(CONST_STRPTR fingerprint) {
    return FindFingerprint(fingerprint);
}

LONG LookUpGameImage(CONST_STRPTR fingerprint) {
    return FindFingerprint(fingerprint);
}
