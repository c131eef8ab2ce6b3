// Classes that only add attributes: Area.mui (what every gadget has),
// Text.mui, Image.mui, Dtpic.mui and Rectangle.mui. Each is its table; every
// method goes to the superclass.
#include "mui_internal.h"

#include <libraries/mui.h>
#include <proto/intuition.h>

namespace platform::mui {

namespace {

const AttributeSpec kAreaAttributes[] = {
    {MUIA_Frame, ValueKind::Raw, MUIV_Frame_None},
    {MUIA_Font, ValueKind::Int, MUIV_Font_Inherit},
    {MUIA_InputMode, ValueKind::Int, MUIV_InputMode_None},
    {MUIA_Selected, ValueKind::Bool, FALSE},
    {MUIA_Pressed, ValueKind::Bool, FALSE},
    {MUIA_ShowSelState, ValueKind::Bool, TRUE},
    {MUIA_ControlChar, ValueKind::Char, 0},
    {MUIA_CycleChain, ValueKind::Int, 0},
    {MUIA_HorizWeight, ValueKind::Int, 100},
    {MUIA_VertWeight, ValueKind::Int, 100},
    {MUIA_Disabled, ValueKind::Bool, FALSE},
    {MUIA_FixWidth, ValueKind::Int},
    {MUIA_FixHeight, ValueKind::Int},
};

const AttributeSpec kTextAttributes[] = {
    {MUIA_Text_Contents, ValueKind::Text, reinterpret_cast<IPTR>("")},
    {MUIA_Text_PreParse, ValueKind::Text, reinterpret_cast<IPTR>("")},
    {MUIA_Text_HiChar, ValueKind::Char, 0},
};

const AttributeSpec kImageAttributes[] = {{MUIA_Image_Spec, ValueKind::Raw, 0}};
const AttributeSpec kDtpicAttributes[] = {{MUIA_Dtpic_Name, ValueKind::Text, 0}};

} // namespace

IPTR PassUp(struct IClass *cl, Object *obj, Msg msg) {
    return IDoSuperMethodA(cl, obj, msg);
}

const ClassSpec kAreaClass{MUIC_Area, MUIC_Notify, PassUp, 0, kAreaAttributes};
const ClassSpec kTextClass{MUIC_Text, MUIC_Area, PassUp, 0, kTextAttributes};
const ClassSpec kImageClass{MUIC_Image, MUIC_Area, PassUp, 0, kImageAttributes};
const ClassSpec kDtpicClass{MUIC_Dtpic, MUIC_Area, PassUp, 0, kDtpicAttributes};
const ClassSpec kRectangleClass{MUIC_Rectangle, MUIC_Area, PassUp, 0, {}};

} // namespace platform::mui
