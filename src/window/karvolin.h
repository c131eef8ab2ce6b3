#pragma once
// The main window: its object tree, the user-data ids that name its objects,
// and the notifications that tie its gadgets to the application object.
#include <exec/types.h>
#include <intuition/classusr.h>

// User data of the window's objects; code reaches an object only through
// MUIM_FindUData on the application with one of these.
enum {
    ID_QUIT = 36,
    ID_LAUNCH = 37,
    ID_TITLE = 38,
    ID_SOUND = 39,
    ID_DOUBLESIZE = 40,
    ID_FULLSCREEN = 41,
    ID_SCANLINES = 42,
    ID_PALETTE = 43,
    ID_LIST = 44,
    ID_PICTURE = 45,
    ID_SPINNER = 46,
    ID_PICTUREGROUP = 47,
};

extern Object *App;
extern Object *Win;
extern CONST_STRPTR CYA_Spinner[];
extern CONST_STRPTR CYA_Palette[];

Object *create_text(CONST_STRPTR text, ULONG id);
Object *create_button(CONST_STRPTR label, ULONG key, ULONG id);
Object *MakeCheck(BOOL selected, ULONG id);
Object *create_check(CONST_STRPTR label, BOOL selected, ULONG id);
Object *build_gui(void);
void notifications(void);
