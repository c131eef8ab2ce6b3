// The active entry of a list or a cycle gadget.
#include "active_entry.h"

#include "string_array.h"

#include <algorithm>

namespace platform::mui {

namespace {

constexpr LONG kOff = -1;

bool CanBeOff(const EntryRules &rules) {
    return std::any_of(rules.moves.begin(), rules.moves.end(),
                       [](const NamedMove &m) { return m.move == Move::Off; });
}

} // namespace

bool ResolveActive(const EntryRules &rules, LONG current, LONG count, LONG requested,
                   LONG &active) {
    auto named = std::find_if(rules.moves.begin(), rules.moves.end(),
                              [requested](const NamedMove &m) { return m.request == requested; });
    if (named == rules.moves.end()) {
        if (requested < 0 || requested >= count)
            return false;
        active = requested;
        return true;
    }
    if (named->move == Move::Off || count == 0) {
        if (!CanBeOff(rules))
            return false;
        active = kOff;
        return true;
    }
    const LONG last = count - 1;
    switch (named->move) {
    case Move::First:
        active = 0;
        break;
    case Move::Last:
        active = last;
        break;
    case Move::Back:
        active = current > 0 ? current - 1 : (rules.wraps ? last : 0);
        break;
    case Move::Forward:
        active = current < last ? current + 1 : (rules.wraps ? 0 : last);
        break;
    case Move::Off:
        break;
    }
    return true;
}

bool ResolveEntry(const EntryRules &rules, const AttributeStore &kept, Tag tag, IPTR &value) {
    LONG active = 0;
    if (!ResolveActive(rules, static_cast<LONG>(kept.Value(tag)),
                       CountStrings(kept.Value(rules.strings)), static_cast<LONG>(value), active))
        return false;
    value = static_cast<IPTR>(static_cast<SIPTR>(active));
    return true;
}

} // namespace platform::mui
