// The launcher class: a subclass of the toolkit's application class.
#include "launcher-class.h"

#include "INIFile.h"
#include "karvolin.h"
#include "utils.h"

#include <exec/memory.h>
#include <proto/dos.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>
#include <proto/utility.h>

#include <cstdio>

struct MUI_CustomClass *LauncherClass = NULL;

namespace {

CONST_STRPTR kSettingsFile = "ENVARC:karvolin.ini";
CONST_STRPTR kSection = "Settings";

// A persisted option: its key, its default, the gadget that shows it and,
// for a chooser, the number of its entries (0 for a check mark).
struct Option {
    CONST_STRPTR key;
    LONG def;
    ULONG gadget;
    Tag attribute;
    ULONG choices;
};

const Option kFullScreen = {"FullScreen", 0, ID_FULLSCREEN, MUIA_Selected, 0};
const Option kSoundOn = {"SoundOn", 1, ID_SOUND, MUIA_Selected, 0};
const Option kDoubleSize = {"DoubleSize", 0, ID_DOUBLESIZE, MUIA_Selected, 0};
const Option kScanLines = {"ScanLines", 0, ID_SCANLINES, MUIA_Selected, 0};
const Option kPalette = {"Palette", 0, ID_PALETTE, MUIA_Cycle_Active, 3};

// An option was written to the store since it was loaded. Only then is the
// file saved again: a run that changes nothing leaves it exactly as it was.
BOOL SettingsChanged = FALSE;

Object *FindUData(Object *obj, ULONG id) {
    return reinterpret_cast<Object *>(IDoMethod(obj, MUIM_FindUData, id));
}

// Reads an option from the store and shows it in its gadget. A stored choice
// that the chooser does not offer reads as the default, so that the chooser
// and the emulator's command line agree; the stored text stays as it is.
LONG RestoreOption(Object *obj, const Option &option) {
    LONG value = INIGetInteger(&myINI, kSection, option.key, option.def);
    if (option.choices && static_cast<ULONG>(value) >= option.choices)
        value = option.def;
    const LONG shown = option.attribute == MUIA_Selected ? static_cast<WORD>(value) : value;
    if (Object *gadget = FindUData(obj, option.gadget))
        SetAttrs(gadget, option.attribute, shown, TAG_DONE);
    return value;
}

// A flag keeps the low 16 bits of its value, as a signed number, and is
// written through to the store.
void StoreOption(const Option &option, LONG value) {
    INISetInteger(&myINI, kSection, option.key, value);
    SettingsChanged = TRUE;
}

void SetFlag(WORD *field, const Option &option, IPTR value) {
    *field = static_cast<WORD>(value);
    StoreOption(option, *field);
}

// Replaces the box-art picture inside its group with one showing `path`.
void ReplacePicture(Object *obj, CONST_STRPTR path) {
    Object *old = FindUData(obj, ID_PICTURE);
    Object *group = FindUData(obj, ID_PICTUREGROUP);
    if (!group || !IDoMethod(group, MUIM_Group_InitChange))
        return;
    if (old)
        IDoMethod(group, OM_REMMEMBER, old);
    Object *picture =
        MUI_NewObject(MUIC_Dtpic, MUIA_Dtpic_Name, path, MUIA_UserData, ID_PICTURE, TAG_DONE);
    // Without a new picture the old one goes back, so the window never loses it.
    IDoMethod(group, OM_ADDMEMBER, picture ? picture : old);
    IDoMethod(group, MUIM_Group_ExitChange);
    if (picture)
        MUI_DisposeObject(old);
}

void SelectRom(Object *obj, LauncherData *data, LONG index) {
    data->ROMNum = index;
    CONST_STRPTR romPath = index >= 0 && data->ROMList ? data->ROMList[index] : NULL;
    if (DebugIT) {
        printf("      ROMNum = %d\n", static_cast<int>(index));
        if (romPath)
            printf("      ROM Path = %s\n", romPath);
    }
    struct BoxArt art;
    FindBoxArt(romPath, &art);
    ReplacePicture(obj, art.Shown);
}

} // namespace

