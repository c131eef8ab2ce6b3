#pragma once
// One Qt widget per toolkit gadget. Each widget sends its user actions to
// the model as input records and follows the model's attribute changes
// without sending them back.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

class QSize;
class QWidget;

namespace platform::qt {

enum class GadgetKind {
    Group,   // Group.mui: a widget with a box layout (built by the widget tree)
    Text,    // Text.mui, labels included: a label
    Button,  // Text.mui with a button frame and RelVerify input: a push button
    Check,   // Image.mui showing a check mark with toggle input: a check box
    List,    // Listview.mui with its List.mui, or a lone List.mui: a list view
    Cycle,   // Cycle.mui: a combo box
    Picture, // Dtpic.mui: a label holding the decoded image
    Space,   // Rectangle.mui: empty, stretching by its weights
    Blank,   // anything else: an empty widget
};

// The kind of widget that shows `object`.
GadgetKind GadgetKindOf(Object *object);

// A new widget for a gadget that is not a group, under `parent`. For a list
// view, `object` is the list view and the list is its child.
QWidget *MakeGadget(GadgetKind kind, Object *object, QWidget *parent);

// The widget follows a new attribute value of `object`.
void UpdateGadget(QWidget *widget, GadgetKind kind, Object *object, Tag attribute, IPTR value);

// A picture shows its image at the image's own size, or scaled down to fit
// `room` when it is larger, keeping its aspect ratio. PictureSize is the
// image's own size (empty without one).
void FitPicture(QWidget *picture, const QSize &room);
QSize PictureSize(QWidget *picture);

// Keyboard focus: Tab reaches gadgets in the cycle chain; other input
// gadgets take focus only when clicked.
void ApplyFocusPolicy(QWidget *widget, GadgetKind kind, Object *object);

} // namespace platform::qt
