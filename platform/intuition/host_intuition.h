#pragma once
// Platform-internal view of Intuition's classes, for the toolkit model.
#include <intuition/classes.h>

#include <cstdint>

namespace platform::intuition {

// The root of every class: allocates objects on OM_NEW, frees them on
// OM_DISPOSE.
struct IClass *RootClass();

// A number that names one object for its whole life and is never reused;
// 0 for an address that holds no live object. Lets the toolkit tell a live
// object from a disposed one whose address came back.
uint64_t SerialOf(Object *object);

// True when `cl` is `ancestor` or a class below it.
bool IsSubclassOf(const struct IClass *cl, const struct IClass *ancestor);

} // namespace platform::intuition
