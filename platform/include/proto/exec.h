#pragma once
// Exec: memory, signals and libraries.
#include <exec/libraries.h>
#include <exec/memory.h>
#include <exec/tasks.h>
#include <exec/types.h>
#include <utility/tagitem.h>

// Memory. MEMF_CLEAR gives zeroed memory; FreeMem takes the size given to
// AllocMem. Freeing null does nothing.
APTR AllocMem(ULONG byteSize, ULONG attributes);
void FreeMem(APTR memoryBlock, ULONG byteSize);

// Signals of the running task. Bits 12 to 15 are the break signals
// (SIGBREAKF_CTRL_C and friends, dos/dos.h); SIGINT, SIGTERM and SIGHUP sent
// to the process raise SIGBREAKF_CTRL_C.
struct Task *FindTask(CONST_STRPTR name);
BYTE AllocSignal(BYTE signalNum);
void FreeSignal(BYTE signalNum);
void Signal(struct Task *task, ULONG signalSet);
ULONG SetSignal(ULONG newSignals, ULONG signalSet);
ULONG Wait(ULONG signalSet);

// Libraries and their interfaces.
struct Library *OpenLibrary(CONST_STRPTR libName, ULONG version);
void CloseLibrary(struct Library *library);
struct Interface *GetInterface(struct Library *library, CONST_STRPTR name, ULONG version,
                               const struct TagItem *taglist);
void DropInterface(struct Interface *interface);
