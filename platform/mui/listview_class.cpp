// Listview.mui: shows and owns one list.
#include "creation.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

const struct TagItem kListviewDefaults[] = {{MUIA_Listview_Input, TRUE}, {TAG_DONE, 0}};

} // namespace

IPTR ListviewDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    if (msg->MethodID == OM_NEW)
        return NewWithChildren(cl, obj, msg, MUIA_Listview_List, kListviewDefaults);
    return IDoSuperMethodA(cl, obj, msg);
}

} // namespace platform::mui
