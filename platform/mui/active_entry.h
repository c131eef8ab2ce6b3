#pragma once
// What a list and a cycle gadget share: one active entry among the strings of
// a caller's array, asked for by index or by a named move.
#include <exec/types.h>
#include <utility/tagitem.h>

#include <initializer_list>
#include <span>
#include <vector>

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
struct ActiveRules {
    Tag attribute; // MUIA_List_Active, MUIA_Cycle_Active
    std::span<const NamedMove> moves;
    bool wraps; // Back and Forward go round (a cycle gadget) or stop at the ends (a list)
};

// The entry `requested` makes active among `count`, given the current one;
// false when it names none (the request is then ignored).
bool ResolveActive(const ActiveRules &rules, LONG current, LONG count, LONG requested,
                   LONG &active);

// The caller's tags with the active attribute resolved (left out when it
// names no entry) and the `dropped` tags left out. Ends with TAG_DONE.
std::vector<struct TagItem> ResolveActiveTags(const struct TagItem *tags, const ActiveRules &rules,
                                              LONG current, LONG count,
                                              std::initializer_list<Tag> dropped);

} // namespace platform::mui
