#pragma once
// Instance data of Application.mui: its signal, the queued return ids and the
// user input waiting for MUIM_Application_NewInput.
#include "view.h"

#include <exec/types.h>

#include <cstdint>
#include <deque>
#include <vector>

namespace platform::mui {

struct QueuedInput {
    InputRecord record;
    uint64_t serial; // of record.object when queued: a disposed object gets nothing
};

struct ApplicationData {
    BYTE signalBit = -1;
    std::deque<IPTR> returnIds;
    std::vector<QueuedInput> input;

    ULONG SignalMask() const { return signalBit >= 0 ? 1UL << signalBit : 0; }
};

ApplicationData *ApplicationDataOf(Object *application);

} // namespace platform::mui
