// Notify.mui: the level every toolkit object has. It keeps the attributes,
// fires notifications on real changes, searches by user data and takes the
// object's children with it when it goes.
#include "active_entry.h"
#include "creation.h"
#include "family.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

#include <new>
#include <string>

namespace platform::mui {

NotifyData *NotifyOf(Object *object) {
    if (!IsA(object, Classes().notify))
        return nullptr;
    return static_cast<NotifyData *>(INST_DATA(Classes().notify, object));
}

ObjectLinks *LinksOf(Object *object) {
    NotifyData *data = NotifyOf(object);
    return data ? &data->links : nullptr;
}

namespace {

NotifyData *Data(struct IClass *cl, Object *obj) {
    return static_cast<NotifyData *>(INST_DATA(cl, obj));
}

bool IsKept(Tag tag) {
    return !IsChildTag(tag) && tag != MUIA_NoNotify;
}

// The initial values of every level of `cl`, the topmost level's first.
void TakeInitialValues(AttributeStore &attributes, const struct IClass *cl) {
    if (!cl)
        return;
    TakeInitialValues(attributes, cl->cl_Super);
    if (const ClassSpec *desc = SpecOf(cl))
        for (const AttributeSpec &a : desc->attributes)
            if (a.initial)
                attributes.Set(a.tag, *a.initial, a.kind);
}

// The objects the special notification targets name.
Object *FindSpecialTarget(Object *source, IPTR specialTarget) {
    switch (specialTarget) {
    case MUIV_Notify_Window:
        return WindowOf(source);
    case MUIV_Notify_Application:
        return ApplicationOf(source);
    case MUIV_Notify_Parent:
        return ParentOf(source);
    default:
        return nullptr;
    }
}

// Takes a value given for an attribute as its class lists it: an entry is
// resolved against its array (a value naming none is passed over). True when
// the kept value changed.
bool Take(AttributeStore &attributes, const AttributeSpec &listed, Tag tag, IPTR value) {
    if (listed.entry && !ResolveEntry(*listed.entry, attributes, tag, value))
        return false;
    return attributes.Set(tag, value, listed.kind);
}

// The class's initial values, then the caller's tags in list order; entries
// last, so that they find the arrays they index whatever the tags' order.
IPTR Notify_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    auto *object = reinterpret_cast<Object *>(IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg)));
    if (!object)
        return 0;
    auto *data = new (Data(cl, object)) NotifyData;
    TakeInitialValues(data->attributes, OCLASS(object));
    for (const bool entries : {false, true}) {
        const struct TagItem *cursor = msg->ops_AttrList;
        while (const struct TagItem *item = NextTagItem(&cursor)) {
            const AttributeSpec &listed = SpecIn(OCLASS(object), item->ti_Tag);
            if (IsKept(item->ti_Tag) && (listed.entry != nullptr) == entries)
                Take(data->attributes, listed, item->ti_Tag, item->ti_Data);
        }
    }
    return reinterpret_cast<IPTR>(object);
}

IPTR Notify_Dispose(struct IClass *cl, Object *obj, Msg msg) {
    DisposeChildren(obj);
    Detach(obj);
    if (ViewObserver *observer = Observer())
        observer->ObjectDisposed(obj);
    Data(cl, obj)->~NotifyData();
    return IDoSuperMethodA(cl, obj, msg);
}

// Takes each attribute in list order; a real change is reported to the view
// and then fires the attribute's notifications (unless MUIA_NoNotify is set).
IPTR Notify_Set(struct IClass *cl, Object *obj, struct opSet *msg) {
    const bool quiet = GetTagData(MUIA_NoNotify, FALSE, msg->ops_AttrList) != FALSE;
    NotifyData *data = Data(cl, obj);
    const struct TagItem *cursor = msg->ops_AttrList;
    while (const struct TagItem *item = NextTagItem(&cursor)) {
        const AttributeSpec &listed = SpecIn(OCLASS(obj), item->ti_Tag);
        if (!IsKept(item->ti_Tag) || listed.creationOnly ||
            !Take(data->attributes, listed, item->ti_Tag, item->ti_Data))
            continue;
        IPTR value = 0;
        data->attributes.Get(item->ti_Tag, &value);
        ReportChange(obj, item->ti_Tag, value);
        // An action may set this text again, which frees the kept copy: the
        // notifications still to run get a copy of their own.
        std::string text;
        if (value && listed.kind == ValueKind::Text) {
            text = reinterpret_cast<const char *>(value);
            value = reinterpret_cast<IPTR>(text.c_str());
        }
        if (!quiet && !data->notifications.Fire(obj, item->ti_Tag, value, FindSpecialTarget))
            break; // a notification disposed the object
    }
    return 0;
}

// The parent is the tree's, not a kept attribute.
IPTR Notify_Get(struct IClass *cl, Object *obj, struct opGet *msg) {
    if (msg->opg_AttrID == MUIA_Parent) {
        *msg->opg_Storage = reinterpret_cast<IPTR>(ParentOf(obj));
        return TRUE;
    }
    return Data(cl, obj)->attributes.Get(static_cast<Tag>(msg->opg_AttrID), msg->opg_Storage)
               ? TRUE
               : FALSE;
}

IPTR Notify_Notify(struct IClass *cl, Object *obj, struct MUIP_Notify *msg) {
    Data(cl, obj)->notifications.Add(msg,
                                     SpecIn(OCLASS(obj), static_cast<Tag>(msg->TrigAttr)).kind);
    return 0;
}

IPTR Notify_SetOne(Object *obj, struct MUIP_Set *msg) {
    return SetAttrs(obj, msg->Attr, msg->Val, TAG_DONE);
}

IPTR Notify_NoNotifySet(Object *obj, struct MUIP_NoNotifySet *msg) {
    return SetAttrs(obj, MUIA_NoNotify, TRUE, msg->Attr, msg->Val, TAG_DONE);
}

IPTR Notify_FindUData(struct IClass *cl, Object *obj, struct MUIP_FindUData *msg) {
    NotifyData *data = Data(cl, obj);
    IPTR userData = 0;
    if (data->attributes.Get(MUIA_UserData, &userData) && userData == msg->Udata)
        return reinterpret_cast<IPTR>(obj);
    for (Object *child : data->links.children)
        if (IPTR found = IDoMethodA(child, reinterpret_cast<Msg>(msg)))
            return found;
    return 0;
}

IPTR NotifyDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Notify_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_DISPOSE:
        return Notify_Dispose(cl, obj, msg);
    case OM_SET:
        return Notify_Set(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_GET:
        return Notify_Get(cl, obj, reinterpret_cast<opGet *>(msg));
    case MUIM_Notify:
        return Notify_Notify(cl, obj, reinterpret_cast<MUIP_Notify *>(msg));
    case MUIM_Set:
        return Notify_SetOne(obj, reinterpret_cast<MUIP_Set *>(msg));
    case MUIM_NoNotifySet:
        return Notify_NoNotifySet(obj, reinterpret_cast<MUIP_NoNotifySet *>(msg));
    case MUIM_FindUData:
        return Notify_FindUData(cl, obj, reinterpret_cast<MUIP_FindUData *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kNotifyClass{MUIC_Notify, ROOTCLASS, NotifyDispatcher, sizeof(NotifyData), {}};

} // namespace platform::mui
