// Cycle.mui over a caller's null-terminated label array (referenced): the
// active index stays within the labels; Next and Prev wrap around.
#include "creation.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

namespace platform::mui {

namespace {

LONG CountLabels(IPTR labels) {
    LONG count = 0;
    if (auto *entries = reinterpret_cast<const char *const *>(labels))
        while (entries[count])
            ++count;
    return count;
}

bool ResolveActive(LONG current, LONG labels, LONG requested, LONG &active) {
    if (labels == 0)
        return false;
    if (requested == MUIV_Cycle_Active_Next)
        active = (current + 1) % labels;
    else if (requested == MUIV_Cycle_Active_Prev)
        active = (current + labels - 1) % labels;
    else if (requested >= 0 && requested < labels)
        active = requested;
    else
        return false;
    return true;
}

std::vector<struct TagItem> EditCycleTags(const struct TagItem *tags, LONG current, LONG labels,
                                          bool creating) {
    return EditTags(tags, [&](Tag tag, IPTR &data) {
        if (tag == MUIA_Cycle_Active) {
            LONG active = 0;
            if (!ResolveActive(current, labels, static_cast<LONG>(data), active))
                return false;
            data = static_cast<IPTR>(active);
            current = active;
        }
        return creating || tag != MUIA_Cycle_Entries;
    });
}

LONG LabelCount(Object *obj) {
    IPTR labels = 0;
    NotifyOf(obj)->attributes.Get(MUIA_Cycle_Entries, &labels);
    return CountLabels(labels);
}

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    auto *set = reinterpret_cast<opSet *>(msg);
    const LONG labels = CountLabels(GetTagData(MUIA_Cycle_Entries, 0, set->ops_AttrList));
    auto tags = EditCycleTags(set->ops_AttrList, 0, labels, true);
    const struct TagItem defaults[] = {
        {MUIA_Cycle_Active, 0}, {MUIA_Cycle_Entries, 0}, {TAG_DONE, 0}};
    opSet edited{OM_NEW, tags.data(), set->ops_GInfo};
    return NewWithDefaults(cl, obj, reinterpret_cast<Msg>(&edited), defaults);
}

IPTR Set(struct IClass *cl, Object *obj, Msg msg) {
    auto *set = reinterpret_cast<opSet *>(msg);
    IPTR current = 0;
    NotifyOf(obj)->attributes.Get(MUIA_Cycle_Active, &current);
    auto tags =
        EditCycleTags(set->ops_AttrList, static_cast<LONG>(current), LabelCount(obj), false);
    opSet edited{OM_SET, tags.data(), set->ops_GInfo};
    return IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(&edited));
}

} // namespace

IPTR CycleDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_SET:
        return Set(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
