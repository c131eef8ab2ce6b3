#pragma once
// The object tree: an application owns its windows, a window its root object,
// a group its children, a list view its list.
#include <intuition/classusr.h>

#include <vector>

namespace platform::mui {

// Makes `child` the last child of `parent`, taking it from any other parent.
void Adopt(Object *parent, Object *child);
// Takes the object out of its parent's children; the caller owns it then.
void Detach(Object *child);
// Disposes every child, in order.
void DisposeChildren(Object *parent);

Object *ParentOf(Object *object);
const std::vector<Object *> &ChildrenOfObject(Object *object);
// True when `object` is `ancestor` or lies below it.
bool IsWithin(Object *object, Object *ancestor);
// The nearest object at or above `object` of the application or window class.
Object *ApplicationOf(Object *object);
Object *WindowOf(Object *object);

} // namespace platform::mui
