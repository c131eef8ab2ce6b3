#pragma once
// Small helpers over the model seam for the view's code.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include <cstring>

#include "mui/view.h"

namespace platform::qt {

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

// A user action on `object`, queued at its application as a plain set.
inline void QueueSet(Object *object, Tag attribute, IPTR value) {
    using platform::mui::InputRecord;
    platform::mui::QueueInput(platform::mui::ApplicationOf(object),
                              {InputRecord::Kind::Set, object, attribute, value});
}

} // namespace platform::qt
