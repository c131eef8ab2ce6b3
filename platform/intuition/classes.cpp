// Classes: making, publishing and freeing them. Instance data of a level
// starts where its superclass's ends, rounded up so that every level is
// aligned for any type.
#include "host_intuition.h"

#include <proto/intuition.h>

#include <cstddef>
#include <map>
#include <string>

namespace {

constexpr ULONG kAlign = alignof(std::max_align_t);

ULONG AlignUp(ULONG size) {
    return (size + kAlign - 1) / kAlign * kAlign;
}

std::map<std::string, struct IClass *> &PublicClasses() {
    static std::map<std::string, struct IClass *> classes;
    return classes;
}

} // namespace

namespace platform::intuition {

bool IsSubclassOf(const struct IClass *cl, const struct IClass *ancestor) {
    for (; cl; cl = cl->cl_Super)
        if (cl == ancestor)
            return true;
    return false;
}

} // namespace platform::intuition

struct IClass *MakeClass(ClassID classID, ClassID superClassID, struct IClass *superClassPtr,
                         ULONG instanceSize, ULONG) {
    struct IClass *super = superClassPtr ? superClassPtr : FindClass(superClassID);
    if (!super)
        return nullptr;
    auto *cl = new IClass{};
    cl->cl_Super = super;
    cl->cl_ID = classID;
    cl->cl_InstOffset = AlignUp(super->cl_InstOffset + super->cl_InstSize);
    cl->cl_InstSize = AlignUp(instanceSize);
    ++super->cl_SubclassCount;
    return cl;
}

void AddClass(struct IClass *classPtr) {
    if (!classPtr || !classPtr->cl_ID)
        return;
    PublicClasses()[classPtr->cl_ID] = classPtr;
    classPtr->cl_Flags |= CLF_INLIST;
}

void RemoveClass(struct IClass *classPtr) {
    if (!classPtr || !(classPtr->cl_Flags & CLF_INLIST))
        return;
    PublicClasses().erase(classPtr->cl_ID);
    classPtr->cl_Flags &= ~CLF_INLIST;
}

BOOL FreeClass(struct IClass *classPtr) {
    if (!classPtr || classPtr->cl_ObjectCount || classPtr->cl_SubclassCount ||
        classPtr == platform::intuition::RootClass())
        return FALSE;
    RemoveClass(classPtr);
    --classPtr->cl_Super->cl_SubclassCount;
    delete classPtr;
    return TRUE;
}

struct IClass *FindClass(ClassID classID) {
    if (!classID)
        return nullptr;
    platform::intuition::RootClass(); // publishes itself on first use
    auto it = PublicClasses().find(classID);
    return it == PublicClasses().end() ? nullptr : it->second;
}
