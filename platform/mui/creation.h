#pragma once
// Helpers for the built-in classes' OM_NEW and OM_SET.
#include <exec/types.h>
#include <intuition/classes.h>
#include <utility/tagitem.h>

#include <functional>
#include <vector>

namespace platform::mui {

// Tags whose data is an object the new object will own.
bool IsChildTag(Tag tag);
// Disposes the objects given under child tags (a creation that never reached
// a class that would take them).
void DisposeGivenChildren(const struct TagItem *tags);

// Passes OM_NEW up for a class that owns the objects given under `childTag`:
// a null child, or a refusal further up, makes it fail and dispose all of
// them; on success they become the new object's children, in order.
IPTR NewWithChildren(struct IClass *cl, Object *obj, struct opSet *msg, Tag childTag);

// A copy of a tag list in which `edit` may change each item's data, or
// return false to leave the item out. Ends with TAG_DONE.
using TagEdit = std::function<bool(Tag tag, IPTR &data)>;
std::vector<struct TagItem> EditTags(const struct TagItem *tags, const TagEdit &edit);
// Passes OM_NEW or OM_SET up with `tags` in place of the caller's.
IPTR SuperWithTags(struct IClass *cl, Object *obj, const struct opSet *msg,
                   std::vector<struct TagItem> &tags);
// True when the list holds the tag.
bool HasTag(const struct TagItem *tags, Tag tag);

} // namespace platform::mui
