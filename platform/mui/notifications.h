#pragma once
// The notifications installed on one object with MUIM_Notify. The list knows
// attribute values and object identity only: the objects that the special
// targets (window, application, parent) name are found by the class that owns
// the list.
#include "attributes.h"

#include <exec/types.h>
#include <intuition/classusr.h>
#include <libraries/mui.h>

#include <cstdint>
#include <vector>

namespace platform::mui {

// The object MUIV_Notify_Window, MUIV_Notify_Application or MUIV_Notify_Parent
// names for `source`; null when there is none.
using TargetResolver = Object *(*)(Object *source, IPTR specialTarget);

class NotificationList {
  public:
    // Records the notification; `kind` is how the watched attribute's values
    // compare with its trigger value.
    void Add(const struct MUIP_Notify *msg, ValueKind kind);
    // Runs, in installation order, every notification of `attribute` whose
    // trigger matches `value`. A notification already running (its action led
    // back to the same change) is not run again. Stops when the source object
    // is disposed by one of the actions, and then returns false.
    bool Fire(Object *source, Tag attribute, IPTR value, TargetResolver resolve);

  private:
    struct Notification {
        Tag attribute;
        ValueKind kind;
        IPTR trigger;
        IPTR target;           // an object, or MUIV_Notify_Self/Window/Application/Parent
        uint64_t targetSerial; // 0 for the special targets
        std::vector<IPTR> action;
        bool running = false;
    };
    std::vector<Notification> list_;
};

} // namespace platform::mui
