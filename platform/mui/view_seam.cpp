// The model's side of the seam to the view: reading objects, the observer
// and the view's lifecycle. The object tree (family.cpp) and user input
// (input.cpp) keep their own parts of it.
#include "family.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>

namespace platform::mui {

namespace {

struct ViewHooks {
    ViewObserver *observer = nullptr;
    std::function<bool()> open;
    std::function<void()> close;
};

ViewHooks &Hooks() {
    static ViewHooks hooks;
    return hooks;
}

} // namespace

const char *ClassNameOf(Object *object) {
    if (!object)
        return nullptr;
    for (struct IClass *cl = OCLASS(object); cl; cl = cl->cl_Super)
        if (cl->cl_ID)
            return cl->cl_ID;
    return nullptr;
}

bool GetAttribute(Object *object, Tag attribute, IPTR *value) {
    NotifyData *data = NotifyOf(object);
    return data && data->attributes.Get(attribute, value);
}

void SetViewObserver(ViewObserver *observer) {
    Hooks().observer = observer;
}

void SetViewLifecycle(std::function<bool()> open, std::function<void()> close) {
    Hooks().open = std::move(open);
    Hooks().close = std::move(close);
}

bool OpenView() {
    return !Hooks().open || Hooks().open();
}

void CloseView() {
    if (Hooks().close)
        Hooks().close();
}

ViewObserver *Observer() {
    return Hooks().observer;
}

void ReportChange(Object *object, Tag attribute, IPTR value) {
    ViewObserver *observer = Observer();
    if (!observer)
        return;
    if (attribute == MUIA_Window_Open) {
        if (value)
            observer->WindowOpened(object);
        else
            observer->WindowClosed(object);
    }
    observer->AttributeChanged(object, attribute, value);
}

} // namespace platform::mui
