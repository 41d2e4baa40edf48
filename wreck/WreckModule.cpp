// The wreck module's entry points: the host creates and destroys one TeskiWreck per wreck vessel.
#define ORBITER_MODULE // the module exports its build date and links the module library's entry
#include "TeskiWreck.h"

#include <new>

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    return new (std::nothrow) TeskiWreck(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    // The host's destructor is not the class's own: delete through the derived type (null deletes nothing).
    delete static_cast<TeskiWreck*>(vessel);
}
