// Group.mui: owns its children. Between MUIM_Group_InitChange and
// MUIM_Group_ExitChange children may be removed and added; the view follows
// at the outermost ExitChange (or at once for a change made outside one).
#include "creation.h"
#include "family.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

#include <new>

namespace platform::mui {

namespace {

struct GroupData {
    int changeDepth = 0; // open MUIM_Group_InitChange calls
};

const AttributeSpec kGroupAttributes[] = {{MUIA_Group_Horiz, ValueKind::Bool, FALSE}};

GroupData *Data(struct IClass *cl, Object *obj) {
    return static_cast<GroupData *>(INST_DATA(cl, obj));
}

void Changed(struct IClass *cl, Object *obj) {
    if (Data(cl, obj)->changeDepth == 0)
        if (ViewObserver *observer = Observer())
            observer->GroupChanged(obj);
}

IPTR Group_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    auto *object = reinterpret_cast<Object *>(NewWithChildren(cl, obj, msg, MUIA_Group_Child));
    if (object)
        new (Data(cl, object)) GroupData{};
    return reinterpret_cast<IPTR>(object);
}

// A child must be a toolkit object that does not hold the group itself.
IPTR Group_AddMember(struct IClass *cl, Object *obj, struct opMember *msg) {
    Object *child = msg->opam_Object;
    if (!IsA(child, Classes().notify) || IsWithin(obj, child))
        return FALSE;
    Adopt(obj, child);
    Changed(cl, obj);
    return TRUE;
}

IPTR Group_RemMember(struct IClass *cl, Object *obj, struct opMember *msg) {
    Object *child = msg->opam_Object;
    if (!child || ParentOf(child) != obj)
        return FALSE;
    Detach(child);
    Changed(cl, obj);
    return TRUE;
}

IPTR Group_InitChange(struct IClass *cl, Object *obj, struct MUIP_Group_InitChange *) {
    ++Data(cl, obj)->changeDepth;
    return TRUE;
}

IPTR Group_ExitChange(struct IClass *cl, Object *obj, struct MUIP_Group_ExitChange *) {
    GroupData *data = Data(cl, obj);
    if (data->changeDepth > 0)
        --data->changeDepth;
    Changed(cl, obj);
    return 0;
}

IPTR GroupDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Group_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_ADDMEMBER:
        return Group_AddMember(cl, obj, reinterpret_cast<opMember *>(msg));
    case OM_REMMEMBER:
        return Group_RemMember(cl, obj, reinterpret_cast<opMember *>(msg));
    case MUIM_Group_InitChange:
        return Group_InitChange(cl, obj, reinterpret_cast<MUIP_Group_InitChange *>(msg));
    case MUIM_Group_ExitChange:
        return Group_ExitChange(cl, obj, reinterpret_cast<MUIP_Group_ExitChange *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kGroupClass{MUIC_Group, MUIC_Area, GroupDispatcher, sizeof(GroupData),
                            kGroupAttributes};

} // namespace platform::mui
