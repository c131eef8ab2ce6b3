#pragma once
// Instance data of Notify.mui, the level every toolkit object has: its place
// in the object tree, its attributes and its notifications.
#include "attributes.h"
#include "family.h"
#include "notifications.h"

#include <intuition/classusr.h>

namespace platform::mui {

struct NotifyData {
    ObjectLinks links;
    AttributeStore attributes;
    NotificationList notifications;
};

// The Notify level of a toolkit object; null for any other object.
NotifyData *NotifyOf(Object *object);

} // namespace platform::mui
