#pragma once
// The notifications installed on one object with MUIM_Notify.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <libraries/mui.h>

#include <cstdint>
#include <vector>

namespace platform::mui {

class NotificationList {
  public:
    void Add(const struct MUIP_Notify *msg);
    void Kill(Tag attribute);
    // Runs, in installation order, every notification of `attribute` whose
    // trigger matches `value`. A notification already running (its action led
    // back to the same change) is not run again. Stops when the source object
    // is disposed by one of the actions, and then returns false.
    bool Fire(Object *source, Tag attribute, IPTR value);

  private:
    struct Notification {
        Tag attribute;
        IPTR trigger;
        IPTR target;           // an object, or MUIV_Notify_Self/Window/Application/Parent
        uint64_t targetSerial; // 0 for the special targets
        std::vector<IPTR> action;
        bool running = false;
    };
    std::vector<Notification> list_;
};

} // namespace platform::mui
