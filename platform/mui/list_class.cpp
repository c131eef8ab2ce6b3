// List.mui over a caller's null-terminated string array (no construct hook):
// the entries are the caller's strings, referenced, not copied.
#include "creation.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

namespace platform::mui {

namespace {

LONG CountEntries(IPTR sourceArray) {
    LONG count = 0;
    if (auto *entries = reinterpret_cast<const char *const *>(sourceArray))
        while (entries[count])
            ++count;
    return count;
}

// The entry that a requested MUIA_List_Active value makes active, given the
// current one; false when the request names no entry (it is then ignored).
bool ResolveActive(LONG current, LONG entries, LONG requested, LONG &active) {
    const LONG last = entries - 1;
    switch (requested) {
    case MUIV_List_Active_Off:
        active = MUIV_List_Active_Off;
        return true;
    case MUIV_List_Active_Top:
    case MUIV_List_Active_PageUp:
        active = entries ? 0 : MUIV_List_Active_Off;
        return true;
    case MUIV_List_Active_Bottom:
    case MUIV_List_Active_PageDown:
        active = entries ? last : MUIV_List_Active_Off;
        return true;
    case MUIV_List_Active_Up:
        active = entries ? (current > 0 ? current - 1 : 0) : MUIV_List_Active_Off;
        return true;
    case MUIV_List_Active_Down:
        active = entries ? (current < last ? current + 1 : last) : MUIV_List_Active_Off;
        return true;
    default:
        if (requested < 0 || requested > last)
            return false;
        active = requested;
        return true;
    }
}

// The caller's tags with MUIA_List_Active resolved against the entries; the
// entry count and, after creation, the array are the list's own.
std::vector<struct TagItem> EditListTags(const struct TagItem *tags, LONG current, LONG entries,
                                         bool creating) {
    return EditTags(tags, [&](Tag tag, IPTR &data) {
        if (tag == MUIA_List_Active) {
            LONG active = 0;
            if (!ResolveActive(current, entries, static_cast<LONG>(data), active))
                return false;
            data = static_cast<IPTR>(static_cast<SIPTR>(active));
            current = active;
        }
        return tag != MUIA_List_Entries && (creating || tag != MUIA_List_SourceArray);
    });
}

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    auto *set = reinterpret_cast<opSet *>(msg);
    const LONG entries = CountEntries(GetTagData(MUIA_List_SourceArray, 0, set->ops_AttrList));
    auto tags = EditListTags(set->ops_AttrList, MUIV_List_Active_Off, entries, true);
    const struct TagItem defaults[] = {
        {MUIA_List_Active, static_cast<IPTR>(MUIV_List_Active_Off)},
        {MUIA_List_Entries, static_cast<IPTR>(entries)},
        {MUIA_List_SourceArray, 0},
        {TAG_DONE, 0},
    };
    opSet edited{OM_NEW, tags.data(), set->ops_GInfo};
    return NewWithDefaults(cl, obj, reinterpret_cast<Msg>(&edited), defaults);
}

IPTR Set(struct IClass *cl, Object *obj, Msg msg) {
    auto *set = reinterpret_cast<opSet *>(msg);
    NotifyData *data = NotifyOf(obj);
    IPTR current = 0, entries = 0;
    data->attributes.Get(MUIA_List_Active, &current);
    data->attributes.Get(MUIA_List_Entries, &entries);
    auto tags = EditListTags(set->ops_AttrList, static_cast<LONG>(current),
                             static_cast<LONG>(entries), false);
    opSet edited{OM_SET, tags.data(), set->ops_GInfo};
    return IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(&edited));
}

IPTR GetEntry(Object *obj, Msg msg) {
    auto *get = reinterpret_cast<MUIP_List_GetEntry *>(msg);
    NotifyData *data = NotifyOf(obj);
    IPTR array = 0, entries = 0, active = 0;
    data->attributes.Get(MUIA_List_SourceArray, &array);
    data->attributes.Get(MUIA_List_Entries, &entries);
    data->attributes.Get(MUIA_List_Active, &active);
    const SIPTR pos = get->pos == MUIV_List_GetEntry_Active ? static_cast<SIPTR>(active) : get->pos;
    APTR entry = nullptr;
    if (array && pos >= 0 && pos < static_cast<SIPTR>(entries))
        entry = reinterpret_cast<APTR *>(array)[pos];
    if (get->entry)
        *get->entry = entry;
    return reinterpret_cast<IPTR>(entry);
}

} // namespace

IPTR ListDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_SET:
        return Set(cl, obj, msg);
    case MUIM_List_GetEntry:
        return GetEntry(obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
