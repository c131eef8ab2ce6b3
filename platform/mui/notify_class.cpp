// Notify.mui: the level every toolkit object has. It keeps the attributes,
// fires notifications on real changes, searches by user data and takes the
// object's children with it when it goes.
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

namespace {

bool IsKept(Tag tag) {
    return !IsChildTag(tag) && tag != MUIA_NoNotify;
}

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    auto *object = reinterpret_cast<Object *>(IDoSuperMethodA(cl, obj, msg));
    if (!object)
        return 0;
    auto *data = new (INST_DATA(cl, object)) NotifyData;
    const struct TagItem *cursor = reinterpret_cast<opSet *>(msg)->ops_AttrList;
    while (const struct TagItem *item = NextTagItem(&cursor))
        if (IsKept(item->ti_Tag))
            data->attributes.Set(item->ti_Tag, item->ti_Data);
    return reinterpret_cast<IPTR>(object);
}

IPTR Dispose(struct IClass *cl, Object *obj, Msg msg) {
    DisposeChildren(obj);
    Detach(obj);
    if (ViewObserver *observer = Observer())
        observer->ObjectDisposed(obj);
    static_cast<NotifyData *>(INST_DATA(cl, obj))->~NotifyData();
    return IDoSuperMethodA(cl, obj, msg);
}

// Takes each attribute in list order; a real change is reported to the view
// and then fires the attribute's notifications (unless MUIA_NoNotify is set).
IPTR Set(struct IClass *cl, Object *obj, Msg msg) {
    const struct TagItem *tags = reinterpret_cast<opSet *>(msg)->ops_AttrList;
    const bool quiet = GetTagData(MUIA_NoNotify, FALSE, tags) != FALSE;
    auto *data = static_cast<NotifyData *>(INST_DATA(cl, obj));
    const struct TagItem *cursor = tags;
    while (const struct TagItem *item = NextTagItem(&cursor)) {
        if (!IsKept(item->ti_Tag) || !data->attributes.Set(item->ti_Tag, item->ti_Data))
            continue;
        IPTR value = 0;
        data->attributes.Get(item->ti_Tag, &value);
        ReportChange(obj, item->ti_Tag, value);
        // An action may set this text again, which frees the kept copy: the
        // notifications still to run get a copy of their own.
        std::string text;
        if (value && KindOf(item->ti_Tag) == ValueKind::Text) {
            text = reinterpret_cast<const char *>(value);
            value = reinterpret_cast<IPTR>(text.c_str());
        }
        if (!quiet && !data->notifications.Fire(obj, item->ti_Tag, value))
            break; // a notification disposed the object
    }
    return 0;
}

IPTR Get(struct IClass *cl, Object *obj, Msg msg) {
    auto *get = reinterpret_cast<opGet *>(msg);
    auto *data = static_cast<NotifyData *>(INST_DATA(cl, obj));
    return data->attributes.Get(static_cast<Tag>(get->opg_AttrID), get->opg_Storage) ? TRUE : FALSE;
}

IPTR FindUData(struct IClass *cl, Object *obj, Msg msg) {
    auto *data = static_cast<NotifyData *>(INST_DATA(cl, obj));
    IPTR userData = 0;
    if (data->attributes.Get(MUIA_UserData, &userData) &&
        userData == reinterpret_cast<MUIP_FindUData *>(msg)->Udata)
        return reinterpret_cast<IPTR>(obj);
    for (Object *child : data->children)
        if (IPTR found = IDoMethodA(child, msg))
            return found;
    return 0;
}

IPTR SetOne(Object *obj, Msg msg, bool quiet) {
    auto *set = reinterpret_cast<MUIP_Set *>(msg);
    return quiet ? SetAttrs(obj, MUIA_NoNotify, TRUE, set->Attr, set->Val, TAG_DONE)
                 : SetAttrs(obj, set->Attr, set->Val, TAG_DONE);
}

} // namespace

IPTR NotifyDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_DISPOSE:
        return Dispose(cl, obj, msg);
    case OM_SET:
        return Set(cl, obj, msg);
    case OM_GET:
        return Get(cl, obj, msg);
    case MUIM_Notify:
        static_cast<NotifyData *>(INST_DATA(cl, obj))
            ->notifications.Add(reinterpret_cast<MUIP_Notify *>(msg));
        return 0;
    case MUIM_KillNotify:
        static_cast<NotifyData *>(INST_DATA(cl, obj))
            ->notifications.Kill(
                static_cast<Tag>(reinterpret_cast<MUIP_KillNotify *>(msg)->TrigAttr));
        return 0;
    case MUIM_Set:
        return SetOne(obj, msg, false);
    case MUIM_NoNotifySet:
        return SetOne(obj, msg, true);
    case MUIM_FindUData:
        return FindUData(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
