#include "toolkit_helpers.h"

namespace toolkit_test {

namespace {

IPTR RecorderDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    if (msg->MethodID != kRecord)
        return IDoSuperMethodA(cl, obj, msg);
    auto *data = static_cast<RecorderData *>(INST_DATA(cl, obj));
    IPTR senderValue = 0;
    if (data->sender)
        platform::mui::GetAttribute(data->sender, data->senderAttribute, &senderValue);
    data->log->push_back({reinterpret_cast<IPTR *>(msg)[1], senderValue});
    return 0;
}

} // namespace

struct MUI_CustomClass *RecorderClass() {
    static struct MUI_CustomClass *mcc = MUI_CreateCustomClass(
        nullptr, MUIC_Notify, nullptr, sizeof(RecorderData), RecorderDispatcher);
    return mcc;
}

Object *NewRecorder(std::vector<Recorded> *log, Object *sender, Tag senderAttribute) {
    Object *obj = NewObject(RecorderClass()->mcc_Class, nullptr, TAG_DONE);
    *static_cast<RecorderData *>(INST_DATA(RecorderClass()->mcc_Class, obj)) = {log, sender,
                                                                                senderAttribute};
    return obj;
}

ULONG LiveObjects() {
    ULONG count = 0;
    for (ClassID name : {MUIC_Application, MUIC_Window, MUIC_Group, MUIC_Text, MUIC_Image,
                         MUIC_List, MUIC_Listview, MUIC_Cycle, MUIC_Dtpic, MUIC_Rectangle})
        if (struct IClass *cl = FindClass(name)) // made on the toolkit's first use
            count += cl->cl_ObjectCount;
    return count;
}

} // namespace toolkit_test
