// The built-in toolkit classes, made from their descriptions and published on
// first use, and the library record of muimaster.library.
#include "exec/host_exec.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

#include <unordered_map>
#include <utility>

namespace platform::mui {

namespace {

std::unordered_map<const struct IClass *, const ClassSpec *> &Specs() {
    static std::unordered_map<const struct IClass *, const ClassSpec *> specs;
    return specs;
}

struct IClass *Make(const ClassSpec &desc) {
    struct IClass *cl = MakeClass(desc.name, desc.super, nullptr, desc.dataSize, 0);
    cl->cl_Dispatcher = desc.dispatcher;
    AddClass(cl);
    Specs()[cl] = &desc;
    return cl;
}

// Superclasses first.
BuiltinClasses MakeAll() {
    BuiltinClasses c{};
    const std::pair<struct IClass **, const ClassSpec &> all[] = {
        {&c.notify, kNotifyClass}, {&c.area, kAreaClass},   {&c.application, kApplicationClass},
        {&c.window, kWindowClass}, {&c.group, kGroupClass}, {&c.text, kTextClass},
        {&c.image, kImageClass},   {&c.list, kListClass},   {&c.listview, kListviewClass},
        {&c.cycle, kCycleClass},   {&c.dtpic, kDtpicClass}, {&c.rectangle, kRectangleClass},
    };
    for (const auto &[slot, desc] : all)
        *slot = Make(desc);
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

const ClassSpec *SpecOf(const struct IClass *cl) {
    auto it = Specs().find(cl);
    return it == Specs().end() ? nullptr : it->second;
}

const AttributeSpec &SpecIn(const struct IClass *cl, Tag attribute) {
    for (; cl; cl = cl->cl_Super)
        if (const ClassSpec *desc = SpecOf(cl))
            for (const AttributeSpec &a : desc->attributes)
                if (a.tag == attribute)
                    return a;
    static const AttributeSpec unlisted{TAG_IGNORE, ValueKind::Raw};
    return unlisted;
}

} // namespace platform::mui
