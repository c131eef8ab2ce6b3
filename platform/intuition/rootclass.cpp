// The root class. OM_NEW reaches it with the object's true class in place of
// the object; it allocates the header and every level's instance data, zeroed.
#include "host_intuition.h"

#include <proto/intuition.h>

#include <cstdlib>
#include <unordered_map>

namespace {

struct LiveObjects {
    std::unordered_map<Object *, uint64_t> serials;
    uint64_t next = 1;
};

LiveObjects &Live() {
    static LiveObjects live;
    return live;
}

IPTR RootDispatcher(struct IClass *, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW: {
        auto *trueClass = reinterpret_cast<struct IClass *>(obj);
        auto *header = static_cast<struct _Object *>(std::calloc(1, SIZEOF_INSTANCE(trueClass)));
        if (!header)
            return 0;
        header->o_Class = trueClass;
        ++trueClass->cl_ObjectCount;
        Object *object = BASEOBJECT(header);
        Live().serials[object] = Live().next++;
        return reinterpret_cast<IPTR>(object);
    }
    case OM_DISPOSE: {
        --OCLASS(obj)->cl_ObjectCount;
        Live().serials.erase(obj);
        std::free(_OBJECT(obj));
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace

namespace platform::intuition {

uint64_t SerialOf(Object *object) {
    auto it = Live().serials.find(object);
    return it == Live().serials.end() ? 0 : it->second;
}

struct IClass *RootClass() {
    static struct IClass *root = [] {
        static struct IClass cl {};
        cl.cl_Dispatcher = RootDispatcher;
        cl.cl_ID = ROOTCLASS;
        AddClass(&cl);
        return &cl;
    }();
    return root;
}

} // namespace platform::intuition
