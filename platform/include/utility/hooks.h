#pragma once
// Call-back hooks. A hook's entry is called with the hook itself, an object
// and a message; it returns a pointer-sized result.
#include <exec/types.h>

struct Hook;
typedef IPTR (*HOOKFUNC)(struct Hook *hook, APTR object, APTR message);

struct Hook {
    HOOKFUNC h_Entry;
    HOOKFUNC h_SubEntry;
    APTR h_Data;
};

// Calls a hook's entry; a null hook or entry gives 0.
inline IPTR CallHookPkt(struct Hook *hook, APTR object, APTR message) {
    return hook && hook->h_Entry ? hook->h_Entry(hook, object, message) : 0;
}
