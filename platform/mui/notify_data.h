#pragma once
// Instance data of Notify.mui, the level every toolkit object has: its
// attributes, its notifications and its place in the object tree.
#include "attributes.h"
#include "notifications.h"

#include <intuition/classusr.h>

#include <vector>

namespace platform::mui {

struct NotifyData {
    Object *parent = nullptr;
    std::vector<Object *> children; // owned: disposed with the object
    AttributeStore attributes;
    NotificationList notifications;
};

// The Notify level of a toolkit object; null for any other object.
NotifyData *NotifyOf(Object *object);

} // namespace platform::mui
