#pragma once
// What a list and a cycle gadget share: one active entry among the strings of
// a caller's array, asked for by index or by a named move. A class declares
// its rules on the attribute (AttributeSpec::entry); the Notify level applies
// them whenever the attribute is given.
#include "attributes.h"

#include <exec/types.h>
#include <utility/tagitem.h>

#include <span>

namespace platform::mui {

// Where a named request (MUIV_List_Active_Top, MUIV_Cycle_Active_Next, ...)
// takes the active entry.
enum class Move { Off, First, Last, Back, Forward };
struct NamedMove {
    LONG request;
    Move move;
};

// How one class picks its active entry. A class that has a move to Off (-1)
// is off while it has no entries; one without ignores every request then.
struct EntryRules {
    Tag strings; // the attribute that holds the array of entries
    std::span<const NamedMove> moves;
    bool wraps; // Back and Forward go round (a cycle gadget) or stop at the ends (a list)
};

// The entry `requested` makes active among `count`, given the current one;
// false when it names none (the request is then ignored).
bool ResolveActive(const EntryRules &rules, LONG current, LONG count, LONG requested, LONG &active);

// A value given for the entry attribute `tag` of an object whose attributes
// are `kept`, resolved against its array and current entry; false when it
// names no entry.
bool ResolveEntry(const EntryRules &rules, const AttributeStore &kept, Tag tag, IPTR &value);

} // namespace platform::mui
