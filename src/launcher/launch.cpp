// Launch: starts the emulator for the selected ROM with the chosen options.
#include "launcher-class.h"

#include <dos/dostags.h>
#include <exec/memory.h>
#include <proto/dos.h>
#include <proto/exec.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr ULONG kBufferSize = 1024;

// Copies a ROM path for the quoted argument of the command line: a quote or
// a star inside the quotes is written "*"" or "**", so the emulator receives
// exactly the file's path. FALSE when it does not fit.
bool QuotePath(CONST_STRPTR path, char *out, size_t size) {
    size_t used = 0;
    for (const char *p = path; *p; ++p) {
        const bool escape = *p == '"' || *p == '*';
        if (used + (escape ? 2 : 1) >= size)
            return false;
        if (escape)
            out[used++] = '*';
        out[used++] = *p;
    }
    out[used] = '\0';
    return true;
}

} // namespace

void MakeOptionString(const struct LauncherData *data, STRPTR options) {
    strcpy(options, " ");
    if (data->FullScreen)
        strcat(options, "-fullscreen ");
    if (data->SoundOn)
        strcat(options, "-sound ");
    if (data->ScanLines)
        strcat(options, "-scanlines ");
    if (data->DoubleSize)
        strcat(options, "-double ");
    switch (data->Spinner) {
    case 1:
        strcat(options, "-spin1x ");
        break;
    case 2:
        strcat(options, "-spin1y ");
        break;
    case 3:
        strcat(options, "-spin2x ");
        break;
    case 4:
        strcat(options, "-spin2y ");
        break;
    default:
        break;
    }
}

BOOL FormatLaunchCommand(const struct LauncherData *data, CONST_STRPTR options, STRPTR command,
                         ULONG size) {
    if (data->ROMNum < 0 || !data->ROMList || !data->ROMList[data->ROMNum])
        return FALSE;
    char path[kBufferSize];
    if (!QuotePath(data->ROMList[data->ROMNum], path, sizeof path))
        return FALSE;
    const int length =
        snprintf(command, size, "colem \"%s\" %s -palette %u", path, options, data->Palette);
    return length >= 0 && static_cast<ULONG>(length) < size;
}

ULONG Launch(struct IClass *cl, Object *obj) {
    const auto *data = static_cast<const LauncherData *>(INST_DATA(cl, obj));
    auto options = static_cast<STRPTR>(AllocMem(kBufferSize, MEMF_ANY));
    if (!options)
        return 0;
    MakeOptionString(data, options);
    char command[kBufferSize];
    if (FormatLaunchCommand(data, options, command, sizeof command) &&
        SystemTags(command, SYS_Input, NULL, SYS_Output, NULL, SYS_Asynch, TRUE, TAG_DONE) == 0)
        RememberLastGame(data->ROMList[data->ROMNum]);
    FreeMem(options, kBufferSize);
    return 0;
}
