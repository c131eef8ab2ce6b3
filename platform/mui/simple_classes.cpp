// Classes that only add attributes with their defaults: Area.mui (what every
// gadget has), Text.mui, Image.mui, Dtpic.mui and Rectangle.mui. Their
// dispatcher finds its defaults in cl_UserData.
#include "creation.h"
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

const struct TagItem kAreaDefaults[] = {
    {MUIA_Frame, MUIV_Frame_None},
    {MUIA_Font, MUIV_Font_Inherit},
    {MUIA_InputMode, MUIV_InputMode_None},
    {MUIA_Selected, FALSE},
    {MUIA_Pressed, FALSE},
    {MUIA_ShowSelState, TRUE},
    {MUIA_ControlChar, 0},
    {MUIA_CycleChain, 0},
    {MUIA_HorizWeight, 100},
    {MUIA_VertWeight, 100},
    {MUIA_Disabled, FALSE},
    {TAG_DONE, 0},
};

const struct TagItem kTextDefaults[] = {
    {MUIA_Text_Contents, reinterpret_cast<IPTR>("")},
    {MUIA_Text_PreParse, reinterpret_cast<IPTR>("")},
    {MUIA_Text_HiChar, 0},
    {TAG_DONE, 0},
};

const struct TagItem kImageDefaults[] = {{MUIA_Image_Spec, 0}, {TAG_DONE, 0}};
const struct TagItem kDtpicDefaults[] = {{MUIA_Dtpic_Name, 0}, {TAG_DONE, 0}};
const struct TagItem kRectangleDefaults[] = {{TAG_DONE, 0}};

IPTR DefaultsDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    if (msg->MethodID == OM_NEW)
        return NewWithDefaults(cl, obj, msg, static_cast<const struct TagItem *>(cl->cl_UserData));
    return IDoSuperMethodA(cl, obj, msg);
}

} // namespace platform::mui
