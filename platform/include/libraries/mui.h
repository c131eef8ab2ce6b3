#pragma once
// The MUI toolkit: class names, attributes (MUIA_), methods (MUIM_), special
// values (MUIV_), images (MUII_), MUI_MakeObject kinds (MUIO_) and the
// message structures of the methods.
//
// Built-in classes and their own attributes. Each class's attribute table
// (platform/mui/<class>_class.cpp) says how it keeps them: an attribute
// marked creation-only there is given at creation and never set later; every
// other one can be given at creation, set, read and watched with MUIM_Notify.
//   Application.mui  Author, Base, Copyright, Description, Title, Version;
//                    Window (at creation, also OM_ADDMEMBER/OM_REMMEMBER);
//                    methods NewInput, ReturnID. Owns its windows.
//   Window.mui       Title, Width, Height, ID, RootObject (at creation), Open,
//                    CloseRequest (raised by the close gadget), DefaultObject
//                    (the gadget that has the keys when the window opens).
//                    Owns its root.
//   Group.mui        Horiz; Child (at creation, also OM_ADDMEMBER/
//                    OM_REMMEMBER); methods InitChange, ExitChange. Owns its
//                    children.
//   Text.mui         Contents, PreParse (copied), HiChar.
//   Image.mui        Image_Spec.
//   List.mui         SourceArray (at creation, referenced, not copied),
//                    Entries (its count, made at creation), Active, Title
//                    (copied: a line above the entries that is no entry and
//                    never scrolls away).
//   Listview.mui     Input, List (at creation), DoubleClick (raised by a
//                    double click or the Return key on an entry). Owns its
//                    list.
//   Cycle.mui        Entries (at creation, referenced), Active.
//   Dtpic.mui        Name (copied).
//   Rectangle.mui    a space, made by MUI_MakeObject(MUIO_HSpace/MUIO_VSpace, ...).
// Every class of the toolkit also keeps the common attributes: UserData,
// Frame, Background, Font, InputMode, Selected, Pressed, ShowSelState,
// ControlChar, CycleChain, HorizWeight, VertWeight, FixWidth, FixHeight,
// Disabled, and their Parent in the tree (read only). Labels from
// MUI_MakeObject(MUIO_Label, ...) are Text.mui objects.
//
// Notification: MUIM_Notify runs its action whenever the attribute really
// changes to the trigger value (or on every change with MUIV_EveryTime), after
// the object took the value, in installation order; MUIV_TriggerValue in the
// action stands for the new value. Setting an attribute to the value it
// already has fires nothing. MUIA_Window_CloseRequest and
// MUIA_Listview_DoubleClick fire on every request.
#include <exec/types.h>
#include <intuition/classes.h>
#include <intuition/classusr.h>
#include <utility/hooks.h>
#include <utility/tagitem.h>

#define MUIMASTER_NAME "muimaster.library"
#define MUIMASTER_VMIN 19

// ---- Class names -----------------------------------------------------------
#define MUIC_Notify "Notify.mui"
#define MUIC_Area "Area.mui"
#define MUIC_Application "Application.mui"
#define MUIC_Window "Window.mui"
#define MUIC_Group "Group.mui"
#define MUIC_Text "Text.mui"
#define MUIC_Image "Image.mui"
#define MUIC_List "List.mui"
#define MUIC_Listview "Listview.mui"
#define MUIC_Cycle "Cycle.mui"
#define MUIC_Dtpic "Dtpic.mui"
#define MUIC_Rectangle "Rectangle.mui"

// ---- Notify.mui ------------------------------------------------------------
#define MUIM_Notify 0x8042c9cbUL
#define MUIM_Set 0x8042549aUL
#define MUIM_NoNotifySet 0x8042216fUL
#define MUIM_FindUData 0x8042c196UL

#define MUIA_UserData 0x80420313UL
#define MUIA_NoNotify 0x804237f9UL // TRUE in a tag list: that set fires nothing
#define MUIA_Parent 0x8042e35fUL   // the object's parent in the tree (get only)

#define MUIV_EveryTime 0x49893131UL
#define MUIV_TriggerValue 0x49893131UL
#define MUIV_NotTriggerValue 0x49893133UL
#define MUIV_Notify_Self 1UL
#define MUIV_Notify_Window 2UL
#define MUIV_Notify_Application 3UL
#define MUIV_Notify_Parent 4UL

