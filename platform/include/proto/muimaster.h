#pragma once
// The toolkit library, muimaster.library (version 19 or later, interface
// "main" 1).
//
// Creation order. The arguments of one function call are evaluated in no fixed
// order, so nested MUI_NewObject calls written as plain arguments may create
// the inner objects in any order. The result is the same tree either way (a
// child goes where its tag stands), but when the order of creation matters,
// write the tag list as a braced list: its elements are evaluated strictly
// left to right, so children are created top to bottom as written:
//
//     MUI_NewObject(MUIC_Window, {
//         MUIA_Window_Title, "Demo",
//         MUIA_Window_RootObject, MUI_NewObject(MUIC_Group, {
//             MUIA_Group_Child, MUI_NewObject(MUIC_Text, {MUIA_Text_Contents, "first"}),
//             MUIA_Group_Child, MUI_NewObject(MUIC_Text, {MUIA_Text_Contents, "second"}),
//             TAG_DONE}),
//         TAG_DONE});
//
// A creation given a null child, root object or window fails (null) and
// disposes every other object it was given, so a tree built in one nested
// expression needs no checks and leaves nothing behind.
#include <exec/libraries.h>
#include <exec/types.h>
#include <intuition/classes.h>
#include <intuition/classusr.h>
#include <libraries/mui.h>
#include <utility/tagargs.h>
#include <utility/tagitem.h>

extern struct Library *MUIMasterBase;
extern struct MUIIFace *IMUIMaster;

// An object of the named class (MUIC_...), or null.
Object *MUI_NewObjectA(ClassID className, const struct TagItem *tags);
// Disposes the object and its children. Null does nothing.
void MUI_DisposeObject(Object *object);
// Ready-made objects: MUIO_Label (text, flags) and MUIO_HSpace/MUIO_VSpace
// (size). `params` holds the kind's arguments.
Object *MUI_MakeObjectA(LONG type, const IPTR *params);

// A subclass of the public class `supername` (or of `supermcc`'s class) with
// `datasize` bytes of instance data per object and its own dispatcher; null
// on failure. `base` names an owning library and may be null.
struct MUI_CustomClass *MUI_CreateCustomClass(struct Library *base, ClassID supername,
                                              struct MUI_CustomClass *supermcc, ULONG datasize,
                                              ClassDispatcher dispatcher);
// Deletes the class; FALSE (and nothing deleted) while objects of it exist.
BOOL MUI_DeleteCustomClass(struct MUI_CustomClass *mcc);

template <TagArgument... A> Object *MUI_NewObject(ClassID className, A... tags) {
    return MUI_NewObjectA(className, tagargs::Pair(tags...).data());
}
inline Object *MUI_NewObject(ClassID className, std::initializer_list<TagArg> tags) {
    return MUI_NewObjectA(className, tagargs::Pair(tags).data());
}

template <TagArgument... A> Object *MUI_MakeObject(LONG type, A... params) {
    const IPTR slots[] = {ToIPTR(params)..., 0};
    return MUI_MakeObjectA(type, slots);
}
