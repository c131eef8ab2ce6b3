// Window.mui: owns its root object. It opens only as part of an application;
// the close gadget raises MUIA_Window_CloseRequest, which fires its
// notifications on every request.
#include "creation.h"
#include "family.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

const struct TagItem kWindowDefaults[] = {
    {MUIA_Window_Open, FALSE},
    {MUIA_Window_CloseRequest, FALSE},
    {TAG_DONE, 0},
};

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    // A window is opened by setting MUIA_Window_Open once it belongs to an
    // application, never at creation.
    auto *set = reinterpret_cast<opSet *>(msg);
    auto tags =
        EditTags(set->ops_AttrList, [](Tag tag, IPTR &) { return tag != MUIA_Window_Open; });
    opSet edited{OM_NEW, tags.data(), set->ops_GInfo};
    return NewWithChildren(cl, obj, reinterpret_cast<Msg>(&edited), MUIA_Window_RootObject,
                           kWindowDefaults);
}

IPTR Set(struct IClass *cl, Object *obj, Msg msg) {
    auto *set = reinterpret_cast<opSet *>(msg);
    const uint64_t serial = platform::intuition::SerialOf(obj);
    IPTR result;
    if (!ApplicationOf(obj) && HasTag(set->ops_AttrList, MUIA_Window_Open)) {
        auto tags = EditTags(set->ops_AttrList, [](Tag tag, IPTR &data) {
            return tag != MUIA_Window_Open || !data; // no application: it cannot open
        });
        opSet edited{OM_SET, tags.data(), set->ops_GInfo};
        result = IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(&edited));
    } else {
        result = IDoSuperMethodA(cl, obj, msg);
    }
    // A request is an event, not a state: clear it for the next one, unless
    // a notification disposed the window (or its application) meanwhile.
    if (platform::intuition::SerialOf(obj) == serial)
        NotifyOf(obj)->attributes.Put(MUIA_Window_CloseRequest, FALSE);
    return result;
}

IPTR Dispose(struct IClass *cl, Object *obj, Msg msg) {
    IPTR open = FALSE;
    NotifyOf(obj)->attributes.Get(MUIA_Window_Open, &open);
    if (open)
        if (ViewObserver *observer = Observer())
            observer->WindowClosed(obj);
    return IDoSuperMethodA(cl, obj, msg);
}

} // namespace

IPTR WindowDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_SET:
        return Set(cl, obj, msg);
    case OM_DISPOSE:
        return Dispose(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