// Notify: trigger attribute, trigger value, target, number of following
// slots, then the action's method and its arguments.
struct MUIP_Notify {
    IPTR MethodID;
    IPTR TrigAttr;
    IPTR TrigVal;
    Object *DestObj;
    IPTR FollowParams;
    // FollowParams slots follow
};
struct MUIP_Set {
    IPTR MethodID;
    IPTR Attr;
    IPTR Val;
};
struct MUIP_NoNotifySet {
    IPTR MethodID;
    IPTR Attr;
    IPTR Val;
};
// Returns the object itself or the first object below it, depth first in
// child order, whose MUIA_UserData equals Udata; else null.
struct MUIP_FindUData {
    IPTR MethodID;
    IPTR Udata;
};

// ---- Area.mui (common attributes of every gadget) ------------------------
#define MUIA_Frame 0x8042ac64UL
#define MUIA_Background 0x8042545bUL
#define MUIA_Font 0x8042be50UL
#define MUIA_InputMode 0x8042fb04UL
#define MUIA_Selected 0x8042654bUL
#define MUIA_Pressed 0x80423535UL
#define MUIA_ShowSelState 0x8042caacUL
#define MUIA_ControlChar 0x8042120bUL
#define MUIA_CycleChain 0x80421ce7UL
#define MUIA_HorizWeight 0x80426db9UL
#define MUIA_VertWeight 0x804298d0UL
#define MUIA_Disabled 0x80423661UL
#define MUIA_FixWidth 0x8042a3f1UL
#define MUIA_FixHeight 0x8042a92bUL

#define MUIV_Frame_None 0
#define MUIV_Frame_Button 1
#define MUIV_Frame_ImageButton 2
#define MUIV_Frame_Text 3
#define MUIV_Frame_String 4
#define MUIV_Frame_ReadList 5
#define MUIV_Frame_InputList 6
#define MUIV_Frame_Prop 7
#define MUIV_Frame_Gauge 8
#define MUIV_Frame_Group 9
#define MUIV_Frame_PopUp 10
#define MUIV_Frame_Virtual 11
#define MUIV_Frame_Slider 12

#define MUIV_Font_Inherit 0
#define MUIV_Font_Normal -1
#define MUIV_Font_List -2
#define MUIV_Font_Tiny -3
#define MUIV_Font_Fixed -4
#define MUIV_Font_Title -5
#define MUIV_Font_Big -6
#define MUIV_Font_Button -7

// A push button (RelVerify) sets MUIA_Pressed TRUE when pressed and FALSE
// when released over it; a release elsewhere clears it without notification.
// A toggle flips MUIA_Selected on each click.
#define MUIV_InputMode_None 0
#define MUIV_InputMode_RelVerify 1
#define MUIV_InputMode_Immediate 2
#define MUIV_InputMode_Toggle 3

// ---- Images (MUIA_Image_Spec, MUIA_Background) ---------------------------
#define MUII_WindowBack 0
#define MUII_RequesterBack 1
#define MUII_ButtonBack 2
#define MUII_ListBack 3
#define MUII_TextBack 4
#define MUII_PropBack 5
#define MUII_PopupBack 6
#define MUII_SelectedBack 7
#define MUII_ListCursor 8
#define MUII_ListSelect 9
#define MUII_ListSelCur 10
#define MUII_ArrowUp 11
#define MUII_ArrowDown 12
#define MUII_ArrowLeft 13
#define MUII_ArrowRight 14
#define MUII_CheckMark 15
#define MUII_RadioButton 16

// ---- Application.mui ------------------------------------------------------
#define MUIA_Application_Author 0x80424842UL
#define MUIA_Application_Base 0x8042e07aUL
#define MUIA_Application_Copyright 0x8042ef4dUL
#define MUIA_Application_Description 0x80421fc6UL
#define MUIA_Application_Title 0x804281b8UL
#define MUIA_Application_Version 0x8042b33fUL
#define MUIA_Application_Window 0x8042bfe0UL

#define MUIM_Application_NewInput 0x80423ba6UL
#define MUIM_Application_ReturnID 0x804276efUL

#define MUIV_Application_ReturnID_Quit -1

// Applies all pending user input (notifications fire inside it), writes
// into *signal the signals to wait for and returns one queued return id, 0
// when none is queued.
struct MUIP_Application_NewInput {
    IPTR MethodID;
    ULONG *signal;
};
// Queues a return id for NewInput, first in, first out.
struct MUIP_Application_ReturnID {
    IPTR MethodID;
    IPTR retid;
};

