// Notification: recording MUIM_Notify and carrying out its action when the
// watched attribute changes.
#include "notifications.h"

#include "intuition/host_intuition.h"

#include <proto/intuition.h>

#include <array>

namespace platform::mui {

using platform::intuition::SerialOf;

namespace {

bool IsSpecialTarget(IPTR target) {
    return target >= MUIV_Notify_Self && target <= MUIV_Notify_Parent;
}

Object *ResolveTarget(Object *source, IPTR target, TargetResolver resolve) {
    if (target == MUIV_Notify_Self)
        return source;
    if (IsSpecialTarget(target))
        return resolve ? resolve(source, target) : nullptr;
    return reinterpret_cast<Object *>(target);
}

// The action's message with the trigger placeholders replaced by the value.
void SendAction(Object *target, const std::vector<IPTR> &action, IPTR value) {
    std::array<IPTR, 16> local;
    std::vector<IPTR> heap;
    IPTR *slots = local.data();
    if (action.size() > local.size()) {
        heap.resize(action.size());
        slots = heap.data();
    }
    for (std::size_t i = 0; i < action.size(); ++i) {
        if (i > 0 && action[i] == MUIV_TriggerValue)
            slots[i] = value;
        else if (i > 0 && action[i] == MUIV_NotTriggerValue)
            slots[i] = value ? 0 : 1;
        else
            slots[i] = action[i];
    }
    IDoMethodA(target, reinterpret_cast<Msg>(slots));
}

} // namespace

void NotificationList::Add(const struct MUIP_Notify *msg, ValueKind kind) {
    const IPTR *words = &msg->FollowParams + 1;
    Notification n;
    n.attribute = static_cast<Tag>(msg->TrigAttr);
    n.kind = kind;
    n.trigger = msg->TrigVal == MUIV_EveryTime ? msg->TrigVal : Normalise(kind, msg->TrigVal);
    n.target = reinterpret_cast<IPTR>(msg->DestObj);
    n.targetSerial = IsSpecialTarget(n.target) ? 0 : SerialOf(msg->DestObj);
    n.action.assign(words, words + msg->FollowParams);
    if (n.action.empty() || (!IsSpecialTarget(n.target) && !n.targetSerial))
        return; // nothing to send, or no live object to send it to
    list_.push_back(std::move(n));
}

bool NotificationList::Fire(Object *source, Tag attribute, IPTR value, TargetResolver resolve) {
    uint64_t sourceSerial = 0;              // looked up before the first action
    const std::size_t count = list_.size(); // notifications added now wait for the next change
    for (std::size_t i = 0; i < count; ++i) {
        Notification &n = list_[i];
        if (n.attribute != attribute || n.running ||
            (n.trigger != MUIV_EveryTime && !SameValue(n.kind, value, n.trigger)))
            continue;
        Object *target = ResolveTarget(source, n.target, resolve);
        if (!target || (n.targetSerial && SerialOf(target) != n.targetSerial))
            continue; // the target is gone
        if (!sourceSerial)
            sourceSerial = SerialOf(source);
        n.running = true;
        SendAction(target, n.action, value); // copies the action before it runs
        if (SerialOf(source) != sourceSerial)
            return false; // the action disposed the source, and this list with it
        list_[i].running = false;
    }
    return true;
}

} // namespace platform::mui
