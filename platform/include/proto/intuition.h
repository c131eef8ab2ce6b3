#pragma once
// Intuition's object calls.
//
// NewObject, SetAttrs, IDoMethod and IDoSuperMethod are variadic templates:
// every argument is turned into one IPTR slot (utility/tagargs.h). A tag list
// ends at TAG_DONE or at the last argument. NewObject and SetAttrs also take a
// braced list, whose elements are evaluated left to right:
//     NewObject(cl, NULL, {MUIA_Application_Window, MUI_NewObject(...), TAG_DONE});
#include <exec/libraries.h>
#include <exec/types.h>
#include <intuition/classes.h>
#include <intuition/classusr.h>
#include <utility/tagargs.h>
#include <utility/tagitem.h>

extern struct Library *IntuitionBase;
extern struct IntuitionIFace *IIntuition;

// Creates an object of class `cl`, or of the public class named `classID`
// when `cl` is null. Null when the class is unknown or refuses.
Object *NewObjectA(struct IClass *cl, ClassID classID, const struct TagItem *tags);
// Sends OM_DISPOSE; the object and everything it owns go. Null does nothing.
void DisposeObject(Object *object);
// Sends OM_SET; returns the classes' result.
IPTR SetAttrsA(Object *object, const struct TagItem *tags);
// Sends OM_GET; returns non-zero when the attribute was known.
ULONG GetAttr(ULONG attrID, Object *object, IPTR *storage);

// Sends a message to an object, or to the level above `cl`. A null object
// gives 0.
IPTR IDoMethodA(Object *object, Msg msg);
IPTR IDoSuperMethodA(struct IClass *cl, Object *object, Msg msg);
// Sends a message to the class `cl` for an object, whatever its true class.
IPTR ICoerceMethodA(struct IClass *cl, Object *object, Msg msg);

// Classes. MakeClass makes a class below the public class `superClassID` or
// below `superClassPtr`; set cl_Dispatcher before use. AddClass makes it
// public under its cl_ID. FreeClass fails (FALSE) while objects or
// subclasses of the class exist.
struct IClass *MakeClass(ClassID classID, ClassID superClassID, struct IClass *superClassPtr,
                         ULONG instanceSize, ULONG flags);
void AddClass(struct IClass *classPtr);
void RemoveClass(struct IClass *classPtr);
BOOL FreeClass(struct IClass *classPtr);
struct IClass *FindClass(ClassID classID);

template <TagArgument... A> Object *NewObject(struct IClass *cl, ClassID classID, A... tags) {
    return NewObjectA(cl, classID, tagargs::Pair(tags...).data());
}
inline Object *NewObject(struct IClass *cl, ClassID classID, std::initializer_list<TagArg> tags) {
    return NewObjectA(cl, classID, tagargs::Pair(tags).data());
}

template <TagArgument... A> IPTR SetAttrs(Object *object, A... tags) {
    return SetAttrsA(object, tagargs::Pair(tags...).data());
}
inline IPTR SetAttrs(Object *object, std::initializer_list<TagArg> tags) {
    return SetAttrsA(object, tagargs::Pair(tags).data());
}

template <TagArgument... A> IPTR IDoMethod(Object *object, ULONG methodID, A... args) {
    IPTR slots[] = {methodID, ToIPTR(args)...};
    return IDoMethodA(object, reinterpret_cast<Msg>(slots));
}

template <TagArgument... A>
IPTR IDoSuperMethod(struct IClass *cl, Object *object, ULONG methodID, A... args) {
    IPTR slots[] = {methodID, ToIPTR(args)...};
    return IDoSuperMethodA(cl, object, reinterpret_cast<Msg>(slots));
}