// ---- Window.mui ------------------------------------------------------------
#define MUIA_Window_Title 0x8042ad3dUL
#define MUIA_Window_Width 0x8042dcaeUL
#define MUIA_Window_Height 0x80425846UL
#define MUIA_Window_ID 0x804201bdUL
#define MUIA_Window_RootObject 0x8042cba5UL
#define MUIA_Window_Open 0x80428aa0UL
#define MUIA_Window_CloseRequest 0x8042e86eUL
#define MUIA_Window_DefaultObject 0x804294d7UL

// ---- Group.mui -------------------------------------------------------------
#define MUIA_Group_Horiz 0x8042536bUL
#define MUIA_Group_Child 0x804226e6UL

// InitChange returns non-zero when the group may be changed; between it and
// ExitChange, OM_REMMEMBER and OM_ADDMEMBER change the children and the
// window follows at ExitChange. A removed child belongs to the caller.
#define MUIM_Group_InitChange 0x80420887UL
#define MUIM_Group_ExitChange 0x8042d1ccUL

struct MUIP_Group_InitChange {
    IPTR MethodID;
};
struct MUIP_Group_ExitChange {
    IPTR MethodID;
};

// ---- Text.mui --------------------------------------------------------------
#define MUIA_Text_Contents 0x8042f8dcUL
#define MUIA_Text_PreParse 0x8042566dUL
#define MUIA_Text_HiChar 0x804218ffUL

// Text escapes
#define MUIX_R "\033r" // right aligned
#define MUIX_C "\033c" // centred
#define MUIX_L "\033l" // left aligned
#define MUIX_N "\033n" // normal
#define MUIX_B "\033b" // bold
#define MUIX_I "\033i" // italic
#define MUIX_U "\033u" // underlined

// ---- Image.mui -------------------------------------------------------------
#define MUIA_Image_Spec 0x804233d5UL

// ---- List.mui --------------------------------------------------------------
#define MUIA_List_Active 0x8042391cUL
#define MUIA_List_Entries 0x80421654UL
#define MUIA_List_SourceArray 0x8042c0a0UL
#define MUIA_List_Title 0x80423e66UL

#define MUIV_List_Active_Off -1
#define MUIV_List_Active_Top -2
#define MUIV_List_Active_Bottom -3
#define MUIV_List_Active_Up -4
#define MUIV_List_Active_Down -5
#define MUIV_List_Active_PageUp -6
#define MUIV_List_Active_PageDown -7

#define MUIM_List_GetEntry 0x804280ecUL
#define MUIV_List_GetEntry_Active -1

// Stores entry `pos` (or the active one) in *entry, null when there is none.
struct MUIP_List_GetEntry {
    IPTR MethodID;
    SIPTR pos;
    APTR *entry;
};

// ---- Listview.mui ----------------------------------------------------------
#define MUIA_Listview_Input 0x8042682dUL
#define MUIA_Listview_List 0x8042bcceUL
#define MUIA_Listview_DoubleClick 0x80424635UL

// ---- Cycle.mui -------------------------------------------------------------
#define MUIA_Cycle_Entries 0x80420629UL
#define MUIA_Cycle_Active 0x80421788UL

#define MUIV_Cycle_Active_Next -1
#define MUIV_Cycle_Active_Prev -2

// ---- Dtpic.mui -------------------------------------------------------------
#define MUIA_Dtpic_Name 0x80423d72UL

// ---- MUI_MakeObject kinds ---------------------------------------------------
// MUIO_Label: text, flags. MUIO_HSpace / MUIO_VSpace: size (0 takes the spare
// room).
#define MUIO_Label 1
#define MUIO_HSpace 9
#define MUIO_VSpace 10

#define MUIO_Label_SingleFrame (1 << 8)
#define MUIO_Label_DoubleFrame (1 << 9)
#define MUIO_Label_LeftAligned (1 << 10)
#define MUIO_Label_Centered (1 << 11)
#define MUIO_Label_FreeVert (1 << 12)

// ---- Custom classes ----------------------------------------------------------
// A subclass made by MUI_CreateCustomClass; create its objects with
// NewObject(mcc->mcc_Class, NULL, ...).
struct MUI_CustomClass {
    APTR mcc_UserData;
    struct IClass *mcc_Super;
    struct IClass *mcc_Class;
};
