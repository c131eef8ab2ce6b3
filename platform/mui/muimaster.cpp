// The toolkit library's calls: objects of the named classes and custom
// subclasses.
#include "creation.h"
#include "mui_internal.h"

#include <proto/intuition.h>
#include <proto/muimaster.h>

Object *MUI_NewObjectA(ClassID className, const struct TagItem *tags) {
    platform::mui::Classes();
    struct IClass *cl = FindClass(className);
    if (!cl) {
        platform::mui::DisposeGivenChildren(tags); // nothing took them: they would leak
        return nullptr;
    }
    return NewObjectA(cl, nullptr, tags);
}

void MUI_DisposeObject(Object *object) {
    DisposeObject(object);
}

struct MUI_CustomClass *MUI_CreateCustomClass(struct Library *, ClassID supername,
                                              struct MUI_CustomClass *supermcc, ULONG datasize,
                                              ClassDispatcher dispatcher) {
    platform::mui::Classes();
    struct IClass *super = supermcc ? supermcc->mcc_Class : FindClass(supername);
    if (!super || !dispatcher)
        return nullptr;
    struct IClass *cl = MakeClass(nullptr, nullptr, super, datasize, 0);
    if (!cl)
        return nullptr;
    cl->cl_Dispatcher = dispatcher;
    return new MUI_CustomClass{nullptr, super, cl};
}

BOOL MUI_DeleteCustomClass(struct MUI_CustomClass *mcc) {
    if (!mcc || !FreeClass(mcc->mcc_Class))
        return FALSE;
    delete mcc;
    return TRUE;
}
