// The built-in toolkit classes, made and published on first use, and the
// library record of muimaster.library.
#include "application_data.h"
#include "exec/host_exec.h"
#include "group_data.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

struct IClass *Make(ClassID name, struct IClass *super, ClassDispatcher dispatcher, ULONG size,
                    const struct TagItem *defaults = nullptr) {
    struct IClass *cl = MakeClass(name, nullptr, super, size, 0);
    cl->cl_Dispatcher = dispatcher;
    cl->cl_UserData = const_cast<struct TagItem *>(defaults);
    AddClass(cl);
    return cl;
}

BuiltinClasses MakeAll() {
    BuiltinClasses c{};
    c.notify =
        Make(MUIC_Notify, platform::intuition::RootClass(), NotifyDispatcher, sizeof(NotifyData));
    c.area = Make(MUIC_Area, c.notify, DefaultsDispatcher, 0, kAreaDefaults);
    c.application =
        Make(MUIC_Application, c.notify, ApplicationDispatcher, sizeof(ApplicationData));
    c.window = Make(MUIC_Window, c.notify, WindowDispatcher, 0);
    c.group = Make(MUIC_Group, c.area, GroupDispatcher, sizeof(GroupData));
    c.text = Make(MUIC_Text, c.area, DefaultsDispatcher, 0, kTextDefaults);
    c.image = Make(MUIC_Image, c.area, DefaultsDispatcher, 0, kImageDefaults);
    c.list = Make(MUIC_List, c.area, ListDispatcher, 0);
    c.listview = Make(MUIC_Listview, c.area, ListviewDispatcher, 0);
    c.cycle = Make(MUIC_Cycle, c.area, CycleDispatcher, 0);
    c.dtpic = Make(MUIC_Dtpic, c.area, DefaultsDispatcher, 0, kDtpicDefaults);
    c.rectangle = Make(MUIC_Rectangle, c.area, DefaultsDispatcher, 0, kRectangleDefaults);
    return c;
}

// A program opens the toolkit before it makes any object; a program that
// never opens it can still make objects (the model needs no display).
bool OpenToolkit() {
    Classes();
    return OpenView();
}

[[maybe_unused]] const bool g_registered =
    (platform::exec::RegisterLibrary({MUIMASTER_NAME, 20, OpenToolkit, CloseView}), true);

} // namespace

const BuiltinClasses &Classes() {
    static const BuiltinClasses classes = MakeAll();
    return classes;
}

bool IsA(Object *object, struct IClass *cl) {
    return object && platform::intuition::IsSubclassOf(OCLASS(object), cl);
}

} // namespace platform::mui
