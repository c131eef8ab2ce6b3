// Application.mui: owns the windows, queues return ids and applies user input
// inside MUIM_Application_NewInput.
#include "application_data.h"
#include "creation.h"
#include "family.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>

#include <new>

namespace platform::mui {

ApplicationData *ApplicationDataOf(Object *application) {
    if (!IsA(application, Classes().application))
        return nullptr;
    return static_cast<ApplicationData *>(INST_DATA(Classes().application, application));
}

namespace {

ApplicationData *Data(struct IClass *cl, Object *obj) {
    return static_cast<ApplicationData *>(INST_DATA(cl, obj));
}

// Raises the application's signal, so that the program's Wait returns.
void Wake(const ApplicationData *data) {
    if (data->SignalMask())
        Signal(FindTask(nullptr), data->SignalMask());
}

IPTR New(struct IClass *cl, Object *obj, Msg msg) {
    auto *object =
        reinterpret_cast<Object *>(NewWithChildren(cl, obj, msg, MUIA_Application_Window, nullptr));
    if (!object)
        return 0;
    const BYTE bit = AllocSignal(-1);
    if (bit < 0) {
        IDoSuperMethod(cl, object, OM_DISPOSE); // no signal: no way to wait for input
        return 0;
    }
    auto *data = new (Data(cl, object)) ApplicationData{};
    data->signalBit = bit;
    return reinterpret_cast<IPTR>(object);
}

IPTR Dispose(struct IClass *cl, Object *obj, Msg msg) {
    DisposeChildren(obj); // the windows, while the application is whole
    ApplicationData *data = Data(cl, obj);
    FreeSignal(data->signalBit);
    data->~ApplicationData();
    return IDoSuperMethodA(cl, obj, msg);
}

IPTR AddWindow(Object *obj, Object *window) {
    if (!IsA(window, Classes().window))
        return FALSE;
    Adopt(obj, window);
    return TRUE;
}

IPTR RemoveWindow(Object *obj, Object *window) {
    if (!window || ParentOf(window) != obj)
        return FALSE;
    SetAttrs(window, MUIA_Window_Open, FALSE, TAG_DONE);
    Detach(window);
    return TRUE;
}

// Return ids are 32-bit: -1 stays -1 however the caller passed it.
IPTR ReturnID(struct IClass *cl, Object *obj, Msg msg) {
    const IPTR id = reinterpret_cast<MUIP_Application_ReturnID *>(msg)->retid;
    Data(cl, obj)->returnIds.push_back(
        static_cast<IPTR>(static_cast<SIPTR>(static_cast<LONG>(id))));
    Wake(Data(cl, obj));
    return 0;
}

IPTR NewInput(struct IClass *cl, Object *obj, Msg msg) {
    ApplicationData *data = Data(cl, obj);
    SetSignal(0, data->SignalMask()); // everything queued so far is handled now
    const uint64_t serial = platform::intuition::SerialOf(obj);
    ApplyPendingInput(obj);
    if (platform::intuition::SerialOf(obj) != serial)
        return 0; // an action disposed the application
    IPTR id = 0;
    if (!data->returnIds.empty()) {
        id = data->returnIds.front();
        data->returnIds.pop_front();
    }
    if (!data->returnIds.empty() || !data->input.empty())
        Wake(data); // more to hand out: the next Wait returns at once
    if (ULONG *signal = reinterpret_cast<MUIP_Application_NewInput *>(msg)->signal)
        *signal = data->SignalMask();
    return id;
}

} // namespace

IPTR ApplicationDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return New(cl, obj, msg);
    case OM_DISPOSE:
        return Dispose(cl, obj, msg);
    case OM_ADDMEMBER:
        return AddWindow(obj, reinterpret_cast<opMember *>(msg)->opam_Object);
    case OM_REMMEMBER:
        return RemoveWindow(obj, reinterpret_cast<opMember *>(msg)->opam_Object);
    case MUIM_Application_ReturnID:
        return ReturnID(cl, obj, msg);
    case MUIM_Application_NewInput:
        return NewInput(cl, obj, msg);
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace platform::mui
