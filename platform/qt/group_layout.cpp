#include "group_layout.h"

#include "model_access.h"

#include <libraries/mui.h>

#include <QBoxLayout>
#include <QWidget>

namespace platform::qt {
namespace {

QBoxLayout *GroupLayout(QWidget *groupWidget) {
    return static_cast<QBoxLayout *>(groupWidget->layout());
}

// A widget that cannot fill its group across stands in the middle, as the
// toolkit places objects smaller than their space.
Qt::Alignment CrossAlignment(QWidget *widget, bool horizontalGroup) {
    const QSizePolicy policy = widget->sizePolicy();
    const QSizePolicy::Policy across =
        horizontalGroup ? policy.verticalPolicy() : policy.horizontalPolicy();
    // A group's widget has no maximum before its layout first runs: ask the layout.
    int max = 0, unbounded = 0;
    if (QLayout *layout = widget->layout()) {
        const QSize size = layout->maximumSize();
        max = horizontalGroup ? size.height() : size.width();
        unbounded = QLAYOUTSIZE_MAX;
    } else {
        const QSize size = widget->maximumSize();
        max = horizontalGroup ? size.height() : size.width();
        unbounded = QWIDGETSIZE_MAX;
    }
    if ((across & QSizePolicy::GrowFlag) && max >= unbounded)
        return {};
    return horizontalGroup ? Qt::AlignVCenter : Qt::AlignHCenter;
}

// Weights share out the room among the children that want more than they
// ask for (a list, a space, a group holding one); the rest keep their size.
int Stretch(QWidget *widget, Object *object, bool horizontalGroup) {
    const Qt::Orientation along = horizontalGroup ? Qt::Horizontal : Qt::Vertical;
    const Qt::Orientations grows = widget->layout() ? widget->layout()->expandingDirections()
                                                    : widget->sizePolicy().expandingDirections();
    if (!(grows & along))
        return 0;
    return static_cast<int>(
        Attribute(object, horizontalGroup ? MUIA_HorizWeight : MUIA_VertWeight, 100));
}

// A child of weight 0 never takes the group's spare room.
void KeepWeightless(QWidget *widget, Object *object, bool horizontalGroup) {
    if (Attribute(object, horizontalGroup ? MUIA_HorizWeight : MUIA_VertWeight, 100))
        return;
    QSizePolicy policy = widget->sizePolicy();
    if (horizontalGroup)
        policy.setHorizontalPolicy(QSizePolicy::Maximum);
    else
        policy.setVerticalPolicy(QSizePolicy::Maximum);
    widget->setSizePolicy(policy);
}

} // namespace

QWidget *MakeGroupWidget(Object *group, QWidget *parent) {
    auto *widget = new QWidget(parent);
    const bool horizontal = Attribute(group, MUIA_Group_Horiz);
    auto *layout =
        new QBoxLayout(horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, widget);
    layout->setContentsMargins(0, 0, 0, 0);
    // A group is no larger than its children allow, as the toolkit's groups.
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    widget->setEnabled(!Attribute(group, MUIA_Disabled));
    return widget;
}

void PlaceChild(QWidget *groupWidget, QWidget *childWidget, Object *child) {
    QBoxLayout *layout = GroupLayout(groupWidget);
    const bool horizontal = layout->direction() == QBoxLayout::LeftToRight;
    if (childWidget->parentWidget() != groupWidget)
        childWidget->setParent(groupWidget);
    KeepWeightless(childWidget, child, horizontal);
    layout->addWidget(childWidget, Stretch(childWidget, child, horizontal),
                      CrossAlignment(childWidget, horizontal));
    childWidget->show(); // added to a shown window, a widget would appear only later
}

void ClearPlaces(QWidget *groupWidget) {
    QLayout *layout = groupWidget->layout();
    while (QLayoutItem *item = layout->takeAt(0))
        delete item;
}

} // namespace platform::qt
