#include "core/ModuleLibrary.h"

#include "CoreEntries.h"
#include "core/ModuleImageCheck.h"
#include "orbhost/HostError.h"

#include <cstdio>
#include <dlfcn.h>
#include <set>

namespace orb {

namespace {
// Handles of loaded modules, and those whose InitModule already ran.
std::set<void*>& knownModules() {
    static std::set<void*> s;
    return s;
}
std::set<void*>& initialised() {
    static std::set<void*> s;
    return s;
}
// InitLib calls that arrived for a handle the host did not know yet (a module's own glue during dlopen).
std::set<void*>& earlyInitCalls() {
    static std::set<void*> s;
    return s;
}

template <class F> F symbol(void* handle, const char* name) {
    return reinterpret_cast<F>(dlsym(handle, name));
}

std::string yymmdd(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06d", v);
    return buf;
}
} // namespace

std::shared_ptr<ModuleLibrary> ModuleLibrary::open(const std::filesystem::path& file,
                                                   const std::string& shownPath) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw HostError(shownPath + ": module not found");
    if (std::string problem = moduleImageProblem(file); !problem.empty())
        throw HostError(shownPath + ": cannot load the module: " + problem);
    dlerror();
    void* h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* err = dlerror();
        throw HostError(shownPath + ": cannot load the module: " + (err ? err : "unknown error"));
    }
    std::shared_ptr<ModuleLibrary> lib(new ModuleLibrary);
    lib->handle_ = h;
    lib->name = shownPath;
    lib->ovcInit_ = symbol<VESSEL* (*)(OBJHANDLE, int)>(h, "ovcInit");
    lib->ovcExit_ = symbol<void (*)(VESSEL*)>(h, "ovcExit");
    if (!lib->ovcInit_) {
        dlclose(h);
        lib->handle_ = nullptr;
        throw HostError(shownPath + ": not a vessel module (no ovcInit)");
    }
    knownModules().insert(h);
    InitLib(h); // the library glue's load call, whether or not the module's own glue asked for it
    earlyInitCalls().clear();

    auto getVersion = symbol<int (*)()>(h, "GetModuleVersion");
    auto moduleDate = symbol<char* (*)()>(h, "ModuleDate");
    lib->version = getVersion ? getVersion() : 0;
    int build = moduleDate ? Date2Int(moduleDate()) : 0;
    lib->loadLogLine = "Module " + file.filename().string() + " [Build " +
                       (moduleDate ? yymmdd(build) : "******") + ", API " +
                       (getVersion ? yymmdd(lib->version) : "******") + "]";
    return lib;
}

void ModuleLibrary::exit(VESSEL* v) const {
    if (ovcExit_) ovcExit_(v);
}

ModuleLibrary::~ModuleLibrary() {
    if (!handle_) return;
    ExitLib(handle_);
    knownModules().erase(handle_);
    initialised().erase(handle_);
    dlclose(handle_);
}

} // namespace orb

using namespace orb;

void InitLib(HINSTANCE hModule) {
    if (!knownModules().count(hModule)) {
        earlyInitCalls().insert(hModule);
        return;
    }
    if (!initialised().insert(hModule).second) return; // once per load
    auto init = symbol<void (*)(HINSTANCE)>(hModule, "InitModule");
    if (!init) init = symbol<void (*)(HINSTANCE)>(hModule, "opcDLLInit");
    if (init) init(hModule);
}

void ExitLib(HINSTANCE hModule) {
    if (!knownModules().count(hModule) || !initialised().count(hModule)) return;
    auto exitFn = symbol<void (*)(HINSTANCE)>(hModule, "ExitModule");
    if (!exitFn) exitFn = symbol<void (*)(HINSTANCE)>(hModule, "opcDLLExit");
    if (exitFn) exitFn(hModule);
    initialised().erase(hModule);
}
