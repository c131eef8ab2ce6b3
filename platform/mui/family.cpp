// Parent and child links of toolkit objects.
#include "family.h"

#include "mui_internal.h"
#include "notify_data.h"

#include <proto/intuition.h>

#include <algorithm>

namespace platform::mui {

namespace {

Object *NearestOfClass(Object *object, struct IClass *cl) {
    for (; object; object = ParentOf(object))
        if (IsA(object, cl))
            return object;
    return nullptr;
}

} // namespace

void Adopt(Object *parent, Object *child) {
    NotifyData *p = NotifyOf(parent);
    NotifyData *c = NotifyOf(child);
    if (!p || !c || c->parent == parent)
        return;
    Detach(child);
    c->parent = parent;
    p->children.push_back(child);
}

void Detach(Object *child) {
    NotifyData *c = NotifyOf(child);
    if (!c || !c->parent)
        return;
    auto &siblings = NotifyOf(c->parent)->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), child));
    c->parent = nullptr;
}

void DisposeChildren(Object *parent) {
    NotifyData *p = NotifyOf(parent);
    if (!p)
        return;
    const std::vector<Object *> children = std::move(p->children);
    p->children.clear();
    for (Object *child : children) {
        NotifyOf(child)->parent = nullptr;
        DisposeObject(child);
    }
}

Object *ParentOf(Object *object) {
    NotifyData *data = NotifyOf(object);
    return data ? data->parent : nullptr;
}

const std::vector<Object *> &ChildrenOf(Object *object) {
    static const std::vector<Object *> none;
    NotifyData *data = NotifyOf(object);
    return data ? data->children : none;
}

bool IsWithin(Object *object, Object *ancestor) {
    for (; object; object = ParentOf(object))
        if (object == ancestor)
            return true;
    return false;
}

Object *ApplicationOf(Object *object) {
    return NearestOfClass(object, Classes().application);
}

Object *WindowOf(Object *object) {
    return NearestOfClass(object, Classes().window);
}

} // namespace platform::mui
