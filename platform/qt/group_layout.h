#pragma once
// Groups as Qt box layouts, placing children the way the toolkit does:
// weights share out spare room among children that can grow, a child of
// weight 0 keeps its size, and a child smaller than its group across stands
// in the middle.
#include <intuition/classusr.h>

class QWidget;

namespace platform::qt {

// An empty widget with a vertical or horizontal box layout for `group`.
QWidget *MakeGroupWidget(Object *group, QWidget *parent);

// Appends `child`'s widget to the group widget's layout.
void PlaceChild(QWidget *groupWidget, QWidget *childWidget, Object *child);

// Takes every child out of the layout; the widgets stay.
void ClearPlaces(QWidget *groupWidget);

} // namespace platform::qt
