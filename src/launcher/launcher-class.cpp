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
#include <cstring>

struct MUI_CustomClass *LauncherClass = NULL;
BOOL SettingsLost = FALSE;

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

enum { FULLSCREEN, SOUNDON, DOUBLESIZE, SCANLINES, PALETTE, NUM_OPTIONS, LASTGAME = NUM_OPTIONS };

const Option kOptions[NUM_OPTIONS] = {
    {"FullScreen", 0, ID_FULLSCREEN, MUIA_Selected, 0},
    {"SoundOn", 1, ID_SOUND, MUIA_Selected, 0},
    {"DoubleSize", 0, ID_DOUBLESIZE, MUIA_Selected, 0},
    {"ScanLines", 0, ID_SCANLINES, MUIA_Selected, 0},
    {"Palette", 0, ID_PALETTE, MUIA_Cycle_Active, 3},
};

// The file name of the game launched last, so that the next run starts on it.
CONST_STRPTR kLastGame = "LastGame";

// The options written to the store since it was loaded, one bit each (and
// one for the last game). Only
// these are saved, into the file as it is then: a run that changes nothing
// leaves the file exactly as it was, and a change another launcher saved in
// the meantime stays.
ULONG ChangedOptions = 0;
// The file was too large to be a settings file: this run never writes it.
BOOL SettingsRefused = FALSE;

Object *FindUData(Object *obj, ULONG id) {
    return reinterpret_cast<Object *>(IDoMethod(obj, MUIM_FindUData, id));
}

void SayTooLarge(void) {
    fprintf(stderr, "Settings file %s is larger than %ld bytes: not read, and left as it is\n",
            FilePart(kSettingsFile), static_cast<long>(INI_MAX_FILE_SIZE));
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

CONST_STRPTR KeyOf(int option) {
    return option == LASTGAME ? kLastGame : kOptions[option].key;
}

void StoreOption(int option, LONG value) {
    INISetInteger(&myINI, kSection, kOptions[option].key, value);
    ChangedOptions |= 1UL << option;
}

// Whether the variable is an option this run changed.
bool Changed(CONST_STRPTR var) {
    for (int option = 0; option <= LASTGAME; option++)
        if ((ChangedOptions & (1UL << option)) && strcmp(var, KeyOf(option)) == 0)
            return true;
    return false;
}

// Writes the options this run changed into `current`, in the order they
// entered the run's store, as a save of that store would have them.
void ApplyChanges(struct INIFile *current) {
    for (LONG s = 0; s < myINI.NumSections; s++) {
        const struct INISection &section = myINI.Sections[s];
        if (strcmp(section.Name, kSection) != 0)
            continue;
        for (LONG v = 0; v < section.NumVars; v++)
            if (Changed(section.Vars[v].Name))
                INISetString(current, kSection, section.Vars[v].Name, section.Vars[v].Value);
    }
}

// Saves this run's changes: under the update lock, the file as it is now is
// read again, the changed options are written into it and it is saved.
// Returns SaveINI's result, or -1 when the file has become too large.
LONG SaveSettings(void) {
    APTR lock = LockUpdate(kSettingsFile);
    struct INIFile current;
    InitINI(&current);
    LONG saved = LoadINI(&current, kSettingsFile);
    if (saved < 0) {
        SayTooLarge();
    } else {
        ApplyChanges(&current);
        saved = SaveINI(&current, kSettingsFile);
    }
    TrashINI(&current);
    UnLockUpdate(lock);
    return saved;
}

// A flag keeps the low 16 bits of its value, as a signed number, and is
// written through to the store.
void SetFlag(WORD *field, int option, IPTR value) {
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

// When the window opens, the game launched last (still there) or else the
// top one is the selected game: active in the list, its picture shown, ready
// to launch. The list's notification does not exist yet, so the launcher
// selects it itself.
void SelectStartGame(Object *obj, LauncherData *data) {
    Object *list = FindUData(obj, ID_LIST);
    IPTR entries = 0;
    if (!list || !data->ROMList || !GetAttr(MUIA_List_Entries, list, &entries) || entries == 0)
        return;
    LONG start = 0;
    TEXT last[INI_VALUE_SIZE];
    if (INIGetString(&myINI, kSection, kLastGame, last, sizeof last))
        for (LONG i = 0; i < static_cast<LONG>(entries); i++)
            if (data->ROMList[i] && strcmp(FilePart(data->ROMList[i]), last) == 0) {
                start = i;
                break;
            }
    SetAttrs(list, MUIA_List_Active, start, TAG_DONE);
    SelectRom(obj, data, start);
}

} // namespace

void RememberLastGame(CONST_STRPTR romPath) {
    CONST_STRPTR name = romPath ? FilePart(romPath) : NULL;
    // A name the settings file cannot carry as it is is not recorded.
    if (!name || !*name || !INIFileKeeps(name))
        return;
    TEXT stored[INI_VALUE_SIZE];
    if (INIGetString(&myINI, kSection, kLastGame, stored, sizeof stored) && !strcmp(stored, name))
        return;
    INISetString(&myINI, kSection, kLastGame, name);
    ChangedOptions |= 1UL << LASTGAME;
}

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
    ChangedOptions = 0;
    SettingsRefused = LoadINI(&myINI, kSettingsFile) < 0;
    if (SettingsRefused) {
        SayTooLarge();
        TrashINI(&myINI);
    }
    data->FullScreen = static_cast<WORD>(RestoreOption(obj, kOptions[FULLSCREEN]));
    data->SoundOn = static_cast<WORD>(RestoreOption(obj, kOptions[SOUNDON]));
    data->DoubleSize = static_cast<WORD>(RestoreOption(obj, kOptions[DOUBLESIZE]));
    data->ScanLines = static_cast<WORD>(RestoreOption(obj, kOptions[SCANLINES]));
    data->Palette = static_cast<ULONG>(RestoreOption(obj, kOptions[PALETTE]));
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
            SetFlag(&data->FullScreen, FULLSCREEN, tag->ti_Data);
            break;
        case MUIA_Launcher_SoundOn:
            SetFlag(&data->SoundOn, SOUNDON, tag->ti_Data);
            break;
        case MUIA_Launcher_DoubleSize:
            SetFlag(&data->DoubleSize, DOUBLESIZE, tag->ti_Data);
            break;
        case MUIA_Launcher_ScanLines:
            SetFlag(&data->ScanLines, SCANLINES, tag->ti_Data);
            break;
        case MUIA_Launcher_Palette:
            data->Palette = static_cast<ULONG>(tag->ti_Data);
            StoreOption(PALETTE, static_cast<LONG>(data->Palette));
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
            SelectStartGame(obj, data);
            break;
        case MUIA_Launcher_Spinner:
            data->Spinner = static_cast<LONG>(tag->ti_Data);
            break;
        }
    }
    return handled + IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg));
}

IPTR LauncherDispose(struct IClass *cl, Object *obj, Msg msg) {
    if (ChangedOptions && !SettingsRefused && SaveSettings() < 0)
        SettingsLost = TRUE;
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
