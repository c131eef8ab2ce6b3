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

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

const char kUsage[] = "usage: karvolin [--help | --version]\n"
                      "\n"
                      "Karvolin lists the games in the roms/ folder of its drawer (*.rom, *.col,\n"
                      "*.bin, *.zip and *.gz files), shows the selected game's box art from\n"
                      "images/ and starts the emulator colem with it. Keys: Up and Down choose a\n"
                      "game, Tab and Shift+Tab move between the controls, l or Return on the list\n"
                      "launches, q quits. A game controller works too: up and down choose, left\n"
                      "and right move between the controls, A activates, Start launches, B goes\n"
                      "back to the list. The options and the game launched last are kept in\n"
                      "$XDG_CONFIG_HOME/karvolin.ini.\n"
                      "\n"
                      "  --help     this text\n"
                      "  --version  the version\n";

// The command line: nothing starts the launcher; --help and --version answer
// and end it (no window, no display needed); anything else is a mistake.
void read_arguments(int argc, char **argv) {
    if (argc < 2)
        return;
    const char *arg = argv[1];
    if (argc == 2 && strcmp(arg, "--help") == 0) {
        fputs(kUsage, stdout);
    } else if (argc == 2 && strcmp(arg, "--version") == 0) {
        puts("karvolin 1.1");
    } else {
        fprintf(stderr, "karvolin: unknown argument %s (try --help)\n", argc == 2 ? arg : argv[2]);
        exit(2);
    }
    exit(fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1);
}

} // namespace

int main(int argc, char **argv) {
    read_arguments(argc, argv);
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
