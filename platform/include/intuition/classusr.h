#pragma once
// Objects and the messages sent to them.
//
// A message is a run of pointer-sized slots: the method id, then its
// arguments. IDoMethod(obj, id, a, b) builds exactly {id, a, b} as IPTRs, so
// every message structure below uses IPTR-sized fields in that order.
#include <exec/types.h>
#include <utility/tagitem.h>

// An object is only ever handled by pointer; its layout is private.
typedef ULONG Object;

typedef CONST_STRPTR ClassID;

struct _Msg {
    IPTR MethodID;
    // method-specific slots follow
};
typedef struct _Msg *Msg;

// Public class names of Intuition.
#define ROOTCLASS "rootclass"

// Methods of the root class.
#define OM_Dummy 0x100
#define OM_NEW 0x101     // create a new object
#define OM_DISPOSE 0x102 // delete an object and what it owns
#define OM_SET 0x103     // set attributes from a tag list
#define OM_GET 0x104     // read one attribute
#define OM_ADDTAIL 0x105
#define OM_REMOVE 0x106
#define OM_NOTIFY 0x107
#define OM_UPDATE 0x108
#define OM_ADDMEMBER 0x109 // add a child object
#define OM_REMMEMBER 0x10A // remove a child object; the caller owns it then

struct GadgetInfo;

// OM_NEW and OM_SET
struct opSet {
    IPTR MethodID;
    struct TagItem *ops_AttrList;
    struct GadgetInfo *ops_GInfo;
};

// OM_GET
struct opGet {
    IPTR MethodID;
    IPTR opg_AttrID;
    IPTR *opg_Storage;
};

// OM_ADDMEMBER and OM_REMMEMBER
struct opMember {
    IPTR MethodID;
    Object *opam_Object;
};
#define opAddMember opMember
