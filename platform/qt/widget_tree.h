#pragma once
// The widgets of one window's object tree: one widget per gadget, built from
// the model, kept in a map from object to widget, rebuilt group by group as
// the program changes groups, and chained for Tab in window order.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include "gadgets.h"

#include <QObject>

#include <unordered_map>
#include <vector>

class QWidget;

namespace platform::qt {

class WidgetTree {
  public:
    struct Gadget {
        QWidget *widget;
        GadgetKind kind;
    };

    WidgetTree();
    ~WidgetTree(); // the widgets go with the tree
    WidgetTree(const WidgetTree &) = delete;
    WidgetTree &operator=(const WidgetTree &) = delete;

    // Builds the widgets of `root` and everything below it under `parent`;
    // returns the root's widget.
    QWidget *Build(Object *root, QWidget *parent);

    // The gadget that shows `object`, or null.
    const Gadget *Find(Object *object) const;
    std::vector<QWidget *> WidgetsOfKind(GadgetKind kind) const;

    // The widget follows a new attribute value of its object.
    void Follow(Object *object, Tag attribute, IPTR value);
    // The group's widget takes the group's current children, in order: new
    // ones are built, those that left the group go.
    void RebuildGroup(Object *group);
    // The object's widget, and those below it, go.
    void Forget(Object *object);

  private:
    QWidget *BuildGadget(Object *object, QWidget *parent);
    void FillGroup(Object *group, QWidget *groupWidget);
    void Bind(Object *object, QWidget *widget, GadgetKind kind);
    void UpdateTabOrder();
    void CollectFocusable(Object *object, std::vector<QWidget *> &out) const;

    Object *root_ = nullptr;
    std::unordered_map<Object *, Gadget> gadgets_;
    QObject context_; // ends the widgets' destroyed() handlers with the tree
};

} // namespace platform::qt
