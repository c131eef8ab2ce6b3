#pragma once
// The object tree: an application owns its windows, a window its root object,
// a group its children, a list view its list. Reading the tree (children,
// the application or window of an object) is part of the view seam.
#include "view.h"

#include <intuition/classusr.h>

#include <vector>

namespace platform::mui {

// An object's place in the tree, kept at the Notify level of every toolkit
// object.
struct ObjectLinks {
    Object *parent = nullptr;
    std::vector<Object *> children; // owned: disposed with the object
};
// The links of a toolkit object; null for any other object.
ObjectLinks *LinksOf(Object *object);

// Makes `child` the last child of `parent`, taking it from any other parent.
void Adopt(Object *parent, Object *child);
// Takes the object out of its parent's children; the caller owns it then.
void Detach(Object *child);
// Disposes every child, in order.
void DisposeChildren(Object *parent);

Object *ParentOf(Object *object);
// True when `object` is `ancestor` or lies below it.
bool IsWithin(Object *object, Object *ancestor);

} // namespace platform::mui
