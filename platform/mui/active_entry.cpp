// The active entry of a list or a cycle gadget.
#include "active_entry.h"

#include "creation.h"

#include <algorithm>

namespace platform::mui {

namespace {

constexpr LONG kOff = -1;

bool CanBeOff(const ActiveRules &rules) {
    return std::any_of(rules.moves.begin(), rules.moves.end(),
                       [](const NamedMove &m) { return m.move == Move::Off; });
}

} // namespace

bool ResolveActive(const ActiveRules &rules, LONG current, LONG count, LONG requested,
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

std::vector<struct TagItem> ResolveActiveTags(const struct TagItem *tags, const ActiveRules &rules,
                                              LONG current, LONG count,
                                              std::initializer_list<Tag> dropped) {
    return EditTags(tags, [&](Tag tag, IPTR &data) {
        if (tag == rules.attribute) {
            LONG active = 0;
            if (!ResolveActive(rules, current, count, static_cast<LONG>(data), active))
                return false;
            data = static_cast<IPTR>(static_cast<SIPTR>(active));
            current = active;
        }
        return std::find(dropped.begin(), dropped.end(), tag) == dropped.end();
    });
}

} // namespace platform::mui
