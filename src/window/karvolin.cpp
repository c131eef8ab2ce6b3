// The main window: one column with the game list, the box art, the option
// gadgets and the Launch and Quit buttons, inside the application object.
#include "karvolin.h"

#include "launcher-class.h"
#include "utils.h"

#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <cstdio>
#include <cstring>

Object *App = NULL;
Object *Win = NULL;

CONST_STRPTR CYA_Spinner[] = {"Not Emulated",         "Spinner 1 as Mouse X",
                              "Spinner 1 as Mouse Y", "Spinner 2 as Mouse X",
                              "Spinner 2 as Mouse Y", NULL};
CONST_STRPTR CYA_Palette[] = {"Scaled VDP Colors", "Original VDP Colors", "Faded NTSC Colors",
                              NULL};

namespace {

constexpr ULONG kWindowId = 0x4D41494E; // 'MAIN'
CONST_STRPTR kCentred = "\033c";

Object *FindUData(ULONG id) {
    return reinterpret_cast<Object *>(IDoMethod(App, MUIM_FindUData, id));
}

Object *create_label(CONST_STRPTR text) {
    return MUI_MakeObject(MUIO_Label, text, MUIO_Label_SingleFrame);
}

// The line an empty game list shows instead of games: where ROMs go (the
// drawer's roms folder as the user knows it) and which files count.
CONST_STRPTR empty_list_text(void) {
    static TEXT text[1280];
    TEXT folder[1024] = "PROGDIR:roms";
    if (BPTR drawer = Lock("PROGDIR:", SHARED_LOCK)) {
        if (!NameFromLock(drawer, folder, sizeof folder) || !AddPart(folder, "roms", sizeof folder))
            strcpy(folder, "PROGDIR:roms");
        UnLock(drawer);
    }
    snprintf(text, sizeof text,
             "No games yet. Put ROM files named *.rom, *.col, *.bin, *.zip or *.gz in %s", folder);
    return text;
}

// A notification that sets a launcher attribute on the application to the
// source attribute's new value.
void NotifySet(ULONG id, Tag attribute, Tag launcherAttribute) {
    IDoMethod(FindUData(id), MUIM_Notify, attribute, MUIV_EveryTime, App, 3, MUIM_Set,
              launcherAttribute, MUIV_TriggerValue);
}

} // namespace

// Tag lists are written one attribute per line, nested as the tree is.
// clang-format off

Object *create_text(CONST_STRPTR text, ULONG id) {
    return MUI_NewObject(MUIC_Text, {
        MUIA_Text_Contents, text,
        MUIA_HorizWeight, 1,
        MUIA_UserData, id,
        MUIA_Text_PreParse, kCentred,
        TAG_DONE});
}

Object *create_button(CONST_STRPTR label, ULONG key, ULONG id) {
    return MUI_NewObject(MUIC_Text, {
        MUIA_Text_Contents, label,
        MUIA_Text_PreParse, kCentred,
        MUIA_Frame, MUIV_Frame_Button,
        MUIA_Background, MUII_ButtonBack,
        MUIA_Font, MUIV_Font_Button,
        MUIA_InputMode, MUIV_InputMode_RelVerify,
        MUIA_Text_HiChar, key,
        MUIA_ControlChar, key,
        MUIA_CycleChain, 1,
        MUIA_HorizWeight, 1,
        MUIA_UserData, id,
        TAG_DONE});
}

Object *MakeCheck(BOOL selected, ULONG id) {
    return MUI_NewObject(MUIC_Image, {
        MUIA_Frame, MUIV_Frame_ImageButton,
        MUIA_InputMode, MUIV_InputMode_Toggle,
        MUIA_Image_Spec, MUII_CheckMark,
        MUIA_Background, MUII_ButtonBack,
        MUIA_Selected, selected,
        MUIA_ShowSelState, FALSE,
        MUIA_CycleChain, 1,
        MUIA_UserData, id,
        TAG_DONE});
}

Object *create_check(CONST_STRPTR label, BOOL selected, ULONG id) {
    return MUI_NewObject(MUIC_Group, {
        MUIA_Group_Horiz, TRUE,
        MUIA_Group_Child, MakeCheck(selected, id),
        MUIA_Group_Child, create_label(label),
        MUIA_Group_Child, MUI_MakeObject(MUIO_HSpace, 0),
        TAG_DONE});
}

