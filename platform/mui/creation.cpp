// OM_NEW and OM_SET helpers shared by the built-in classes.
#include "creation.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

#include "family.h"
#include "mui_internal.h"

namespace platform::mui {

namespace {

IPTR PassNew(struct IClass *cl, Object *obj, Msg msg, struct TagItem *tags) {
    opSet up{OM_NEW, tags, reinterpret_cast<opSet *>(msg)->ops_GInfo};
    return IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(&up));
}

} // namespace

bool IsChildTag(Tag tag) {
    return tag == MUIA_Group_Child || tag == MUIA_Window_RootObject ||
           tag == MUIA_Application_Window || tag == MUIA_Listview_List;
}

void DisposeGivenChildren(const struct TagItem *tags) {
    const struct TagItem *cursor = tags;
    while (const struct TagItem *item = NextTagItem(&cursor))
        if (IsChildTag(item->ti_Tag))
            DisposeObject(reinterpret_cast<Object *>(item->ti_Data));
}

IPTR NewWithDefaults(struct IClass *cl, Object *obj, Msg msg, const struct TagItem *defaults) {
    struct TagItem *given = reinterpret_cast<opSet *>(msg)->ops_AttrList;
    if (!defaults || defaults[0].ti_Tag == TAG_DONE)
        return PassNew(cl, obj, msg, given);
    std::vector<struct TagItem> tags;
    for (const struct TagItem *d = defaults; d->ti_Tag != TAG_DONE; ++d)
        tags.push_back(*d);
    tags.push_back({TAG_MORE, reinterpret_cast<IPTR>(given)});
    return PassNew(cl, obj, msg, tags.data());
}

IPTR NewWithChildren(struct IClass *cl, Object *obj, Msg msg, Tag childTag,
                     const struct TagItem *defaults) {
    std::vector<Object *> children;
    bool missing = false;
    const struct TagItem *cursor = reinterpret_cast<opSet *>(msg)->ops_AttrList;
    while (const struct TagItem *item = NextTagItem(&cursor)) {
        if (item->ti_Tag != childTag)
            continue;
        auto *child = reinterpret_cast<Object *>(item->ti_Data);
        if (!IsA(child, Classes().notify))
            missing = true; // null, or not a toolkit object
        if (child)
            children.push_back(child);
    }
    auto *made =
        missing ? nullptr : reinterpret_cast<Object *>(NewWithDefaults(cl, obj, msg, defaults));
    for (Object *child : children) {
        if (made)
            Adopt(made, child);
        else
            DisposeObject(child);
    }
    return reinterpret_cast<IPTR>(made);
}

std::vector<struct TagItem> EditTags(const struct TagItem *tags, const TagEdit &edit) {
    std::vector<struct TagItem> copy;
    const struct TagItem *cursor = tags;
    while (const struct TagItem *item = NextTagItem(&cursor)) {
        IPTR data = item->ti_Data;
        if (edit(item->ti_Tag, data))
            copy.push_back({item->ti_Tag, data});
    }
    copy.push_back({TAG_DONE, 0});
    return copy;
}

bool HasTag(const struct TagItem *tags, Tag tag) {
    return FindTagItem(tag, tags) != nullptr;
}

} // namespace platform::mui
