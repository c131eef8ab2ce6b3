// OM_NEW and OM_SET helpers shared by the built-in classes.
#include "creation.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/utility.h>

#include "family.h"
#include "mui_internal.h"

namespace platform::mui {

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

IPTR NewWithChildren(struct IClass *cl, Object *obj, struct opSet *msg, Tag childTag) {
    std::vector<Object *> children;
    bool missing = false;
    const struct TagItem *cursor = msg->ops_AttrList;
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
        missing ? nullptr
                : reinterpret_cast<Object *>(IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(msg)));
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

IPTR SuperWithTags(struct IClass *cl, Object *obj, const struct opSet *msg,
                   std::vector<struct TagItem> &tags) {
    opSet edited{msg->MethodID, tags.data(), msg->ops_GInfo};
    return IDoSuperMethodA(cl, obj, reinterpret_cast<Msg>(&edited));
}

bool HasTag(const struct TagItem *tags, Tag tag) {
    return FindTagItem(tag, tags) != nullptr;
}

} // namespace platform::mui
