// User input as data: records queued at the application by the view (or a
// test) and applied inside MUIM_Application_NewInput with the same attribute
// setting that the program uses, so that notifications fire there.
#include "application_data.h"
#include "family.h"
#include "intuition/host_intuition.h"
#include "mui_internal.h"
#include "notify_data.h"

#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>

namespace platform::mui {

using platform::intuition::SerialOf;

namespace {

IPTR AttributeOf(Object *object, Tag attribute) {
    IPTR value = 0;
    if (NotifyData *data = NotifyOf(object))
        data->attributes.Get(attribute, &value);
    return value;
}

void Press(Object *object) {
    if (AttributeOf(object, MUIA_Disabled))
        return;
    switch (AttributeOf(object, MUIA_InputMode)) {
    case MUIV_InputMode_RelVerify:
        SetAttrs(object, MUIA_Selected, TRUE, MUIA_Pressed, TRUE, TAG_DONE);
        break;
    case MUIV_InputMode_Immediate:
        SetAttrs(object, MUIA_Selected, TRUE, TAG_DONE);
        break;
    case MUIV_InputMode_Toggle:
        SetAttrs(object, MUIA_Selected, !AttributeOf(object, MUIA_Selected), TAG_DONE);
        break;
    default:
        break;
    }
}

// Over the button, the click counts (notifications fire); elsewhere the
// button only lets go.
void Release(Object *object, bool over) {
    if (AttributeOf(object, MUIA_InputMode) != MUIV_InputMode_RelVerify)
        return;
    if (over)
        SetAttrs(object, MUIA_Selected, FALSE, MUIA_Pressed, FALSE, TAG_DONE);
    else
        SetAttrs(object, MUIA_NoNotify, TRUE, MUIA_Selected, FALSE, MUIA_Pressed, FALSE, TAG_DONE);
}

Object *FindControlCharBelow(Object *object, IPTR key) {
    if (AttributeOf(object, MUIA_ControlChar) == key && !AttributeOf(object, MUIA_Disabled))
        return object;
    for (Object *child : ChildrenOf(object))
        if (Object *found = FindControlCharBelow(child, key))
            return found;
    return nullptr;
}

void KeyPress(Object *window, IPTR key) {
    Object *object = FindControlChar(window, key);
    if (!object)
        return;
    if (IsA(object, Classes().cycle)) {
        SetAttrs(object, MUIA_Cycle_Active, MUIV_Cycle_Active_Next, TAG_DONE);
        return;
    }
    const uint64_t serial = SerialOf(object);
    Press(object);
    if (SerialOf(object) == serial)
        Release(object, true);
}

void Apply(const InputRecord &record) {
    switch (record.kind) {
    case InputRecord::Kind::Set:
        SetAttrs(record.object, record.attribute, record.value, TAG_DONE);
        break;
    case InputRecord::Kind::SetQuiet:
        SetAttrs(record.object, MUIA_NoNotify, TRUE, record.attribute, record.value, TAG_DONE);
        break;
    case InputRecord::Kind::ControlChar:
        KeyPress(record.object, record.value);
        break;
    case InputRecord::Kind::Press:
        Press(record.object);
        break;
    case InputRecord::Kind::Release:
        Release(record.object, record.value != 0);
        break;
    }
}

} // namespace

Object *FindControlChar(Object *window, IPTR key) {
    key &= 0xFF;
    return key ? FindControlCharBelow(window, key) : nullptr;
}

void ApplyPendingInput(Object *application) {
    ApplicationData *data = ApplicationDataOf(application);
    if (!data)
        return;
    const uint64_t serial = SerialOf(application);
    std::vector<QueuedInput> pending;
    pending.swap(data->input); // input queued while applying waits for the next call
    for (const QueuedInput &queued : pending) {
        if (SerialOf(application) != serial)
            return;
        if (SerialOf(queued.record.object) == queued.serial)
            Apply(queued.record);
    }
}

void QueueInput(Object *application, const InputRecord &record) {
    ApplicationData *data = ApplicationDataOf(application);
    const uint64_t serial = SerialOf(record.object);
    if (!data || !serial)
        return;
    data->input.push_back({record, serial});
    Signal(FindTask(nullptr), data->SignalMask());
}

void QueueSet(Object *object, Tag attribute, IPTR value) {
    QueueInput(ApplicationOf(object), {InputRecord::Kind::Set, object, attribute, value});
}

void QueuePress(Object *button) {
    QueueInput(ApplicationOf(button), {InputRecord::Kind::Press, button, 0, 0});
}

void QueueRelease(Object *button, bool overButton) {
    QueueInput(ApplicationOf(button), {InputRecord::Kind::Release, button, 0, overButton});
}

void QueueControlChar(Object *window, IPTR key) {
    QueueInput(ApplicationOf(window), {InputRecord::Kind::ControlChar, window, 0, key});
}

} // namespace platform::mui
