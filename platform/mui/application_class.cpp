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

const AttributeSpec kApplicationAttributes[] = {
    {MUIA_Application_Author, ValueKind::Text},    {MUIA_Application_Base, ValueKind::Text},
    {MUIA_Application_Copyright, ValueKind::Text}, {MUIA_Application_Description, ValueKind::Text},
    {MUIA_Application_Title, ValueKind::Text},     {MUIA_Application_Version, ValueKind::Text},
};

ApplicationData *Data(struct IClass *cl, Object *obj) {
    return static_cast<ApplicationData *>(INST_DATA(cl, obj));
}

// Raises the application's signal, so that the program's Wait returns.
void Wake(const ApplicationData *data) {
    if (data->SignalMask())
        Signal(FindTask(nullptr), data->SignalMask());
}

IPTR Application_New(struct IClass *cl, Object *obj, struct opSet *msg) {
    auto *object =
        reinterpret_cast<Object *>(NewWithChildren(cl, obj, msg, MUIA_Application_Window));
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

IPTR Application_Dispose(struct IClass *cl, Object *obj, Msg msg) {
    DisposeChildren(obj); // the windows, while the application is whole
    ApplicationData *data = Data(cl, obj);
    FreeSignal(data->signalBit);
    data->~ApplicationData();
    return IDoSuperMethodA(cl, obj, msg);
}

IPTR Application_AddMember(Object *obj, struct opMember *msg) {
    if (!IsA(msg->opam_Object, Classes().window))
        return FALSE;
    Adopt(obj, msg->opam_Object);
    return TRUE;
}

IPTR Application_RemMember(Object *obj, struct opMember *msg) {
    Object *window = msg->opam_Object;
    if (!window || ParentOf(window) != obj)
        return FALSE;
    SetAttrs(window, MUIA_Window_Open, FALSE, TAG_DONE);
    Detach(window);
    return TRUE;
}

// Return ids are 32-bit: -1 stays -1 however the caller passed it.
IPTR Application_ReturnID(struct IClass *cl, Object *obj, struct MUIP_Application_ReturnID *msg) {
    ApplicationData *data = Data(cl, obj);
    data->returnIds.push_back(static_cast<IPTR>(static_cast<SIPTR>(static_cast<LONG>(msg->retid))));
    Wake(data);
    return 0;
}

IPTR Application_NewInput(struct IClass *cl, Object *obj, struct MUIP_Application_NewInput *msg) {
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
    if (msg->signal)
        *msg->signal = data->SignalMask();
    return id;
}

IPTR ApplicationDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW:
        return Application_New(cl, obj, reinterpret_cast<opSet *>(msg));
    case OM_DISPOSE:
        return Application_Dispose(cl, obj, msg);
    case OM_ADDMEMBER:
        return Application_AddMember(obj, reinterpret_cast<opMember *>(msg));
    case OM_REMMEMBER:
        return Application_RemMember(obj, reinterpret_cast<opMember *>(msg));
    case MUIM_Application_ReturnID:
        return Application_ReturnID(cl, obj, reinterpret_cast<MUIP_Application_ReturnID *>(msg));
    case MUIM_Application_NewInput:
        return Application_NewInput(cl, obj, reinterpret_cast<MUIP_Application_NewInput *>(msg));
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

} // namespace

const ClassSpec kApplicationClass{MUIC_Application, MUIC_Notify, ApplicationDispatcher,
                                  sizeof(ApplicationData), kApplicationAttributes};

} // namespace platform::mui
