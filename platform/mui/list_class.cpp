// List.mui over a caller's null-terminated string array (no construct hook):
// the entries are the caller's strings, referenced, not copied.
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

const NamedMove kListMoves[] = {
    {MUIV_List_Active_Off, Move::Off},       {MUIV_List_Active_Top, Move::First},
    {MUIV_List_Active_PageUp, Move::First},  {MUIV_List_Active_Bottom, Move::Last},
    {MUIV_List_Active_PageDown, Move::Last}, {MUIV_List_Active_Up, Move::Back},
    {MUIV_List_Active_Down, Move::Forward},
};
const EntryRules kListEntries{MUIA_List_SourceArray, kListMoves, false};

// The array is given at creation; the entry count is the list's own,
// counted then.
const AttributeSpec kListAttributes[] = {
    {MUIA_List_Active, ValueKind::Int, static_cast<IPTR>(MUIV_List_Active_Off), &kListEntries},
    {MUIA_List_Entries, ValueKind::Int, std::nullopt, nullptr, true},
    {MUIA_List_SourceArray, ValueKind::Raw, 0, nullptr, true},
    {MUIA_List_Title, ValueKind::Text},
};

IPTR List_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    const LONG entries = CountStrings(GetTagData(MUIA_List_SourceArray, 0, msg->ops_AttrList));
    auto tags =
        EditTags(msg->ops_AttrList, [](Tag tag, IPTR &) { return tag != MUIA_List_Entries; });
    tags.insert(tags.end() - 1, {MUIA_List_Entries, static_cast<IPTR>(entries)});
    return SuperWithTags(cl, obj, msg, tags);
}

IPTR List_GetEntry(Object *obj, struct MUIP_List_GetEntry *msg) {
    const AttributeStore &kept = NotifyOf(obj)->attributes;
    const IPTR array = kept.Value(MUIA_List_SourceArray);
    const SIPTR entries = static_cast<SIPTR>(kept.Value(MUIA_List_Entries));
    const SIPTR pos = msg->pos == MUIV_List_GetEntry_Active
                          ? static_cast<SIPTR>(kept.Value(MUIA_List_Active))
                          : msg->pos;
    APTR entry = nullptr;
    if (array && pos >= 0 && pos < entries)
        entry = reinterpret_cast<APTR *>(array)[pos];
    if (msg->entry)
        *msg->entry = entry;
    return reinterpret_cast<IPTR>(entry);
}

IPTR ListDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return List_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case MUIM_List_GetEntry:
        return List_GetEntry(obj, reinterpret_cast<MUIP_List_GetEntry *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kListClass{MUIC_List, MUIC_Area, ListDispatcher, 0, kListAttributes};

} // namespace platform::mui
