#pragma once
// Utility: walking tag lists.
#include <exec/types.h>
#include <utility/hooks.h>
#include <utility/tagitem.h>

// Returns the next real item of a tag list and advances the cursor past it:
// TAG_IGNORE items are passed over, TAG_MORE continues in the list its data
// points to, TAG_SKIP passes over itself and as many items as its data says.
// Returns null at TAG_DONE (or a null list) and leaves the cursor null.
struct TagItem *NextTagItem(struct TagItem **tagListPtr);
const struct TagItem *NextTagItem(const struct TagItem **tagListPtr);
// The first item with the tag, or null.
struct TagItem *FindTagItem(Tag tagValue, const struct TagItem *tagList);
// The data of the first item with the tag, or the default.
IPTR GetTagData(Tag tagValue, IPTR defaultValue, const struct TagItem *tagList);
