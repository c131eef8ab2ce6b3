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

const AttributeSpec kWindowAttributes[] = {
    {MUIA_Window_Open, ValueKind::Bool, FALSE}, {MUIA_Window_CloseRequest, ValueKind::Bool, FALSE},
    {MUIA_Window_Title, ValueKind::Text},       {MUIA_Window_Width, ValueKind::Int},
    {MUIA_Window_Height, ValueKind::Int},
};

// A window is opened by setting MUIA_Window_Open once it belongs to an
// application, never at creation.
IPTR Window_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    auto tags =
        EditTags(msg->ops_AttrList, [](Tag tag, IPTR &) { return tag != MUIA_Window_Open; });
    opSet edited{OM_NEW, tags.data(), msg->ops_GInfo};
    return NewWithChildren(cl, obj, &edited, MUIA_Window_RootObject);
}

IPTR Window_Set(struct IClass *cl, Object *obj, struct opSet *msg) {
    const uint64_t serial = platform::intuition::SerialOf(obj);
    IPTR result;
    if (!ApplicationOf(obj) && HasTag(msg->ops_AttrList, MUIA_Window_Open)) {
        auto tags = EditTags(msg->ops_AttrList, [](Tag tag, IPTR &data) {
            return tag != MUIA_Window_Open || !data; // no application: it cannot open
        });
        result = SuperWithTags(cl, obj, msg, tags);
    } else {
        result = IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg));
    }
    // A request is an event, not a state: clear it for the next one, unless
    // a notification disposed the window (or its application) meanwhile.
    if (platform::intuition::SerialOf(obj) == serial)
        NotifyOf(obj)->attributes.Put(MUIA_Window_CloseRequest, FALSE);
    return result;
}

IPTR Window_Dispose(struct IClass *cl, Object *obj, Msg msg) {
    if (NotifyOf(obj)->attributes.Value(MUIA_Window_Open))
        if (ViewObserver *observer = Observer())
            observer->WindowClosed(obj);
    return IDoSuperMethodA(cl, obj, msg);
}

IPTR WindowDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Window_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_SET:
        return Window_Set(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_DISPOSE:
        return Window_Dispose(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kWindowClass{MUIC_Window, MUIC_Notify, WindowDispatcher, 0, kWindowAttributes};

} // namespace platform::mui
