// The glue every vessel module links, as a module for the simulator links the SDK's own library: the
// library's load and unload entry, the exported GetModuleVersion, oapiGetModuleVersion, and the empty dummy
// that the module headers reference. The modules themselves define none of these.
#include "CoreEntries.h"

namespace {

// A module reports the build date of the module library it was linked with. The add-on was made against
// the library of 25 April 2006; hosts and their logs know its modules by that version.
char moduleLibraryDate[] = "Apr 25 2006";

} // namespace

DLLCLBK int GetModuleVersion() {
    static const int version = Date2Int(moduleLibraryDate);
    return version;
}

int oapiGetModuleVersion() {
    return GetModuleVersion();
}

void dummy() {}

#ifdef _WIN32

// The library's entry: the host learns of the module at attach; at detach the module's own exit hook runs.
extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitLib(hModule);
    } else if (reason == DLL_PROCESS_DETACH) {
        using Hook = void (*)(HINSTANCE);
        auto hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(hModule, "ExitModule")));
        if (!hook)
            hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(hModule, "opcDLLExit")));
        if (hook) hook(hModule);
    }
    return TRUE;
}

#else

#include <dlfcn.h>

namespace {

HINSTANCE moduleHandle = nullptr;

// The handle the host's dlopen returns for this module, found from an address inside it.
HINSTANCE ownHandle(void* addressInModule) {
    Dl_info info{};
    if (!dladdr(addressInModule, &info) || !info.dli_fname) return nullptr;
    void* handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle); // only the handle is wanted: the host's own load keeps the module
    return handle;
}

// The library's entry, run by the loader: the host learns of the module at load and runs its exit hook
// (once, however often it is asked) before the module goes.
__attribute__((constructor)) void attach() {
    moduleHandle = ownHandle(reinterpret_cast<void*>(&attach));
    if (moduleHandle) InitLib(moduleHandle);
}

__attribute__((destructor)) void detach() {
    if (moduleHandle) ExitLib(moduleHandle);
}

} // namespace

#endif
