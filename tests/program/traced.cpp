// The program with the trace on; KARVOLIN_FAULT=class or =tree takes away the
// class the launcher class or the window tree needs. At exit it says whether
// the launcher class or the catalogue is left.
#include "utils.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

static struct IClass *g_application = nullptr;
static bool g_catalogueFreed = false;

static void CheckAtExit() {
    if (g_application->cl_SubclassCount != 0)
        std::fputs("at exit: the launcher class is still there\n", stderr);
    if (NameArray && !g_catalogueFreed)
        std::fputs("at exit: the catalogue is still there\n", stderr);
}

static const bool kTraced = [] {
    DebugIT = 1;
    MUI_DisposeObject(MUI_NewObject(MUIC_Rectangle, {TAG_DONE})); // publishes the classes
    g_application = FindClass(MUIC_Application);
    if (const char *fault = std::getenv("KARVOLIN_FAULT"))
        RemoveClass(FindClass(std::string_view(fault) == "class" ? MUIC_Application : MUIC_Cycle));
    std::atexit(CheckAtExit);
    return true;
}();

extern "C" void __real_free(void *block);
extern "C" void __wrap_free(void *block) {
    g_catalogueFreed |= block && block == NameArray;
    __real_free(block);
}
