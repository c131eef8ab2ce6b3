// Turns the trace switch on before main runs, for the traced test build of
// the program.
#include "utils.h"

namespace {
const bool kTraceOn = (DebugIT = 1, true);
}
