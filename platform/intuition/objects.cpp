// Intuition's object calls: creating, disposing and sending messages.
#include "exec/host_exec.h"
#include "host_intuition.h"

#include <proto/intuition.h>

namespace {

[[maybe_unused]] const bool g_registered =
    (platform::exec::RegisterLibrary({"intuition.library", 54, {}, {}}), true);

} // namespace

Object *NewObjectA(struct IClass *cl, ClassID classID, const struct TagItem *tags) {
    if (!cl)
        cl = FindClass(classID);
    if (!cl)
        return nullptr;
    opSet msg{OM_NEW, const_cast<struct TagItem *>(tags), nullptr};
    return reinterpret_cast<Object *>(
        ICoerceMethodA(cl, reinterpret_cast<Object *>(cl), reinterpret_cast<Msg>(&msg)));
}

void DisposeObject(Object *object) {
    if (!platform::intuition::SerialOf(object))
        return; // null, or already disposed
    _Msg msg{OM_DISPOSE};
    IDoMethodA(object, &msg);
}

IPTR SetAttrsA(Object *object, const struct TagItem *tags) {
    opSet msg{OM_SET, const_cast<struct TagItem *>(tags), nullptr};
    return IDoMethodA(object, reinterpret_cast<Msg>(&msg));
}

ULONG GetAttr(ULONG attrID, Object *object, IPTR *storage) {
    IPTR scratch = 0;
    opGet msg{OM_GET, attrID, storage ? storage : &scratch};
    return IDoMethodA(object, reinterpret_cast<Msg>(&msg)) ? 1 : 0;
}

IPTR IDoMethodA(Object *object, Msg msg) {
    if (!object || !msg)
        return 0;
    return ICoerceMethodA(OCLASS(object), object, msg);
}

IPTR IDoSuperMethodA(struct IClass *cl, Object *object, Msg msg) {
    if (!cl || !cl->cl_Super)
        return 0;
    return ICoerceMethodA(cl->cl_Super, object, msg);
}

IPTR ICoerceMethodA(struct IClass *cl, Object *object, Msg msg) {
    if (!cl || !cl->cl_Dispatcher || !object || !msg)
        return 0;
    return cl->cl_Dispatcher(cl, object, msg);
}
