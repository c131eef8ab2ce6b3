// Group.mui: owns its children. Between MUIM_Group_InitChange and
// MUIM_Group_ExitChange children may be removed and added; the view follows
// at the outermost ExitChange (or at once for a change made outside one).
#include "creation.h"
#include "family.h"
#include "group_data.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

#include <new>

namespace platform::mui {

namespace {

const struct TagItem kGroupDefaults[] = {{MUIA_Group_Horiz, FALSE}, {TAG_DONE, 0}};

GroupData *Data(struct IClass *cl, Object *obj) {
    return static_cast<GroupData *>(INST_DATA(cl, obj));
}

void Changed(struct IClass *cl, Object *obj) {
    if (Data(cl, obj)->changeDepth == 0)
        if (ViewObserver *observer = Observer())
            observer->GroupChanged(obj);
}

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    auto *object =
        reinterpret_cast<Object *>(NewWithChildren(cl, obj, msg, MUIA_Group_Child, kGroupDefaults));
    if (object)
        new (Data(cl, object)) GroupData{};
    return reinterpret_cast<IPTR>(object);
}

// A child must be a toolkit object that does not hold the group itself.
IPTR AddMember(struct IClass *cl, Object *obj, Object *child) {
    if (!IsA(child, Classes().notify) || IsWithin(obj, child))
        return FALSE;
    Adopt(obj, child);
    Changed(cl, obj);
    return TRUE;
}

IPTR RemMember(struct IClass *cl, Object *obj, Object *child) {
    if (!child || ParentOf(child) != obj)
        return FALSE;
    Detach(child);
    Changed(cl, obj);
    return TRUE;
}

IPTR ExitChange(struct IClass *cl, Object *obj) {
    GroupData *data = Data(cl, obj);
    if (data->changeDepth > 0)
        --data->changeDepth;
    Changed(cl, obj);
    return 0;
}

} // namespace

IPTR GroupDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_ADDMEMBER:
        return AddMember(cl, obj, reinterpret_cast<opMember *>(msg)->opam_Object);
    case OM_REMMEMBER:
        return RemMember(cl, obj, reinterpret_cast<opMember *>(msg)->opam_Object);
    case MUIM_Group_InitChange:
        ++Data(cl, obj)->changeDepth;
        return TRUE;
    case MUIM_Group_ExitChange:
        return ExitChange(cl, obj);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