Object *build_gui(void) {
    if (DebugIT)
        Printf("   Inside build_gui...\n");
    make_list();
    // The list view takes the keys when the window opens, so a game can be
    // chosen at once; it and the choosers are in the keyboard cycle chain.
    Object *games = NULL;
    // Braced lists are evaluated left to right, so the objects are created
    // inside out and the root group's children top to bottom.
    Win = MUI_NewObject(MUIC_Window, {
        MUIA_Window_Title, "Karvolin",
        MUIA_Window_Width, 300,
        MUIA_Window_ID, kWindowId,
        MUIA_Window_RootObject, MUI_NewObject(MUIC_Group, {
            MUIA_Group_Child, create_text("Available Games", ID_TITLE),
            MUIA_Group_Child, games = MUI_NewObject(MUIC_Listview, {
                MUIA_Listview_Input, TRUE,
                MUIA_CycleChain, 1,
                MUIA_Listview_List, MUI_NewObject(MUIC_List, {
                    MUIA_Frame, MUIV_Frame_InputList,
                    MUIA_List_Active, MUIV_List_Active_Top,
                    MUIA_UserData, ID_LIST,
                    MUIA_List_SourceArray, NameArray,
                    MUIA_List_Title, NumROMS ? NULL : empty_list_text(),
                    TAG_DONE}),
                TAG_DONE}),
            MUIA_Group_Child, MUI_NewObject(MUIC_Group, {
                MUIA_UserData, ID_PICTUREGROUP,
                MUIA_Group_Child, MUI_NewObject(MUIC_Dtpic, {
                    MUIA_Dtpic_Name, "PROGDIR:images/nocart.png",
                    MUIA_UserData, ID_PICTURE,
                    TAG_DONE}),
                TAG_DONE}),
            MUIA_Group_Child, MUI_NewObject(MUIC_Group, {
                MUIA_Group_Horiz, TRUE,
                MUIA_Group_Child, create_check("Sound Enabled", TRUE, ID_SOUND),
                MUIA_Group_Child, create_check("Full Screen", FALSE, ID_FULLSCREEN),
                TAG_DONE}),
            MUIA_Group_Child, MUI_NewObject(MUIC_Group, {
                MUIA_Group_Horiz, TRUE,
                MUIA_Group_Child, create_check("Double Size", FALSE, ID_DOUBLESIZE),
                MUIA_Group_Child, create_check("Scan Lines", FALSE, ID_SCANLINES),
                TAG_DONE}),
            MUIA_Group_Child, MUI_NewObject(MUIC_Group, {
                MUIA_Group_Horiz, TRUE,
                MUIA_Group_Child, create_label("Spinner"),
                MUIA_Group_Child, MUI_NewObject(MUIC_Cycle, {
                    MUIA_Cycle_Entries, CYA_Spinner,
                    MUIA_Font, MUIV_Font_Button,
                    MUIA_CycleChain, 1,
                    MUIA_UserData, ID_SPINNER,
                    TAG_DONE}),
                TAG_DONE}),
            MUIA_Group_Child, MUI_NewObject(MUIC_Group, {
                MUIA_Group_Horiz, TRUE,
                MUIA_Group_Child, create_label("Palette"),
                MUIA_Group_Child, MUI_NewObject(MUIC_Cycle, {
                    MUIA_Cycle_Entries, CYA_Palette,
                    MUIA_Font, MUIV_Font_Button,
                    MUIA_CycleChain, 1,
                    MUIA_UserData, ID_PALETTE,
                    TAG_DONE}),
                TAG_DONE}),
            MUIA_Group_Child, create_button("Launch", 'l', ID_LAUNCH),
            MUIA_Group_Child, create_button("Quit", 'q', ID_QUIT),
            TAG_DONE}),
        MUIA_Window_DefaultObject, games,
        TAG_DONE});
    App = NewObject(LauncherClass->mcc_Class, NULL, {
        MUIA_Application_Author, "The Karvolin developers",
        MUIA_Application_Base, "KARVOLIN",
        MUIA_Application_Copyright, "(C) 2011 The Karvolin developers",
        MUIA_Application_Description, "Launcher for Colem",
        MUIA_Application_Title, "Karvolin",
        MUIA_Application_Version, "$VER: Karvolin 1.1 (19.02.2011)",
        MUIA_Application_Window, Win,
        TAG_DONE});
    return App;
}

// clang-format on

void notifications(void) {
    IDoMethod(Win, MUIM_Notify, MUIA_Window_CloseRequest, TRUE, App, 2, MUIM_Application_ReturnID,
              MUIV_Application_ReturnID_Quit);
    IDoMethod(FindUData(ID_QUIT), MUIM_Notify, MUIA_Pressed, FALSE, App, 2,
              MUIM_Application_ReturnID, MUIV_Application_ReturnID_Quit);
    IDoMethod(FindUData(ID_LAUNCH), MUIM_Notify, MUIA_Pressed, FALSE, App, 1, MUIM_Launcher_Launch);
    NotifySet(ID_SOUND, MUIA_Selected, MUIA_Launcher_SoundOn);
    NotifySet(ID_DOUBLESIZE, MUIA_Selected, MUIA_Launcher_DoubleSize);
    NotifySet(ID_FULLSCREEN, MUIA_Selected, MUIA_Launcher_FullScreen);
    NotifySet(ID_SCANLINES, MUIA_Selected, MUIA_Launcher_ScanLines);
    NotifySet(ID_PALETTE, MUIA_Cycle_Active, MUIA_Launcher_Palette);
    NotifySet(ID_SPINNER, MUIA_Cycle_Active, MUIA_Launcher_Spinner);
    NotifySet(ID_LIST, MUIA_List_Active, MUIA_Launcher_ROMNum);
    // A double click on a game, or Return on the list, launches it. The list
    // view holds the list that has the id.
    IPTR games = 0;
    GetAttr(MUIA_Parent, FindUData(ID_LIST), &games);
    IDoMethod(reinterpret_cast<Object *>(games), MUIM_Notify, MUIA_Listview_DoubleClick, TRUE, App,
              1, MUIM_Launcher_Launch);
}
