// Parent and child links of toolkit objects.
#include "family.h"

#include "mui_internal.h"

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
    ObjectLinks *p = LinksOf(parent);
    ObjectLinks *c = LinksOf(child);
    if (!p || !c || c->parent == parent)
        return;
    Detach(child);
    c->parent = parent;
    p->children.push_back(child);
}

void Detach(Object *child) {
    ObjectLinks *c = LinksOf(child);
    if (!c || !c->parent)
        return;
    auto &siblings = LinksOf(c->parent)->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), child));
    c->parent = nullptr;
}

void DisposeChildren(Object *parent) {
    ObjectLinks *p = LinksOf(parent);
    if (!p)
        return;
    const std::vector<Object *> children = std::move(p->children);
    p->children.clear();
    for (Object *child : children) {
        LinksOf(child)->parent = nullptr;
        DisposeObject(child);
    }
}

Object *ParentOf(Object *object) {
    ObjectLinks *links = LinksOf(object);
    return links ? links->parent : nullptr;
}

const std::vector<Object *> &ChildrenOf(Object *object) {
    static const std::vector<Object *> none;
    ObjectLinks *links = LinksOf(object);
    return links ? links->children : none;
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
