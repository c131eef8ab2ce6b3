// MUI_MakeObject: labels and spaces.
#include "mui_internal.h"

#include <proto/muimaster.h>

namespace {

// A label is right-aligned text, unless its flags say otherwise; the low
// byte of the flags is the underlined (and control) character.
const char *LabelAlignment(IPTR flags) {
    if (flags & MUIO_Label_LeftAligned)
        return MUIX_L;
    if (flags & MUIO_Label_Centered)
        return MUIX_C;
    return MUIX_R;
}

Object *MakeLabel(const char *text, IPTR flags) {
    return MUI_NewObject(MUIC_Text, MUIA_Text_Contents, text, MUIA_Text_PreParse,
                         LabelAlignment(flags), MUIA_Text_HiChar, flags & 0xFF, MUIA_HorizWeight, 0,
                         TAG_DONE);
}

// A space of `size` pixels along one direction; 0 takes the spare room.
Object *MakeSpace(IPTR size, bool horizontal) {
    const Tag fixed = horizontal ? MUIA_FixWidth : MUIA_FixHeight;
    const Tag other = horizontal ? MUIA_VertWeight : MUIA_HorizWeight;
    return MUI_NewObject(MUIC_Rectangle, other, 0, size ? fixed : TAG_IGNORE, size, TAG_DONE);
}

} // namespace

Object *MUI_MakeObjectA(LONG type, const IPTR *params) {
    if (!params)
        return nullptr;
    switch (type) {
    case MUIO_Label:
        return MakeLabel(reinterpret_cast<const char *>(params[0]), params[1]);
    case MUIO_HSpace:
        return MakeSpace(params[0], true);
    case MUIO_VSpace:
        return MakeSpace(params[0], false);
    default:
        return nullptr;
    }
}
