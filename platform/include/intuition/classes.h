#pragma once
// Classes: one dispatcher per class, instance data per class level.
//
// An object's memory holds, after a private header, the instance data of
// every level of its class, the root class's first. INST_DATA(cl, obj) is the
// data of level `cl`; a dispatcher receives its own class as `cl`.
#include <exec/types.h>
#include <intuition/classusr.h>

struct IClass;

// A dispatcher routes on msg->MethodID and returns a pointer-sized result, so
// OM_NEW can hand back the new object on a 64-bit host too.
typedef IPTR (*ClassDispatcher)(struct IClass *cl, Object *obj, Msg msg);

struct IClass {
    ClassDispatcher cl_Dispatcher;
    struct IClass *cl_Super;
    ClassID cl_ID;       // name of a public class, else null
    ULONG cl_InstOffset; // where this level's data starts in an object
    ULONG cl_InstSize;   // size of this level's data
    APTR cl_UserData;    // free for the class's creator
    ULONG cl_SubclassCount;
    ULONG cl_ObjectCount;
    ULONG cl_Flags;
};
typedef struct IClass Class;

#define CLF_INLIST 0x00000001 // a public class, found by name

// The private header in front of every object.
struct _Object {
    struct IClass *o_Class;
    APTR o_Reserved;
};

#define _OBJ(o) ((struct _Object *)(o))
#define BASEOBJECT(_obj) ((Object *)(_OBJ(_obj) + 1))
#define _OBJECT(o) (_OBJ(o) - 1)
#define OCLASS(o) ((_OBJECT(o))->o_Class)
#define INST_DATA(cl, o) ((APTR)(((UBYTE *)(o)) + (cl)->cl_InstOffset))
#define SIZEOF_INSTANCE(cl) ((cl)->cl_InstOffset + (cl)->cl_InstSize + sizeof(struct _Object))
