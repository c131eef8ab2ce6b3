// Karvolin: start-up, the event loop and shutdown.
#include "karvolin.h"
#include "launcher-class.h"
#include "utils.h"

#include <dos/dos.h>
#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <cstdlib>

struct Library *MUIMasterBase = NULL;
struct MUIIFace *IMUIMaster = NULL;

// Opens the window, serves the user until the quit id or the break signal,
// and closes the window again.
void main_loop(void) {
    SetAttrs(Win, MUIA_Window_Open, TRUE, TAG_DONE);
    ULONG signals = 0;
    for (;;) {
        const LONG id = static_cast<LONG>(IDoMethod(App, MUIM_Application_NewInput, &signals));
        if (id == MUIV_Application_ReturnID_Quit)
            break;
        signals = Wait(signals | SIGBREAKF_CTRL_C);
        if (signals & SIGBREAKF_CTRL_C)
            break;
    }
    SetAttrs(Win, MUIA_Window_Open, FALSE, TAG_DONE);
}

int main(int, char **) {
    MUIMasterBase = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    IMUIMaster = reinterpret_cast<struct MUIIFace *>(GetInterface(MUIMasterBase, "main", 1, NULL));
    // Without the toolkit (no display) the platform has said why on standard
    // error; nothing else can run, and the failure must not look like success.
    if (!MUIMasterBase || !IMUIMaster) {
        if (IMUIMaster)
            DropInterface(reinterpret_cast<struct Interface *>(IMUIMaster));
        if (MUIMasterBase)
            CloseLibrary(MUIMasterBase);
        exit(EXIT_FAILURE);
    }

    if (DebugIT)
        Printf("Creating Launcher Class...\n");
    if (CreateLauncherClass()) {
        if (DebugIT)
            Printf("Building GUI...\n");
        App = build_gui();
        if (App) {
            SetAttrs(App, MUIA_Launcher_ROMList, ROMArray, TAG_DONE);
            if (DebugIT)
                Printf("Setup Notifications...\n");
            notifications();
            main_loop();
            MUI_DisposeObject(App);
        }
        DeleteLauncherClass();
        free_catalogue();
    }

    if (IMUIMaster)
        DropInterface(reinterpret_cast<struct Interface *>(IMUIMaster));
    if (MUIMasterBase)
        CloseLibrary(MUIMasterBase);
    if (DebugIT)
        Printf("Goodbye...\n");
    // Settings that could not be saved are a failure the caller must see.
    exit(SettingsLost ? EXIT_FAILURE : 0);
}
