// Listview.mui: shows and owns one list.
#include "creation.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

const AttributeSpec kListviewAttributes[] = {{MUIA_Listview_Input, ValueKind::Bool, TRUE}};

IPTR Listview_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    return NewWithChildren(cl, obj, msg, MUIA_Listview_List);
}

IPTR ListviewDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Listview_New(cl, obj, reinterpret_cast<opSet *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kListviewClass{MUIC_Listview, MUIC_Area, ListviewDispatcher, 0,
                               kListviewAttributes};

} // namespace platform::mui
