// Walking tag lists, and the Utility library record that OpenLibrary hands out.
#include "exec/host_exec.h"

#include <proto/utility.h>

namespace {

struct TagItem *Next(struct TagItem **cursor) {
    if (!cursor)
        return nullptr;
    struct TagItem *item = *cursor;
    while (item) {
        switch (item->ti_Tag) {
        case TAG_DONE:
            item = nullptr;
            break;
        case TAG_IGNORE:
            ++item;
            break;
        case TAG_MORE:
            item = reinterpret_cast<struct TagItem *>(item->ti_Data);
            break;
        case TAG_SKIP:
            item += 1 + item->ti_Data;
            break;
        default:
            *cursor = item + 1;
            return item;
        }
    }
    *cursor = nullptr;
    return nullptr;
}

[[maybe_unused]] const bool g_registered =
    (platform::exec::RegisterLibrary({"utility.library", 54, {}, {}}), true);

} // namespace

struct TagItem *NextTagItem(struct TagItem **tagListPtr) {
    return Next(tagListPtr);
}

const struct TagItem *NextTagItem(const struct TagItem **tagListPtr) {
    return Next(const_cast<struct TagItem **>(tagListPtr));
}

struct TagItem *FindTagItem(Tag tagValue, const struct TagItem *tagList) {
    const struct TagItem *cursor = tagList;
    while (const struct TagItem *item = NextTagItem(&cursor))
        if (item->ti_Tag == tagValue)
            return const_cast<struct TagItem *>(item);
    return nullptr;
}

IPTR GetTagData(Tag tagValue, IPTR defaultValue, const struct TagItem *tagList) {
    const struct TagItem *item = FindTagItem(tagValue, tagList);
    return item ? item->ti_Data : defaultValue;
}
