// Cycle.mui over a caller's null-terminated label array (referenced): the
// active index stays within the labels; Next and Prev wrap around.
#include "active_entry.h"
#include "creation.h"
#include "mui_internal.h"
#include "notify_data.h"
#include "string_array.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

namespace platform::mui {

namespace {

const AttributeSpec kCycleAttributes[] = {
    {MUIA_Cycle_Active, ValueKind::Int, 0},
    {MUIA_Cycle_Entries, ValueKind::Raw, 0},
};

const NamedMove kCycleMoves[] = {
    {MUIV_Cycle_Active_Next, Move::Forward},
    {MUIV_Cycle_Active_Prev, Move::Back},
};
const ActiveRules kCycleActive{MUIA_Cycle_Active, kCycleMoves, true};

IPTR Cycle_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    const LONG labels = CountStrings(GetTagData(MUIA_Cycle_Entries, 0, msg->ops_AttrList));
    auto tags = ResolveActiveTags(msg->ops_AttrList, kCycleActive, 0, labels, {});
    return SuperWithTags(cl, obj, msg, tags);
}

// The labels are given once, at creation.
IPTR Cycle_Set(struct IClass *cl, Object *obj, struct opSet *msg) {
    const AttributeStore &kept = NotifyOf(obj)->attributes;
    auto tags = ResolveActiveTags(
        msg->ops_AttrList, kCycleActive, static_cast<LONG>(kept.Value(MUIA_Cycle_Active)),
        CountStrings(kept.Value(MUIA_Cycle_Entries)), {MUIA_Cycle_Entries});
    return SuperWithTags(cl, obj, msg, tags);
}

IPTR CycleDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Cycle_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_SET:
        return Cycle_Set(cl, obj, reinterpret_cast<opSet *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kCycleClass{MUIC_Cycle, MUIC_Area, CycleDispatcher, 0, kCycleAttributes};

} // namespace platform::mui
