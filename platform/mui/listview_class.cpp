// Listview.mui: shows and owns one list. A double click (or Return) on an
// entry raises MUIA_Listview_DoubleClick, which fires its notifications on
// every request.
#include "creation.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

const AttributeSpec kListviewAttributes[] = {{MUIA_Listview_Input, ValueKind::Bool, TRUE},
                                             {MUIA_Listview_DoubleClick, ValueKind::Bool, FALSE}};

IPTR Listview_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    return NewWithChildren(cl, obj, msg, MUIA_Listview_List);
}

// A double click is an event, not a state: cleared for the next one, unless
// a notification disposed the list view meanwhile.
IPTR Listview_Set(struct IClass *cl, Object *obj, Msg msg) {
    const uint64_t serial = platform::intuition::SerialOf(obj);
    const IPTR result = IDoSuperMethodA(cl, obj, msg);
    if (platform::intuition::SerialOf(obj) == serial)
        NotifyOf(obj)->attributes.Put(MUIA_Listview_DoubleClick, FALSE);
    return result;
}

IPTR ListviewDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Listview_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_SET:
        return Listview_Set(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kListviewClass{MUIC_Listview, MUIC_Area, ListviewDispatcher, 0,
                               kListviewAttributes};

} // namespace platform::mui
