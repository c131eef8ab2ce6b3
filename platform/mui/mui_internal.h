#pragma once
// Shared inside the toolkit model: the built-in classes, their dispatchers and
// the view observer.
#include "view.h"

#include <intuition/classes.h>
#include <utility/tagitem.h>

namespace platform::mui {

struct BuiltinClasses {
    struct IClass *notify, *area, *application, *window, *group, *text, *image, *list, *listview,
        *cycle, *dtpic, *rectangle;
};
// Makes and publishes the built-in classes on first use.
const BuiltinClasses &Classes();

// True when the object is an instance of `cl` or of a class below it.
bool IsA(Object *object, struct IClass *cl);

IPTR NotifyDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR DefaultsDispatcher(struct IClass *cl, Object *obj, Msg msg); // cl_UserData: defaults
IPTR ApplicationDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR WindowDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR GroupDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR ListDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR ListviewDispatcher(struct IClass *cl, Object *obj, Msg msg);
IPTR CycleDispatcher(struct IClass *cl, Object *obj, Msg msg);

// Default attributes of the classes that only add defaults, ended by TAG_DONE.
extern const struct TagItem kAreaDefaults[], kTextDefaults[], kImageDefaults[], kDtpicDefaults[],
    kRectangleDefaults[];

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