struct MUI_CustomClass *CreateLauncherClass(void) {
    if (DebugIT)
        Printf("   Inside CreateLauncherClass... \n");
    LauncherClass = MUI_CreateCustomClass(NULL, MUIC_Application, NULL, sizeof(struct LauncherData),
                                          LauncherDispatcher);
    return LauncherClass;
}

void DeleteLauncherClass(void) {
    if (DebugIT)
        Printf("   Inside DeleteLauncherClass... \n");
    if (LauncherClass)
        MUI_DeleteCustomClass(LauncherClass);
}

IPTR LauncherNew(struct IClass *cl, Object *obj, struct opSet *msg) {
    obj = reinterpret_cast<Object *>(IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg)));
    if (!obj)
        return 0;
    auto *data = static_cast<LauncherData *>(INST_DATA(cl, obj));
    InitINI(&myINI);
    LoadINI(&myINI, kSettingsFile);
    SettingsChanged = FALSE;
    data->FullScreen = static_cast<WORD>(RestoreOption(obj, kFullScreen));
    data->SoundOn = static_cast<WORD>(RestoreOption(obj, kSoundOn));
    data->DoubleSize = static_cast<WORD>(RestoreOption(obj, kDoubleSize));
    data->ScanLines = static_cast<WORD>(RestoreOption(obj, kScanLines));
    data->Palette = static_cast<ULONG>(RestoreOption(obj, kPalette));
    data->ROMList = NULL;
    data->ROMNum = -1;
    data->Spinner = 0;
    return reinterpret_cast<IPTR>(obj);
}

IPTR LauncherSet(struct IClass *cl, Object *obj, struct opSet *msg) {
    auto *data = static_cast<LauncherData *>(INST_DATA(cl, obj));
    if (DebugIT)
        Printf("   Inside LauncherSet... \n");
    IPTR handled = 0;
    struct TagItem *cursor = msg->ops_AttrList;
    while (struct TagItem *tag = NextTagItem(&cursor)) {
        if (tag->ti_Tag < MUIA_Launcher_FullScreen || tag->ti_Tag > MUIA_Launcher_Spinner)
            continue;
        ++handled;
        switch (tag->ti_Tag) {
        case MUIA_Launcher_FullScreen:
            SetFlag(&data->FullScreen, kFullScreen, tag->ti_Data);
            break;
        case MUIA_Launcher_SoundOn:
            SetFlag(&data->SoundOn, kSoundOn, tag->ti_Data);
            break;
        case MUIA_Launcher_DoubleSize:
            SetFlag(&data->DoubleSize, kDoubleSize, tag->ti_Data);
            break;
        case MUIA_Launcher_ScanLines:
            SetFlag(&data->ScanLines, kScanLines, tag->ti_Data);
            break;
        case MUIA_Launcher_Palette:
            data->Palette = static_cast<ULONG>(tag->ti_Data);
            StoreOption(kPalette, static_cast<LONG>(data->Palette));
            if (DebugIT)
                printf("      Palette = %d\n", static_cast<int>(data->Palette));
            break;
        case MUIA_Launcher_ROMNum:
            SelectRom(obj, data, static_cast<LONG>(tag->ti_Data));
            break;
        case MUIA_Launcher_ROMList:
            data->ROMList = reinterpret_cast<STRPTR *>(tag->ti_Data);
            if (DebugIT)
                puts("      ROMList Set");
            break;
        case MUIA_Launcher_Spinner:
            data->Spinner = static_cast<LONG>(tag->ti_Data);
            break;
        }
    }
    return handled + IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg));
}

IPTR LauncherDispose(struct IClass *cl, Object *obj, Msg msg) {
    if (SettingsChanged)
        SaveINI(&myINI, kSettingsFile);
    TrashINI(&myINI);
    return IDoSuperMethodA(cl, obj, msg);
}

IPTR LauncherDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return LauncherNew(cl, obj, reinterpret_cast<struct opSet *>(msg));
    case OM_DISPOSE:
        return LauncherDispose(cl, obj, msg);
    case OM_SET:
        return LauncherSet(cl, obj, reinterpret_cast<struct opSet *>(msg));
    case MUIM_Launcher_Launch:
        return Launch(cl, obj);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}
