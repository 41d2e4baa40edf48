// A vessel module (<root>/Modules/<Module>.so) loaded with dlopen and driven like the simulator's library
// glue: InitLib at load (which calls the module's InitModule or opcDLLInit), ExitLib before unload
// (ExitModule or opcDLLExit), ovcInit / ovcExit per vessel, GetModuleVersion and ModuleDate for the load log.
#pragma once

#include "Orbitersdk.h"

#include <filesystem>
#include <memory>
#include <string>

namespace orb {

class ModuleLibrary {
public:
    // Loads the module; a missing or broken file, or one without ovcInit, is a HostError naming it.
    static std::shared_ptr<ModuleLibrary> open(const std::filesystem::path& file,
                                               const std::string& shownPath);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    std::string name;        // as shown in messages
    std::string loadLogLine; // "Module <file> [Build YYMMDD, API YYMMDD]"
    int version = 0;         // GetModuleVersion, 0 when absent

    VESSEL* init(OBJHANDLE h, int flightmodel) const { return ovcInit_(h, flightmodel); }
    void exit(VESSEL* v) const;

private:
    ModuleLibrary() = default;
    void* handle_ = nullptr;
    VESSEL* (*ovcInit_)(OBJHANDLE, int) = nullptr;
    void (*ovcExit_)(VESSEL*) = nullptr;
};

} // namespace orb
