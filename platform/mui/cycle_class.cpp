// Cycle.mui over a caller's null-terminated label array (referenced, given at
// creation): the active index stays within the labels; Next and Prev wrap
// around. Its attribute table says all of it.
#include "active_entry.h"
#include "mui_internal.h"

#include <libraries/mui.h>

namespace platform::mui {

namespace {

const NamedMove kCycleMoves[] = {
    {MUIV_Cycle_Active_Next, Move::Forward},
    {MUIV_Cycle_Active_Prev, Move::Back},
};
const EntryRules kCycleEntries{MUIA_Cycle_Entries, kCycleMoves, true};

const AttributeSpec kCycleAttributes[] = {
    {MUIA_Cycle_Active, ValueKind::Int, 0, &kCycleEntries},
    {MUIA_Cycle_Entries, ValueKind::Raw, 0, nullptr, true},
};

} // namespace

const ClassSpec kCycleClass{MUIC_Cycle, MUIC_Area, PassUp, 0, kCycleAttributes};

} // namespace platform::mui
