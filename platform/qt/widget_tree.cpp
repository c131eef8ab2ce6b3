#include "widget_tree.h"

#include "group_layout.h"
#include "labels.h"
#include "model_access.h"

#include <QWidget>

#include <unordered_set>

namespace platform::qt {

WidgetTree::WidgetTree() = default;

WidgetTree::~WidgetTree() {
    // The widgets go while the map still exists (their destroyed() handlers
    // erase entries from it).
    Forget(root_);
}

QWidget *WidgetTree::Build(Object *root, QWidget *parent) {
    root_ = root;
    QWidget *widget = BuildGadget(root, parent);
    UpdateTabOrder();
    return widget;
}

const WidgetTree::Gadget *WidgetTree::Find(Object *object) const {
    auto it = gadgets_.find(object);
    return object && it != gadgets_.end() ? &it->second : nullptr;
}

std::vector<QWidget *> WidgetTree::WidgetsOfKind(GadgetKind kind) const {
    std::vector<QWidget *> widgets;
    for (const auto &[object, gadget] : gadgets_)
        if (gadget.kind == kind)
            widgets.push_back(gadget.widget);
    return widgets;
}

void WidgetTree::Follow(Object *object, Tag attribute, IPTR value) {
    if (const Gadget *gadget = Find(object))
        UpdateGadget(gadget->widget, gadget->kind, object, attribute, value);
}

void WidgetTree::RebuildGroup(Object *group) {
    const Gadget *gadget = Find(group);
    if (!gadget || gadget->kind != GadgetKind::Group)
        return;
    QWidget *groupWidget = gadget->widget;
    ClearPlaces(groupWidget);

    // Widgets of objects that left the group go; those of current children
    // are placed again, in their new order.
    std::unordered_set<QWidget *> keep;
    for (Object *child : ChildrenOf(group))
        if (const Gadget *found = Find(child))
            keep.insert(found->widget);
    std::unordered_set<QWidget *> stale;
    for (const auto &[object, each] : gadgets_)
        if (each.widget->parentWidget() == groupWidget && !keep.count(each.widget))
            stale.insert(each.widget);
    for (QWidget *widget : stale)
        delete widget;

    FillGroup(group, groupWidget);
    UpdateTabOrder();
    groupWidget->updateGeometry();
}

void WidgetTree::Forget(Object *object) {
    if (const Gadget *gadget = Find(object))
        delete gadget->widget; // its destroyed() handler drops the entries
}

QWidget *WidgetTree::BuildGadget(Object *object, QWidget *parent) {
    const GadgetKind kind = GadgetKindOf(object);
    if (kind != GadgetKind::Group) {
        QWidget *widget = MakeGadget(kind, object, parent);
        Bind(object, widget, kind);
        if (kind == GadgetKind::List) // the list inside a list view shares its widget
            for (Object *child : ChildrenOf(object))
                Bind(child, widget, kind);
        return widget;
    }
    QWidget *widget = MakeGroupWidget(object, parent);
    Bind(object, widget, kind);
    FillGroup(object, widget);
    return widget;
}

void WidgetTree::FillGroup(Object *group, QWidget *groupWidget) {
    std::vector<GroupMember> members;
    for (Object *child : ChildrenOf(group)) {
        const Gadget *found = Find(child);
        QWidget *widget = found ? found->widget : BuildGadget(child, groupWidget);
        PlaceChild(groupWidget, widget, child);
        members.push_back({GadgetKindOf(child), widget});
    }
    NameByLabels(members);
}

void WidgetTree::Bind(Object *object, QWidget *widget, GadgetKind kind) {
    gadgets_[object] = {widget, kind};
    QObject::connect(widget, &QObject::destroyed, &context_, [this, object, widget] {
        if (auto it = gadgets_.find(object); it != gadgets_.end() && it->second.widget == widget)
            gadgets_.erase(it);
    });
}

void WidgetTree::UpdateTabOrder() {
    std::vector<QWidget *> chain;
    CollectFocusable(root_, chain);
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void WidgetTree::CollectFocusable(Object *object, std::vector<QWidget *> &out) const {
    if (const Gadget *gadget = Find(object)) {
        QWidget *widget = gadget->widget;
        if ((widget->focusPolicy() & Qt::TabFocus) && (out.empty() || out.back() != widget))
            out.push_back(widget);
    }
    for (Object *child : ChildrenOf(object))
        CollectFocusable(child, out);
}

} // namespace platform::qt
