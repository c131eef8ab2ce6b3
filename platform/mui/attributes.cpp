// Attribute kinds and the per-object attribute store.
#include "attributes.h"

#include <libraries/mui.h>

#include <cstring>

namespace platform::mui {

ValueKind KindOf(Tag attribute) {
    switch (attribute) {
    case MUIA_Selected:
    case MUIA_Pressed:
    case MUIA_ShowSelState:
    case MUIA_Disabled:
    case MUIA_Group_Horiz:
    case MUIA_Listview_Input:
    case MUIA_Window_Open:
    case MUIA_Window_CloseRequest:
        return ValueKind::Bool;
    case MUIA_List_Active:
    case MUIA_List_Entries:
    case MUIA_Cycle_Active:
    case MUIA_Font:
    case MUIA_InputMode:
    case MUIA_HorizWeight:
    case MUIA_VertWeight:
    case MUIA_CycleChain:
    case MUIA_Window_Width:
    case MUIA_Window_Height:
    case MUIA_FixWidth:
    case MUIA_FixHeight:
        return ValueKind::Int;
    case MUIA_ControlChar:
    case MUIA_Text_HiChar:
        return ValueKind::Char;
    case MUIA_Text_Contents:
    case MUIA_Text_PreParse:
    case MUIA_Dtpic_Name:
    case MUIA_Window_Title:
    case MUIA_Application_Author:
    case MUIA_Application_Base:
    case MUIA_Application_Copyright:
    case MUIA_Application_Description:
    case MUIA_Application_Title:
    case MUIA_Application_Version:
        return ValueKind::Text;
    default:
        return ValueKind::Raw;
    }
}

IPTR Normalise(Tag attribute, IPTR value) {
    switch (KindOf(attribute)) {
    case ValueKind::Bool:
        return value ? 1 : 0;
    case ValueKind::Int:
        return static_cast<IPTR>(static_cast<SIPTR>(static_cast<LONG>(value)));
    case ValueKind::Char:
        return value & 0xFF;
    default:
        return value;
    }
}

namespace {

bool SameText(const char *a, const char *b) {
    if (!a || !b)
        return a == b;
    return std::strcmp(a, b) == 0;
}

} // namespace

bool SameValue(Tag attribute, IPTR kept, IPTR given) {
    if (KindOf(attribute) == ValueKind::Text)
        return SameText(reinterpret_cast<const char *>(kept),
                        reinterpret_cast<const char *>(given));
    return kept == Normalise(attribute, given);
}

AttributeStore::Entry *AttributeStore::Find(Tag attribute) {
    for (Entry &entry : entries_)
        if (entry.tag == attribute)
            return &entry;
    return nullptr;
}

const AttributeStore::Entry *AttributeStore::Find(Tag attribute) const {
    return const_cast<AttributeStore *>(this)->Find(attribute);
}

bool AttributeStore::Set(Tag attribute, IPTR value) {
    Entry *entry = Find(attribute);
    if (entry && SameValue(attribute, entry->value, value))
        return false;
    if (!entry)
        entry = &entries_.emplace_back(Entry{attribute, 0, nullptr});
    if (KindOf(attribute) == ValueKind::Text) {
        const char *text = reinterpret_cast<const char *>(value);
        entry->text = text ? std::make_unique<std::string>(text) : nullptr;
        entry->value = entry->text ? reinterpret_cast<IPTR>(entry->text->c_str()) : 0;
    } else {
        entry->value = Normalise(attribute, value);
    }
    return true;
}

bool AttributeStore::Get(Tag attribute, IPTR *value) const {
    const Entry *entry = Find(attribute);
    if (!entry)
        return false;
    if (value)
        *value = entry->value;
    return true;
}

void AttributeStore::Put(Tag attribute, IPTR value) {
    Entry *entry = Find(attribute);
    if (!entry)
        entry = &entries_.emplace_back(Entry{attribute, 0, nullptr});
    entry->text.reset();
    entry->value = Normalise(attribute, value);
}

} // namespace platform::mui
