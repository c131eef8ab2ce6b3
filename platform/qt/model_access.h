#pragma once
// The view's vocabulary over the model seam (mui/view.h): its names, and
// small helpers for reading attributes.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include <cstring>

#include "mui/view.h"

namespace platform::qt {

using platform::mui::ApplicationOf;
using platform::mui::ChildrenOf;
using platform::mui::FindControlChar;
using platform::mui::QueueControlChar;
using platform::mui::QueuePress;
using platform::mui::QueueRelease;
using platform::mui::QueueSet;
using platform::mui::WindowOf;

// The attribute's value, or `fallback` when the model keeps none.
inline IPTR Attribute(Object *object, Tag attribute, IPTR fallback = 0) {
    IPTR value = 0;
    return platform::mui::GetAttribute(object, attribute, &value) ? value : fallback;
}

inline const char *StringAttribute(Object *object, Tag attribute) {
    return reinterpret_cast<const char *>(Attribute(object, attribute));
}

inline bool IsClass(Object *object, const char *name) {
    const char *actual = platform::mui::ClassNameOf(object);
    return actual && std::strcmp(actual, name) == 0;
}

} // namespace platform::qt
