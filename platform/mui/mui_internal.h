#pragma once
// Shared inside the toolkit model: the built-in classes and the view
// observer.
#include "attributes.h"
#include "view.h"

#include <intuition/classes.h>
#include <utility/tagitem.h>

#include <span>

namespace platform::mui {

// Everything that makes one built-in class; each class's file defines its own.
struct ClassSpec {
    ClassID name;
    ClassID super;
    ClassDispatcher dispatcher;
    ULONG dataSize;                            // its level of an object's instance data
    std::span<const AttributeSpec> attributes; // the attributes it adds
};
extern const ClassSpec kNotifyClass, kAreaClass, kApplicationClass, kWindowClass, kGroupClass,
    kTextClass, kImageClass, kListClass, kListviewClass, kCycleClass, kDtpicClass, kRectangleClass;

struct BuiltinClasses {
    struct IClass *notify, *area, *application, *window, *group, *text, *image, *list, *listview,
        *cycle, *dtpic, *rectangle;
};
// Makes and publishes the built-in classes on first use.
const BuiltinClasses &Classes();

// True when the object is an instance of `cl` or of a class below it.
bool IsA(Object *object, struct IClass *cl);

// The description of a built-in class; null for any other (a program's own).
const ClassSpec *SpecOf(const struct IClass *cl);
// How objects of `cl` keep the attribute: as the nearest class at or above
// `cl` that lists it says, else as given (Raw).
const AttributeSpec &SpecIn(const struct IClass *cl, Tag attribute);

// The dispatcher of a class whose every method is its superclass's.
IPTR PassUp(struct IClass *cl, Object *obj, Msg msg);

// The view's lifecycle (view.h), run when the library is first opened and
// last closed; without a view the toolkit opens fine.
bool OpenView();
void CloseView();

// The observer, or null; and the reports the model sends it.
ViewObserver *Observer();
void ReportChange(Object *object, Tag attribute, IPTR value);

// Applies the input queued at an application (inside NewInput).
void ApplyPendingInput(Object *application);

} // namespace platform::mui
