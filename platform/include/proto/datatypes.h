#pragma once
// Data types: a file loaded as an object of its kind. Only pictures are known
// (PNG, JPEG, GIF, BMP and the other formats the view can show).
#include <datatypes/datatypes.h>
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagargs.h>
#include <utility/tagitem.h>

// Loads the file `name` (an Amiga name or a host path) in full. Null when it
// cannot be: IoErr() then says ERROR_OBJECT_NOT_FOUND for no file,
// ERROR_OBJECT_WRONG_TYPE for what is no regular file (read never, as DOS
// Open), DTERROR_INVALID_DATA for a file that cannot be decoded whole as a
// picture (cut short, a damaged header, empty, larger than the decoder may
// allocate), DTERROR_UNKNOWN_DATATYPE when DTA_GroupID asks for another kind. The object is for
// DisposeDTObject only; a picture object disposed leaves its picture for the picture class to show,
// so a picture loaded to check it and then shown is decoded once.
Object *NewDTObjectA(CONST_STRPTR name, const struct TagItem *attrs);
void DisposeDTObject(Object *object);

// NewDTObject(name, tag, value, ..., TAG_DONE): the tags as a list.
template <TagArgument... A> Object *NewDTObject(CONST_STRPTR name, A... args) {
    auto tags = tagargs::Pair(args...);
    return NewDTObjectA(name, tags.data());
}
