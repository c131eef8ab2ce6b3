// Attribute values and the per-object attribute store.
#include "attributes.h"

#include <cstring>

namespace platform::mui {

IPTR Normalise(ValueKind kind, IPTR value) {
    switch (kind) {
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

bool SameValue(ValueKind kind, IPTR kept, IPTR given) {
    if (kind == ValueKind::Text)
        return SameText(reinterpret_cast<const char *>(kept),
                        reinterpret_cast<const char *>(given));
    return kept == Normalise(kind, given);
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

bool AttributeStore::Set(Tag attribute, IPTR value, ValueKind kind) {
    Entry *entry = Find(attribute);
    if (entry && SameValue(kind, entry->value, value))
        return false;
    if (!entry)
        entry = &entries_.emplace_back(Entry{attribute, 0, nullptr});
    if (kind == ValueKind::Text) {
        const char *text = reinterpret_cast<const char *>(value);
        entry->text = text ? std::make_unique<std::string>(text) : nullptr;
        entry->value = entry->text ? reinterpret_cast<IPTR>(entry->text->c_str()) : 0;
    } else {
        entry->value = Normalise(kind, value);
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

IPTR AttributeStore::Value(Tag attribute, IPTR fallback) const {
    const Entry *entry = Find(attribute);
    return entry ? entry->value : fallback;
}

void AttributeStore::Put(Tag attribute, IPTR value) {
    Entry *entry = Find(attribute);
    if (!entry)
        entry = &entries_.emplace_back(Entry{attribute, 0, nullptr});
    entry->text.reset();
    entry->value = value;
}

} // namespace platform::mui
