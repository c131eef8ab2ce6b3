#pragma once
// The launcher class: the application object's own class. It holds the
// emulator options and the selected ROM, keeps the options in the settings
// file, swaps the box art and starts the emulator.
#include <exec/types.h>
#include <intuition/classes.h>
#include <libraries/mui.h>

#define MUIM_Launcher_Launch 0x6EDA3412UL

#define MUIA_Launcher_FullScreen 0x6EDA3500UL
#define MUIA_Launcher_SoundOn 0x6EDA3501UL
#define MUIA_Launcher_DoubleSize 0x6EDA3502UL
#define MUIA_Launcher_ScanLines 0x6EDA3503UL
#define MUIA_Launcher_Palette 0x6EDA3504UL
#define MUIA_Launcher_ROMNum 0x6EDA3505UL
#define MUIA_Launcher_ROMList 0x6EDA3506UL
#define MUIA_Launcher_Spinner 0x6EDA3507UL

struct LauncherData {
    WORD FullScreen;
    WORD SoundOn;
    WORD DoubleSize;
    WORD ScanLines;
    ULONG Palette;
    LONG Spinner;
    LONG ROMNum;
    STRPTR *ROMList; // the catalogue's paths, borrowed
};

extern struct MUI_CustomClass *LauncherClass;
// The settings of this run could not be saved (the reason has been said).
extern BOOL SettingsLost;

struct MUI_CustomClass *CreateLauncherClass(void);
void DeleteLauncherClass(void);
IPTR LauncherDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR LauncherNew(struct IClass *cl, Object *obj, struct opSet *msg);
IPTR LauncherSet(struct IClass *cl, Object *obj, struct opSet *msg);
IPTR LauncherDispose(struct IClass *cl, Object *obj, Msg msg);
ULONG Launch(struct IClass *cl, Object *obj);

// Records the launched game's file name as the one to start on next time.
void RememberLastGame(CONST_STRPTR romPath);

// The two steps of Launch, exposed so the exact line can be checked.
// MakeOptionString writes the option words, each ending in a blank, after
// one leading blank; the buffer needs 48 bytes. FormatLaunchCommand formats
// the emulator's command line for the selected ROM; FALSE when nothing is
// to be started (no ROM selected, no path list, or a line that would not fit).
void MakeOptionString(const struct LauncherData *data, STRPTR options);
BOOL FormatLaunchCommand(const struct LauncherData *data, CONST_STRPTR options, STRPTR command,
                         ULONG size);
